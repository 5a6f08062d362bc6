#include "branding/AesLib.h"
#include "tests/branding/ContainerTestSupport.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <gtest/gtest.h>

#include <sstream>

using namespace containertest;

namespace {

const std::string Password = "qpwzmxnvkt";

struct TRun {
    bool ok = false;
    TBytes output;
    TCryptStatus status = TCryptStatus::Ok;
};

TRun Encrypt(TEncryption &cipher, const TBytes &plain) {
    std::istringstream in(ToString(plain));
    std::ostringstream out;
    TRun run;
    run.ok = cipher.EncryptStream(in, out);
    run.output = ToBytes(out.str());
    run.status = cipher.Status();
    return run;
}

TRun Decrypt(TEncryption &cipher, const TBytes &container) {
    std::istringstream in(ToString(container));
    std::ostringstream out;
    TRun run;
    run.ok = cipher.DecryptStream(in, out, static_cast<std::int64_t>(container.size()));
    run.output = ToBytes(out.str());
    run.status = cipher.Status();
    return run;
}

TBytes EncryptWith(const std::string &password, const TBytes &plain, std::uint32_t chunk = 262144) {
    TSteppingClock clock;
    TEncryption cipher(password, chunk, clock);
    const TRun run = Encrypt(cipher, plain);
    EXPECT_TRUE(run.ok);
    return run.output;
}

TBytes AesBlock(const TBytes &key, const std::uint8_t *block) {
    const EVP_CIPHER *cipher = key.size() == 16   ? EVP_aes_128_ecb()
                               : key.size() == 24 ? EVP_aes_192_ecb()
                                                  : EVP_aes_256_ecb();
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    TBytes out(32);
    int n = 0;
    EXPECT_EQ(EVP_EncryptInit_ex(ctx, cipher, nullptr, key.data(), nullptr), 1);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EXPECT_EQ(EVP_EncryptUpdate(ctx, out.data(), &n, block, 16), 1);
    EVP_CIPHER_CTX_free(ctx);
    out.resize(16);
    return out;
}

struct TKeys {
    TBytes aes, mac, verifier;
};

TKeys DeriveKeys(const std::string &password, const TBytes &salt) {
    const std::size_t k = salt.size() == 8 ? 16 : salt.size() == 12 ? 24 : 32;
    TBytes derived(2 * k + 2);
    EXPECT_EQ(PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt.data(),
                                     static_cast<int>(salt.size()), 1000, static_cast<int>(derived.size()),
                                     derived.data()),
              1);
    return {TBytes(derived.begin(), derived.begin() + k),
            TBytes(derived.begin() + k, derived.begin() + 2 * k),
            TBytes(derived.begin() + 2 * k, derived.end())};
}

// The container computed the plain way, one block at a time, for the given salt.
TBytes ReferenceContainer(const std::string &password, const TBytes &salt, const TBytes &plain) {
    const TKeys keys = DeriveKeys(password, salt);
    TBytes cipherText = plain;
    std::uint8_t counter[16] = {};
    for (std::size_t i = 0; i < cipherText.size(); i += 16) {
        for (int b = 0; b < 8 && ++counter[b] == 0; ++b) {
        }
        const TBytes stream = AesBlock(keys.aes, counter);
        for (std::size_t j = i; j < std::min(i + 16, cipherText.size()); ++j)
            cipherText[j] ^= stream[j - i];
    }
    std::uint8_t mac[20];
    unsigned macLength = 0;
    HMAC(EVP_sha1(), keys.mac.data(), static_cast<int>(keys.mac.size()), cipherText.data(), cipherText.size(),
         mac, &macLength);
    TBytes container = salt;
    container.insert(container.end(), keys.verifier.begin(), keys.verifier.end());
    container.insert(container.end(), cipherText.begin(), cipherText.end());
    container.insert(container.end(), mac, mac + 10);
    return container;
}

// ---- salt generator ----

// Expected bytes come from an independent model of the generator (Python, own SHA-1 compression)
// fed the same counter sequence: start 0x0123456789ABCDEF, step 0x9E3779B97F4A7C15 per call.
TEST(SaltGenerator, MatchesIndependentModelAcrossRefreshes) {
    TSteppingClock clock;
    TSaltGenerator generator(clock);
    TBytes taken(600);
    generator.Take(taken.data(), 5); // takes of odd sizes must join up seamlessly
    generator.Take(taken.data() + 5, 595);
    const TBytes first = {0xda, 0x1a, 0x81, 0x29, 0x39, 0x05, 0x76, 0xe4,
                          0x62, 0xd5, 0x72, 0x9d, 0xa1, 0xc2, 0xb1, 0xe3};
    const TBytes across = {0x28, 0xd2, 0xb8, 0xc1, 0x87, 0x55, 0x92, 0x6d,
                           0xfd, 0xa4, 0x62, 0xd2, 0x92, 0x84, 0x21, 0x5c};
    const TBytes last = {0x22, 0x1e, 0x21, 0xc3, 0x9f, 0xb4, 0x9c, 0x65,
                         0x6e, 0xdd, 0xc2, 0xae, 0x33, 0xe7, 0x6e, 0x18};
    EXPECT_EQ(TBytes(taken.begin(), taken.begin() + 16), first);
    EXPECT_EQ(TBytes(taken.begin() + 256, taken.begin() + 272), across);
    EXPECT_EQ(TBytes(taken.begin() + 584, taken.end()), last);
}

