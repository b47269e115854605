#pragma once
// Reads Pelorant.ini into the program at start-up and writes it back from the program's state.
#include "app/SettingsStorage.h"
#include "app/win/AppState.h"

namespace pelo::app {

class TfrmPelorant;

// Fills AppSettings, TerminalList and the loaded font and window positions. A missing file gives the
// defaults; so does one that cannot be read, after a warning box, and then this run never saves over it.
void LoadSettings(AppState& state);
// Rebuilds the whole file from memory and the windows, through a temporary file that replaces the old one.
// Failed: the old file is as it was and Error holds the system's message.
SettingsSaveResult SaveSettings(AppState& state, const TfrmPelorant& mainWindow);

}  // namespace pelo::app
