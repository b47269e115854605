#include "app/win/AppEx.h"

#include <objbase.h>
#include <shobjidl.h>

#include <algorithm>

namespace pelo::app {
namespace {

constexpr const wchar_t* kMinimizeDisarms = L"Minimizing the main window disables autoexecute.";
constexpr const wchar_t* kTrayDisarms = L"Minimizing to system tray will disable auto-clicking.";

}  // namespace

TAppEx::TAppEx() {
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    void* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList, &taskbar))) {
        taskbar_ = static_cast<ITaskbarList*>(taskbar);
        if (FAILED(taskbar_->HrInit())) {
            taskbar_->Release();
            taskbar_ = nullptr;
        }
    }
}

TAppEx::~TAppEx() {
    if (taskbar_) taskbar_->Release();
    if (comStarted_) CoUninitialize();
}

void TAppEx::InstallWindowHooks(HWND application, HWND main, MainWindowSide side) {
    application_ = application;
    main_ = main;
    side_ = std::move(side);
    SetWindowLongPtrW(application_, GWL_EXSTYLE, GetWindowLongPtrW(application_, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
    SetWindowLongPtrW(main_, GWLP_HWNDPARENT, 0);
    SetWindowLongPtrW(main_, GWL_EXSTYLE, GetWindowLongPtrW(main_, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

namespace {

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<OwnedSearch*>(p);
    if (GetWindow(w, GW_OWNER) == s->owner) s->found.push_back(w);
    return TRUE;
}

}  // namespace

std::vector<HWND> TAppEx::WindowsOwnedByApplication() const {
    OwnedSearch search{application_, {}};
    EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TAppEx::HideOwnedWindows() {
    OwnedWindows.clear();
    if (!application_) return;
    for (HWND w : WindowsOwnedByApplication())
        if (IsWindowVisible(w) && w != main_) OwnedWindows.push_back(w);
    for (HWND w : OwnedWindows) ShowWindow(w, SW_HIDE);
}

void TAppEx::ShowOwnedWindows() {
    if (!application_) return;
    const std::vector<HWND> owned = WindowsOwnedByApplication();
    std::erase_if(OwnedWindows, [&](HWND w) { return std::find(owned.begin(), owned.end(), w) == owned.end(); });
    for (HWND w : OwnedWindows)
        if (w != main_) ShowWindow(w, SW_SHOWNOACTIVATE);
}

void TAppEx::ApplicationActivated(bool active) {
    if (active && !MinimizingToTaskbar && taskbar_ && main_ && IsWindowVisible(main_)) taskbar_->ActivateTab(main_);
}

bool TAppEx::MainWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!main_) return false;
    const bool enabled = IsWindowEnabled(main_) != FALSE;
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_ACTIVE && !enabled) {
        // A quasi-modal dialog is open: the activation goes to the application, which hands it to the dialog.
        SetActiveWindow(application_);
        result = 0;
        return true;
    }
    if (msg != WM_SYSCOMMAND) return false;
    return enabled ? SystemCommand(wp & 0xFFF0, lp, result) : DisabledSystemCommand(wp & 0xFFF0, result);
}

bool TAppEx::SystemCommand(WPARAM command, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (command) {
        case SC_MINIMIZE:
            if (IsIconic(main_)) return true;
            HideOwnedWindows();
            side_.DisarmWithBox(kMinimizeDisarms);
            if (!side_.MinimizeToSysTray() || lp == 0) {
                ShowWindow(main_, SW_MINIMIZE);
            } else {
                side_.HideMarkedDialogs();
                side_.MinimizeToTray();
            }
            return true;
        case SC_MAXIMIZE:
            if (!IsIconic(main_)) return false;
            SetActiveWindow(application_);
            ShowWindow(main_, SW_RESTORE);
            ShowOwnedWindows();
            return true;
        case SC_RESTORE: {
            const bool iconShown = side_.TrayIconShown();
            if (IsIconic(main_) || IsZoomed(main_) || iconShown) {
                SetActiveWindow(application_);
                ShowWindow(main_, SW_RESTORE);
                if (iconShown) {
                    side_.RemoveTrayIcon();
                    side_.ShowMarkedCoordsDialog();
                }
                ShowOwnedWindows();
                return true;
            }
            if (lp != -1) return false;
            // A click on the taskbar button of a normal window: minimize to the taskbar, never to the tray.
            MinimizingToTaskbar = true;
            result = SendMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            MinimizingToTaskbar = false;
            return true;
        }
        default:
            return false;
    }
}

bool TAppEx::DisabledSystemCommand(WPARAM command, LRESULT& result) {
    result = 0;
    if (command == SC_MINIMIZE) {
        if (!side_.MinimizeToSysTray()) return false;  // the window minimizes
        side_.DisarmWithBox(kTrayDisarms);
        side_.MinimizeToTray();
        return true;
    }
    if (command == SC_RESTORE && side_.MinimizeToSysTray()) {
        side_.RestoreFromTray();
        return true;
    }
    return false;
}

}  // namespace pelo::app
