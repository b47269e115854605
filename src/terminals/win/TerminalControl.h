#pragma once
// The configured terminals, controlled through the system. What the main window's terminal buttons and the
// options dialog's "MetaTrader 4 terminal controller" group call:
//
//   Main window                      Options dialog                 Call
//   btnLaunchMT4s                    btnLaunchAll                   LaunchAllTerminals(list, control)
//   btnCloseMT4s                     btnCloseAll                    ActOnAllTerminals(list, TTerminalAction::Close, control)
//   btnShowAll / btnHideAll          btnShowAll / btnHideAll        ActOnAllTerminals(list, Show / Hide, control)
//                                    btnLaunchSelected              LaunchSelectedTerminal(list, selected, control)
//   btnShow / btnHide                                               ActOnTerminalByShortName(list, ComboBox1 text, Show / Hide, control)
//                                    btnShow/Hide/CloseSelected     ActOnSelectedTerminal(list, selected, action, control)
//   exit question                                                   CountHiddenTerminals(list, control)
//
// (those functions are in terminals/TerminalRules.h; `control` is a WinTerminalControl, `selected` the index selected in
// ListBox3 or std::nullopt). The news readers use FindTerminalWindow and CanAccessTerminal directly.
#include <windows.h>

#include <string>
#include <string_view>

#include "terminals/TerminalInfo.h"
#include "terminals/TerminalRules.h"
#include "ui/win/MessageBoxes.h"

namespace pelo::terminals {

// The highest top-level window of the terminal class whose title contains `pattern` (ASCII case ignored), or null.
HWND FindTerminalWindow(std::string_view pattern);
// The process owning `window` may be opened to wait for it and to query it (not so when the terminal runs with
// administrator rights and we do not).
bool CanAccessTerminal(HWND window);
// The error box for a terminal that the program may not control.
void ShowAdminRightsError(std::string_view fullName);
// Starts `terminal.Path`\terminal.exe in its folder with the program's own show state and waits up to 10 s for it
// to be ready for input. Silent when it cannot be started.
void LaunchTerminal(const TMT4TermInfo& terminal);
// Posts WM_CLOSE to the terminal's window and waits up to 10 s for its process to end. Silent on every failure.
void CloseTerminal(HWND window);
void ShowTerminal(HWND window);  // SW_SHOW unless it is visible already
void HideTerminal(HWND window);  // SW_HIDE unless it is hidden already
int CountHiddenTerminals(const TTerminalList& terminals);

// The system side of the terminal commands; error boxes are centred, with the error icon, and appear in `layer`
// (the main window's boxes are top-most, like the window itself may be).
class WinTerminalControl final : public ITerminalControl {
public:
    explicit WinTerminalControl(ui::BoxLayer layer = ui::BoxLayer::Normal) : layer_(layer) {}

    WindowHandle FindTerminalWindow(const std::string& pattern) override;
    bool CanAccessTerminal(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    void ShowWindow(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
    void CloseTerminal(WindowHandle window) override;
    void LaunchTerminal(const TMT4TermInfo& terminal) override;
    bool FileExists(const std::string& path) override;
    void ShowError(const std::string& text) override;

private:
    ui::BoxLayer layer_;
};

}  // namespace pelo::terminals
