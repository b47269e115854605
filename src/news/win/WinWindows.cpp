#include "news/win/WinWindows.h"

#include <string>

namespace pelo::news {

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

std::optional<std::string> WinWindowTree::ClassName(WindowHandle window) { return WindowClassNameA(ToHwnd(window)); }

}  // namespace pelo::news
