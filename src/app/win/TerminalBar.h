#pragma once
// The main window's bottom row: the terminal selector (ComboBox1) and the buttons that launch, close, show and
// hide the configured terminals, and the question at exit when some of them are hidden.
#include "app/win/AppState.h"
#include "app/win/MainWindowControls.h"
#include "terminals/win/TerminalControl.h"

namespace pelo::app {

class TerminalBar {
public:
    TerminalBar(AppState& state, MainWindowControls& controls) : state_(state), controls_(controls) {}

    // Gives the terminal buttons their actions; once, after the controls exist.
    void Wire();
    // The selector lists the terminals' short names, and "Console" while the console source is shown.
    void FillSelector();
    // Enables the buttons that have a terminal to act on.
    void UpdateButtons();
    // True when the program may exit: no terminal is hidden, or the user chose OK at the question.
    bool ExitConfirmed();

private:
    AppState& state_;
    MainWindowControls& controls_;
    terminals::WinTerminalControl terminals_{ui::BoxLayer::TopMost};
};

}  // namespace pelo::app
