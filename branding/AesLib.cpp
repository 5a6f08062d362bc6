#include "branding/AesLib.h"

#include "branding/Sha1Compress.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace {

constexpr int Pbkdf2Iterations = 1000;
constexpr std::size_t BlockSize = 16;
// 2048 counter blocks per cipher call: large enough to amortise the call, small enough that the
// keystream is still in cache when it is XORed in.
constexpr std::size_t KeystreamRunBytes = 32 * 1024;

// A failed primitive; caught by the stream operations and turned into false.
class ECipherFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void Check(int ok, const char *what) {
    if (ok != 1)
        throw ECipherFailure(what);
}

std::uint64_t LoadLe64(const std::uint8_t *p) {
    std::uint64_t v = 0;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

// The counter run is rebuilt for every cipher call, so this must be a plain 8-byte store.
void StoreLe64(std::uint8_t *p, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    std::memcpy(p, &v, 8);
}

// XOR in 16-byte vectors (two 8-byte words); length is a multiple of the block size.
void XorBlocks(std::uint8_t *data, const std::uint8_t *key, std::size_t length) {
    using TWords = std::uint64_t __attribute__((vector_size(16)));
    for (std::size_t i = 0; i < length; i += BlockSize) {
        TWords a;
        TWords b;
        std::memcpy(&a, data + i, BlockSize);
        std::memcpy(&b, key + i, BlockSize);
        a ^= b;
        std::memcpy(data + i, &a, BlockSize);
    }
}

const EVP_CIPHER *AesEcb(int keyMode) {
    switch (keyMode) {
    case 1:
        return EVP_aes_128_ecb();
    case 2:
        return EVP_aes_192_ecb();
    default:
        return EVP_aes_256_ecb();
    }
}

// Wipes a local buffer of key material when it goes out of scope.
template <std::size_t N> struct TWipedBytes {
    std::array<std::uint8_t, N> bytes{};
    ~TWipedBytes() { OPENSSL_cleanse(bytes.data(), bytes.size()); }
};

} // namespace

int KeyModeForPassword(std::size_t passwordLength) {
    if (passwordLength < 32)
        return 1;
    if (passwordLength < 48)
        return 2;
    return 3;
}

int SaltLengthForKeyMode(int keyMode) {
    static constexpr int SaltLengths[4] = {0, 8, 12, 16};
    return keyMode >= 1 && keyMode <= 3 ? SaltLengths[keyMode] : 0;
}

void TCipherCtxFree::operator()(EVP_CIPHER_CTX *ctx) const {
    EVP_CIPHER_CTX_free(ctx);
}
void TMacCtxFree::operator()(EVP_MAC_CTX *ctx) const {
    EVP_MAC_CTX_free(ctx);
}

// ---- TCrypt ----

TCrypt::TCrypt(std::string password, std::uint32_t chunkSize)
    : FKeyMode(KeyModeForPassword(password.size())), FPassword(std::move(password)), FChunkSize(chunkSize),
      FKeystreamRun(KeystreamRunBytes) {
    if (chunkSize == 0)
        throw std::invalid_argument("chunk size must not be 0");
    FChunk = std::make_unique<std::uint8_t[]>(chunkSize);
}

TCrypt::~TCrypt() {
    OPENSSL_cleanse(FContext.keystreamBlock.data(), FContext.keystreamBlock.size());
    OPENSSL_cleanse(FKeystreamRun.data(), FKeystreamRun.size());
}

