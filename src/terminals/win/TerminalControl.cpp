#include "terminals/win/TerminalControl.h"

#include <vector>

#include "core/win/WinHandles.h"
#include "terminals/win/WinTopLevelWindows.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::terminals {

namespace {

constexpr DWORD TerminalWaitMs = 10000;

}  // namespace

HWND FindTerminalWindow(std::string_view pattern)
{
    WinTopLevelWindows windows;
    return ToHwnd(terminals::FindTerminalWindow(windows, pattern));
}

bool CanAccessTerminal(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    CloseHandle(process);
    return true;
}

void ShowAdminRightsError(std::string_view fullName)
{
    ui::ShowErrorBox(ui::AnsiToWide(AdminRightsErrorText(fullName)));
}

void LaunchTerminal(const TMT4TermInfo& terminal)
{
    const std::wstring folder = ui::AnsiToWide(terminal.Path);
    std::wstring application = ui::AnsiToWide(TerminalExePath(terminal.Path));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    // Without our title the terminal starts in the show state that we were started with.
    startup.lpTitle = nullptr;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(application.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return;
    WaitForInputIdle(info.hProcess, TerminalWaitMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

void CloseTerminal(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0)
        return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return;
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process, TerminalWaitMs);
    CloseHandle(process);
}

void ShowTerminal(HWND window)
{
    if (!::IsWindowVisible(window))
        ::ShowWindow(window, SW_SHOW);
}

void HideTerminal(HWND window)
{
    if (::IsWindowVisible(window))
        ::ShowWindow(window, SW_HIDE);
}

int CountHiddenTerminals(const TTerminalList& terminals)
{
    WinTerminalControl control;
    return terminals::CountHiddenTerminals(terminals, control);
}

WindowHandle WinTerminalControl::FindTerminalWindow(const std::string& pattern)
{
    return ToHandle(terminals::FindTerminalWindow(pattern));
}

bool WinTerminalControl::CanAccessTerminal(WindowHandle window) { return terminals::CanAccessTerminal(ToHwnd(window)); }

bool WinTerminalControl::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

void WinTerminalControl::ShowWindow(WindowHandle window) { ::ShowWindow(ToHwnd(window), SW_SHOW); }

void WinTerminalControl::HideWindow(WindowHandle window) { ::ShowWindow(ToHwnd(window), SW_HIDE); }

void WinTerminalControl::CloseTerminal(WindowHandle window) { terminals::CloseTerminal(ToHwnd(window)); }

void WinTerminalControl::LaunchTerminal(const TMT4TermInfo& terminal) { terminals::LaunchTerminal(terminal); }

bool WinTerminalControl::FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(ui::AnsiToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void WinTerminalControl::ShowError(const std::string& text) { ui::ShowErrorBox(ui::AnsiToWide(text), layer_); }

}  // namespace pelo::terminals
