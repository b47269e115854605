#pragma once
// Process-wide system settings made at start-up.
#include <windows.h>

namespace pelo::app {

// Windows older than XP are refused; a failing version query lets start-up go on.
bool WindowsVersionAllowed();
// Raises the system timer resolution to 1 ms (or the finest offered) for the life of the process.
void RaiseTimerResolution();
// Number and date conversions use fixed conventions whatever the user's regional settings are.
void FixTextConventions();
// Moves a window to the centre of the screen when no caption-high strip of it lies on any monitor.
void EnsureOnScreen(HWND window);
void CentreOnScreen(HWND window);

}  // namespace pelo::app
