#pragma once
// Stored window positions and where they put the windows at start-up. The Win32 layer reads the screen
// and the design sizes, calls these, and only moves the windows to the results.
#include <cstdint>

namespace pelo::app {

// Marker for "no position stored"; a real coordinate of this value cannot be stored.
inline constexpr int32_t NoStoredPosition = 100000;

struct StoredWindowPositions {
    int32_t MainWindowX = NoStoredPosition;
    int32_t MainWindowY = NoStoredPosition;
    int32_t MainWindowW = NoStoredPosition;
    int32_t MainWindowH = NoStoredPosition;
    int32_t CoordsWindowX = NoStoredPosition;
    int32_t CoordsWindowY = NoStoredPosition;

    friend bool operator==(const StoredWindowPositions&, const StoredWindowPositions&) = default;
};

struct WindowSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

struct WindowRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct WindowPoint {
    int32_t Left = 0;
    int32_t Top = 0;

    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

// Main window: without a stored left edge, the design size centred on the (primary) screen; otherwise the
// stored left edge, and the stored top, width and height where present, the design values where not.
// The minimum size always applies.
WindowRect MainWindowRectFromStored(const StoredWindowPositions& stored, const WindowRect& design,
                                    WindowSize minimum, WindowSize screen);

// Coordinate setup dialog: both stored values, or, when either is missing, the computed default
// (left: screen width div 2 - dialog width div 2; top: screen height div 2 + 2).
WindowPoint CoordsWindowPosFromStored(const StoredWindowPositions& stored, WindowSize dialog, WindowSize screen);

// What the settings file stores at a save: a maximized main window is stored as the primary screen's work
// area, so that the next start shows a normal window covering it; otherwise its normal (restored) bounds.
StoredWindowPositions PositionsForSave(bool mainMaximized, const WindowRect& mainNormal, const WindowRect& workArea,
                                       WindowPoint coordsWindow);

}  // namespace pelo::app
