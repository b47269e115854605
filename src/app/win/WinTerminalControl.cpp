#include "app/win/WinTerminalControl.h"

#include <string>

#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

constexpr DWORD kTerminalWaitMs = 10000;

}  // namespace

WindowHandle TWinTopLevelWindows::FirstOfClass(std::string_view className) {
    const std::string name(className);
    return FromHwnd(FindWindowA(name.c_str(), nullptr));
}

WindowHandle TWinTopLevelWindows::Next(WindowHandle window) { return FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT)); }

std::optional<std::string> TWinTopLevelWindows::ClassName(WindowHandle window) {
    char buffer[256];
    const int n = GetClassNameA(ToHwnd(window), buffer, 255);
    if (n <= 0) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
}

std::string TWinTopLevelWindows::Title(WindowHandle window) {
    char buffer[256];
    const int n = GetWindowTextA(ToHwnd(window), buffer, 255);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

WindowHandle TWinTerminalControl::FindTerminalWindow(const std::string& pattern) {
    return pelo::FindTerminalWindow(windows_, pattern);
}

bool TWinTerminalControl::CanAccessTerminal(WindowHandle window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(ToHwnd(window), &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return false;
    CloseHandle(process);
    return true;
}

bool TWinTerminalControl::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != 0; }

void TWinTerminalControl::ShowWindow(WindowHandle window) { ::ShowWindow(ToHwnd(window), SW_SHOW); }

void TWinTerminalControl::HideWindow(WindowHandle window) { ::ShowWindow(ToHwnd(window), SW_HIDE); }

void TWinTerminalControl::CloseTerminal(WindowHandle window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(ToHwnd(window), &pid);
    if (pid == 0) return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return;
    PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0);
    WaitForSingleObject(process, kTerminalWaitMs);
    CloseHandle(process);
}

void TWinTerminalControl::LaunchTerminal(const TMT4TermInfo& terminal) {
    const std::wstring folder = ui::AnsiToWide(terminal.Path);
    const std::wstring exe = ui::AnsiToWide(TerminalExePath(terminal.Path));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    si.lpTitle = nullptr;  // the terminal starts in the show state the program was started with
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return;
    WaitForInputIdle(pi.hProcess, kTerminalWaitMs);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

bool TWinTerminalControl::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ui::AnsiToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void TWinTerminalControl::ShowError(const std::string& text) { ui::ShowErrorBox(ui::AnsiToWide(text), layer_); }

}  // namespace pelo::app
