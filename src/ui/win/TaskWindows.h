#pragma once
// What lets a window that is not modal in itself behave as modal: every other window of the program is disabled
// while it is open, and exactly those that were enabled get their state back when it closes. Unlike a modal loop,
// the program's own message loop and the main window's timers keep running meanwhile.
#include <windows.h>

#include <vector>

namespace pelo::ui {

class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() = default;
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;
    ~TaskWindowsDisabled() { Restore(); }

    // Disables the visible, enabled top-level windows of this thread except `keep` (and those it already holds).
    void Disable(HWND keep = nullptr);
    // Re-enables the windows that Disable switched off and still exist; forgets them.
    void Restore();
    bool Active() const { return !windows_.empty(); }

private:
    std::vector<HWND> windows_;
};

// Makes a top-level window top-most or normal, without activating it.
void SetTopMost(HWND window, bool topMost);

// The hidden application window that owns the program's forms (its class is "TApplication"), or null.
HWND FindApplicationWindow();

}  // namespace pelo::ui