int TCrypt::KeySetup(const std::uint8_t *salt, std::array<std::uint8_t, VerifierLength> &verifier) {
    if (FPassword.size() > MaxPasswordLength)
        return KeySetupPasswordTooLong;
    if (FKeyMode < 1 || FKeyMode > 3)
        return KeySetupBadKeyMode;
    FContext.keyMode = FKeyMode;
    FContext.passwordLength = FPassword.size();

    const std::size_t keyLength = 8 + 8 * static_cast<std::size_t>(FKeyMode);
    TWipedBytes<2 * 32 + VerifierLength> derived;
    Check(PKCS5_PBKDF2_HMAC_SHA1(FPassword.data(), static_cast<int>(FPassword.size()), salt,
                                 SaltLengthForKeyMode(FKeyMode), Pbkdf2Iterations,
                                 static_cast<int>(2 * keyLength + VerifierLength), derived.bytes.data()),
          "PBKDF2");

    FContext.position = BlockSize;
    FContext.counterBlock.fill(0);

    FContext.aesKey.reset(EVP_CIPHER_CTX_new());
    if (!FContext.aesKey)
        throw ECipherFailure("cipher context");
    Check(EVP_EncryptInit_ex(FContext.aesKey.get(), AesEcb(FKeyMode), nullptr, derived.bytes.data(), nullptr),
          "AES key");
    Check(EVP_CIPHER_CTX_set_padding(FContext.aesKey.get(), 0), "AES padding");

    std::unique_ptr<EVP_MAC, decltype(&EVP_MAC_free)> mac(EVP_MAC_fetch(nullptr, "HMAC", nullptr),
                                                          &EVP_MAC_free);
    if (!mac)
        throw ECipherFailure("HMAC");
    FContext.hmac.reset(EVP_MAC_CTX_new(mac.get()));
    if (!FContext.hmac)
        throw ECipherFailure("HMAC context");
    char digest[] = "SHA1";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                 OSSL_PARAM_construct_end()};
    Check(EVP_MAC_init(FContext.hmac.get(), derived.bytes.data() + keyLength, keyLength, params), "HMAC key");

    std::copy_n(derived.bytes.data() + 2 * keyLength, VerifierLength, verifier.begin());
    return KeySetupOk;
}

void TCrypt::NextKeystreamBlock() {
    StoreLe64(FContext.counterBlock.data(), LoadLe64(FContext.counterBlock.data()) + 1);
    int produced = 0;
    Check(EVP_EncryptUpdate(FContext.aesKey.get(), FContext.keystreamBlock.data(), &produced,
                            FContext.counterBlock.data(), BlockSize),
          "AES");
    FContext.position = 0;
}

void TCrypt::ApplyKeystream(std::uint8_t *data, std::size_t length) {
    std::size_t done = 0;
    while (done < length && FContext.position < BlockSize)
        data[done++] ^= FContext.keystreamBlock[FContext.position++];

    // Whole blocks: a run of consecutive counter blocks encrypted by one cipher call.
    while (length - done >= BlockSize) {
        const std::size_t blocks = std::min((length - done) / BlockSize, KeystreamRunBytes / BlockSize);
        std::uint8_t *run = FKeystreamRun.data();
        std::uint64_t counter = LoadLe64(FContext.counterBlock.data());
        for (std::size_t b = 0; b < blocks; ++b) {
            StoreLe64(run + b * BlockSize, ++counter);
            std::memset(run + b * BlockSize + 8, 0, 8);
        }
        StoreLe64(FContext.counterBlock.data(), counter);
        const int bytes = static_cast<int>(blocks * BlockSize);
        int produced = 0;
        Check(EVP_EncryptUpdate(FContext.aesKey.get(), run, &produced, run, bytes), "AES");
        if (produced != bytes)
            throw ECipherFailure("AES output length");
        XorBlocks(data + done, run, static_cast<std::size_t>(bytes));
        done += static_cast<std::size_t>(bytes);
        std::memcpy(FContext.keystreamBlock.data(), run + bytes - BlockSize, BlockSize);
        FContext.position = BlockSize;
    }

    if (done < length) {
        NextKeystreamBlock();
        while (done < length)
            data[done++] ^= FContext.keystreamBlock[FContext.position++];
    }
}

void TCrypt::AuthUpdate(const std::uint8_t *data, std::size_t length) {
    if (length > 0)
        Check(EVP_MAC_update(FContext.hmac.get(), data, length), "HMAC");
}

std::array<std::uint8_t, AuthCodeLength> TCrypt::AuthCode() {
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> full{};
    std::size_t length = 0;
    Check(EVP_MAC_final(FContext.hmac.get(), full.data(), &length, full.size()), "HMAC final");
    if (length < AuthCodeLength)
        throw ECipherFailure("HMAC length");
    std::array<std::uint8_t, AuthCodeLength> code{};
    std::copy_n(full.begin(), AuthCodeLength, code.begin());
    return code;
}

// ---- TSaltGenerator ----

