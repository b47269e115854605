#include "app/WindowPlacement.h"

namespace pelo::app {

namespace {

// Halving as Pascal's div does (towards zero), in 64 bits so that odd stored values cannot overflow.
int32_t HalfDifference(int64_t outer, int64_t inner)
{
    return static_cast<int32_t>((outer - inner) / 2);
}

}  // namespace

WindowRect MainWindowRectFromStored(const StoredWindowPositions& stored, const WindowRect& design,
                                    WindowSize minimum, WindowSize screen)
{
    WindowRect rect = design;
    if (rect.Width < minimum.Width) rect.Width = minimum.Width;
    if (rect.Height < minimum.Height) rect.Height = minimum.Height;

    if (stored.MainWindowX == NoStoredPosition) {
        rect.Left = HalfDifference(screen.Width, rect.Width);
        rect.Top = HalfDifference(screen.Height, rect.Height);
        return rect;
    }

    rect.Left = stored.MainWindowX;
    if (stored.MainWindowY != NoStoredPosition) rect.Top = stored.MainWindowY;
    if (stored.MainWindowW != NoStoredPosition) rect.Width = stored.MainWindowW;
    if (stored.MainWindowH != NoStoredPosition) rect.Height = stored.MainWindowH;
    if (rect.Width < minimum.Width) rect.Width = minimum.Width;
    if (rect.Height < minimum.Height) rect.Height = minimum.Height;
    return rect;
}

WindowPoint CoordsWindowPosFromStored(const StoredWindowPositions& stored, WindowSize dialog, WindowSize screen)
{
    if (stored.CoordsWindowX == NoStoredPosition || stored.CoordsWindowY == NoStoredPosition) {
        return WindowPoint{screen.Width / 2 - dialog.Width / 2, screen.Height / 2 + 2};
    }
    return WindowPoint{stored.CoordsWindowX, stored.CoordsWindowY};
}

StoredWindowPositions PositionsForSave(bool mainMaximized, const WindowRect& mainNormal, const WindowRect& workArea,
                                       WindowPoint coordsWindow)
{
    const WindowRect& main = mainMaximized ? workArea : mainNormal;
    return StoredWindowPositions{main.Left, main.Top, main.Width, main.Height, coordsWindow.Left, coordsWindow.Top};
}

}  // namespace pelo::app
