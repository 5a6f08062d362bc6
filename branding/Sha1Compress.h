#pragma once

#include <array>
#include <cstdint>

// One application of the SHA-1 compression function to a 64-byte message block (no padding, no
// length), updating the five chaining words in place.
void Sha1Compress(std::array<std::uint32_t, 5> &state, const std::uint8_t *block);
