#pragma once
// Decimal text of floating-point values, as the script engine prints them. Values arrive at extended
// precision (80-bit x87); Double and Single values convert to it exactly.

#include <string>

namespace pelo::lang::rtl {

// FloatToStr: fixed notation with exactly 12 decimals ("0.100000000000", "-0.000000000000" for negative
// values that print as zero). The value is first rounded to 21 significant digits, then to 12 decimals,
// which reproduces the reference engine's digits beyond a double's precision
// (1e30 -> "1000000000000000019880000000000.000000000000"). Text longer than 255 characters falls back
// to " 1.0E+0300" (sign or space, two significant digits, four exponent digits). NaN gives "Nan",
// infinities "+Inf" and "-Inf".
std::string FloatToStr(long double value);

// Exact decimal expansion of a finite, non-negative value: all significant digits without leading
// zeros ("" for zero) and the position of the decimal point relative to the first digit, so that
// value = 0.<digits> * 10^pointPos.
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};
DecimalDigits ExactDecimal(long double nonNegativeValue);

// Rounds a digit string in place to keep `keep` digits (keep >= 0), half to even when halfEven is set,
// half up otherwise; a carry out of the first digit prepends '1' and increments pointPos.
void RoundDigits(DecimalDigits& d, int keep, bool halfEven);

}  // namespace pelo::lang::rtl
