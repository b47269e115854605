#include "dialogs/VisibleWindowsText.h"

namespace pelo::dialogs {

std::string VisibleWindowLine(std::string_view title, std::string_view className)
{
    std::string line = "Title=\"";
    line += title;
    line += "\", ClassName=\"";
    line += className;
    line += "\"\r\n";
    return line;
}

std::string VisibleWindowsText(const std::vector<TTopLevelWindowText>& windows)
{
    std::string text;
    for (const TTopLevelWindowText& window : windows)
        if (window.Visible)
            text += VisibleWindowLine(window.Title, window.ClassName);
    return text;
}

}  // namespace pelo::dialogs