namespace {

// One pass of SHA-1 compressions over a 260-byte buffer: each 20-byte block is replaced by the
// compression of the 64 bytes from it (wrapping round) chained from the block before it.
void Mix(std::array<std::uint8_t, TSaltGenerator::PoolSize> &buffer) {
    constexpr std::size_t Size = TSaltGenerator::PoolSize;
    std::array<std::uint8_t, 64> message{};
    std::array<std::uint32_t, 5> state{};
    for (std::size_t i = 0; i < Size; i += 20) {
        const std::size_t chain = (i == 0 ? Size : i) - 20;
        for (std::size_t w = 0; w < 5; ++w) {
            const std::uint8_t *p = buffer.data() + chain + 4 * w;
            state[w] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                       static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        }
        for (std::size_t k = 0; k < message.size(); ++k)
            message[k] = buffer[(i + k) % Size];
        Sha1Compress(state, message.data());
        for (std::size_t w = 0; w < 5; ++w)
            for (std::size_t b = 0; b < 4; ++b)
                buffer[i + 4 * w + b] = static_cast<std::uint8_t>(state[w] >> (8 * b));
    }
    OPENSSL_cleanse(message.data(), message.size());
    OPENSSL_cleanse(state.data(), sizeof state);
}

} // namespace

TSaltGenerator::TSaltGenerator(IClock &clock) : FClock(clock) {
    Prime();
}

TSaltGenerator::~TSaltGenerator() {
    OPENSSL_cleanse(FPool.data(), FPool.size());
    OPENSSL_cleanse(FOutput.data(), FOutput.size());
    OPENSSL_cleanse(&FPosition, sizeof FPosition);
}

std::size_t TSaltGenerator::Entropy(std::uint8_t *out, std::size_t count) {
    std::array<std::uint8_t, 8> bytes{};
    if (const auto counter = FClock.PerformanceCounter())
        StoreLe64(bytes.data(), *counter);
    else
        StoreLe64(bytes.data(), FClock.TickCount());
    const std::size_t n = std::min(count, bytes.size());
    std::copy_n(bytes.begin(), n, out);
    return n;
}

void TSaltGenerator::Refresh() {
    FOutput = FPool;
    for (std::size_t filled = 0; filled < PoolSize;)
        filled += Entropy(FPool.data() + filled, PoolSize - filled);
    for (std::size_t i = 0; i < PoolSize; ++i)
        FPool[i] ^= static_cast<std::uint8_t>(~FOutput[i]);
    Mix(FPool);
    Mix(FOutput);
}

void TSaltGenerator::Prime() {
    FPool.fill(0);
    FOutput.fill(0);
    FPosition = 0;
    Refresh();
    for (int i = 0; i < 20; ++i)
        Mix(FPool);
    Refresh();
}

void TSaltGenerator::Take(std::uint8_t *out, std::size_t count) {
    while (count > 0) {
        if (FPosition == PoolSize) {
            Refresh();
            FPosition = 0;
        }
        const std::size_t n = std::min(count, PoolSize - FPosition);
        std::copy_n(FOutput.data() + FPosition, n, out);
        FPosition += n;
        out += n;
        count -= n;
    }
}

// ---- TEncryption ----

TEncryption::TEncryption(std::string password, std::uint32_t chunkSize, IClock &clock)
    : TCrypt(std::move(password), chunkSize), FSalt(clock) {}

TEncryption::~TEncryption() = default;

bool TEncryption::EncryptStream(std::istream &source, std::ostream &destination) {
    try {
        return DoEncrypt(source, destination);
    } catch (const std::exception &) {
        FStatus = TCryptStatus::IoError;
        return false;
    }
}

bool TEncryption::DecryptStream(std::istream &source, std::ostream &destination, std::int64_t containerSize) {
    try {
        return DoDecrypt(source, destination, containerSize);
    } catch (const std::exception &) {
        FStatus = TCryptStatus::IoError;
        return false;
    }
}

