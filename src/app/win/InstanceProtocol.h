#pragma once
// How the program, a second start of it and the companion editor find each other: named semaphores whose count
// carries a main window handle, and one registered message whose two parameters form a command.
#include <windows.h>

#include <string>

#include "app/StartupRules.h"
#include "script/CompanionProtocol.h"

namespace pelo::app {

inline constexpr const char* kPeloCommMessageName = script::companion::PeloCommMessageName;

struct CommandPair {
    WPARAM wParam;
    LPARAM lParam;
};
constexpr CommandPair ToPair(script::companion::CommandCode code) {
    return {static_cast<WPARAM>(code.WParam), static_cast<LPARAM>(code.LParam)};
}
inline constexpr CommandPair kCmdActivate = ToPair(script::companion::Activate);
inline constexpr CommandPair kCmdAttach = ToPair(script::companion::Attach);
inline constexpr CommandPair kCmdDetach = ToPair(script::companion::Detach);
inline constexpr CommandPair kCmdTest = ToPair(script::companion::Test);
inline constexpr CommandPair kCmdReset = ToPair(script::companion::Reset);
inline constexpr WPARAM kNewsNotification = 12345;
inline constexpr WPARAM kScriptStateCode = script::companion::ScriptStateCode;

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
