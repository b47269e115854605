#pragma once
// The operating system's error as an exception; the general error handling shows its message in an error box.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "ui/win/WinText.h"

namespace pelo::app {

class WinError : public std::runtime_error {
public:
    explicit WinError(DWORD code) : std::runtime_error("system error"), code_(code) {}
    DWORD code() const { return code_; }
    std::wstring Message() const { return ui::SystemErrorText(code_); }

private:
    DWORD code_;
};

}  // namespace pelo::app
