#include "app/win/MainWindowMenus.h"

#include "app/win/MainWindowLayout.h"

namespace pelo::app {

TMainWindowMenus::TMainWindowMenus() {
    using namespace layout;
    PopupMenu1 = CreatePopupMenu();
    AppendMenuW(PopupMenu1, MF_STRING, idShowPelorant1, L"Show Pelorant");
    AppendMenuW(PopupMenu1, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(PopupMenu1, MF_STRING, idExit1, L"Exit");

    // Enabled only while a script is attached.
    PopupMenu2 = CreatePopupMenu();
    AppendMenuW(PopupMenu2, MF_STRING | MF_GRAYED, idRemove1, L"Remove script");

    // "Copy selected" is enabled only while the headline box has the focus.
    PopupMenu3 = CreatePopupMenu();
    AppendMenuW(PopupMenu3, MF_STRING | MF_GRAYED, idCopy1, L"Copy selected");
    AppendMenuW(PopupMenu3, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(PopupMenu3, MF_STRING, idClear1, L"Clear All");
}

TMainWindowMenus::~TMainWindowMenus() {
    DestroyMenu(PopupMenu1);
    DestroyMenu(PopupMenu2);
    DestroyMenu(PopupMenu3);
}

void TMainWindowMenus::EnableItem(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool TMainWindowMenus::ItemEnabled(HMENU menu, UINT id) const {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void TMainWindowMenus::Track(HMENU menu, HWND owner, POINT screen) {
    // The owner must be the foreground window, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace pelo::app
