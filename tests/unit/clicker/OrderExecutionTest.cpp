#include <gtest/gtest.h>

#include "ClickerFakes.h"

using namespace pelo::clicker;
using namespace pelo::clicker::testing;

namespace {

using Events = std::vector<std::string>;

TEST(ManualTrade, FallsBackPerEntryWaitsEvenWithoutAPositionAndDisarms) {
    Desk d;
    d.Entry(0).DelayMs = 300;  // no Buy position, still waits
    d.Entry(1).BuyX = 512, d.Entry(1).BuyY = 300;
    d.Entry(1).DelayMs = 50;
    d.Entry(2).StrongBuyX = 7, d.Entry(2).StrongBuyY = 8;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"sleep 300", "move 512,300", "click", "sleep 50"}));
    EXPECT_EQ(d.Host.Disarms, 1);

    // Buy+ takes entry 1's Buy position (no Buy+ there) and entry 2's own.
    d.Pointer.Events.clear();
    d.Host.Armed = true;
    d.Orders.ExecuteTradeClicks(TradeKind::StrongBuy);
    EXPECT_EQ(d.Pointer.Events, (Events{"sleep 300", "move 512,300", "click", "sleep 50", "move 7,8", "click"}));

    // A half-set pair is not set; negative delays do not wait.
    d.Pointer.Events.clear();
    d.Host.Armed = true;
    d.Entry(0).DelayMs = -5;
    d.Entry(1).SellX = 3;
    d.Orders.ExecuteTradeClicks(TradeKind::Sell);
    EXPECT_EQ(d.Pointer.Events, (Events{"sleep 50"}));
    EXPECT_EQ(d.Host.Disarms, 3);
}

TEST(ManualTrade, NothingHappensUnarmedHiddenOrInTestMode) {
    Desk d;
    d.Entry(0).BuyX = 1, d.Entry(0).BuyY = 1;
    d.Host.Armed = false;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    d.Host.Armed = true;
    d.Host.Visible = false;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    d.Host.Visible = true;
    d.Host.TestMode = true;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_TRUE(d.Pointer.Events.empty());
    EXPECT_EQ(d.Host.Disarms, 0);
    EXPECT_TRUE(d.Host.Armed);
}

TEST(ManualTrade, OnlyEntriesInUseTakePart) {
    Desk d;
    d.Entry(3).BuyX = 9, d.Entry(3).BuyY = 9;  // beyond ClickCount
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_TRUE(d.Pointer.Events.empty());
    d.Orders.Clicks.ClickCount = 4;
    d.Host.Armed = true;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"move 9,9", "click"}));
}

// A pointer the system would not move stays where it is; a click there would press whatever lies under it.
TEST(PointerHeldElsewhere, NoClickWhereThePointerCouldNotGoButTheSequenceAndDisarmingGoOn) {
    Desk d;
    d.Entry(0).BuyX = 5, d.Entry(0).BuyY = 6;
    d.Entry(0).DelayMs = 30;
    d.Entry(1).BuyX = 7, d.Entry(1).BuyY = 8;
    d.Pointer.Held = true;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"refused 5,6", "sleep 30", "refused 7,8"}));
    EXPECT_EQ(d.Host.Disarms, 1);

    d.Pointer.Events.clear();
    d.Orders.TestWithClicking = true;
    d.Orders.RunTestClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"refused 5,6", "sleep 30", "refused 7,8"}));

    d.Pointer.Events.clear();
    d.UseCustom("Cls", "Order");
    d.Settings.CustomX1 = 20, d.Settings.CustomY1 = 70;
    d.Desktop.Add("Cls", "Order", 10);
    d.Desktop.Add("Cls", "Order", 300);
    d.Orders.RunTestClicks(TradeKind::Buy);
    d.Host.Armed = true;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"refused 34,200", "refused 34,200"}));
    EXPECT_EQ(d.Host.Disarms, 2);
}

struct CustomTrade : ::testing::Test {
    Desk d;
    void SetUp() override {
        d.UseCustom("Cls", "Order");
        d.Settings.CustomX1 = 20, d.Settings.CustomY1 = 70;
        d.Settings.CustomX2 = 130, d.Settings.CustomY2 = 75;
        d.Desktop.Add("Cls", "Order", 300);
        d.Desktop.Add("Cls", "Order", 10);
    }
};

TEST_F(CustomTrade, ClicksTheKindsWindowAtTheClientPoint) {
    ASSERT_TRUE(d.Orders.ArmAutoExecute());
    EXPECT_EQ(d.Host.StoredLines, std::vector<std::string>{"AutoExecute: 2 order windows found (OK)"});
    d.Orders.ExecuteTradeClicks(TradeKind::Sell);  // the right window, first point
    EXPECT_EQ(d.Pointer.Events, (Events{"move 324,200", "click"}));
    EXPECT_EQ(d.Host.Disarms, 1);
}

TEST_F(CustomTrade, SameWindowSellUsesTheSecondPoint) {
    d.Settings.CustomBSInSameWindow = true;
    ASSERT_TRUE(d.Orders.FindOrderWindows());
    d.Orders.ExecuteTradeClicks(TradeKind::Sell);
    d.Host.Armed = true;
    d.Orders.ExecuteTradeClicks(TradeKind::StrongBuy);
    EXPECT_EQ(d.Pointer.Events, (Events{"move 144,205", "click", "move 324,200", "click"}));
}

