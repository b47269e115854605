#pragma once
// The operating system's error raised from a failed call: EOSError with the code and the system's own text.
#include <windows.h>

#include "core/SystemErrors.h"

namespace pelo {

// The system's description of `code` in the ANSI code page, without its trailing line break.
std::string SystemErrorDescription(DWORD code);
EOSError MakeOSError(DWORD code);
[[noreturn]] void RaiseLastOSError();

}  // namespace pelo
