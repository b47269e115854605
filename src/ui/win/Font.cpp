#include "ui/win/Font.h"

#include <cwchar>

namespace pelo::ui {

HFONT CreatePixelFont(const FontSpec& spec)
{
    LOGFONTW lf{};
    lf.lfHeight = spec.Height;
    lf.lfWeight = spec.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.Italic;
    lf.lfUnderline = spec.Underline;
    lf.lfStrikeOut = spec.Strikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = spec.Quality;
    lf.lfPitchAndFamily = static_cast<BYTE>(spec.FixedPitch ? FIXED_PITCH : DEFAULT_PITCH);
    wcsncpy(lf.lfFaceName, spec.Name.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

Font::Font(const FontSpec& spec) : font_(CreatePixelFont(spec)) {}

Font::Font(const wchar_t* name, int height, bool bold, bool fixedPitch, BYTE quality)
{
    FontSpec spec;
    spec.Name = name;
    spec.Height = height;
    spec.Bold = bold;
    spec.FixedPitch = fixedPitch;
    spec.Quality = quality;
    font_ = CreatePixelFont(spec);
}

Font& Font::operator=(Font&& other) noexcept
{
    if (this != &other) {
        Reset(other.font_);
        other.font_ = nullptr;
    }
    return *this;
}

void Font::Reset(HFONT font)
{
    if (font_ && font_ != font)
        DeleteObject(font_);
    font_ = font;
}

}  // namespace pelo::ui
