#pragma once
// Small helpers for building windows: fonts in pixels, text measurement and colours in the settings' colour encoding.
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/win/Font.h"

namespace pelo::ui {

// The same font as `font` with another output quality (NONANTIALIASED_QUALITY switches smoothing off).
HFONT CopyFontWithQuality(HFONT font, BYTE quality);

// Size of `text` drawn in `font`.
SIZE TextExtent(HFONT font, const std::wstring& text);

// A colour of the settings (00BBGGRR, or FF0000nn for system colour nn) as the colour to draw with now.
COLORREF ResolveColor(std::uint32_t color);

// True in a remote desktop session, where double buffering costs more than it saves.
bool IsRemoteSession();

// WM_CTLCOLORSTATIC / WM_CTLCOLORBTN of a dialog-like window: its controls drawn on the button face colour.
LRESULT ButtonFaceColors(WPARAM dc);

// Screen resolution of the primary display in dots per inch.
int ScreenDpi();

// Position of a child relative to its parent's client area.
RECT ChildRect(HWND child);

}  // namespace pelo::ui
