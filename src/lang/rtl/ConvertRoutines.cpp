#include "lang/rtl/ConvertRoutines.h"

#include "lang/rtl/ScriptError.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace rtl {

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

std::optional<double> ParseFloat(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    size_t end = s.find('\0', i);
    if (end == std::string_view::npos) end = s.size();
    std::string_view body = s.substr(i, end - i);
    bool negative = false;
    std::string_view unsignedBody = body;
    if (!unsignedBody.empty() && (unsignedBody[0] == '+' || unsignedBody[0] == '-')) {
        negative = unsignedBody[0] == '-';
        unsignedBody.remove_prefix(1);
    }
    if (equalsNoCase(unsignedBody, "inf"))
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (equalsNoCase(unsignedBody, "nan")) return std::numeric_limits<double>::quiet_NaN();
    // digits [. digits] [e [sign] digits], at least one mantissa digit
    size_t p = 0, mantissaDigits = 0;
    const std::string_view b = unsignedBody;
    while (p < b.size() && b[p] >= '0' && b[p] <= '9') ++p, ++mantissaDigits;
    if (p < b.size() && b[p] == '.') {
        ++p;
        while (p < b.size() && b[p] >= '0' && b[p] <= '9') ++p, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (p < b.size() && (b[p] == 'e' || b[p] == 'E')) {
        ++p;
        if (p < b.size() && (b[p] == '+' || b[p] == '-')) ++p;
        size_t expDigits = 0;
        while (p < b.size() && b[p] >= '0' && b[p] <= '9') ++p, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (p != b.size()) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(b.data(), b.data() + b.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value unchanged; the engine saturates to infinity or underflows to zero
        value = 0;
        for (char c : b) {
            if (c == 'e' || c == 'E') break;
            if (c >= '1' && c <= '9') {
                value = std::numeric_limits<double>::infinity();
                break;
            }
        }
        const size_t e = b.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < b.size() && b[e + 1] == '-') value = 0;
    } else if (res.ec != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double StrToFloat(std::string_view s) {
    const auto v = ParseFloat(s);
    if (!v) throw ScriptError("Invalid float");
    return *v;
}

}  // namespace rtl
