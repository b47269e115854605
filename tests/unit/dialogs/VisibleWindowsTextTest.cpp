#include <gtest/gtest.h>

#include "dialogs/VisibleWindowsText.h"

using namespace pelo::dialogs;

TEST(VisibleWindowsTextTest, OnlyVisibleWindowsOneLineEachInTheOrderGiven)
{
    const std::vector<TTopLevelWindowText> windows{
        {"Buy EURUSD", "#32770", true},
        {"hidden tool", "ToolClass", false},
        {"", "Shell_TrayWnd", true},
        {"Alpha Markets - MetaTrader 4", "MetaQuotes::MetaTrader::4.00", true},
    };
    EXPECT_EQ(VisibleWindowsText(windows),
              "Title=\"Buy EURUSD\", ClassName=\"#32770\"\r\n"
              "Title=\"\", ClassName=\"Shell_TrayWnd\"\r\n"
              "Title=\"Alpha Markets - MetaTrader 4\", ClassName=\"MetaQuotes::MetaTrader::4.00\"\r\n");
    EXPECT_EQ(VisibleWindowsText({{"x", "y", false}}), "");
}

TEST(VisibleWindowsTextTest, TitlesAreShownAsTheyAreQuotesAndCodePageBytesIncluded)
{
    EXPECT_EQ(VisibleWindowLine("Say \"hi\" \xE9t\xE9", "C"), "Title=\"Say \"hi\" \xE9t\xE9\", ClassName=\"C\"\r\n");
}
