#include "app/ColorText.h"

#include "core/IntegerText.h"

#include <array>

namespace pelo::app {

namespace {

constexpr std::array<TColorName, 52> kColorNames{{
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
    {"clNone", clNone},
    {"clDefault", clDefault},
}};

char16_t AsciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool EqualsIgnoringAsciiCase(std::u16string_view text, std::string_view name)
{
    if (text.size() != name.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(static_cast<char16_t>(static_cast<unsigned char>(name[i]))))
            return false;
    }
    return true;
}

}  // namespace

std::span<const TColorName> ColorNames()
{
    return kColorNames;
}

std::u16string FormatColorText(TColor color)
{
    for (const TColorName& entry : kColorNames) {
        if (entry.Value == color) return std::u16string(entry.Name.begin(), entry.Name.end());
    }
    static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
    std::u16string text(9, u'$');
    for (int i = 0; i < 8; ++i) text[static_cast<size_t>(8 - i)] = kHexDigits[(color >> (4 * i)) & 0xFu];
    return text;
}

bool ParseColorText(std::u16string_view text, TColor& out)
{
    for (const TColorName& entry : kColorNames) {
        if (EqualsIgnoringAsciiCase(text, entry.Name)) {
            out = entry.Value;
            return true;
        }
    }
    int32_t value = 0;
    if (!ParseIntegerText(text, value)) return false;
    out = static_cast<TColor>(value);
    return true;
}

}  // namespace pelo::app
