#include "clicker/OrderExecution.h"

namespace pelo::clicker {

bool TOrderExecution::FindOrderWindows() {
    const std::optional<std::string> problem = Discovery.Discover(settings_, windows_);
    if (!problem) return true;
    host_.DisarmAutoExecute();
    host_.ShowErrorBox(*problem, false);
    return false;
}

bool TOrderExecution::ArmAutoExecute() {
    // A custom click at an unset point would land on whatever lies at the window's corner, so the custom method
    // is refused like the manual one when its first point is unset.
    const bool nothingToClick = ManualMethod() ? !Clicks.AnyPairSet() : !CustomPoint(TradeKind::Buy).IsSet();
    if (nothingToClick) {
        host_.DisarmAutoExecute();
        host_.ShowErrorBox(CoordinatesNotSetText, true);
        return false;
    }
    if (ManualMethod()) return true;
    if (!FindOrderWindows()) return false;
    host_.StoreStatusLine(OrderWindowsFoundLine(Discovery.OrderWindowCount));
    return true;
}

ClickPoint TOrderExecution::CustomPoint(TradeKind kind) const {
    const bool sell = kind == TradeKind::Sell || kind == TradeKind::StrongSell;
    if (sell && settings_.CustomBSInSameWindow) return {settings_.CustomX2, settings_.CustomY2};
    return {settings_.CustomX1, settings_.CustomY1};
}

void TOrderExecution::CustomClick(TradeKind kind, bool click) {
    const WindowHandle window = Discovery.Handles.For(kind);
    const ClickPoint point = CustomPoint(kind);
    if (window == 0 || !point.IsSet()) return;
    const std::optional<ClickPoint> screen = windows_.ClientToScreen(window, point);
    if (!screen) return;
    if (pointer_.MoveTo(*screen) && click) pointer_.Click();
}

void TOrderExecution::ExecuteTradeClicks(TradeKind kind) {
    if (!host_.MainWindowVisible() || !host_.AutoExecuteArmed() || host_.ScriptTestMode()) return;
    if (ManualMethod()) {
        for (int i = 0; i < Clicks.ClickCount; ++i) {
            const TManualClick& entry = Clicks.ClickList[static_cast<size_t>(i)];
            const ClickPoint point = entry.For(kind);
            if (point.IsSet() && pointer_.MoveTo(point)) pointer_.Click();
            // An entry without this kind's position still waits: the wait belongs to the sequence.
            if (entry.DelayMs > 0) pointer_.Sleep(entry.DelayMs);
        }
    } else {
        CustomClick(kind, true);
    }
    // One arming, one trade.
    host_.DisarmAutoExecute();
}

void TOrderExecution::RunTestClicks(TradeKind kind) {
    if (ManualMethod()) {
        if (!Clicks.AnyOwnPairSet(kind)) {
            host_.ShowErrorBox(std::string(KindName(kind)) + " button coordinates are not set!", false);
            return;
        }
    } else if (!FindOrderWindows()) {
        return;
    }
    host_.ShowStatusLine(std::string("Testing ") + KindName(kind) + " coordinates");
    if (!ManualMethod()) {
        CustomClick(kind, TestWithClicking);
        return;
    }
    for (int i = 0; i < Clicks.ClickCount; ++i) {
        const TManualClick& entry = Clicks.ClickList[static_cast<size_t>(i)];
        const ClickPoint point = entry.For(kind);
        if (!point.IsSet()) continue;  // unlike a trade, a test skips the entry with its wait
        if (pointer_.MoveTo(point) && TestWithClicking) pointer_.Click();
        if (entry.DelayMs > 0) pointer_.Sleep(entry.DelayMs);
    }
}

}  // namespace pelo::clicker
