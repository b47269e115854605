#pragma once
// The hook library beside the program: its procedure is installed into the terminals' list views.
#include <windows.h>

namespace pelo::app {

struct HookLibrary {
    HMODULE module = nullptr;       // HookLibrary
    FARPROC hookProc = nullptr;     // HookProcAddress

    // Loads Pelorant.dll and registers the main window as the target of its notifications. A library without
    // RegisterPeloHandle counts as one that failed to load. Shows the error box on failure.
    void Load(HWND mainWindow);
    void Release();
};

}  // namespace pelo::app
