#include "ui/win/YesCancelBox.h"

#include <windows.h>

#include "ui/win/Controls.h"

namespace pelo::ui {
namespace {

thread_local HHOOK g_hook = nullptr;

// The box is built as Yes/No/Cancel; just before it appears, "No" goes away.
LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        HWND yes = GetDlgItem(box, IDYES);
        HWND no = GetDlgItem(box, IDNO);
        HWND cancel = GetDlgItem(box, IDCANCEL);
        if (yes && no && cancel) {
            // The two remaining buttons stand together in the middle of the box.
            const RECT ry = ui::ChildRect(yes), rn = ui::ChildRect(no);
            RECT client;
            GetClientRect(box, &client);
            const int width = ry.right - ry.left, gap = rn.left - ry.right;
            const int left = (client.right - (2 * width + gap)) / 2;
            ShowWindow(no, SW_HIDE);
            EnableWindow(no, FALSE);
            SetWindowPos(yes, nullptr, left, ry.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(cancel, nullptr, left + width + gap, ry.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
