#pragma once
// Order execution: the click list, the order windows, and the two routines that press their buttons, the trade
// (a script's Buy, Sell, StrongBuy, StrongSell while autoexecute is armed) and the test (the Test buttons).
//
// Everything runs on the main thread inside the call that asked for it; the user's delays block that thread, as
// a trade must finish before the next headline is looked at. The hot path does no searching: the manual method
// presses stored screen positions, the custom method the windows found when autoexecute was armed.
#include <string>

#include "clicker/ClickList.h"
#include "clicker/OrderWindows.h"
#include "core/AppSettings.h"

namespace pelo::clicker {

// The mouse: moves the pointer, presses the left button once where it is, reads where it is, and waits.
class IPointer {
public:
    virtual ~IPointer() = default;
    // False when the system would not move the pointer: a click then would press whatever lies where it is.
    virtual bool MoveTo(ClickPoint screen) = 0;
    virtual void Click() = 0;
    virtual ClickPoint Position() = 0;
    virtual void Sleep(int32_t ms) = 0;
};

// What order execution needs of the main window.
class IOrderExecutionHost {
public:
    virtual ~IOrderExecutionHost() = default;
    virtual bool MainWindowVisible() = 0;  // not while hidden in the notification area
    virtual bool AutoExecuteArmed() = 0;
    virtual bool ScriptTestMode() = 0;
    // Unchecks the autoexecute box, whose handler clears the order window handles.
    virtual void DisarmAutoExecute() = 0;
    virtual void ShowStatusLine(const std::string& line) = 0;  // painted at once
    virtual void StoreStatusLine(const std::string& line) = 0;  // painted with the box's next repaint
    virtual void ShowErrorBox(const std::string& text, bool topMost) = 0;
};

inline constexpr const char* CoordinatesNotSetText = "Button coordinates are not set!";

class TOrderExecution {
public:
    TOrderExecution(AppSettings& settings, IOrderExecutionHost& host, IOrderWindowSystem& windows, IPointer& pointer)
        : settings_(settings), host_(host), windows_(windows), pointer_(pointer) {}

    TClickList Clicks;
    TOrderWindowState Discovery;
    bool TestWithClicking = false;

    AppSettings& Settings() { return settings_; }
    IOrderExecutionHost& Host() { return host_; }
    IOrderWindowSystem& Windows() { return windows_; }
    IPointer& Pointer() { return pointer_; }
    bool ManualMethod() const { return settings_.DiscoveryMethod == 1; }

    // True when the four handles are assigned; otherwise autoexecute has been disarmed and the reason shown.
    bool FindOrderWindows();
    // Every change of the autoexecute box starts from no order windows.
    void ClearOrderWindowHandles() { Discovery.Handles = {}; }
    // The checks of arming autoexecute; false when it was refused (the box is unchecked again by then).
    bool ArmAutoExecute();

    void ExecuteTradeClicks(TradeKind kind);
    void RunTestClicks(TradeKind kind);

    // The custom method's point for a kind, in the order window's client area.
    ClickPoint CustomPoint(TradeKind kind) const;

private:
    // The custom method's single click (or only the pointer move).
    void CustomClick(TradeKind kind, bool click);

    AppSettings& settings_;
    IOrderExecutionHost& host_;
    IOrderWindowSystem& windows_;
    IPointer& pointer_;
};

}  // namespace pelo::clicker
