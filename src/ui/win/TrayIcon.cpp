#include "ui/win/TrayIcon.h"

#include <cstring>

namespace pelo::ui {
namespace {

// The notification record in the size every shell since Windows 2000 accepts (tool tip of 128 characters).
constexpr DWORD kNotifyDataSize = 488;
constexpr size_t kToolTipLimit = 62;

}  // namespace

TrayIcon::TrayIcon()
    : callbackMessage_(RegisterWindowMessageA("WM_TOOLTRAYICON")),
      resetToolTipMessage_(RegisterWindowMessageA("WM_RESETTOOLTIP")) {}

TrayIcon::~TrayIcon() { SetActive(false); }

bool TrayIcon::EnsureWindow() {
    if (hwnd()) return true;
    WindowArgs args;
    args.className = L"TTrayIconWindow";
    args.style = WS_POPUP;
    return Create(args);
}

void TrayIcon::Notify(DWORD action) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyDataSize;
    data.hWnd = hwnd();
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_;
    std::strncpy(data.szTip, toolTip_.c_str(), sizeof data.szTip - 1);
    Shell_NotifyIconA(action, &data);
}

void TrayIcon::SetActive(bool active) {
    if (active == active_) return;
    if (active) {
        if (!EnsureWindow()) return;
        if (!icon_) icon_ = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
        Notify(NIM_ADD);
        // Some shells drop an empty tip given with the icon; it is set again once the icon is there.
        if (toolTip_.empty()) PostMessageW(hwnd(), resetToolTipMessage_, 0, 0);
    } else if (hwnd()) {
        Notify(NIM_DELETE);
    }
    active_ = active;
}

void TrayIcon::SetToolTip(const std::string& text) {
    toolTip_ = text.substr(0, kToolTipLimit);
    if (active_) Notify(NIM_MODIFY);
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    if (active_) Notify(NIM_MODIFY);
}

LRESULT TrayIcon::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == callbackMessage_) {
        switch (static_cast<UINT>(lp)) {
            case WM_LBUTTONUP:
                if (onClick) onClick();
                break;
            case WM_LBUTTONDBLCLK:
                if (onDblClick) onDblClick();
                break;
            case WM_RBUTTONUP:
                if (popupMenu) {
                    if (foregroundWindow) SetForegroundWindow(foregroundWindow);
                    POINT at{};
                    GetCursorPos(&at);
                    TrackPopupMenu(popupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                   menuOwner ? menuOwner : hwnd(), nullptr);
                    PostMessageW(menuOwner ? menuOwner : hwnd(), WM_NULL, 0, 0);
                }
                if (onRightClick) onRightClick();
                break;
            default:
                break;
        }
        return 0;
    }
    if (msg == resetToolTipMessage_) {
        if (active_) Notify(NIM_MODIFY);
        return 0;
    }
    return DefaultHandling(msg, wp, lp);
}

}  // namespace pelo::ui
