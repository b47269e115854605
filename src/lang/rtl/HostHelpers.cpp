#include "lang/rtl/HostHelpers.h"

#include "lang/rtl/DoubleRounding.h"
#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringRoutines.h"

#include <cmath>

namespace pelo::lang::rtl {

Currency CurrencyFromDouble(double value) {
    const double rounded = std::nearbyint(asDouble(value * 10000.0));
    if (!(rounded < 9223372036854775808.0 && rounded >= -9223372036854775808.0))
        throw ScriptError(ErrorKind::MathError, kInvalidFloatingPointOperation);
    return Currency{static_cast<int64_t>(rounded)};
}

double CurrencyToDouble(Currency value) { return static_cast<double>(value.raw) / 10000.0; }

std::string IntToStrS(int32_t value) {
    std::string s = std::to_string(value);
    if (value >= 1) s.insert(s.begin(), '+');
    return s;
}

std::string FloatToStrFixed(int32_t digits, Currency value) {
    if (digits < 0) digits = 0;
    const bool negative = value.raw < 0;
    // magnitude as unsigned so that the most negative currency value is handled too
    const uint64_t magnitude = negative ? 0u - static_cast<uint64_t>(value.raw) : static_cast<uint64_t>(value.raw);
    uint64_t intPart = 0;
    std::string fracText;
    bool nonZero = false;
    if (digits >= 4) {
        intPart = magnitude / 10000;
        const uint64_t frac = magnitude % 10000;
        fracText = std::to_string(frac);
        fracText.insert(0, 4 - fracText.size(), '0');
        fracText.append(static_cast<size_t>(digits - 4), '0');
        nonZero = magnitude != 0;
    } else {
        uint64_t scale = 1;
        for (int i = 0; i < 4 - digits; ++i) scale *= 10;
        const uint64_t q = magnitude / scale + (magnitude % scale >= scale / 2 ? 1u : 0u);
        nonZero = q != 0;
        uint64_t unit = 1;
        for (int i = 0; i < digits; ++i) unit *= 10;
        intPart = q / unit;
        if (digits > 0) {
            fracText = std::to_string(q % unit);
            fracText.insert(0, static_cast<size_t>(digits) - fracText.size(), '0');
        }
    }
    std::string r = (negative && nonZero) ? "-" : "";
    r += std::to_string(intPart);
    if (!fracText.empty()) {
        r += '.';
        r += fracText;
    }
    return r;
}

std::string FloatToStrFixedS(int32_t digits, Currency value) {
    std::string r = FloatToStrFixed(digits, value);
    if (value.raw > 0) r.insert(r.begin(), '+');
    return r;
}

std::string StrReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                       bool replaceAll, bool ignoreCase) {
    if (oldPattern.empty()) return std::string(s);
    std::string foldedText, foldedPattern;
    std::string_view hay = s, pat = oldPattern;
    if (ignoreCase) {
        foldedText = UpperCase(s);
        foldedPattern = UpperCase(oldPattern);
        hay = foldedText;
        pat = foldedPattern;
    }
    std::string r;
    size_t start = 0;
    for (;;) {
        const size_t p = hay.find(pat, start);
        if (p == std::string_view::npos) break;
        r.append(s.substr(start, p - start));
        r.append(newPattern);
        start = p + pat.size();
        if (!replaceAll) break;
    }
    r.append(s.substr(start));
    return r;
}

}  // namespace pelo::lang::rtl
