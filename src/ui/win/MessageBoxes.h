#pragma once
// The program's message boxes. Every box is modal and centred on the screen; the top-most variant stays above a
// main window that is set to stay on top.
#include <windows.h>

#include <string>
#include <string_view>

namespace pelo::ui {

enum class BoxLayer { Normal, TopMost };

void SetApplicationTitle(std::wstring title);   // caption of plain boxes
const std::wstring& ApplicationTitle();
void SetMessageBoxOwner(HWND owner);             // the window disabled while a box is open (may be null)

void ShowErrorBox(std::wstring_view text, BoxLayer layer = BoxLayer::Normal);
void ShowWarningBox(std::wstring_view text, BoxLayer layer = BoxLayer::Normal);
void ShowInfoBox(std::wstring_view text, BoxLayer layer = BoxLayer::Normal);
void ShowPlainBox(std::wstring_view text, BoxLayer layer = BoxLayer::Normal);
// Returns the button pressed (IDOK, IDCANCEL, IDYES, ...). buttons: MB_OKCANCEL, MB_YESNO, ...
int ShowConfirmBox(std::wstring_view text, UINT buttons, BoxLayer layer = BoxLayer::Normal);
// A warning box with a choice of buttons (the close question uses OK and Cancel).
int ShowWarningChoice(std::wstring_view text, UINT buttons, BoxLayer layer = BoxLayer::Normal);

}  // namespace pelo::ui
