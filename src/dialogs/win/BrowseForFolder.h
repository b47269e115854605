#pragma once
// The folder chooser: the system's browse-for-folder dialog, opened with a folder already selected and centred on
// the monitor of the program's active window. Every other window of the program is disabled while it runs.
#include <windows.h>

#include <string>

namespace pelo::dialogs {

// `title` stands above the folder tree. `folder` in: the folder to select at opening (dropped, and emptied, when it
// names no existing directory); out: the chosen folder when the result is true. `owner`: the window that owns the
// browse dialog, or null for the application window. False when cancelled or when the dialog could not run.
bool BrowseForFolder(const std::wstring& title, std::wstring& folder, HWND owner);

}  // namespace pelo::dialogs
