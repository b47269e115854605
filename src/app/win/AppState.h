#pragma once
// The process-wide state the start-up sequence establishes; owned by the program entry and passed by reference.
#include <windows.h>

#include <memory>
#include <string>

#include "core/AppSettings.h"
#include "app/SettingsFile.h"
#include "app/SettingsStorage.h"
#include "terminals/TerminalInfo.h"
#include "app/win/AppFolders.h"
#include "app/win/HookLibrary.h"
#include "app/win/WinSettingsFileSystem.h"

namespace pelo::app {

class AppWindow;

struct AppState {
    AppSettings Settings;
    terminals::TTerminalList TerminalList;
    // What the settings file said about windows; applied to them after they exist.
    HBoxFontDescription LoadedHBoxFont;
    StoredWindowPositions LoadedPositions;
    // Pelorant.ini; remembers whether this run could read it, and so whether it may save over it.
    TWinSettingsFileSystem SettingsFiles;
    std::unique_ptr<TSettingsStorage> SettingsStorage;

    AppFolders Folders;                 // AppDataDir, IniPath, LogsDir
    UINT PeloCommMsg = 0;
    std::wstring InstanceSemaphoreName;
    std::wstring EditorSemaphoreName;
    std::wstring ProgramDir;            // folder of Pelorant.exe, for Glossel.exe and the help file
    HookLibrary Hook;                   // HookLibrary, HookProcAddress
    AppWindow* Application = nullptr;   // the hidden application window
};

}  // namespace pelo::app
