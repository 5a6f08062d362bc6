#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include <openssl/types.h>

#include "platform/Clock.h"

// The settings container: the encrypted data block of one WinZip AES archive entry (salt,
// 2-byte password verifier, AES-CTR ciphertext, 10-byte truncated HMAC-SHA1 over the
// ciphertext), with no archive headers around it.

// Key mode by password length: 1 (AES-128, up to 31 bytes), 2 (AES-192, 32 to 47), 3 (AES-256).
int KeyModeForPassword(std::size_t passwordLength);
// Salt length by key mode: 8, 12 or 16 bytes; 0 for a mode outside 1 to 3.
int SaltLengthForKeyMode(int keyMode);

inline constexpr std::size_t MaxPasswordLength = 128;
inline constexpr std::size_t VerifierLength = 2;
inline constexpr std::size_t AuthCodeLength = 10;

// Key setup result codes.
inline constexpr int KeySetupOk = 0;
inline constexpr int KeySetupPasswordTooLong = -100;
inline constexpr int KeySetupBadKeyMode = -101;

// Why the last stream operation returned false, for callers that tell the user.
enum class TCryptStatus {
    Ok,
    PasswordTooLong, // the key setup refused the password
    BadHeader,       // wrong password or damaged salt/verifier; nothing was written
    BadCode,         // the authentication code does not match; the decrypted text was written
    Truncated,       // the container is shorter than its header and code, or its data ends early
    IoError,         // a read or write failed, or the cipher library reported an error
};

struct TCipherCtxFree {
    void operator()(EVP_CIPHER_CTX *ctx) const;
};
struct TMacCtxFree {
    void operator()(EVP_MAC_CTX *ctx) const;
};

// The running state of one container being written or read.
struct TEncryptionContext {
    std::array<std::uint8_t, 16> counterBlock{}; // bytes 0..7: little-endian block counter
    std::array<std::uint8_t, 16> keystreamBlock{};
    std::unique_ptr<EVP_CIPHER_CTX, TCipherCtxFree> aesKey; // expanded key, ECB encryption
    std::unique_ptr<EVP_MAC_CTX, TMacCtxFree> hmac;         // running HMAC-SHA1
    unsigned position = 16;                                 // next unused keystream byte; 16: none left
    std::size_t passwordLength = 0;
    int keyMode = 0;
};

class TCrypt {
public:
    TCrypt(std::string password, std::uint32_t chunkSize);
    virtual ~TCrypt();
    TCrypt(const TCrypt &) = delete;
    TCrypt &operator=(const TCrypt &) = delete;

    int KeyMode() const { return FKeyMode; }
    std::uint32_t ChunkSize() const { return FChunkSize; }

protected:
    // Derives the keys from the password and salt, resets the counter and keystream position and
    // starts the HMAC; verifier receives the two derived verifier bytes. Returns a key setup code.
    int KeySetup(const std::uint8_t *salt, std::array<std::uint8_t, VerifierLength> &verifier);
    // XORs data with the keystream; the position carries over from one call to the next.
    void ApplyKeystream(std::uint8_t *data, std::size_t length);
    void AuthUpdate(const std::uint8_t *data, std::size_t length);
    std::array<std::uint8_t, AuthCodeLength> AuthCode();

    int FKeyMode;
    TEncryptionContext FContext;
    std::string FPassword;
    std::uint32_t FChunkSize;
    std::unique_ptr<std::uint8_t[]> FChunk;

private:
    void NextKeystreamBlock();
    // Counter blocks are encrypted in runs of this many bytes per cipher call.
    std::vector<std::uint8_t> FKeystreamRun;
};

// The salt generator: a SHA-1 mixed entropy pool fed from the high-resolution counter.
class TSaltGenerator final {
public:
    static constexpr std::size_t PoolSize = 260;

    explicit TSaltGenerator(IClock &clock);
    ~TSaltGenerator();
    TSaltGenerator(const TSaltGenerator &) = delete;
    TSaltGenerator &operator=(const TSaltGenerator &) = delete;

    // Zeroes the state, then refreshes, mixes the pool 20 more times and refreshes again.
    void Prime();
    void Take(std::uint8_t *out, std::size_t count);

private:
    std::size_t Entropy(std::uint8_t *out, std::size_t count);
    void Refresh();

    IClock &FClock;
    std::array<std::uint8_t, PoolSize> FPool{};
    std::array<std::uint8_t, PoolSize> FOutput{};
    std::size_t FPosition = 0;
};

class TEncryption final : public TCrypt {
public:
    TEncryption(std::string password, std::uint32_t chunkSize, IClock &clock = SystemClock());
    ~TEncryption() override;

    // Reads the plain source from its current position to its end and writes a whole container.
    bool EncryptStream(std::istream &source, std::ostream &destination);
    // Reads a container of containerSize bytes, never more, and writes the plain bytes. True only
    // when the verifier and the authentication code both match.
    bool DecryptStream(std::istream &source, std::ostream &destination, std::int64_t containerSize);

    // The reason for the last stream operation's result.
    TCryptStatus Status() const { return FStatus; }

private:
    bool DoEncrypt(std::istream &source, std::ostream &destination);
    bool DoDecrypt(std::istream &source, std::ostream &destination, std::int64_t containerSize);

    TSaltGenerator FSalt;
    TCryptStatus FStatus = TCryptStatus::Ok;
};
