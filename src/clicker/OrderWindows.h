#pragma once
// Finding the order windows for the custom button method: the top-level windows of the configured class whose
// title equals or contains the pattern, checked for a sensible count and state, ordered left to right, and shared
// out as the Buy, Sell, Buy+ and Sell+ windows.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "clicker/ClickList.h"
#include "core/AppSettings.h"
#include "core/WindowHandle.h"

namespace pelo::clicker {

struct ScreenRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TOrderWindow {
    WindowHandle Handle = 0;
    ScreenRect Bounds;
};

struct TOrderWindowHandles {
    WindowHandle BuyWindow = 0, SellWindow = 0, StrongBuyWindow = 0, StrongSellWindow = 0;
    WindowHandle For(TradeKind kind) const;
};

inline constexpr int MaxOrderWindows = 4;

// What discovery needs of the system.
class IOrderWindowSystem {
public:
    virtual ~IOrderWindowSystem() = default;
    struct TopLevel {
        WindowHandle Handle;
        std::string_view ClassName;  // 8-bit, at most 254 characters
        std::string_view Title;
    };
    // Visits every top-level window in the system's order; false when the enumeration itself failed.
    virtual bool EnumerateTopLevel(const std::function<void(const TopLevel&)>& visit) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual bool IsMinimized(WindowHandle window) = 0;
    virtual std::optional<ScreenRect> WindowRect(WindowHandle window) = 0;
    // A point of the window's client area in screen coordinates; nothing when the conversion failed.
    virtual std::optional<ClickPoint> ClientToScreen(WindowHandle window, ClickPoint client) = 0;
};

// The title rule: equal to the pattern, or (unless only exact matches are allowed) containing it; case-sensitive.
// An empty pattern is contained in no title, so it matches only an empty title.
bool OrderWindowTitleMatches(std::string_view title, const AppSettings& settings);

// The messages of a failed discovery.
namespace order_messages {
inline constexpr const char* EnumFailed = "Could not enumerate order windows!";
inline constexpr const char* NotFound = "Order window(-s) not found!";
inline constexpr const char* OnlyOne = "Only one order window found!";
inline constexpr const char* CountTwoOrFour = "Incorrect order window count! Should be 2 or 4 windows.";
inline constexpr const char* CountOneOrTwo = "Incorrect order window count! Should be 1 or 2 windows.";
inline constexpr const char* Minimized = "One or more order windows are minimized!";
inline constexpr const char* NotVisible = "One or more order windows are not visible!";
inline constexpr const char* RectFailed = "GetWindowRect failed!";
inline constexpr const char* SameLeft = "One or more order windows are at the same horizontal position!";
}  // namespace order_messages

// The count rule; nothing when the count is acceptable.
std::optional<std::string> OrderWindowCountProblem(int count, bool buySellInSameWindow);

// Sorts the first `count` entries by their left edge; false when two share a left edge.
bool SortOrderWindowsLeftToRight(std::array<TOrderWindow, MaxOrderWindows>& windows, int count);

// Who gets which window, from the sorted entries (count 1, 2 or 4).
TOrderWindowHandles AssignOrderWindows(const std::array<TOrderWindow, MaxOrderWindows>& sorted, int count,
                                       bool buySellInSameWindow);

// The discovery state: the table, the count of every match seen, and the four handles of the next trade.
struct TOrderWindowState {
    std::array<TOrderWindow, MaxOrderWindows> OrderWindows{};
    int OrderWindowCount = 0;
    TOrderWindowHandles Handles;

    // Runs the whole discovery. On success the handles are assigned; on failure they stay as they were and the
    // reason is returned.
    std::optional<std::string> Discover(const AppSettings& settings, IOrderWindowSystem& system);
};

// "AutoExecute: 2 order windows found (OK)"
std::string OrderWindowsFoundLine(int count);

}  // namespace pelo::clicker
