#include "ui/win/MessageBoxAt.h"

#include <string>

namespace pelo::ui {
namespace {

thread_local HHOOK g_hook = nullptr;
thread_local POINT g_topLeft{};

// The box is moved just before it appears, when it is activated the first time.
LRESULT CALLBACK PlaceBox(int code, WPARAM wp, LPARAM lp)
{
    HHOOK hook = g_hook;
    if (code == HCBT_ACTIVATE) {
        SetWindowPos(reinterpret_cast<HWND>(wp), nullptr, g_topLeft.x, g_topLeft.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UnhookWindowsHookEx(hook);
        g_hook = nullptr;
    }
    return CallNextHookEx(hook, code, wp, lp);
}

}  // namespace

void ShowErrorBoxAt(std::wstring_view text, POINT topLeft, HWND owner)
{
    if (g_hook)
        UnhookWindowsHookEx(g_hook);
    g_topLeft = topLeft;
    g_hook = SetWindowsHookExW(WH_CBT, &PlaceBox, nullptr, GetCurrentThreadId());
    UINT flags = MB_OK | MB_ICONERROR | MB_SETFOREGROUND;
    if (!owner)
        flags |= MB_TASKMODAL;
    const std::wstring t(text);
    MessageBoxW(owner, t.c_str(), L"Error", flags);
    if (g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

}  // namespace pelo::ui
