#include <gtest/gtest.h>

#include "app/MainWindowGeometry.h"

using namespace pelo;
using namespace pelo::app;

namespace {

TEST(MainWindowGeometry, TheDesignedResPanelGivesTheDesignedTopRow)
{
    // ResPanel at 132 wide 330 high 62, SignalPanel 90 wide, "H:" 13 wide: the places of the layout table.
    const TopRowPlaces p = PlaceTopRow({132, 330, 62}, 90, 13);
    EXPECT_EQ(p, (TopRowPlaces{61, 466, 564, 581, 610, 151}));
}

TEST(MainWindowGeometry, AWiderResPanelPushesTheRowRightAndWidensTheMinimum)
{
    const TopRowPlaces p = PlaceTopRow({132, 500, 62}, 90, 13);
    EXPECT_EQ(p.SignalPanelLeft, 636);
    EXPECT_EQ(p.LabelLeft, 734);
    EXPECT_EQ(p.CountLeft, 751);
    EXPECT_EQ(p.MinWidth, 780);
    // The labels follow SignalPanel's and Label1's own widths.
    EXPECT_EQ(PlaceTopRow({132, 500, 62}, 120, 20).CountLeft, 636 + 120 + 8 + 20 + 4);
}

TEST(MainWindowGeometry, ANarrowerResPanelKeepsTheDesignedMinimumWidth)
{
    EXPECT_EQ(PlaceTopRow({132, 329, 62}, 90, 13).MinWidth, 610);
    EXPECT_EQ(PlaceTopRow({132, 330, 62}, 90, 13).MinWidth, 610);
    EXPECT_EQ(PlaceTopRow({132, 331, 62}, 90, 13).MinWidth, 611);
    EXPECT_EQ(PlaceTopRow({132, 100, 62}, 90, 13).SignalPanelLeft, 236);
}

TEST(MainWindowGeometry, TheTopPanelFollowsATallerResPanelButNeverShrinks)
{
    const TopRowPlaces tall = PlaceTopRow({132, 330, 100}, 90, 13);
    EXPECT_EQ(tall.TopPanelHeight, 99);
    EXPECT_EQ(tall.MinHeight, 189);
    const TopRowPlaces low = PlaceTopRow({132, 330, 20}, 90, 13);
    EXPECT_EQ(low.TopPanelHeight, 61);
    EXPECT_EQ(low.MinHeight, 151);
    EXPECT_EQ(MinWindowHeightFor(70), 160);
}

}  // namespace
