#pragma once
// The window behind one of the companion semaphores (CompanionProtocol.h): its count, taken and given back at once,
// is the owner's main window handle + 1.
#include <windows.h>

#include <string>

namespace pelo::script::companion {

// The owner's main window, or null when no such semaphore exists (its owner does not run).
HWND WindowOfSemaphore(const std::wstring& semaphoreName);
// Marks the calling process as the owner; the handle stays open for the process's lifetime.
bool CreateWindowSemaphore(const std::wstring& semaphoreName, HWND mainWindow);

}  // namespace pelo::script::companion
