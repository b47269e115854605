#include "ui/win/YesCancelBox.h"

#include <windows.h>

namespace pelo::ui {
namespace {

thread_local HHOOK g_hook = nullptr;

// The box is built as Yes/No/Cancel; when it is about to appear, "No" goes away and "Cancel" takes its place.
LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        HWND no = GetDlgItem(box, IDNO);
        HWND cancel = GetDlgItem(box, IDCANCEL);
        if (no && cancel) {
            RECT r;
            GetWindowRect(no, &r);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            ShowWindow(no, SW_HIDE);
            EnableWindow(no, FALSE);
            SetWindowPos(cancel, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
        return 0;
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

int ShowYesCancelBox(std::wstring_view text, BoxLayer layer) {
    g_hook = SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
    const int answer = ShowConfirmBox(text, MB_YESNOCANCEL, layer);
    if (g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    return answer == IDYES ? IDYES : IDCANCEL;
}

}  // namespace pelo::ui
