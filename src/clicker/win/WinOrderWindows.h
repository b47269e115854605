#pragma once
// The system side of order execution: the desktop's top-level windows, and the mouse.
#include <windows.h>

#include "clicker/OrderExecution.h"
#include "clicker/OrderWindows.h"

namespace pelo::clicker {

class WinOrderWindowSystem final : public IOrderWindowSystem {
public:
    bool EnumerateTopLevel(const std::function<void(const TopLevel&)>& visit) override;
    bool IsVisible(WindowHandle window) override;
    bool IsMinimized(WindowHandle window) override;
    std::optional<ScreenRect> WindowRect(WindowHandle window) override;
    std::optional<ClickPoint> ClientToScreen(WindowHandle window, ClickPoint client) override;
};

class WinPointer final : public IPointer {
public:
    bool MoveTo(ClickPoint screen) override;
    // ClickMouse: one input record with the button going down and up, at the pointer's place.
    void Click() override;
    ClickPoint Position() override;
    void Sleep(int32_t ms) override;
};

}  // namespace pelo::clicker
