#pragma once
// A modal input dialog: a title, a prompt, one edit field and OK / Cancel, centred on the screen. Its message
// loop keeps delivering the program's messages and timer ticks while it is open.
#include <windows.h>

#include <optional>
#include <string>

namespace pelo::ui {

// The text entered when OK is pressed; nothing when the dialog is cancelled or closed.
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt,
                                         int maxLength);

}  // namespace pelo::ui
