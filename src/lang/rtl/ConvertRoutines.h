#pragma once
// Conversions between numbers and text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelo::lang::rtl {

std::string IntToStr(int64_t value);  // also Int64ToStr

// Integer text as the engine reads it: leading spaces and tabs, a sign, then a base prefix ('$', 'x',
// '0x' hexadecimal, '%' binary, '&' octal) and digits up to the end or a NUL byte; nothing else may
// follow. Decimal magnitudes may reach 2^63 (with '-') or 2^63-1, other bases 2^64-1 (wrapping into the
// signed range). Returns nothing on bad text.
std::optional<int64_t> ParseInteger(std::string_view s);

// StrToInt: -1 on bad text; values outside 32 bits wrap (low 32 bits are kept).
int32_t StrToInt(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
// StrToInt64 raises "\"<s>\" is an invalid integer" on bad text.
int64_t StrToInt64(std::string_view s);
int64_t StrToInt64Def(std::string_view s, int64_t def);

// Floating-point text: leading spaces, a sign, digits with an optional '.', an optional exponent, and
// nothing after; digits may be missing on either side ("." is 0, "1e+" is 1) but the text may not end
// in 'e' or consist of a sign alone. Also "Inf" and "NaN" in any letter case. Nothing on bad text.
// The value is read at extended precision.
std::optional<long double> ParseFloat(std::string_view s);
// StrToFloat raises "Invalid float" on bad text.
long double StrToFloat(std::string_view s);

}  // namespace pelo::lang::rtl
