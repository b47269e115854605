#pragma once
// Arithmetic routines of the script language, at extended precision (80-bit x87).

#include <cstdint>

namespace pelo::lang::rtl {

// Round: half to even; Trunc: toward zero. Both work in 64 bits and keep the low 32 bits, so large
// values wrap (Round(1e10) = 1410065408). Values beyond the 64-bit range, NaN and infinities raise
// a math error "Invalid floating point operation".
int32_t Round(long double value);
int32_t Trunc(long double value);
int64_t Round64(long double value);
int64_t Trunc64(long double value);

long double Int(long double value);   // integer part, sign kept (Int(-0.5) = -0)
long double Frac(long double value);  // value - Int(value)
long double Abs(long double value);
long double Sqrt(long double value);  // a negative argument raises "Invalid floating point operation"
// Sin/Cos return the argument itself when its magnitude is 2^63 or more, like the x87 instructions the
// reference relies on.
long double Sin(long double value);
long double Cos(long double value);
long double Pi();

}  // namespace pelo::lang::rtl
