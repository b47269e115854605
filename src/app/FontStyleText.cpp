#include "app/FontStyleText.h"

namespace pelo::app {

std::u16string FormatFontStyleText(const TFontStyles& styles)
{
    std::u16string text;
    if (styles.Bold) text += u"Bold,";
    if (styles.Italic) text += u"Italic,";
    if (styles.Underline) text += u"Underline,";
    if (styles.Strikeout) text += u"Strikeout,";
    if (!text.empty()) text.pop_back();
    return text;
}

TFontStyles ParseFontStyleText(std::u16string_view text)
{
    TFontStyles styles;
    styles.Bold = text.find(u"Bold") != std::u16string_view::npos;
    styles.Italic = text.find(u"Italic") != std::u16string_view::npos;
    styles.Underline = text.find(u"Underline") != std::u16string_view::npos;
    styles.Strikeout = text.find(u"Strikeout") != std::u16string_view::npos;
    return styles;
}

}  // namespace pelo::app
