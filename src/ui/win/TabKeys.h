#pragma once
// Tab and Shift+Tab between the tab stops of a window of ours. The program's message loop runs no dialog manager,
// so a control of a dialog-like window moves the focus itself; the container between it and the window needs
// WS_EX_CONTROLPARENT for its children to take part.
//
//   ui::TabStop<ui::Edit> ebxName;   ebxName.tabRoot = dialog.hwnd();
#include <windows.h>

namespace pelo::ui {

// An edit that the focus reaches by Tab shows its whole text selected, as in a dialog.
inline void FocusTabStop(HWND control)
{
    SetFocus(control);
    wchar_t name[8]{};
    if (GetClassNameW(control, name, 8) > 0 && lstrcmpiW(name, L"Edit") == 0)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

template <class C>
class TabStop : public C {
public:
    HWND tabRoot = nullptr;  // the window whose tab stops take turns

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (tabRoot && msg == WM_KEYDOWN && wp == VK_TAB) {
            const bool back = GetKeyState(VK_SHIFT) < 0;
            if (HWND next = GetNextDlgTabItem(tabRoot, this->hwnd(), back))
                FocusTabStop(next);
            return 0;
        }
        if (tabRoot && msg == WM_CHAR && wp == '\t')
            return 0;  // no beep, no tab character
        return C::HandleMessage(msg, wp, lp);
    }
};

}  // namespace pelo::ui
