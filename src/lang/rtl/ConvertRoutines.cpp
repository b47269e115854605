#include "lang/rtl/ConvertRoutines.h"

#include "lang/rtl/ScriptError.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace pelo::lang::rtl {

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::optional<int64_t> ParseInteger(std::string_view s) {
    const size_t len = s.size();
    size_t i = 0;
    if (len == 0) return std::nullopt;
    while (i < len && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < len && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < len) {
        switch (s[i]) {
        case '$':
        case 'x':
        case 'X':
            base = 16;
            ++i;
            break;
        case '%':
            base = 2;
            ++i;
            break;
        case '&':
            base = 8;
            ++i;
            break;
        case '0':
            if (i + 1 < len && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
                base = 16;
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    while (i + 1 < len && s[i] == '0') ++i;  // leading zeros, keeping the last character
    if (i >= len) return std::nullopt;
    if (s[i] == '\0') {
        // a NUL right after the prefix ends the text; valid only when a '0' came before it
        if (i > 0 && s[i - 1] == '0') return 0;
        return std::nullopt;
    }
    const uint64_t maxValue =
        base == 10 ? static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1u : 0u)
                   : std::numeric_limits<uint64_t>::max();
    const uint64_t maxBeforeMultiply = std::numeric_limits<uint64_t>::max() / base;
    uint64_t value = 0;
    for (; i < len; ++i) {
        const char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c == '\0')
            break;
        else
            return std::nullopt;
        if (digit >= base || value > maxBeforeMultiply) return std::nullopt;
        const uint64_t shifted = value * base;
        if (maxValue - digit < shifted) return std::nullopt;
        value = shifted + digit;
    }
    const auto result = static_cast<int64_t>(value);
    // two's-complement negation; the most negative value stays itself
    return negative ? static_cast<int64_t>(0u - static_cast<uint64_t>(result)) : result;
}

int32_t StrToInt(std::string_view s) { return StrToIntDef(s, -1); }

int32_t StrToIntDef(std::string_view s, int32_t def) {
    const auto v = ParseInteger(s);
    return v ? static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(*v))) : def;
}

int64_t StrToInt64(std::string_view s) {
    const auto v = ParseInteger(s);
    if (!v) throw ScriptError("\"" + std::string(s) + "\" is an invalid integer");
    return *v;
}

int64_t StrToInt64Def(std::string_view s, int64_t def) { return ParseInteger(s).value_or(def); }

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (x != b[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<long double> ParseFloat(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i >= s.size()) return std::nullopt;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        if (++i >= s.size()) return std::nullopt;
    }
    const std::string_view rest = s.substr(i);
    if (equalsNoCase(rest, "inf"))
        return negative ? -std::numeric_limits<long double>::infinity() : std::numeric_limits<long double>::infinity();
    if (equalsNoCase(rest, "nan")) return std::numeric_limits<long double>::quiet_NaN();
    // Mantissa digits and exponent digits may both be missing ("." and "1e+" read as 0 and 1); only an
    // 'e' at the very end is refused.
    std::string normal;
    size_t p = 0;
    while (p < rest.size() && rest[p] >= '0' && rest[p] <= '9') normal += rest[p++];
    if (p < rest.size() && rest[p] == '.') {
        normal += rest[p++];
        while (p < rest.size() && rest[p] >= '0' && rest[p] <= '9') normal += rest[p++];
    }
    if (normal.find_first_of("0123456789") == std::string::npos) normal = "0";
    if (p < rest.size() && (rest[p] == 'e' || rest[p] == 'E')) {
        if (++p >= rest.size()) return std::nullopt;
        std::string exponent;
        if (rest[p] == '+' || rest[p] == '-') exponent += rest[p++];
        const size_t digitsStart = p;
        while (p < rest.size() && rest[p] >= '0' && rest[p] <= '9') exponent += rest[p++];
        if (p > digitsStart) normal += 'e' + exponent;
    }
    if (p != rest.size()) return std::nullopt;
    // strtold rather than from_chars: MinGW's from_chars reads a long double only to double precision.
    // The text is plain ASCII digits with '.', which the C locale the engine runs in reads as is.
    char* end = nullptr;
    const long double value = std::strtold(normal.c_str(), &end);  // saturates to infinity, underflows to 0
    if (end != normal.c_str() + normal.size()) return std::nullopt;
    return negative ? -value : value;
}

long double StrToFloat(std::string_view s) {
    const auto v = ParseFloat(s);
    if (!v) throw ScriptError("Invalid float");
    return *v;
}

}  // namespace pelo::lang::rtl
