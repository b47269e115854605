#include <gtest/gtest.h>

#include "ClickerFakes.h"

using namespace pelo::clicker;
using namespace pelo::clicker::testing;
using pelo::WindowHandle;

namespace {

constexpr const char* Cls = "#32770";

struct Discovery : ::testing::Test {
    Desk d;
    void SetUp() override { d.UseCustom(Cls, "Order"); }
    std::optional<std::string> Run() { return d.Orders.Discovery.Discover(d.Settings, d.Desktop); }
    WindowHandle At(int left) {
        for (auto& w : d.Desktop.Windows)
            if (w.Bounds.Left == left) return w.Handle;
        return 0;
    }
};

TEST_F(Discovery, TitleRuleIsCaseSensitiveAndExactWhenAsked) {
    pelo::AppSettings s;
    s.CustomTitlePattern = "Order";
    EXPECT_TRUE(OrderWindowTitleMatches("Order", s));
    EXPECT_TRUE(OrderWindowTitleMatches("Order 123", s));
    EXPECT_TRUE(OrderWindowTitleMatches("New Order", s));
    EXPECT_FALSE(OrderWindowTitleMatches("order 123", s));
    s.CustomAllowOnlyExactMatch = true;
    EXPECT_TRUE(OrderWindowTitleMatches("Order", s));
    EXPECT_FALSE(OrderWindowTitleMatches("Order 123", s));
    // An empty pattern matches only an empty title, exact or not.
    s.CustomTitlePattern.clear();
    EXPECT_TRUE(OrderWindowTitleMatches("", s));
    EXPECT_FALSE(OrderWindowTitleMatches("Order", s));
    s.CustomAllowOnlyExactMatch = false;
    EXPECT_TRUE(OrderWindowTitleMatches("", s));
    EXPECT_FALSE(OrderWindowTitleMatches("Order", s));
}

TEST_F(Discovery, FourWindowsAreSharedOutFromLeftToRight) {
    for (int left : {300, 10, 200, 50}) d.Desktop.Add(Cls, "Order " + std::to_string(left), left);
    d.Desktop.Add("OtherClass", "Order", 500);  // wrong class
    d.Desktop.Add(Cls, "order", 600);           // wrong case
    d.Desktop.Add(Cls, "Order", 700).Visible = false;
    ASSERT_EQ(Run(), std::nullopt);
    EXPECT_EQ(d.Orders.Discovery.OrderWindowCount, 4);
    const TOrderWindowHandles& h = d.Orders.Discovery.Handles;
    EXPECT_EQ(h.BuyWindow, At(10));
    EXPECT_EQ(h.SellWindow, At(50));
    EXPECT_EQ(h.StrongBuyWindow, At(200));
    EXPECT_EQ(h.StrongSellWindow, At(300));
    EXPECT_EQ(d.Orders.Discovery.OrderWindows[0].Bounds.Left, 10);
    EXPECT_EQ(d.Orders.Discovery.OrderWindows[3].Bounds.Left, 300);
}

TEST_F(Discovery, TwoWindowsServeBothPlainAndStrongTrades) {
    d.Desktop.Add(Cls, "Order", 400);
    d.Desktop.Add(Cls, "Order", 100);
    ASSERT_EQ(Run(), std::nullopt);
    const TOrderWindowHandles& h = d.Orders.Discovery.Handles;
    EXPECT_EQ(h.BuyWindow, At(100));
    EXPECT_EQ(h.StrongBuyWindow, At(100));
    EXPECT_EQ(h.SellWindow, At(400));
    EXPECT_EQ(h.StrongSellWindow, At(400));
}

TEST_F(Discovery, BothButtonsInOneWindow) {
    d.Settings.CustomBSInSameWindow = true;
    d.Desktop.Add(Cls, "Order", 400);
    ASSERT_EQ(Run(), std::nullopt);
    EXPECT_EQ(d.Orders.Discovery.Handles.BuyWindow, At(400));
    EXPECT_EQ(d.Orders.Discovery.Handles.StrongSellWindow, At(400));

    d.Desktop.Add(Cls, "Order", 100);
    ASSERT_EQ(Run(), std::nullopt);
    const TOrderWindowHandles& h = d.Orders.Discovery.Handles;
    EXPECT_EQ(h.BuyWindow, At(100));
    EXPECT_EQ(h.SellWindow, At(100));
    EXPECT_EQ(h.StrongBuyWindow, At(400));
    EXPECT_EQ(h.StrongSellWindow, At(400));

    d.Desktop.Add(Cls, "Order", 700);
    EXPECT_EQ(Run(), "Incorrect order window count! Should be 1 or 2 windows.");
}

TEST_F(Discovery, CountRules) {
    EXPECT_EQ(Run(), "Order window(-s) not found!");
    d.Desktop.Add(Cls, "Order", 10);
    EXPECT_EQ(Run(), "Only one order window found!");
    d.Desktop.Add(Cls, "Order", 20);
    d.Desktop.Add(Cls, "Order", 30);
    EXPECT_EQ(Run(), "Incorrect order window count! Should be 2 or 4 windows.");
    d.Desktop.Add(Cls, "Order", 40);
    d.Desktop.Add(Cls, "Order", 50);
    EXPECT_EQ(Run(), "Incorrect order window count! Should be 2 or 4 windows.");
    // Every match is counted, only four are kept.
    EXPECT_EQ(d.Orders.Discovery.OrderWindowCount, 5);
    EXPECT_EQ(d.Orders.Discovery.OrderWindows[3].Handle, d.Desktop.Windows[3].Handle);

    d.Settings.CustomClassName.clear();
    EXPECT_EQ(Run(), "Order window(-s) not found!");
}

TEST_F(Discovery, StateAndPositionFailures) {
    d.Desktop.Add(Cls, "Order", 10);
    d.Desktop.Add(Cls, "Order", 10, 400);  // stacked below the first, same left edge
    EXPECT_EQ(Run(), "One or more order windows are at the same horizontal position!");

    d.Desktop.Windows[1].Bounds = {300, 100, 500, 250};
    d.Desktop.Windows[1].Minimized = true;
    EXPECT_EQ(Run(), "One or more order windows are minimized!");

    d.Desktop.Windows[1].Minimized = false;
    d.Desktop.Windows[0].VanishesAfterEnumeration = true;
    EXPECT_EQ(Run(), "One or more order windows are not visible!");

    d.Desktop.Windows[0].VanishesAfterEnumeration = false;
    d.Desktop.Windows[0].Visible = true;
    d.Desktop.RectFails = true;
    EXPECT_EQ(Run(), "GetWindowRect failed!");

    d.Desktop.EnumerationFails = true;
    EXPECT_EQ(Run(), "Could not enumerate order windows!");
}

TEST_F(Discovery, EqualLeftEdgesFailInAnyStartingOrder) {
    for (const auto& lefts : std::vector<std::array<int, 4>>{{5, 9, 5, 1}, {1, 2, 3, 3}, {7, 7, 1, 2}, {4, 3, 2, 4}}) {
        std::array<TOrderWindow, MaxOrderWindows> w{};
        for (size_t k = 0; k < 4; ++k) w[k].Bounds.Left = lefts[k];
        EXPECT_FALSE(SortOrderWindowsLeftToRight(w, 4)) << lefts[0] << lefts[1] << lefts[2] << lefts[3];
    }
    std::array<TOrderWindow, MaxOrderWindows> w{};
    const int lefts[] = {40, -5, 300, 12};
    for (size_t k = 0; k < 4; ++k) w[k] = {static_cast<WindowHandle>(k + 1), {lefts[k], 0, 0, 0}};
    ASSERT_TRUE(SortOrderWindowsLeftToRight(w, 4));
    EXPECT_EQ(w[0].Handle, 2u);
    EXPECT_EQ(w[1].Handle, 4u);
    EXPECT_EQ(w[2].Handle, 1u);
    EXPECT_EQ(w[3].Handle, 3u);
}

TEST_F(Discovery, FailureDisarmsShowsTheReasonAndKeepsTheHandles) {
    d.Desktop.Add(Cls, "Order", 10);
    d.Desktop.Add(Cls, "Order", 20);
    ASSERT_TRUE(d.Orders.FindOrderWindows());
    const TOrderWindowHandles before = d.Orders.Discovery.Handles;
    d.Desktop.Add(Cls, "Order", 30);
    EXPECT_FALSE(d.Orders.FindOrderWindows());
    EXPECT_EQ(d.Host.Disarms, 1);
    EXPECT_EQ(d.Host.Boxes, std::vector<std::string>{"Incorrect order window count! Should be 2 or 4 windows."});
    EXPECT_EQ(d.Orders.Discovery.Handles.BuyWindow, before.BuyWindow);
    EXPECT_EQ(d.Orders.Discovery.Handles.SellWindow, before.SellWindow);
}

}  // namespace
