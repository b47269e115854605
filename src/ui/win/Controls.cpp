#include "ui/win/Controls.h"

namespace pelo::ui {

HFONT CopyFontWithQuality(HFONT font, BYTE quality) {
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof lf, &lf) != sizeof lf) return nullptr;
    lf.lfQuality = quality;
    return CreateFontIndirectW(&lf);
}

SIZE TextExtent(HFONT font, const std::wstring& text) {
    SIZE size{};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

COLORREF ResolveColor(std::uint32_t color) {
    if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

bool IsRemoteSession() { return GetSystemMetrics(SM_REMOTESESSION) != 0; }

LRESULT ButtonFaceColors(WPARAM dc) {
    SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_BTNFACE));
    SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace pelo::ui
