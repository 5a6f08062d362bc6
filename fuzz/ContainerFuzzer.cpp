// Arbitrary bytes as a settings container: DecryptStream must answer false or true, never crash,
// never read beyond the size it is given.
#include "branding/AesLib.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Small chunks so short inputs still cross chunk and keystream-block boundaries.
    static TEncryption cipher("qpwzmxnvkt", 13);
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const auto claimed = static_cast<std::int64_t>(size);
    for (const std::int64_t containerSize : {claimed, claimed - 1, claimed + 9}) {
        std::istringstream in(bytes);
        std::ostringstream out;
        const bool ok = cipher.DecryptStream(in, out, containerSize);
        // The plain text can never exceed the ciphertext part of what was promised.
        if (out.str().size() + 20 > static_cast<std::size_t>(std::max<std::int64_t>(containerSize, 20)))
            __builtin_trap();
        if (ok && out.str().size() + 20 != static_cast<std::size_t>(containerSize))
            __builtin_trap();
    }
    return 0;
}
