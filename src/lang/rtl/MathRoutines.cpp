#include "lang/rtl/MathRoutines.h"

#include "lang/rtl/ScriptError.h"

#include <cmath>

namespace pelo::lang::rtl {

namespace {

constexpr long double kTwoPow63 = 9223372036854775808.0L;

[[noreturn]] void invalidOperation() { throw ScriptError(ErrorKind::MathError, kInvalidFloatingPointOperation); }

int64_t toInt64Checked(long double integral) {
    if (!(integral < kTwoPow63 && integral >= -kTwoPow63)) invalidOperation();
    return static_cast<int64_t>(integral);
}

int32_t low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

}  // namespace

int64_t Round64(long double value) {
    if (!std::isfinite(value)) invalidOperation();
    // nearbyint follows the current rounding mode, which is round-half-even unless someone changed it
    const long double r = value - std::trunc(value) == 0 ? value : std::nearbyint(value);
    return toInt64Checked(r);
}

int64_t Trunc64(long double value) {
    if (!std::isfinite(value)) invalidOperation();
    return toInt64Checked(std::trunc(value));
}

int32_t Round(long double value) { return low32(Round64(value)); }
int32_t Trunc(long double value) { return low32(Trunc64(value)); }

long double Int(long double value) { return std::isfinite(value) ? std::trunc(value) : value; }
long double Frac(long double value) { return std::isfinite(value) ? value - std::trunc(value) : value; }
long double Abs(long double value) { return std::fabs(value); }

long double Sqrt(long double value) {
    if (value < 0 || std::isnan(value)) invalidOperation();
    return std::sqrt(value);
}

long double Sin(long double value) {
    if (std::isfinite(value) && std::fabs(value) >= kTwoPow63) return value;
    if (!std::isfinite(value)) invalidOperation();
    return std::sin(value);
}

long double Cos(long double value) {
    if (std::isfinite(value) && std::fabs(value) >= kTwoPow63) return value;
    if (!std::isfinite(value)) invalidOperation();
    return std::cos(value);
}

long double Pi() { return 3.14159265358979323846264338327950288L; }

}  // namespace pelo::lang::rtl
