#include "news/win/WinWindows.h"

#include <string>

namespace pelo::news {

namespace {

std::optional<std::string> ReadClassName(HWND window)
{
    char name[256];
    const int n = GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (n <= 0)
        return std::nullopt;
    return std::string(name, static_cast<std::size_t>(n));
}

}  // namespace

std::vector<WindowHandle> WinWindowTree::ChildWindows(WindowHandle parent)
{
    std::vector<WindowHandle> children;
    // A window that keeps gaining children while we walk cannot hold the search forever.
    constexpr std::size_t Limit = 100000;
    for (HWND child = GetWindow(ToHwnd(parent), GW_CHILD); child != nullptr && children.size() < Limit;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(ToHandle(child));
    return children;
}

std::optional<std::string> WinWindowTree::ClassName(WindowHandle window) { return ReadClassName(ToHwnd(window)); }

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
    return ReadClassName(ToHwnd(window));
}

std::string WinTopLevelWindows::Title(WindowHandle window)
{
    char title[256];
    const int n = GetWindowTextA(ToHwnd(window), title, static_cast<int>(sizeof title));
    return n > 0 ? std::string(title, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace pelo::news
