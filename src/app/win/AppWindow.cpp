#include "app/win/AppWindow.h"

#include "ui/win/MessageBoxes.h"

namespace pelo::app {

bool AppWindow::Create(const std::wstring& title) {
    ui::SetApplicationTitle(title);
    ui::WindowArgs args;
    args.className = L"TApplication";
    args.title = title;
    args.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    return ui::Window::Create(args);
}

void AppWindow::SetTitle(const std::wstring& title) {
    ui::SetApplicationTitle(title);
    if (hwnd()) SetWindowTextW(hwnd(), title.c_str());
}

LRESULT AppWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_WINDOWPOSCHANGING) {
        // The application window never becomes visible, whatever is asked of it.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        pos->flags = (pos->flags & ~SWP_SHOWWINDOW) | SWP_HIDEWINDOW;
    }
    if (msg == WM_ACTIVATEAPP) {
        const LRESULT result = DefaultHandling(msg, wp, lp);
        if (onActivateApp) onActivateApp(wp != 0);
        return result;
    }
    return DefaultHandling(msg, wp, lp);
}

}  // namespace pelo::app
