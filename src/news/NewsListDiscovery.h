#pragma once
// Finding the news list among a terminal window's descendants.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/WindowHandle.h"

namespace pelo::news {

// The window hierarchy as far as the search needs it. The Win32 layer answers with GetWindow(GW_CHILD /
// GW_HWNDNEXT) and GetClassNameA with a 256-byte buffer.
class IWindowTree {
public:
    virtual ~IWindowTree() = default;
    // Direct children of `parent`, in Z order.
    virtual std::vector<WindowHandle> ChildWindows(WindowHandle parent) = 0;
    // The window's class name (at most 255 characters); nothing when it cannot be read.
    virtual std::optional<std::string> ClassName(WindowHandle window) = 0;
};

struct TNewsListMatch {
    WindowHandle ListView = 0;  // 0: not found
    int HeadlineColumn = 0;

    bool operator==(const TNewsListMatch&) const = default;
};

inline constexpr const char* ListViewClassName = "SysListView32";

// Visits every descendant of `terminalWindow`, depth first, a window before its children, and runs
// `checkNewsColumns` on each list view. A terminal may hold several lists with news titles (detached or hidden
// copies of its tool panel); the last one in this order is taken.
TNewsListMatch FindNewsList(IWindowTree& tree, WindowHandle terminalWindow,
                            const std::function<std::optional<int>(WindowHandle)>& checkNewsColumns);

}  // namespace pelo::news
