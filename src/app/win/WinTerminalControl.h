#pragma once
// The configured terminals as the system sees them: their main windows among the top-level windows, their
// processes, and the show, hide, launch and close commands.
#include <windows.h>

#include "news/TerminalRules.h"
#include "ui/win/MessageBoxes.h"

namespace pelo::app {

// The top-level windows in Z order, through FindWindowA, GetWindow, GetClassNameA and GetWindowTextA.
class TWinTopLevelWindows final : public ITopLevelWindows {
public:
    WindowHandle FirstOfClass(std::string_view className) override;
    WindowHandle Next(WindowHandle window) override;
    std::optional<std::string> ClassName(WindowHandle window) override;
    std::string Title(WindowHandle window) override;
};

class TWinTerminalControl final : public ITerminalControl {
public:
    // Error boxes appear in `layer` (the main window's boxes are top-most).
    explicit TWinTerminalControl(ui::BoxLayer layer = ui::BoxLayer::Normal) : layer_(layer) {}

    WindowHandle FindTerminalWindow(const std::string& pattern) override;
    bool CanAccessTerminal(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    void ShowWindow(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
    void CloseTerminal(WindowHandle window) override;
    void LaunchTerminal(const TMT4TermInfo& terminal) override;
    bool FileExists(const std::string& path) override;
    void ShowError(const std::string& text) override;

private:
    ui::BoxLayer layer_;
    TWinTopLevelWindows windows_;
};

}  // namespace pelo::app
