#pragma once
// A GDI font owned by one object: deleted with it, moved but never copied.
#include <windows.h>

#include <string>

namespace pelo::ui {

struct FontSpec {
    std::wstring Name;
    int Height = -12;  // logical height; negative: character height in pixels, never scaled by the dpi
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikeout = false;
    bool FixedPitch = false;
    BYTE Quality = DEFAULT_QUALITY;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class Font {
public:
    Font() = default;
    explicit Font(const FontSpec& spec);
    Font(const wchar_t* name, int height, bool bold = false, bool fixedPitch = false,
         BYTE quality = DEFAULT_QUALITY);
    ~Font() { Reset(); }
    Font(Font&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
    Font& operator=(Font&& other) noexcept;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT get() const { return font_; }
    operator HFONT() const { return font_; }
    explicit operator bool() const { return font_ != nullptr; }
    void Reset(HFONT font = nullptr);

private:
    HFONT font_ = nullptr;
};

// A GDI font owned by the caller (DeleteObject).
HFONT CreatePixelFont(const FontSpec& spec);

}  // namespace pelo::ui
