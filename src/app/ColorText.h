#pragma once
// Colours as the settings file writes them: a colour name where the value has one, otherwise "$" and eight
// upper-case hexadecimal digits of the 32-bit value.
//
// A colour value is 32 bits: 00BBGGRR for an RGB colour, FF0000nn for the system colour with index nn
// (resolved only when something is drawn), and the two special values clDefault and clNone.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelo::app {

using TColor = uint32_t;

inline constexpr TColor clSystemColorMask = 0xFF000000u;

inline constexpr TColor clBlack = 0x00000000u;
inline constexpr TColor clMaroon = 0x00000080u;
inline constexpr TColor clGreen = 0x00008000u;
inline constexpr TColor clOlive = 0x00008080u;
inline constexpr TColor clNavy = 0x00800000u;
inline constexpr TColor clPurple = 0x00800080u;
inline constexpr TColor clTeal = 0x00808000u;
inline constexpr TColor clGray = 0x00808080u;
inline constexpr TColor clSilver = 0x00C0C0C0u;
inline constexpr TColor clRed = 0x000000FFu;
inline constexpr TColor clLime = 0x0000FF00u;
inline constexpr TColor clYellow = 0x0000FFFFu;
inline constexpr TColor clBlue = 0x00FF0000u;
inline constexpr TColor clFuchsia = 0x00FF00FFu;
inline constexpr TColor clAqua = 0x00FFFF00u;
inline constexpr TColor clWhite = 0x00FFFFFFu;
inline constexpr TColor clMoneyGreen = 0x00C0DCC0u;
inline constexpr TColor clSkyBlue = 0x00F0CAA6u;
inline constexpr TColor clCream = 0x00F0FBFFu;
inline constexpr TColor clMedGray = 0x00A4A0A0u;

inline constexpr TColor clScrollBar = 0xFF000000u;
inline constexpr TColor clBackground = 0xFF000001u;
inline constexpr TColor clActiveCaption = 0xFF000002u;
inline constexpr TColor clInactiveCaption = 0xFF000003u;
inline constexpr TColor clMenu = 0xFF000004u;
inline constexpr TColor clWindow = 0xFF000005u;
inline constexpr TColor clWindowFrame = 0xFF000006u;
inline constexpr TColor clMenuText = 0xFF000007u;
inline constexpr TColor clWindowText = 0xFF000008u;
inline constexpr TColor clCaptionText = 0xFF000009u;
inline constexpr TColor clActiveBorder = 0xFF00000Au;
inline constexpr TColor clInactiveBorder = 0xFF00000Bu;
inline constexpr TColor clAppWorkSpace = 0xFF00000Cu;
inline constexpr TColor clHighlight = 0xFF00000Du;
inline constexpr TColor clHighlightText = 0xFF00000Eu;
inline constexpr TColor clBtnFace = 0xFF00000Fu;
inline constexpr TColor clBtnShadow = 0xFF000010u;
inline constexpr TColor clGrayText = 0xFF000011u;
inline constexpr TColor clBtnText = 0xFF000012u;
inline constexpr TColor clInactiveCaptionText = 0xFF000013u;
inline constexpr TColor clBtnHighlight = 0xFF000014u;
inline constexpr TColor cl3DDkShadow = 0xFF000015u;
inline constexpr TColor cl3DLight = 0xFF000016u;
inline constexpr TColor clInfoText = 0xFF000017u;
inline constexpr TColor clInfoBk = 0xFF000018u;
inline constexpr TColor clHotLight = 0xFF00001Au;
inline constexpr TColor clGradientActiveCaption = 0xFF00001Bu;
inline constexpr TColor clGradientInactiveCaption = 0xFF00001Cu;
inline constexpr TColor clMenuHighlight = 0xFF00001Du;
inline constexpr TColor clMenuBar = 0xFF00001Eu;

inline constexpr TColor clNone = 0x1FFFFFFFu;
inline constexpr TColor clDefault = 0x20000000u;

// A system colour names an entry of the platform's colour table (GetSysColor index) instead of an RGB value.
constexpr bool IsSystemColor(TColor color)
{
    return (color & clSystemColorMask) == clSystemColorMask;
}
constexpr int SystemColorIndex(TColor color)
{
    return static_cast<int>(color & 0xFFu);
}

struct TColorName {
    std::string_view Name;  // ASCII
    TColor Value;
};

// Every colour that has a name, each value once.
std::span<const TColorName> ColorNames();

// The colour's name, or "$" and eight upper-case hexadecimal digits.
std::u16string FormatColorText(TColor color);

// A colour name (letter case ignored) or integer text; false when the text is neither.
bool ParseColorText(std::u16string_view text, TColor& out);

}  // namespace pelo::app
