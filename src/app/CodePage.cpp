#include "app/CodePage.h"

namespace pelo::app {

namespace {

// Characters of the bytes 80..9F; every other byte is the character of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ByteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(static_cast<unsigned char>(c));
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::u16string Windows1252CodePage::ToWide(std::string_view text) const
{
    std::u16string wide;
    wide.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        wide.push_back((b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
    }
    return wide;
}

std::string Windows1252CodePage::FromWide(std::u16string_view text) const
{
    std::string narrow;
    narrow.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // A surrogate pair is one character outside the code page: one "?" for both halves.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        narrow.push_back(ByteFor(c));
    }
    return narrow;
}

}  // namespace pelo::app
