#pragma once
// Finding and controlling the configured terminals: the rules that hold whatever the operating system.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/WindowHandle.h"
#include "terminals/TerminalInfo.h"

namespace pelo::terminals {

inline constexpr std::string_view TerminalWindowClassName = "MetaQuotes::MetaTrader::4.00";

// Lower-cases the ASCII letters only; other bytes (code-page letters) stay as they are.
std::string AsciiLowerCase(std::string_view text);
// The title contains the pattern, ASCII letter case ignored. An empty pattern matches nothing.
bool TitleMatchesPattern(std::string_view title, std::string_view pattern);

// The top-level windows in Z order (FindWindowA with the class, then GetWindow GW_HWNDNEXT, GetClassNameA and
// GetWindowTextA with 256-byte buffers).
class ITopLevelWindows {
public:
    virtual ~ITopLevelWindows() = default;
    // The highest top-level window of the class, or 0.
    virtual WindowHandle FirstOfClass(std::string_view className) = 0;
    // The next top-level window below `window` in Z order, or 0.
    virtual WindowHandle Next(WindowHandle window) = 0;
    virtual std::optional<std::string> ClassName(WindowHandle window) = 0;
    virtual std::string Title(WindowHandle window) = 0;
};

// The highest terminal main window whose title contains `pattern`, or 0.
WindowHandle FindTerminalWindow(ITopLevelWindows& windows, std::string_view pattern);

// A path as the user typed or pasted it, reduced to the terminal's folder: quotes removed, and a trailing
// file name terminal.exe (any letter case) cut off together with its backslash (kept at a drive root).
std::string CleanTerminalPath(std::string_view path);
std::string TerminalExePath(std::string_view folder);

std::string AdminRightsErrorText(std::string_view fullName);
std::string TerminalPathErrorText(std::string_view folder);
inline constexpr std::string_view TerminalNotFoundText = "Error: terminal not found! Perhaps not launched?";
inline constexpr std::string_view LaunchNotSelectedText = "Error: terminal to launch not selected!";
inline constexpr std::string_view ShowNotSelectedText = "Error: terminal to show not selected!";
inline constexpr std::string_view HideNotSelectedText = "Error: terminal to hide not selected!";
inline constexpr std::string_view CloseNotSelectedText = "Error: terminal to close not selected!";

// Which of the main window's terminal controls are enabled.
struct TTerminalButtonStates {
    bool AllTerminalButtons = false;  // btnLaunchMT4s, btnCloseMT4s, btnShowAll, btnHideAll
    bool SelectorButtons = false;     // ComboBox1, btnShow, btnHide

    bool operator==(const TTerminalButtonStates&) const = default;
};
TTerminalButtonStates TerminalButtonStates(std::size_t terminalCount, bool useConsoleApp, bool showConsole);

// The entry that the main window's selector text names (first exact match of ShortName), if any.
std::optional<std::size_t> FindTerminalByShortName(const TTerminalList& terminals, std::string_view selectorText);

// The system side of the terminal commands.
class ITerminalControl {
public:
    virtual ~ITerminalControl() = default;
    virtual WindowHandle FindTerminalWindow(const std::string& pattern) = 0;
    virtual bool CanAccessTerminal(WindowHandle window) = 0;
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    virtual void ShowWindow(WindowHandle window) = 0;  // SW_SHOW
    virtual void HideWindow(WindowHandle window) = 0;  // SW_HIDE
    // Close request and a wait of up to 10 s for the process to end; silent on every failure.
    virtual void CloseTerminal(WindowHandle window) = 0;
    // Starts Path\terminal.exe in Path and waits up to 10 s for it to be idle; silent on failure.
    virtual void LaunchTerminal(const TMT4TermInfo& terminal) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual void ShowError(const std::string& text) = 0;
};

enum class TTerminalAction { Show, Hide, Close };

void LaunchAllTerminals(const TTerminalList& terminals, ITerminalControl& control);
// Show, hide or close every running terminal; a terminal not running is skipped without a word.
void ActOnAllTerminals(const TTerminalList& terminals, TTerminalAction action, ITerminalControl& control);
// The options dialog's commands for the entry selected in its list (nothing: no selection).
void LaunchSelectedTerminal(const TTerminalList& terminals, std::optional<std::size_t> selected,
                            ITerminalControl& control);
void ActOnSelectedTerminal(const TTerminalList& terminals, std::optional<std::size_t> selected,
                           TTerminalAction action, ITerminalControl& control);
// The main window's Show and Hide: the entry named by the selector; no match does nothing.
void ActOnTerminalByShortName(const TTerminalList& terminals, std::string_view selectorText, TTerminalAction action,
                              ITerminalControl& control);

// Configured terminals whose main window exists but is hidden (a window matched by two entries counts twice).
int CountHiddenTerminals(const TTerminalList& terminals, ITerminalControl& control);

}  // namespace pelo::terminals
