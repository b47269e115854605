#include "news/NewsListDiscovery.h"

#include <algorithm>

namespace pelo::news {

TNewsListMatch FindNewsList(IWindowTree& tree, WindowHandle terminalWindow,
                            const std::function<std::optional<int>(WindowHandle)>& checkNewsColumns)
{
    TNewsListMatch result;
    // An explicit stack instead of recursion: the depth of a foreign window tree is not ours to trust.
    std::vector<WindowHandle> pending = tree.ChildWindows(terminalWindow);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const WindowHandle window = pending.back();
        pending.pop_back();
        const std::optional<std::string> className = tree.ClassName(window);
        if (className && *className == ListViewClassName) {
            if (const std::optional<int> column = checkNewsColumns(window))
                result = TNewsListMatch{window, *column};
        }
        std::vector<WindowHandle> children = tree.ChildWindows(window);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return result;
}

}  // namespace pelo::news
