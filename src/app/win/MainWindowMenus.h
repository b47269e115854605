#pragma once
// The main window's three pop-up menus.
#include <windows.h>

namespace pelo::app {

struct TMainWindowMenus {
    TMainWindowMenus();
    ~TMainWindowMenus();
    TMainWindowMenus(const TMainWindowMenus&) = delete;
    TMainWindowMenus& operator=(const TMainWindowMenus&) = delete;

    HMENU PopupMenu1 = nullptr;  // notification-area icon: "Show Pelorant", -, "Exit"
    HMENU PopupMenu2 = nullptr;  // on btnScriptEditor: "Remove script"
    HMENU PopupMenu3 = nullptr;  // on the headline box: "Copy selected", -, "Clear All"

    void EnableItem(HMENU menu, UINT id, bool enabled);
    bool ItemEnabled(HMENU menu, UINT id) const;
    // Shows `menu` at the screen point; the chosen item arrives as WM_COMMAND at `owner`.
    static void Track(HMENU menu, HWND owner, POINT screen);
};

}  // namespace pelo::app
