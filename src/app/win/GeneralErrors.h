#pragma once
// The main window's general error handling: an error that escapes the handling of a window message is shown in
// an error box with its message, and the program goes on.
#include <string>

namespace pelo::app {

// Call inside a catch block: the text of the exception being handled.
std::wstring CurrentExceptionText();
// Call inside a catch block: shows that text in an error box.
void ShowCurrentException();

}  // namespace pelo::app
