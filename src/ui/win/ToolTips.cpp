#include "ui/win/ToolTips.h"

#include <commctrl.h>

namespace pelo::ui {

ToolTips::~ToolTips()
{
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

bool ToolTips::Create(HWND owner)
{
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    return hwnd_ != nullptr;
}

void ToolTips::Add(const Window& control, const wchar_t* text)
{
    if (!hwnd_ || !control.hwnd())
        return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(control.hwnd());
    ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd());
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTips::Remove(const Window& control)
{
    if (!hwnd_ || !control.hwnd())
        return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = GetParent(control.hwnd());
    ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd());
    SendMessageW(hwnd_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace pelo::ui
