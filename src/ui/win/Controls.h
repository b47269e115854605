#pragma once
// Small helpers for building windows from layout tables: fonts given in pixels, child controls at fixed places,
// text measurement and colours in the settings' colour encoding.
#include <windows.h>

#include <cstdint>
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
};

// A GDI font owned by the caller (DeleteObject).
HFONT CreatePixelFont(const FontSpec& spec);
// The same font as `font` with another output quality (NONANTIALIASED_QUALITY switches smoothing off).
HFONT CopyFontWithQuality(HFONT font, BYTE quality);

// A child control at a fixed place, with its font. `id` becomes the control's identifier (WM_COMMAND).
HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h, HWND parent, int id, HFONT font);

// Size of `text` drawn in `font`.
SIZE TextExtent(HFONT font, const std::wstring& text);

// A colour of the settings (00BBGGRR, or FF0000nn for system colour nn) as the colour to draw with now.
COLORREF ResolveColor(std::uint32_t color);

// True in a remote desktop session, where double buffering costs more than it saves.
bool IsRemoteSession();

// Screen resolution of the primary display in dots per inch.
int ScreenDpi();

// Position of a child relative to its parent's client area.
RECT ChildRect(HWND child);

}  // namespace pelo::ui
