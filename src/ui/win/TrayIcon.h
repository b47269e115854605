#pragma once
// An icon in the notification area with a tool tip, click handlers and a pop-up menu. A hidden window of its own
// receives the icon's mouse messages.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "ui/win/Window.h"

namespace pelo::ui {

class TrayIcon : public Window {
public:
    TrayIcon();
    ~TrayIcon() override;

    bool Active() const { return active_; }
    // Shows or removes the icon; the same value again does nothing. Failures of the shell are ignored.
    void SetActive(bool active);
    void SetToolTip(const std::string& text);  // 8-bit; at most 62 characters are kept
    void SetIcon(HICON icon);

    std::function<void()> onClick, onDblClick, onRightClick;
    // Shown at the cursor on a right click; its commands go to menuOwner.
    HMENU popupMenu = nullptr;
    HWND menuOwner = nullptr;
    // Brought to the foreground before the menu shows, so that the menu closes when the user clicks elsewhere.
    HWND foregroundWindow = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool EnsureWindow();
    void Notify(DWORD action);

    bool active_ = false;
    std::string toolTip_;
    HICON icon_ = nullptr;
    UINT callbackMessage_;
    UINT resetToolTipMessage_;
};

}  // namespace pelo::ui
