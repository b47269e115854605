#include <gtest/gtest.h>

#include "ClickerFakes.h"

using namespace pelo::clicker;
using namespace pelo::clicker::testing;

namespace {

using Lines = std::vector<std::string>;

struct Keys : ::testing::Test {
    Desk d;
    FakeCoordinateView view;
    TCoordinateKeys keys{d.Orders, view};
    void SetUp() override { d.Orders.Clicks.SelectedClick = 0; }
    void PointerAt(int x, int y) { d.Pointer.At = {x, y}; }
};

TEST_F(Keys, RecordingBuyNotesTheFallbackUntilBuyPlusIsSet) {
    PointerAt(512, 300);
    keys.FormKeyDown('Q');
    EXPECT_EQ(d.Entry(0).Own(TradeKind::Buy), (ClickPoint{512, 300}));
    EXPECT_EQ((view.Labels[{0, TradeKind::Buy}]), "(512, 300)");
    EXPECT_EQ((view.Labels[{0, TradeKind::StrongBuy}]), "(Buy coords.)");
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 1 Buy coordinates set (512, 300)",
                                   "Note: if Buy+ coordinates aren't set, Buy+ will use Buy coordinates"}));
    d.Host.Lines.clear();
    PointerAt(1, 2);
    keys.FormKeyDown('T');
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 1 Buy+ coordinates set (1, 2)"}));
    d.Host.Lines.clear();
    keys.FormKeyDown('Q');  // Buy+ is set now: one line, its label stays
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 1 Buy coordinates set (1, 2)"}));
    EXPECT_EQ((view.Labels[{0, TradeKind::StrongBuy}]), "(1, 2)");
}

TEST_F(Keys, SellAndSellPlusOnAnotherClick) {
    d.Orders.Clicks.SelectedClick = 2;
    PointerAt(-10, 5);
    keys.FormKeyDown('E');
    keys.FormKeyDown('U');
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 3 Sell coordinates set (-10, 5)",
                                   "Note: if Sell+ coordinates aren't set, Sell+ will use Sell coordinates",
                                   "Click 3 Sell+ coordinates set (-10, 5)"}));
    EXPECT_EQ(d.Entry(2).Own(TradeKind::StrongSell), (ClickPoint{-10, 5}));
}

TEST_F(Keys, NoSelectionRecordsNothingAndSaysSoOnlyOutsideADelayField) {
    d.Orders.Clicks.SelectedClick = -1;
    keys.FormKeyDown('Q');
    view.DelayFocused = true;
    keys.FormKeyDown('A');
    EXPECT_EQ(d.Host.Lines, (Lines{"Error: click number not selected!"}));
    EXPECT_FALSE(d.Entry(0).AnyPairSet());
    keys.FormKeyDown('C');  // the button's own message, with a capital C
    EXPECT_EQ(d.Host.Lines.back(), "Error: Click number not selected!");
}

TEST_F(Keys, DigitsSelectTheFirstThreeClicksOnlyOutsideADelayField) {
    keys.FormKeyDown('2');
    EXPECT_EQ(d.Orders.Clicks.SelectedClick, 1);
    EXPECT_EQ(view.ShownSelected, std::vector<int>{1});
    view.DelayFocused = true;
    keys.FormKeyDown('3');
    keys.FormKeyDown('4');
    view.DelayFocused = false;
    keys.FormKeyDown('4');  // later clicks have no key
    EXPECT_EQ(d.Orders.Clicks.SelectedClick, 1);
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 2 selected"}));
}

TEST_F(Keys, RecordingWithTheCustomMethodAsksFirstAndKeepsThePositionReadBefore) {
    d.Settings.DiscoveryMethod = 2;
    view.AnswerYes = false;
    keys.FormKeyDown('E');
    EXPECT_EQ(d.Settings.DiscoveryMethod, 2);
    EXPECT_FALSE(d.Entry(0).AnyPairSet());
    view.AnswerYes = true;
    PointerAt(40, 50);
    keys.FormKeyDown('E');
    EXPECT_EQ(view.Questions, 2);
    EXPECT_EQ(d.Settings.DiscoveryMethod, 1);
    EXPECT_EQ(d.Entry(0).Own(TradeKind::Sell), (ClickPoint{40, 50}));
}

TEST_F(Keys, ManualTestKeysMoveOnlyAndFallBack) {
    d.Orders.TestWithClicking = true;  // keys never click
    keys.FormKeyDown('A');
    EXPECT_EQ(d.Host.Boxes, (Lines{"Click 1 Buy coordinates are not set!"}));
    d.Entry(0).BuyX = 5, d.Entry(0).BuyY = 6;
    keys.FormKeyDown('G');
    keys.FormKeyDown('J');
    EXPECT_EQ(d.Host.Lines, (Lines{"Note: since Buy+ coordinates are not set, using Buy coordinates",
                                   "Testing Click 1 Buy+ coordinates"}));
    EXPECT_EQ(d.Host.Boxes.back(), "Click 1 Sell+ coordinates are not set!");
    EXPECT_EQ(d.Pointer.Events, (Lines{"move 5,6"}));
}

TEST_F(Keys, CustomTestKeysDiscoverAndNoteASharedWindow) {
    d.UseCustom("Cls", "Order");
    d.Settings.CustomBSInSameWindow = true;
    d.Settings.CustomX1 = 1, d.Settings.CustomY1 = 2, d.Settings.CustomX2 = 3, d.Settings.CustomY2 = 4;
    keys.FormKeyDown('A');
    EXPECT_EQ(d.Host.Boxes, (Lines{"Order window(-s) not found!"}));
    d.Desktop.Add("Cls", "Order", 100);
    keys.FormKeyDown('J');
    EXPECT_EQ(d.Host.Lines, (Lines{"Note: separate Sell+ order window not found, using Sell order window",
                                   "Testing Sell+ coordinates"}));
    EXPECT_EQ(d.Pointer.Events, (Lines{"move 107,134"}));
}

TEST_F(Keys, ClearSelectedKeepsTheDelay) {
    d.Orders.Clicks.SelectedClick = 1;
    d.Entry(1).BuyX = 1, d.Entry(1).BuyY = 1, d.Entry(1).DelayMs = 250;
    keys.FormKeyDown('C');
    EXPECT_FALSE(d.Entry(1).AnyPairSet());
    EXPECT_EQ(d.Entry(1).DelayMs, 250);
    EXPECT_EQ((view.Labels[{1, TradeKind::Buy}]), "(- , -)");
    EXPECT_EQ((view.Labels[{1, TradeKind::StrongSell}]), "(- , -)");
    EXPECT_EQ(d.Host.Lines, (Lines{"Click 2 button coordinates cleared"}));
}

}  // namespace
