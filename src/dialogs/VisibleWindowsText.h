#pragma once
// The text of the visible windows list: one line per visible top-level window, top of the Z order first, to copy
// an order window's title and class name from.
#include <string>
#include <string_view>
#include <vector>

namespace pelo::dialogs {

struct TTopLevelWindowText {
    std::string Title;      // 8-bit, as the system gives it
    std::string ClassName;  // 8-bit
    bool Visible = false;
};

// Title="<title>", ClassName="<class>" and CR LF; an empty title shows as two quotes.
std::string VisibleWindowLine(std::string_view title, std::string_view className);
// The lines of the visible windows, in the order given; hidden ones are left out.
std::string VisibleWindowsText(const std::vector<TTopLevelWindowText>& windows);

}  // namespace pelo::dialogs
