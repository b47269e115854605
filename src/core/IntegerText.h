#pragma once
// Integer text: the one way the program reads an integer typed by a person, in the settings file and in
// every numeric edit field. Accepted: optional leading blanks (space or tab), an optional "-" or "+", then
// either decimal digits or a hexadecimal prefix ("$", "x", "X", "0x", "0X") followed by one to eight
// hexadecimal digits, and nothing after the last digit. Decimal values must fit a signed 32-bit integer;
// hexadecimal digits are a 32-bit pattern, so "$FFFFFFFF" is -1 and a sign applies to that pattern.
#include <cstdint>
#include <string>
#include <string_view>

namespace pelo {

// Returns false (and leaves `out` alone) when the text is not integer text.
bool ParseIntegerText(std::string_view text, int32_t& out);
bool ParseIntegerText(std::u16string_view text, int32_t& out);

// Signed decimal text, as the settings file stores integers.
std::u16string FormatIntegerText(int32_t value);

}  // namespace pelo