// Without a high-resolution counter each entropy call gives the tick count and four zero bytes
// (ticks from 0x11223344, step 7).
TEST(SaltGenerator, FallsBackToTickCount) {
    TSteppingClock clock;
    clock.hasCounter = false;
    TSaltGenerator generator(clock);
    TBytes taken(16);
    generator.Take(taken.data(), taken.size());
    const TBytes expected = {0xff, 0xcc, 0x9d, 0x09, 0xa3, 0xbd, 0x32, 0xf6,
                             0xa9, 0x63, 0xb9, 0x59, 0xeb, 0xb9, 0xca, 0xa1};
    EXPECT_EQ(taken, expected);
}

TEST(SaltGenerator, EncryptionTakesItsSaltFromTheGenerator) {
    TSteppingClock clock;
    TEncryption cipher(Password, 64, clock);
    const TBytes first = Encrypt(cipher, {}).output;
    const TBytes second = Encrypt(cipher, {}).output;
    const TBytes expected = {0xda, 0x1a, 0x81, 0x29, 0x39, 0x05, 0x76, 0xe4,
                             0x62, 0xd5, 0x72, 0x9d, 0xa1, 0xc2, 0xb1, 0xe3};
    EXPECT_EQ(TBytes(first.begin(), first.begin() + 8), TBytes(expected.begin(), expected.begin() + 8));
    EXPECT_EQ(TBytes(second.begin(), second.begin() + 8), TBytes(expected.begin() + 8, expected.end()));
}

// ---- layout, key modes and keystream against a block-at-a-time computation ----

TEST(AesLib, KeyModesFollowPasswordLength) {
    const struct {
        std::size_t passwordLength;
        int keyMode;
        std::size_t saltLength;
    } cases[] = {{0, 1, 8}, {10, 1, 8}, {31, 1, 8}, {32, 2, 12}, {47, 2, 12}, {48, 3, 16}, {128, 3, 16}};
    const TBytes plain = ToBytes("abc");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.passwordLength);
        const std::string password(c.passwordLength, 'p');
        TSteppingClock clock;
        TEncryption cipher(password, 64, clock);
        EXPECT_EQ(cipher.KeyMode(), c.keyMode);
        const TBytes container = Encrypt(cipher, plain).output;
        ASSERT_EQ(container.size(), plain.size() + c.saltLength + 12);
        const TBytes salt(container.begin(), container.begin() + static_cast<std::ptrdiff_t>(c.saltLength));
        EXPECT_EQ(container, ReferenceContainer(password, salt, plain));
        const TRun back = Decrypt(cipher, container);
        EXPECT_TRUE(back.ok);
        EXPECT_EQ(back.output, plain);
    }
}

// The keystream position must carry across chunks of any size, and runs of blocks must continue
// the counter exactly where single blocks left it.
TEST(AesLib, MatchesBlockwiseComputationForAnyChunking) {
    const struct {
        std::size_t passwordLength;
        std::uint32_t chunk;
        std::size_t plainLength;
    } cases[] = {{10, 1, 37},      {10, 7, 100},        {10, 16, 64},   {10, 17, 4200},     {10, 100, 0},
                 {10, 4096, 4096}, {10, 262144, 70000}, {40, 13, 1000}, {60, 33000, 70000}, {10, 5, 15}};
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.passwordLength << " " << c.chunk << " " << c.plainLength);
        const std::string password(c.passwordLength, 'k');
        const TBytes plain = PatternBytes(c.plainLength);
        const TBytes container = EncryptWith(password, plain, c.chunk);
        const std::size_t saltLength = container.size() - plain.size() - 12;
        const TBytes salt(container.begin(), container.begin() + static_cast<std::ptrdiff_t>(saltLength));
        EXPECT_EQ(container, ReferenceContainer(password, salt, plain));

        TSteppingClock clock;
        TEncryption reader(password, c.chunk, clock);
        const TRun back = Decrypt(reader, container);
        EXPECT_TRUE(back.ok);
        EXPECT_EQ(back.output, plain);
    }
}

