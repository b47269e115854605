// The VM's arithmetic error texts and Currency's range, shared by the interpreter and the variant conversions.
#pragma once

namespace pelo::lang {

// What ExceptionParam reads after the arithmetic errors: the texts of the exceptions behind them.
inline constexpr const char* kIntDivByZeroText = "Division by zero";
inline constexpr const char* kFloatDivByZeroText = "Floating point division by zero";
inline constexpr const char* kInvalidFloatOpText = "Invalid floating point operation";

// Currency is a 64-bit count of ten-thousandths; results whose magnitude reaches 2^63 do not fit.
inline constexpr long double kCurrencyLimit = 9223372036854775808.0L;

}  // namespace pelo::lang
