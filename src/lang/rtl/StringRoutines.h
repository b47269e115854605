#pragma once
// String routines of the script language. Strings are 8-bit byte strings, positions are 1-based and
// counts are 32-bit, exactly as scripts see them.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelo::lang::rtl {

// Copy: a start below 1 counts as 1 without shortening the count; start and count are clipped to the
// string; a count below 1 gives ''.
std::string Copy(std::string_view s, int32_t index, int32_t count);
// Pos: 1-based position of the first occurrence, 0 when absent or when sub is empty.
int32_t Pos(std::string_view sub, std::string_view s);
// Delete: nothing happens for an index outside 1..Length or a count below 1.
void Delete(std::string& s, int32_t index, int32_t count);
// Insert: an index below 1 inserts in front, one past the end appends.
void Insert(std::string_view source, std::string& s, int32_t index);
// SetLength: new bytes are zero; a negative length empties the string.
void SetLength(std::string& s, int32_t newLength);

std::string UpperCase(std::string_view s);  // ASCII letters only
std::string LowerCase(std::string_view s);  // ASCII letters only
// Latin-1 case mapping (à..þ <-> À..Þ, ÷/× kept; ÿ upper-cases to 'Y', which has no Latin-1 capital).
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
unsigned char AnsiLowerChar(unsigned char c);
// Trim: removes bytes 0..32 at both ends.
std::string Trim(std::string_view s);

std::string PadL(std::string_view s, int32_t width);  // spaces on the left up to width
std::string PadR(std::string_view s, int32_t width);  // spaces on the right up to width
std::string PadZ(std::string_view s, int32_t width);  // '0' on the left up to width
std::string StringOfChar(char c, int32_t count);     // also Replicate; count < 1 gives ''

// StrGet/StrSet: 1-based byte access; an index outside 1..Length raises "Out of string range".
char StrGet(std::string_view s, int32_t index);
void StrSet(char c, int32_t index, std::string& s);

}  // namespace pelo::lang::rtl
