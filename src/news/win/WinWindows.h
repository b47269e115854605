#pragma once
// The window hierarchy and the top-level windows as the news-list search and the terminal finder walk them.
#include <windows.h>

#include "news/NewsListDiscovery.h"
#include "terminals/TerminalRules.h"

namespace pelo::news {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

class WinWindowTree final : public IWindowTree {
public:
    std::vector<WindowHandle> ChildWindows(WindowHandle parent) override;
    std::optional<std::string> ClassName(WindowHandle window) override;
};

class WinTopLevelWindows final : public ITopLevelWindows {
public:
    WindowHandle FirstOfClass(std::string_view className) override;
    WindowHandle Next(WindowHandle window) override;
    std::optional<std::string> ClassName(WindowHandle window) override;
    std::string Title(WindowHandle window) override;
};

}  // namespace pelo::news
