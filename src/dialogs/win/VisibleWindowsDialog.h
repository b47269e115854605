#pragma once
// TfrmVisibleWindows, "Visible windows": the title and class name of every visible top-level window, to find the
// order window title pattern and class name for the custom button location. The object lives as long as the
// program; its window is made at each showing and released when it closes. While it is open every other window of
// the program is disabled.
#include <windows.h>

#include <memory>

#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/TabKeys.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/Window.h"

namespace pelo::dialogs {

class TfrmVisibleWindows final : public ui::Window {
public:
    TfrmVisibleWindows();
    ~TfrmVisibleWindows() override;

    // What the options dialog's btnShowVisibleWindowsClick does: the list made afresh, then the dialog shown over
    // `owner` (the options dialog).
    void ShowVisibleWindows(HWND owner);
    bool IsOpen() const { return hwnd() && IsWindowVisible(hwnd()); }

    void btnCloseClick() { FormClose(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Controls;

    bool FormCreate(HWND owner);
    void FormClose();

    ui::Font dialogFont_, memoFont_;
    std::unique_ptr<Controls> c_;
    ui::TaskWindowsDisabled disabled_;
};

}  // namespace pelo::dialogs
