#include "clicker/win/WinOrderWindows.h"

#include <string>

namespace pelo::clicker {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

struct Enumeration {
    const std::function<void(const IOrderWindowSystem::TopLevel&)>* visit;
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
    auto* e = reinterpret_cast<Enumeration*>(param);
    // Buffers of 255 characters: at most 254 of a class name or title take part in the comparison.
    char className[255] = {};
    char title[255] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    (*e->visit)({reinterpret_cast<WindowHandle>(window), className, title});
    return TRUE;
}

}  // namespace

bool WinOrderWindowSystem::EnumerateTopLevel(const std::function<void(const TopLevel&)>& visit) {
    Enumeration e{&visit};
    return EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&e)) != FALSE;
}

bool WinOrderWindowSystem::IsVisible(WindowHandle window) { return IsWindowVisible(ToHwnd(window)) != FALSE; }

bool WinOrderWindowSystem::IsMinimized(WindowHandle window) { return IsIconic(ToHwnd(window)) != FALSE; }

std::optional<ScreenRect> WinOrderWindowSystem::WindowRect(WindowHandle window) {
    RECT r;
    if (!GetWindowRect(ToHwnd(window), &r)) return std::nullopt;
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

std::optional<ClickPoint> WinOrderWindowSystem::ClientToScreen(WindowHandle window, ClickPoint client) {
    POINT p{client.X, client.Y};
    if (!::ClientToScreen(ToHwnd(window), &p)) return std::nullopt;
    return ClickPoint{p.x, p.y};
}

bool WinPointer::MoveTo(ClickPoint screen) {
    // The move is refused while another program holds the pointer (a menu being tracked, a window being dragged;
    // under X, any pointer grab). Such holds are usually over within milliseconds, so a refused move is tried
    // again for a short while before the click it would lead to is given up.
    constexpr DWORD kGiveUpAfterMs = 50;
    const DWORD start = GetTickCount();
    while (!SetCursorPos(screen.X, screen.Y)) {
        if (GetTickCount() - start >= kGiveUpAfterMs) return false;
        ::Sleep(1);
    }
    return true;
}

void WinPointer::Click() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

ClickPoint WinPointer::Position() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void WinPointer::Sleep(int32_t ms) {
    if (ms > 0) ::Sleep(static_cast<DWORD>(ms));
}

}  // namespace pelo::clicker
