#pragma once
// Arithmetic routines of the script language, on doubles.

#include <cstdint>

namespace rtl {

// Round: half to even; Trunc: toward zero. Both work in 64 bits and keep the low 32 bits, so large
// values wrap (Round(1e10) = 1410065408). Values beyond the 64-bit range, NaN and infinities raise
// a math error "Invalid floating point operation".
int32_t Round(double value);
int32_t Trunc(double value);
int64_t Round64(double value);
int64_t Trunc64(double value);

double Int(double value);   // integer part, sign kept (Int(-0.5) = -0)
double Frac(double value);  // value - Int(value)
double Abs(double value);
double Sqrt(double value);  // a negative argument raises "Invalid floating point operation"
// Sin/Cos return the argument itself when its magnitude is 2^63 or more, like the x87 instructions the
// reference relies on.
double Sin(double value);
double Cos(double value);
double Pi();

}  // namespace rtl
