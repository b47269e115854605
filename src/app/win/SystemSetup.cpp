#include "app/win/SystemSetup.h"

#include <clocale>
#include <vector>

#include "app/StartupRules.h"

namespace pelo::app {

bool WindowsVersionAllowed() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!GetVersionExW(&info)) return true;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return IsWindowsVersionSupported(info.dwMajorVersion, info.dwMinorVersion);
}

void RaiseTimerResolution() {
    using QueryFn = LONG(WINAPI*)(PULONG, PULONG, PULONG);
    using SetFn = LONG(WINAPI*)(ULONG, BOOLEAN, PULONG);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return;
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryTimerResolution")));
    auto set = reinterpret_cast<SetFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtSetTimerResolution")));
    if (!query || !set) return;
    ULONG coarsest = 0, finest = 0, current = 0;
    if (query(&coarsest, &finest, &current) != 0) return;
    if (auto wanted = TimerResolutionToRequest(coarsest, finest, current)) {
        ULONG actual = 0;
        set(*wanted, TRUE, &actual);
    }
}

void FixTextConventions() {
    // The program's own conversions never consult the locale; pinning the C runtime keeps library code in line.
    std::setlocale(LC_ALL, "C");
}

void CentreOnScreen(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(w, nullptr, (sw - width) / 2, (sh - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
struct MonitorScan {
    RECT window;
    bool topMost;
    int caption;
    bool visible;
};

BOOL CALLBACK CheckMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* scan = reinterpret_cast<MonitorScan*>(data);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(monitor, &mi)) return TRUE;
    const RECT& m = scan->topMost ? mi.rcMonitor : mi.rcWork;
    const ScreenRect rect{m.left, m.top, m.right, m.bottom};
    if (IsWindowVisibleOn(rect, scan->window.left, scan->window.top, scan->window.right - scan->window.left,
                          scan->caption)) {
        scan->visible = true;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

void EnsureOnScreen(HWND w) {
    MonitorScan scan{};
    GetWindowRect(w, &scan.window);
    scan.topMost = (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    scan.caption = GetSystemMetrics(SM_CYCAPTION);
    EnumDisplayMonitors(nullptr, nullptr, &CheckMonitor, reinterpret_cast<LPARAM>(&scan));
    if (!scan.visible) CentreOnScreen(w);
}

}  // namespace pelo::app
