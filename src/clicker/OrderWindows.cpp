#include "clicker/OrderWindows.h"

#include <utility>

namespace pelo::clicker {

WindowHandle TOrderWindowHandles::For(TradeKind kind) const {
    switch (kind) {
        case TradeKind::Buy: return BuyWindow;
        case TradeKind::Sell: return SellWindow;
        case TradeKind::StrongBuy: return StrongBuyWindow;
        case TradeKind::StrongSell: return StrongSellWindow;
    }
    return 0;
}

bool OrderWindowTitleMatches(std::string_view title, const AppSettings& settings) {
    const std::string_view pattern = settings.CustomTitlePattern;
    if (title == pattern) return true;
    if (settings.CustomAllowOnlyExactMatch || pattern.empty()) return false;
    return title.find(pattern) != std::string_view::npos;
}

std::optional<std::string> OrderWindowCountProblem(int count, bool buySellInSameWindow) {
    if (count == 0) return order_messages::NotFound;
    if (count == 1 && !buySellInSameWindow) return order_messages::OnlyOne;
    if (!buySellInSameWindow && count != 2 && count != 4) return order_messages::CountTwoOrFour;
    if (buySellInSameWindow && count != 1 && count != 2) return order_messages::CountOneOrTwo;
    return std::nullopt;
}

bool SortOrderWindowsLeftToRight(std::array<TOrderWindow, MaxOrderWindows>& windows, int count) {
    // Every pair is compared, so two equal left edges are found wherever they started.
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j) {
            auto& a = windows[static_cast<size_t>(i)];
            auto& b = windows[static_cast<size_t>(j)];
            if (a.Bounds.Left < b.Bounds.Left) std::swap(a, b);
            else if (i != j && a.Bounds.Left == b.Bounds.Left) return false;
        }
    return true;
}

TOrderWindowHandles AssignOrderWindows(const std::array<TOrderWindow, MaxOrderWindows>& sorted, int count,
                                       bool buySellInSameWindow) {
    const auto w = [&](int k) { return sorted[static_cast<size_t>(k)].Handle; };
    if (buySellInSameWindow) {
        const WindowHandle strong = count >= 2 ? w(1) : w(0);
        return {w(0), w(0), strong, strong};
    }
    if (count == 4) return {w(0), w(1), w(2), w(3)};
    return {w(0), w(1), w(0), w(1)};
}

std::optional<std::string> TOrderWindowState::Discover(const AppSettings& settings, IOrderWindowSystem& system) {
    for (auto& entry : OrderWindows) entry.Handle = 0;
    OrderWindowCount = 0;
    const bool enumerated = system.EnumerateTopLevel([&](const IOrderWindowSystem::TopLevel& window) {
        if (window.ClassName != settings.CustomClassName) return;
        if (!OrderWindowTitleMatches(window.Title, settings)) return;
        if (!system.IsVisible(window.Handle)) return;
        if (OrderWindowCount < MaxOrderWindows) OrderWindows[static_cast<size_t>(OrderWindowCount)].Handle = window.Handle;
        ++OrderWindowCount;
    });
    if (!enumerated) return order_messages::EnumFailed;
    if (auto problem = OrderWindowCountProblem(OrderWindowCount, settings.CustomBSInSameWindow)) return problem;

    const int stored = OrderWindowCount;  // 1, 2 or 4 by now
    for (int k = 0; k < stored; ++k) {
        TOrderWindow& entry = OrderWindows[static_cast<size_t>(k)];
        if (system.IsMinimized(entry.Handle)) return order_messages::Minimized;
        if (!system.IsVisible(entry.Handle)) return order_messages::NotVisible;
        const std::optional<ScreenRect> bounds = system.WindowRect(entry.Handle);
        if (!bounds) return order_messages::RectFailed;
        entry.Bounds = *bounds;
    }
    if (!SortOrderWindowsLeftToRight(OrderWindows, stored)) return order_messages::SameLeft;
    Handles = AssignOrderWindows(OrderWindows, stored, settings.CustomBSInSameWindow);
    return std::nullopt;
}

std::string OrderWindowsFoundLine(int count) {
    return "AutoExecute: " + std::to_string(count) + (count == 1 ? " order window found (OK)" : " order windows found (OK)");
}

}  // namespace pelo::clicker
