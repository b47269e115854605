#include "core/IntegerText.h"

#include <string>

namespace pelo {

namespace {

int HexDigitValue(char32_t c)
{
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

template <typename CharT>
bool ParseIntegerTextImpl(std::basic_string_view<CharT> text, int32_t& out)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && (text[i] == CharT(' ') || text[i] == CharT('\t'))) ++i;

    bool negative = false;
    if (i < n && (text[i] == CharT('-') || text[i] == CharT('+'))) {
        negative = text[i] == CharT('-');
        ++i;
    }

    bool hex = false;
    if (i < n && (text[i] == CharT('$') || text[i] == CharT('x') || text[i] == CharT('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == CharT('0') && (text[i + 1] == CharT('x') || text[i + 1] == CharT('X'))) {
        hex = true;
        i += 2;
    }

    if (i == n) return false;  // no digit at all

    if (hex) {
        if (n - i > 8) return false;
        uint32_t pattern = 0;
        for (; i < n; ++i) {
            const int d = HexDigitValue(static_cast<char32_t>(text[i]));
            if (d < 0) return false;
            pattern = (pattern << 4) | static_cast<uint32_t>(d);
        }
        // The sign applies to the 32-bit pattern with wrap-around, as a 32-bit machine negates.
        if (negative) pattern = 0u - pattern;
        out = static_cast<int32_t>(pattern);
        return true;
    }

    // Decimal: accumulate the magnitude in 64 bits and stop as soon as it leaves the 32-bit range, so
    // that any number of digits is safe.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; i < n; ++i) {
        const CharT c = text[i];
        if (c < CharT('0') || c > CharT('9')) return false;
        magnitude = magnitude * 10 + static_cast<int64_t>(c - CharT('0'));
        if (magnitude > limit) return false;
    }
    out = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

bool ParseIntegerText(std::string_view text, int32_t& out)
{
    return ParseIntegerTextImpl(text, out);
}

bool ParseIntegerText(std::u16string_view text, int32_t& out)
{
    return ParseIntegerTextImpl(text, out);
}

std::u16string FormatIntegerText(int32_t value)
{
    const std::string narrow = std::to_string(value);
    return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace pelo
