// OpenSSL 3 deprecates the low-level SHA-1 interface; the raw compression function exists only
// there, so its deprecation is silenced in this one file.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "branding/Sha1Compress.h"

#include <openssl/crypto.h>
#include <openssl/sha.h>

void Sha1Compress(std::array<std::uint32_t, 5> &state, const std::uint8_t *block) {
    SHA_CTX ctx{};
    ctx.h0 = state[0];
    ctx.h1 = state[1];
    ctx.h2 = state[2];
    ctx.h3 = state[3];
    ctx.h4 = state[4];
    SHA1_Transform(&ctx, block);
    state = {ctx.h0, ctx.h1, ctx.h2, ctx.h3, ctx.h4};
    OPENSSL_cleanse(&ctx, sizeof ctx);
}
