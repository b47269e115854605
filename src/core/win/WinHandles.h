#pragma once
// The one conversion between the system's window handles and the platform-free WindowHandle, and the class
// name lookup that both the news-list search and the terminal finder use.
#include <windows.h>

#include <optional>
#include <string>

#include "core/WindowHandle.h"

namespace pelo {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// GetClassNameA with a 256-byte buffer; nothing when the window is gone.
inline std::optional<std::string> WindowClassNameA(HWND window)
{
    char name[256];
    const int n = GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (n <= 0)
        return std::nullopt;
    return std::string(name, static_cast<std::size_t>(n));
}

}  // namespace pelo
