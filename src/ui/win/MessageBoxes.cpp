#include "ui/win/MessageBoxes.h"

namespace pelo::ui {
namespace {

std::wstring g_appTitle = L"Pelorant";
HWND g_owner = nullptr;
thread_local HHOOK g_boxHook = nullptr;
thread_local bool g_boxTopMost = false;

// A box with an owner is placed over its owner by some systems (Wine among them), and not every system honours
// MB_TOPMOST for an owned box: just before the box appears it is moved to the centre of the screen and, for the
// top-most variant, raised above all windows.
LRESULT CALLBACK PlaceBoxHook(int code, WPARAM wp, LPARAM lp) {
    HHOOK hook = g_boxHook;
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        RECT r{};
        GetWindowRect(box, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        SetWindowPos(box, g_boxTopMost ? HWND_TOPMOST : nullptr, x, y, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE | (g_boxTopMost ? 0 : SWP_NOZORDER));
        UnhookWindowsHookEx(hook);
        g_boxHook = nullptr;
    }
    return CallNextHookEx(hook, code, wp, lp);
}

int Show(std::wstring_view text, const wchar_t* caption, UINT flags, BoxLayer layer) {
    g_boxTopMost = layer == BoxLayer::TopMost;
    if (g_boxTopMost) flags |= MB_TOPMOST;
    // A box opened from inside another box's hook window procedure would find the hook taken: keep the outer one.
    const bool ownHook = g_boxHook == nullptr;
    if (ownHook) g_boxHook = SetWindowsHookExW(WH_CBT, &PlaceBoxHook, nullptr, GetCurrentThreadId());
    // A box belongs to the window the user works in: a quasi-modal dialog when one is open (the main window is
    // disabled then, and would come up over the dialog when the box closes), else the main window.
    HWND owner = g_owner && IsWindow(g_owner) && IsWindowVisible(g_owner) ? g_owner : nullptr;
    if (HWND active = GetActiveWindow(); owner && active && active != owner && !IsWindowEnabled(owner) &&
                                         IsWindowEnabled(active) && IsWindowVisible(active))
        owner = active;
    if (!owner) flags |= MB_TASKMODAL;
    const std::wstring t(text);
    const int answer = MessageBoxW(owner, t.c_str(), caption, flags | MB_SETFOREGROUND);
    if (ownHook && g_boxHook) {
        UnhookWindowsHookEx(g_boxHook);
        g_boxHook = nullptr;
    }
    return answer;
}

}  // namespace

void SetApplicationTitle(std::wstring title) { g_appTitle = std::move(title); }
const std::wstring& ApplicationTitle() { return g_appTitle; }
void SetMessageBoxOwner(HWND owner) { g_owner = owner; }

void ShowErrorBox(std::wstring_view text, BoxLayer layer) { Show(text, L"Error", MB_OK | MB_ICONERROR, layer); }
void ShowWarningBox(std::wstring_view text, BoxLayer layer) { Show(text, L"Warning", MB_OK | MB_ICONWARNING, layer); }
void ShowInfoBox(std::wstring_view text, BoxLayer layer) { Show(text, L"Information", MB_OK | MB_ICONINFORMATION, layer); }
void ShowPlainBox(std::wstring_view text, BoxLayer layer) { Show(text, g_appTitle.c_str(), MB_OK, layer); }

int ShowConfirmBox(std::wstring_view text, UINT buttons, BoxLayer layer) {
    return Show(text, L"Confirm", buttons | MB_ICONQUESTION, layer);
}

int ShowWarningChoice(std::wstring_view text, UINT buttons, BoxLayer layer) {
    return Show(text, L"Warning", buttons | MB_ICONWARNING, layer);
}

}  // namespace pelo::ui
