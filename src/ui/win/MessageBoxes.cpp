#include "ui/win/MessageBoxes.h"

namespace pelo::ui {
namespace {

std::wstring g_appTitle = L"Pelorant";
HWND g_owner = nullptr;
thread_local HHOOK g_topMostHook = nullptr;

// Not every system honours MB_TOPMOST for a box that has an owner (Wine does not): the box is raised above all
// windows itself, just before it appears.
LRESULT CALLBACK TopMostHook(int code, WPARAM wp, LPARAM lp) {
    HHOOK hook = g_topMostHook;
    if (code == HCBT_ACTIVATE) {
        SetWindowPos(reinterpret_cast<HWND>(wp), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        UnhookWindowsHookEx(hook);
        g_topMostHook = nullptr;
    }
    return CallNextHookEx(hook, code, wp, lp);
}

int Show(std::wstring_view text, const wchar_t* caption, UINT flags, BoxLayer layer) {
    if (layer == BoxLayer::TopMost) {
        flags |= MB_TOPMOST;
        g_topMostHook = SetWindowsHookExW(WH_CBT, &TopMostHook, nullptr, GetCurrentThreadId());
    }
    HWND owner = g_owner && IsWindow(g_owner) && IsWindowVisible(g_owner) ? g_owner : nullptr;
    if (!owner) flags |= MB_TASKMODAL;
    const std::wstring t(text);
    const int answer = MessageBoxW(owner, t.c_str(), caption, flags | MB_SETFOREGROUND);
    if (g_topMostHook) {
        UnhookWindowsHookEx(g_topMostHook);
        g_topMostHook = nullptr;
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
