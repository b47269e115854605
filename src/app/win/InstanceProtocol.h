#pragma once
// How the program, a second start of it and the companion editor find each other: named semaphores whose count
// carries a main window handle, and one registered message whose two parameters form a command.
#include <windows.h>

#include <string>

#include "app/StartupRules.h"

namespace pelo::app {

inline constexpr char kPeloCommMessageName[] = "PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27";

struct CommandPair {
    WPARAM wParam;
    LPARAM lParam;
};
inline constexpr CommandPair kCmdActivate{8912731, 9182379};
inline constexpr CommandPair kCmdAttach{1982137, 1819273};
inline constexpr CommandPair kCmdDetach{1819273, 1982137};
inline constexpr CommandPair kCmdTest{2982137, 2819273};
inline constexpr CommandPair kCmdReset{2819273, 2982137};
inline constexpr WPARAM kNewsNotification = 12345;
inline constexpr WPARAM kScriptStateCode = 8712631;

UINT RegisterPeloCommMessage();

HWND LearnWindowHandle(const std::wstring& semaphoreName);
// The second-start sequence: activate the running instance and forward the switch.
void HandOverToRunningInstance(HWND running, UINT peloCommMsg, StartupCommand command);
// Marks this process as the running instance; the handle stays open for the process lifetime.
bool CreateInstanceSemaphore(const std::wstring& semaphoreName, HWND mainWindow);
void NotifyEditor(const std::wstring& editorSemaphoreName, UINT peloCommMsg, bool scriptAttached);
// The "Script Editor" button: brings a running editor to the front, or starts Glossel.exe from `programDir`.
void OpenScriptEditor(const std::wstring& editorSemaphoreName, const std::wstring& programDir);
// The command a PeloCommMsg pair carries, tried in the order news, attach, detach, test, reset, activate.
enum class PeloCommand { None, News, Attach, Detach, Test, Reset, Activate };
PeloCommand CommandOf(WPARAM wParam, LPARAM lParam);

}  // namespace pelo::app