TEST_F(CustomTrade, NoWindowOrUnsetPointOrFailedConversionClicksNothingButStillDisarms) {
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);  // never discovered: handle 0
    ASSERT_TRUE(d.Orders.FindOrderWindows());
    d.Host.Armed = true;
    d.Desktop.ConversionFails = true;
    d.Orders.ExecuteTradeClicks(TradeKind::Buy);
    d.Desktop.ConversionFails = false;
    d.Host.Armed = true;
    d.Settings.CustomBSInSameWindow = true;
    d.Settings.CustomX2 = -1;  // a click at an unset point would hit the window's corner
    d.Orders.ExecuteTradeClicks(TradeKind::Sell);
    EXPECT_TRUE(d.Pointer.Events.empty());
    EXPECT_EQ(d.Host.Disarms, 3);
}

TEST(Arming, RefusedWhenNothingIsSetForEitherMethod) {
    Desk d;
    EXPECT_FALSE(d.Orders.ArmAutoExecute());
    d.Entry(2).StrongSellX = 4, d.Entry(2).StrongSellY = 5;
    EXPECT_TRUE(d.Orders.ArmAutoExecute());

    d.UseCustom("Cls", "Order");
    d.Desktop.Add("Cls", "Order", 10);
    d.Settings.CustomBSInSameWindow = true;
    d.Settings.CustomX1 = 5;  // Y1 unset
    EXPECT_FALSE(d.Orders.ArmAutoExecute());
    EXPECT_EQ(d.Host.Boxes, (std::vector<std::string>{"[top] Button coordinates are not set!",
                                                      "[top] Button coordinates are not set!"}));
    EXPECT_EQ(d.Host.Disarms, 2);
    d.Settings.CustomY1 = 5;
    EXPECT_TRUE(d.Orders.ArmAutoExecute());
    EXPECT_EQ(d.Host.StoredLines, std::vector<std::string>{"AutoExecute: 1 order window found (OK)"});
}

TEST(TestClicks, ManualChecksOnlyTheKindsOwnPairAndSkipsUnsetEntriesWithTheirWait) {
    Desk d;
    d.Entry(0).DelayMs = 300;
    d.Entry(1).BuyX = 10, d.Entry(1).BuyY = 20;
    d.Entry(1).DelayMs = 40;
    d.Orders.RunTestClicks(TradeKind::StrongBuy);
    EXPECT_EQ(d.Host.Boxes, std::vector<std::string>{"Buy+ button coordinates are not set!"});
    EXPECT_TRUE(d.Pointer.Events.empty());

    d.Orders.RunTestClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"move 10,20", "sleep 40"}));
    d.Pointer.Events.clear();
    d.Orders.TestWithClicking = true;
    d.Entry(2).StrongBuyX = 1, d.Entry(2).StrongBuyY = 2;
    d.Orders.RunTestClicks(TradeKind::StrongBuy);  // entry 1 falls back to Buy
    EXPECT_EQ(d.Pointer.Events, (Events{"move 10,20", "click", "sleep 40", "move 1,2", "click"}));
    EXPECT_EQ(d.Host.Lines, (std::vector<std::string>{"Testing Buy coordinates", "Testing Buy+ coordinates"}));
    EXPECT_EQ(d.Host.Disarms, 0);
    EXPECT_TRUE(d.Host.Armed);
}

TEST(TestClicks, CustomDiscoversFirstAndClicksOnlyWhenAsked) {
    Desk d;
    d.UseCustom("Cls", "Order");
    d.Settings.CustomX1 = 1, d.Settings.CustomY1 = 2;
    d.Orders.RunTestClicks(TradeKind::Buy);
    EXPECT_EQ(d.Host.Boxes, std::vector<std::string>{"Order window(-s) not found!"});
    EXPECT_TRUE(d.Host.Lines.empty());
    d.Desktop.Add("Cls", "Order", 10);
    d.Desktop.Add("Cls", "Order", 300);
    d.Orders.RunTestClicks(TradeKind::StrongSell);
    d.Orders.TestWithClicking = true;
    d.Orders.RunTestClicks(TradeKind::Buy);
    EXPECT_EQ(d.Pointer.Events, (Events{"move 305,132", "move 15,132", "click"}));
}

TEST(ClickList, DelayTextAndPointText) {
    int32_t delay = 7;
    EXPECT_TRUE(ParseDelayText("300", delay));
    EXPECT_EQ(delay, 300);
    EXPECT_TRUE(ParseDelayText("0", delay));
    EXPECT_EQ(delay, 0);
    EXPECT_FALSE(ParseDelayText("-5", delay));
    EXPECT_FALSE(ParseDelayText("abc", delay));
    EXPECT_FALSE(ParseDelayText("", delay));
    EXPECT_FALSE(ParseDelayText("99999999999", delay));
    EXPECT_EQ(delay, 0);
    EXPECT_EQ(PointText({512, 300}), "(512, 300)");
    EXPECT_EQ(PointText({-3, 0}), "(-3, 0)");
}

}  // namespace
