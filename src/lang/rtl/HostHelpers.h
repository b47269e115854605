#pragma once
// Text helpers that the host program adds for scripts.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelo::lang::rtl {

// A currency value: a signed 64-bit count of ten-thousandths.
struct Currency {
    int64_t raw = 0;
};

// Converts a double to currency: value * 10000 in double precision, rounded half to even. Values outside
// the currency range raise a math error "Invalid floating point operation".
Currency CurrencyFromDouble(double value);
double CurrencyToDouble(Currency value);

// Decimal text with '+' in front of values of 1 or more.
std::string IntToStrS(int32_t value);

// Fixed-point text of a currency value with `digits` decimals (below 0 counts as 0; above 4 pads with
// zeros), rounded half away from zero, '.' separator, no thousands separator, and no '-' when the
// rounded value is zero.
std::string FloatToStrFixed(int32_t digits, Currency value);
// The same with '+' in front when the value (not its text) is above zero.
std::string FloatToStrFixedS(int32_t digits, Currency value);

// Left-to-right replacement of oldPattern by newPattern; replaced text is not searched again. Only the
// first occurrence unless replaceAll; ignoreCase folds ASCII letters. An empty oldPattern changes nothing.
std::string StrReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                       bool replaceAll, bool ignoreCase);

}  // namespace pelo::lang::rtl
