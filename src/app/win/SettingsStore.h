#pragma once
// Reads Pelorant.ini into the program at start-up and writes it back from the program's state.
#include "app/win/AppState.h"

namespace pelo::app {

class TfrmPelorant;

// Fills AppSettings, TerminalList and the loaded font and window positions. A missing or unreadable file gives
// the defaults.
void LoadSettings(AppState& state);
// Rebuilds the whole file from memory and the windows. A failed write raises the system error (EOSError).
void SaveSettings(const AppState& state, const TfrmPelorant& mainWindow);

}  // namespace pelo::app
