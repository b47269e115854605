#pragma once
// The process-wide state the start-up sequence establishes; owned by the program entry and passed by reference.
#include <windows.h>

#include <string>

#include "core/AppSettings.h"
#include "app/SettingsFile.h"
#include "terminals/TerminalInfo.h"
#include "app/win/AppFolders.h"
#include "app/win/HookLibrary.h"

namespace pelo::app {

class AppWindow;

struct AppState {
    AppSettings Settings;
    TTerminalList TerminalList;
    // What the settings file said about windows; applied to them after they exist.
    HBoxFontDescription LoadedHBoxFont;
    StoredWindowPositions LoadedPositions;

    AppFolders Folders;                 // AppDataDir, IniPath, LogsDir
    UINT PeloCommMsg = 0;
    std::wstring InstanceSemaphoreName;
    std::wstring EditorSemaphoreName;
    std::wstring ProgramDir;            // folder of Pelorant.exe, for Glossel.exe and the help file
    HookLibrary Hook;                   // HookLibrary, HookProcAddress
    AppWindow* Application = nullptr;   // the hidden application window
};

}  // namespace pelo::app
