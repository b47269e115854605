#include "terminals/win/WinTopLevelWindows.h"

#include <string>

namespace pelo::terminals {

WindowHandle WinTopLevelWindows::FirstOfClass(std::string_view className)
{
    const std::string name(className);
    return ToHandle(FindWindowA(name.c_str(), nullptr));
}

WindowHandle WinTopLevelWindows::Next(WindowHandle window)
{
    return ToHandle(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

std::optional<std::string> WinTopLevelWindows::ClassName(WindowHandle window)
{
    return WindowClassNameA(ToHwnd(window));
}

std::string WinTopLevelWindows::Title(WindowHandle window)
{
    char title[256];
    const int n = GetWindowTextA(ToHwnd(window), title, static_cast<int>(sizeof title));
    return n > 0 ? std::string(title, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace pelo::terminals
