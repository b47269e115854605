#include "app/TextFileDecoding.h"

namespace pelo::app {

TextFileEncoding DetectTextFileEncoding(std::span<const uint8_t> bytes, size_t& markLength)
{
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        markLength = 2;
        return TextFileEncoding::Utf16LE;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        markLength = 2;
        return TextFileEncoding::Utf16BE;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        markLength = 3;
        return TextFileEncoding::Utf8;
    }
    markLength = 0;
    return TextFileEncoding::SystemCodePage;
}

std::u16string DecodeUtf8(std::span<const uint8_t> bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const uint8_t b0 = bytes[i];
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        // Length and the allowed range of the second byte (which rules out overlong forms, surrogates and
        // values above U+10FFFF).
        size_t length = 0;
        uint8_t lo = 0x80, hi = 0xBF;
        uint32_t cp = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
            cp = b0 & 0x1Fu;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            cp = b0 & 0x0Fu;
            if (b0 == 0xE0) lo = 0xA0;
            if (b0 == 0xED) hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            cp = b0 & 0x07u;
            if (b0 == 0xF0) lo = 0x90;
            if (b0 == 0xF4) hi = 0x8F;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        size_t used = 1;
        bool complete = true;
        for (; used < length; ++used) {
            if (i + used >= n) {
                complete = false;
                break;
            }
            const uint8_t b = bytes[i + used];
            const uint8_t min = used == 1 ? lo : 0x80;
            const uint8_t max = used == 1 ? hi : 0xBF;
            if (b < min || b > max) {
                complete = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3Fu);
        }
        i += used;
        if (!complete) {
            out.push_back(0xFFFD);
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FFu)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::u16string DecodeTextFileBytes(std::span<const uint8_t> bytes, const CodePage& codePage)
{
    size_t markLength = 0;
    const TextFileEncoding encoding = DetectTextFileEncoding(bytes, markLength);
    const std::span<const uint8_t> body = bytes.subspan(markLength);
    switch (encoding) {
    case TextFileEncoding::Utf16LE:
    case TextFileEncoding::Utf16BE: {
        const bool little = encoding == TextFileEncoding::Utf16LE;
        std::u16string text(body.size() / 2, u'\0');
        for (size_t k = 0; k < text.size(); ++k) {
            const uint8_t first = body[2 * k], second = body[2 * k + 1];
            text[k] = little ? static_cast<char16_t>(first | (second << 8)) : static_cast<char16_t>((first << 8) | second);
        }
        return text;
    }
    case TextFileEncoding::Utf8:
        return DecodeUtf8(body);
    case TextFileEncoding::SystemCodePage:
        break;
    }
    return codePage.ToWide(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
}

}  // namespace pelo::app
