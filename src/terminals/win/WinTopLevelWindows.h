#pragma once
// The top-level windows in Z order, as the terminal finder walks them.
#include <windows.h>

#include "core/win/WinHandles.h"
#include "terminals/TerminalRules.h"

namespace pelo::terminals {

class WinTopLevelWindows final : public ITopLevelWindows {
public:
    WindowHandle FirstOfClass(std::string_view className) override;
    WindowHandle Next(WindowHandle window) override;
    std::optional<std::string> ClassName(WindowHandle window) override;
    std::string Title(WindowHandle window) override;
};

}  // namespace pelo::terminals
