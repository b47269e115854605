#include "app/win/SettingsStore.h"

#include <windows.h>

#include <vector>

#include "app/win/MainWindow.h"
#include "app/win/WinCodePage.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

TSettingsStorage& StorageOf(AppState& state) {
    if (!state.SettingsStorage)
        state.SettingsStorage =
            std::make_unique<TSettingsStorage>(state.SettingsFiles, ui::ToU16(state.Folders.IniPath));
    return *state.SettingsStorage;
}

}  // namespace

void LoadSettings(AppState& state) {
    TSettingsStorage& storage = StorageOf(state);
    SettingsSnapshot snapshot = storage.Load(WinCodePage{});
    state.Settings = std::move(snapshot.Settings);
    state.TerminalList = std::move(snapshot.Terminals);
    state.LoadedHBoxFont = std::move(snapshot.HBoxFont);
    state.LoadedPositions = snapshot.Positions;
    if (storage.SaveBlocked()) ui::ShowWarningBox(ui::ToWide(storage.LoadFailureText()));
}

SettingsSaveResult SaveSettings(AppState& state, const TfrmPelorant& mainWindow) {
    SettingsSnapshot snapshot;
    snapshot.Settings = state.Settings;
    snapshot.Terminals = state.TerminalList;
    snapshot.HBoxFont = mainWindow.CurrentHBoxFont();
    snapshot.Positions = mainWindow.PositionsForSave();
    return StorageOf(state).Save(snapshot, WinCodePage{});
}

}  // namespace pelo::app
