#include "ui/win/Controls.h"

#include <cwchar>

namespace pelo::ui {

HFONT CreatePixelFont(const FontSpec& spec) {
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

HFONT CopyFontWithQuality(HFONT font, BYTE quality) {
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof lf, &lf) != sizeof lf) return nullptr;
    lf.lfQuality = quality;
    return CreateFontIndirectW(&lf);
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h, HWND parent, int id, HFONT font) {
    HWND child = CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
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
