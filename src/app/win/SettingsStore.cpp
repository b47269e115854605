#include "app/win/SettingsStore.h"

#include <windows.h>

#include <vector>

#include "app/win/MainWindow.h"
#include "app/win/WinCodePage.h"
#include "core/win/WinOSError.h"

namespace pelo::app {
namespace {

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    // A settings file is a few kilobytes; anything huge is not ours and is read as missing.
    if (GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < 16 * 1024 * 1024) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
        bytes.resize(got);
    }
    CloseHandle(f);
    return bytes;
}

}  // namespace

void LoadSettings(AppState& state) {
    const std::vector<uint8_t> bytes = ReadWholeFile(state.Folders.IniPath);
    SettingsSnapshot snapshot = LoadSettingsFromBytes(bytes, WinCodePage{});
    state.Settings = std::move(snapshot.Settings);
    state.TerminalList = std::move(snapshot.Terminals);
    state.LoadedHBoxFont = std::move(snapshot.HBoxFont);
    state.LoadedPositions = snapshot.Positions;
}

void SaveSettings(const AppState& state, const TfrmPelorant& mainWindow) {
    SettingsSnapshot snapshot;
    snapshot.Settings = state.Settings;
    snapshot.Terminals = state.TerminalList;
    snapshot.HBoxFont = mainWindow.CurrentHBoxFont();
    snapshot.Positions = mainWindow.PositionsForSave(state.LoadedPositions);
    const std::vector<uint8_t> bytes = SaveSettingsToBytes(snapshot, WinCodePage{});

    HANDLE f = CreateFileW(state.Folders.IniPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) RaiseLastOSError();
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD err = GetLastError();
    CloseHandle(f);
    if (!ok || written != bytes.size()) throw MakeOSError(ok ? ERROR_WRITE_FAULT : err);
}

}  // namespace pelo::app
