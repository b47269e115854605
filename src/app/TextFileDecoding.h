#pragma once
// Text files that people may have saved with any editor: UTF-16 in either byte order or UTF-8, each
// recognised by its byte-order mark, otherwise 8-bit text in the system's code page.
#include "app/CodePage.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelo::app {

enum class TextFileEncoding { SystemCodePage, Utf8, Utf16LE, Utf16BE };

// The encoding and the length of its byte-order mark (0 for the system code page).
TextFileEncoding DetectTextFileEncoding(std::span<const uint8_t> bytes, size_t& markLength);

// The whole file as UTF-16, without its byte-order mark. Never fails: an odd last byte of UTF-16 is
// dropped, and each malformed UTF-8 sequence becomes U+FFFD.
std::u16string DecodeTextFileBytes(std::span<const uint8_t> bytes, const CodePage& codePage);

// UTF-8 to UTF-16 with the same replacement rule (a maximal ill-formed subsequence becomes one U+FFFD).
std::u16string DecodeUtf8(std::span<const uint8_t> bytes);

}  // namespace pelo::app
