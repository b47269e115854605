#pragma once
// TAppEx: the main window's own taskbar button above a hidden application window, and the minimize, maximize and
// restore rules of the main window: the program's other windows go and come back with it, autoexecute is disarmed
// when it goes, and with MinimizeToSysTray it hides behind the notification-area icon.
#include <windows.h>

#include <functional>
#include <vector>

struct ITaskbarList;

namespace pelo::app {

class TAppEx {
public:
    struct MainWindowSide {
        std::function<bool()> MinimizeToSysTray;
        // Unchecks autoexecute when it is armed and shows the box with `text`.
        std::function<void(const wchar_t* text)> DisarmWithBox;
        // Before hiding in the notification area: the option and coordinate dialogs are hidden and marked.
        std::function<void()> HideMarkedDialogs;
        // After a restore from the notification area: the coordinate dialog comes back if it was marked.
        std::function<void()> ShowMarkedCoordsDialog;
        std::function<bool()> TrayIconShown;
        std::function<void()> MinimizeToTray;
        std::function<void()> RestoreFromTray;
        std::function<void()> RemoveTrayIcon;
    };

    TAppEx();
    ~TAppEx();
    TAppEx(const TAppEx&) = delete;
    TAppEx& operator=(const TAppEx&) = delete;

    // Once the main window exists: it gets the taskbar button, the application window none.
    void InstallWindowHooks(HWND application, HWND main, MainWindowSide side);

    // The main window's messages, before its own handling; true when handled here (result set).
    bool MainWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // WM_ACTIVATEAPP of the application window.
    void ApplicationActivated(bool active);

    void HideOwnedWindows();
    void ShowOwnedWindows();

private:
    bool SystemCommand(WPARAM command, LPARAM lp, LRESULT& result);
    // The rules while the main window is disabled by a quasi-modal dialog.
    bool DisabledSystemCommand(WPARAM command, LRESULT& result);
    std::vector<HWND> WindowsOwnedByApplication() const;

    HWND application_ = nullptr;
    HWND main_ = nullptr;
    MainWindowSide side_;
    std::vector<HWND> OwnedWindows;
    ITaskbarList* taskbar_ = nullptr;
    bool comStarted_ = false;
    bool MinimizingToTaskbar = false;
};

}  // namespace pelo::app
