#pragma once
// Start-up decisions that need no operating system: they are unit-tested natively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/CompanionProtocol.h"

namespace pelo::app {

// The program title shown before the version in the caption and used as the application title.
inline constexpr std::string_view ProgramTitle = "Pelorant ";
inline constexpr std::string_view ProgramVersion = "2.5";

// The four command switches a first command-line argument may carry. Matching is exact and case-sensitive.
enum class StartupCommand { None, Attach, Detach, Test, Reset };
StartupCommand ParseStartupCommand(std::u16string_view firstArgument);

// The semaphore names, shared with the editor.
using script::companion::EditorSemaphoreNameFor;
using script::companion::InstanceSemaphoreNameFor;
using script::companion::ProgramFolderKey;

// The first argument of a command line (quoting as the C runtime does), or nothing when there is none.
std::optional<std::u16string> FirstArgument(std::u16string_view commandLine);

// Windows older than XP (5.1) are refused.
bool IsWindowsVersionSupported(uint32_t major, uint32_t minor);

// Timer resolution, in units of 100 ns: the value to request, or nothing when the current one is fine.
std::optional<uint32_t> TimerResolutionToRequest(uint32_t coarsest, uint32_t finest, uint32_t current);

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A window counts as reachable on a monitor when at least a caption-high strip of it lies inside.
bool IsWindowVisibleOn(const ScreenRect& monitor, int left, int top, int width, int captionHeight);

}  // namespace pelo::app
