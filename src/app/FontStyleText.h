#pragma once
// Font styles as the settings file writes them: "Bold,Italic,Underline,Strikeout", each only when present,
// always in that order. Reading looks for each word anywhere in the text (letter case matters), so order,
// separators and extra text do not.
#include <string>
#include <string_view>

namespace pelo::app {

struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikeout = false;

    bool Any() const { return Bold || Italic || Underline || Strikeout; }
    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

// Empty when no style is present (the settings file then leaves the key out).
std::u16string FormatFontStyleText(const TFontStyles& styles);
TFontStyles ParseFontStyleText(std::u16string_view text);

}  // namespace pelo::app
