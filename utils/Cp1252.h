#pragma once

#include <optional>

// Windows-1252, the single-byte code page of all text inside the program. The five bytes the
// code page leaves undefined map to the C1 controls of the same value, as Windows does.
char16_t Cp1252ToUnicode(unsigned char byte);
// The byte for a character, or empty when Windows-1252 has none.
std::optional<unsigned char> UnicodeToCp1252(char32_t character);
