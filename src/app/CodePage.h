#pragma once
// Conversion between 8-bit text in the system's code page and UTF-16. The platform supplies the real one
// (the ANSI code page of Windows); Windows1252CodePage is a fixed, platform-free stand-in for tests, tools
// and fuzzing. Conversions never fail: what has no counterpart becomes a replacement character.
#include <string>
#include <string_view>

namespace pelo::app {

class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::u16string ToWide(std::string_view text) const = 0;
    virtual std::string FromWide(std::u16string_view text) const = 0;
};

// Windows code page 1252 as Windows converts it: the five bytes without a character map to the control
// characters of the same value, and characters outside the code page become "?".
class Windows1252CodePage final : public CodePage {
public:
    std::u16string ToWide(std::string_view text) const override;
    std::string FromWide(std::u16string_view text) const override;
};

}  // namespace pelo::app