// Zeros encrypt to the keystream itself: block 1 must come from counter 1 (never 0) and block 256
// from 00 01 00 ... (byte 0 wrapped, carry into byte 1).
TEST(AesLib, CounterStartsAtOneAndCarriesIntoSecondByte) {
    const TBytes zeros(256 * 16 + 5, 0);
    const TBytes container = EncryptWith(Password, zeros, 1000);
    const TBytes salt(container.begin(), container.begin() + 8);
    const TKeys keys = DeriveKeys(Password, salt);
    const std::uint8_t counter1[16] = {1};
    const std::uint8_t counter256[16] = {0, 1};
    const std::uint8_t counter257[16] = {1, 1};
    EXPECT_EQ(TBytes(container.begin() + 10, container.begin() + 26), AesBlock(keys.aes, counter1));
    EXPECT_EQ(TBytes(container.begin() + 10 + 255 * 16, container.begin() + 10 + 256 * 16),
              AesBlock(keys.aes, counter256));
    const TBytes block257 = AesBlock(keys.aes, counter257);
    EXPECT_EQ(TBytes(container.begin() + 10 + 256 * 16, container.end() - 10),
              TBytes(block257.begin(), block257.begin() + 5));
    EXPECT_EQ(TBytes(container.begin() + 8, container.begin() + 10), keys.verifier);
}

TEST(AesLib, EmptyPlainGivesTwentyByteContainer) {
    const TBytes container = EncryptWith(Password, {});
    ASSERT_EQ(container.size(), 20u);
    TSteppingClock clock;
    TEncryption cipher(Password, 262144, clock);
    const TRun back = Decrypt(cipher, container);
    EXPECT_TRUE(back.ok);
    EXPECT_TRUE(back.output.empty());
}

TEST(AesLib, ExactMultipleOfChunkRoundTrips) {
    const TBytes plain = PatternBytes(262144, 7);
    const TBytes container = EncryptWith(Password, plain);
    ASSERT_EQ(container.size(), 262164u);
    TSteppingClock clock;
    TEncryption cipher(Password, 262144, clock);
    const TRun back = Decrypt(cipher, container);
    EXPECT_TRUE(back.ok);
    EXPECT_EQ(back.output, plain);
}

TEST(AesLib, TwoEncryptionsDifferAndBothDecrypt) {
    const TBytes plain = ToBytes("<%%ApplicationName%%>Example<%%/ApplicationName%%>\r\n");
    TEncryption writer(Password, 262144); // the real clock
    const TBytes a = Encrypt(writer, plain).output;
    TEncryption other(Password, 262144);
    const TBytes b = Encrypt(other, plain).output;
    ASSERT_EQ(a.size(), b.size());
    EXPECT_NE(TBytes(a.begin(), a.begin() + 8), TBytes(b.begin(), b.begin() + 8));
    EXPECT_NE(TBytes(a.begin() + 10, a.end()), TBytes(b.begin() + 10, b.end()));
    for (const TBytes *container : {&a, &b}) {
        TEncryption reader(Password, 262144);
        const TRun back = Decrypt(reader, *container);
        EXPECT_TRUE(back.ok);
        EXPECT_EQ(back.output, plain);
    }
}

// ---- damaged containers ----

TEST(AesLib, FlippedCiphertextOrCodeBitYieldsTextAndFalse) {
    const TBytes plain = PatternBytes(300);
    const TBytes container = EncryptWith(Password, plain, 64);
    const struct {
        std::size_t byte;
        int bit;
    } flips[] = {{10, 0}, {10 + 63, 7}, {10 + 64, 3}, {10 + 299, 5}, {310, 0}, {319, 7}};
    for (const auto &flip : flips) {
        SCOPED_TRACE(flip.byte);
        TBytes damaged = container;
        damaged[flip.byte] ^= static_cast<std::uint8_t>(1u << flip.bit);
        TBytes expected = plain;
        if (flip.byte < 310)
            expected[flip.byte - 10] ^= static_cast<std::uint8_t>(1u << flip.bit);
        TSteppingClock clock;
        TEncryption reader(Password, 64, clock);
        const TRun back = Decrypt(reader, damaged);
        EXPECT_FALSE(back.ok);
        EXPECT_EQ(back.status, TCryptStatus::BadCode);
        EXPECT_EQ(back.output, expected);
    }
}