bool TEncryption::DoEncrypt(std::istream &source, std::ostream &destination) {
    FStatus = TCryptStatus::Ok;
    const auto saltLength = static_cast<std::size_t>(SaltLengthForKeyMode(FKeyMode));
    std::array<std::uint8_t, 16> salt{};
    FSalt.Take(salt.data(), saltLength);
    std::array<std::uint8_t, VerifierLength> verifier{};
    if (KeySetup(salt.data(), verifier) != KeySetupOk) {
        FStatus = TCryptStatus::PasswordTooLong;
        return false;
    }
    destination.write(reinterpret_cast<const char *>(salt.data()), static_cast<std::streamsize>(saltLength));
    destination.write(reinterpret_cast<const char *>(verifier.data()), VerifierLength);

    auto *chunk = FChunk.get();
    std::size_t read = 0;
    do {
        source.read(reinterpret_cast<char *>(chunk), FChunkSize);
        read = static_cast<std::size_t>(source.gcount());
        if (source.bad())
            break;
        ApplyKeystream(chunk, read);
        AuthUpdate(chunk, read);
        destination.write(reinterpret_cast<const char *>(chunk), static_cast<std::streamsize>(read));
    } while (read == FChunkSize && destination);

    if (source.bad() || !destination) {
        FStatus = TCryptStatus::IoError;
        return false;
    }
    const auto code = AuthCode();
    destination.write(reinterpret_cast<const char *>(code.data()), AuthCodeLength);
    if (!destination.flush()) {
        FStatus = TCryptStatus::IoError;
        return false;
    }
    return true;
}

bool TEncryption::DoDecrypt(std::istream &source, std::ostream &destination, std::int64_t containerSize) {
    FStatus = TCryptStatus::Ok;
    const auto saltLength = static_cast<std::size_t>(SaltLengthForKeyMode(FKeyMode));
    if (FPassword.size() > MaxPasswordLength) {
        FStatus = TCryptStatus::PasswordTooLong;
        return false;
    }
    // Checked before reading, so a short container is never read past its end.
    const std::int64_t overhead = static_cast<std::int64_t>(saltLength + VerifierLength + AuthCodeLength);
    if (containerSize < overhead) {
        FStatus = TCryptStatus::Truncated;
        return false;
    }

    std::array<std::uint8_t, 16> salt{};
    std::array<std::uint8_t, VerifierLength> stored{};
    source.read(reinterpret_cast<char *>(salt.data()), static_cast<std::streamsize>(saltLength));
    if (static_cast<std::size_t>(source.gcount()) != saltLength) {
        FStatus = TCryptStatus::Truncated;
        return false;
    }
    std::array<std::uint8_t, VerifierLength> verifier{};
    if (KeySetup(salt.data(), verifier) != KeySetupOk) {
        FStatus = TCryptStatus::PasswordTooLong;
        return false;
    }
    source.read(reinterpret_cast<char *>(stored.data()), VerifierLength);
    if (static_cast<std::size_t>(source.gcount()) != VerifierLength) {
        FStatus = TCryptStatus::Truncated;
        return false;
    }
    if (stored != verifier) {
        FStatus = TCryptStatus::BadHeader;
        return false;
    }

    auto *chunk = FChunk.get();
    std::int64_t remaining = containerSize - overhead;
    do {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(FChunkSize, remaining));
        source.read(reinterpret_cast<char *>(chunk), static_cast<std::streamsize>(want));
        const auto read = static_cast<std::size_t>(source.gcount());
        if (read != want) {
            // The data ended before the size promised; the partial chunk is not written.
            FStatus = source.bad() ? TCryptStatus::IoError : TCryptStatus::Truncated;
            return false;
        }
        AuthUpdate(chunk, read);
        ApplyKeystream(chunk, read);
        destination.write(reinterpret_cast<const char *>(chunk), static_cast<std::streamsize>(read));
        if (!destination) {
            FStatus = TCryptStatus::IoError;
            return false;
        }
        remaining -= static_cast<std::int64_t>(read);
    } while (remaining > 0);

    const auto code = AuthCode();
    std::array<std::uint8_t, AuthCodeLength> storedCode{};
    source.read(reinterpret_cast<char *>(storedCode.data()), AuthCodeLength);
    if (static_cast<std::size_t>(source.gcount()) != AuthCodeLength) {
        FStatus = TCryptStatus::Truncated;
        return false;
    }
    if (!destination.flush()) {
        FStatus = TCryptStatus::IoError;
        return false;
    }
    if (CRYPTO_memcmp(code.data(), storedCode.data(), AuthCodeLength) != 0) {
        FStatus = TCryptStatus::BadCode;
        return false;
    }
    return true;
}
