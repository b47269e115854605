#include "ui/win/TaskWindows.h"

#include <algorithm>

namespace pelo::ui {
namespace {

struct DisableRun {
    HWND keep;
    std::vector<HWND>* windows;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM lp)
{
    auto& run = *reinterpret_cast<DisableRun*>(lp);
    if (window != run.keep && IsWindowVisible(window) && IsWindowEnabled(window) &&
        std::find(run.windows->begin(), run.windows->end(), window) == run.windows->end()) {
        run.windows->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

BOOL CALLBACK FindApplication(HWND window, LPARAM lp)
{
    wchar_t name[32]{};
    if (GetClassNameW(window, name, 32) > 0 && lstrcmpW(name, L"TApplication") == 0) {
        *reinterpret_cast<HWND*>(lp) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void TaskWindowsDisabled::Disable(HWND keep)
{
    DisableRun run{keep, &windows_};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&run));
}

void TaskWindowsDisabled::Restore()
{
    for (HWND window : windows_)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    windows_.clear();
}

HWND FindApplicationWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindApplication, reinterpret_cast<LPARAM>(&found));
    return found;
}

void SetTopMost(HWND window, bool topMost)
{
    if (!window)
        return;
    SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace pelo::ui
