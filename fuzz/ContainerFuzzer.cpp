// Arbitrary bytes as a settings container: DecryptStream must answer false or true, never crash,
// never read beyond the size it is given.
#include "branding/AesLib.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

bool Check(TEncryption &cipher, const std::string &bytes, std::int64_t containerSize) {
    std::istringstream in(bytes);
    std::ostringstream out;
    const bool ok = cipher.DecryptStream(in, out, containerSize);
    const auto written = static_cast<std::int64_t>(out.str().size());
    // Plain bytes come only from whole ciphertext reads: never more than was promised, nor more
    // than the bytes after the header.
    const auto available = static_cast<std::int64_t>(bytes.size());
    if (written > std::max<std::int64_t>(0, std::min(containerSize - 20, available - 10)))
        __builtin_trap();
    if (ok && written + 20 != containerSize)
        __builtin_trap();
    if (containerSize >= 0 && in.tellg() > containerSize)
        __builtin_trap();
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Small chunks so short inputs still cross chunk and keystream-block boundaries.
    static TEncryption cipher("qpwzmxnvkt", 13);
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const auto claimed = static_cast<std::int64_t>(size);
    Check(cipher, bytes, claimed);
    // Past the verifier (1 in 65536 for random bytes, always for mutated seeds): also try sizes
    // that promise less or more than there is.
    if (cipher.Status() == TCryptStatus::Ok || cipher.Status() == TCryptStatus::BadCode) {
        Check(cipher, bytes, claimed - 1);
        Check(cipher, bytes, claimed + 9);
    }
    return 0;
}