// The salt and verifier are fixed by the stepping clock, so none of these changes can hit the
// 1-in-65536 verifier coincidence unnoticed: the test would fail the same way every run.
TEST(AesLib, ChangedSaltOrVerifierByteWritesNothing) {
    const TBytes container = EncryptWith(Password, PatternBytes(50));
    for (std::size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        TBytes damaged = container;
        damaged[i] ^= 0x40;
        TSteppingClock clock;
        TEncryption reader(Password, 262144, clock);
        const TRun back = Decrypt(reader, damaged);
        EXPECT_FALSE(back.ok);
        EXPECT_EQ(back.status, TCryptStatus::BadHeader);
        EXPECT_TRUE(back.output.empty());
    }
    TEncryption wrong("qpwzmxnvku", 262144);
    const TRun back = Decrypt(wrong, container);
    EXPECT_FALSE(back.ok);
    EXPECT_TRUE(back.status == TCryptStatus::BadHeader || back.status == TCryptStatus::BadCode);
}

// A short container is refused before anything is read; data that ends before the promised size
// writes nothing past the last whole chunk; the reader never consumes more than the promised size.
TEST(AesLib, ShortAndTruncatedContainers) {
    const TBytes plain = PatternBytes(200);
    const TBytes container = EncryptWith(Password, plain, 64);
    const struct {
        std::size_t available; // bytes present in the stream
        std::int64_t claimed;  // container size passed in
        std::size_t plainOut;  // plain bytes expected in the output
        TCryptStatus status;
    } cases[] = {
        {0, 0, 0, TCryptStatus::Truncated},
        {19, 19, 0, TCryptStatus::Truncated},
        {container.size(), 19, 0, TCryptStatus::Truncated},
        {container.size(), -5, 0, TCryptStatus::Truncated},
        {5, static_cast<std::int64_t>(container.size()), 0, TCryptStatus::Truncated},
        {9, static_cast<std::int64_t>(container.size()), 0, TCryptStatus::Truncated},
        {10 + 130, static_cast<std::int64_t>(container.size()), 128, TCryptStatus::Truncated},
        {10 + 200 + 4, static_cast<std::int64_t>(container.size()), 200, TCryptStatus::Truncated},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.available << " " << c.claimed);
        std::istringstream in(ToString(
            TBytes(container.begin(), container.begin() + static_cast<std::ptrdiff_t>(c.available))));
        std::ostringstream out;
        TSteppingClock clock;
        TEncryption reader(Password, 64, clock);
        EXPECT_FALSE(reader.DecryptStream(in, out, c.claimed));
        EXPECT_EQ(reader.Status(), c.status);
        EXPECT_EQ(ToBytes(out.str()),
                  TBytes(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(c.plainOut)));
        if (c.claimed < 20) {
            in.clear();
            EXPECT_EQ(in.tellg(), 0);
        }
    }

    // Trailing bytes after the container are neither read nor part of the code.
    TBytes padded = container;
    padded.insert(padded.end(), 33, 'x');
    std::istringstream in(ToString(padded));
    std::ostringstream out;
    TEncryption reader(Password, 64);
    EXPECT_TRUE(reader.DecryptStream(in, out, static_cast<std::int64_t>(container.size())));
    EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(container.size()));
    EXPECT_EQ(ToBytes(out.str()), plain);
}

TEST(AesLib, PasswordOver128BytesIsRefused) {
    const std::string longest(128, 'p');
    const TBytes container = EncryptWith(longest, ToBytes("x"));
    const std::string tooLong(129, 'p');
    TEncryption cipher(tooLong, 64);
    const TRun encrypted = Encrypt(cipher, ToBytes("x"));
    EXPECT_FALSE(encrypted.ok);
    EXPECT_EQ(encrypted.status, TCryptStatus::PasswordTooLong);
    EXPECT_TRUE(encrypted.output.empty());
    const TRun decrypted = Decrypt(cipher, container);
    EXPECT_FALSE(decrypted.ok);
    EXPECT_EQ(decrypted.status, TCryptStatus::PasswordTooLong);
    EXPECT_TRUE(decrypted.output.empty());
}

TEST(AesLib, StreamErrorsBecomeFalse) {
    const TBytes container = EncryptWith(Password, PatternBytes(100));
    // A source that throws on end of file, as streams do with exceptions enabled.
    std::istringstream in(ToString(TBytes(container.begin(), container.begin() + 50)));
    in.exceptions(std::ios::eofbit | std::ios::failbit);
    std::ostringstream out;
    TEncryption reader(Password, 64);
    EXPECT_FALSE(reader.DecryptStream(in, out, static_cast<std::int64_t>(container.size())));

    // A destination that refuses writes.
    std::istringstream plain("some text");
    std::ostringstream sink;
    sink.setstate(std::ios::badbit);
    TEncryption writer(Password, 64);
    EXPECT_FALSE(writer.EncryptStream(plain, sink));
    EXPECT_EQ(writer.Status(), TCryptStatus::IoError);
}

} // namespace
