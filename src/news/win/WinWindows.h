#pragma once
// The window hierarchy as the news-list search walks it.
#include <windows.h>

#include "core/win/WinHandles.h"
#include "news/NewsListDiscovery.h"

namespace pelo::news {

class WinWindowTree final : public IWindowTree {
public:
    std::vector<WindowHandle> ChildWindows(WindowHandle parent) override;
    std::optional<std::string> ClassName(WindowHandle window) override;
};

}  // namespace pelo::news
