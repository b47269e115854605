#pragma once
// A message box placed by its caller rather than centred on the screen: the checks of a dialog report next to the
// dialog. Owned by `owner` (disabled while the box is open), or task-modal without one.
#include <windows.h>

#include <string_view>

namespace pelo::ui {

// An error box ("Error", error icon, OK) whose top-left corner is at `topLeft` in screen coordinates.
void ShowErrorBoxAt(std::wstring_view text, POINT topLeft, HWND owner);

}  // namespace pelo::ui
