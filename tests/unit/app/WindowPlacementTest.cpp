#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace pelo;
using namespace pelo::app;

namespace {

const WindowRect kDesign{300, 200, 626, 350};
const WindowSize kMinimum{626, 190};
const WindowSize kScreen{1280, 1024};

StoredWindowPositions Main(int32_t x, int32_t y, int32_t w, int32_t h)
{
    StoredWindowPositions p;
    p.MainWindowX = x;
    p.MainWindowY = y;
    p.MainWindowW = w;
    p.MainWindowH = h;
    return p;
}

}  // namespace

TEST(MainWindowPlacement, NothingStoredCentresTheDesignSize)
{
    EXPECT_EQ(MainWindowRectFromStored({}, kDesign, kMinimum, kScreen), (WindowRect{327, 337, 626, 350}));
}

TEST(MainWindowPlacement, WithoutALeftEdgeTheOtherValuesAreIgnored)
{
    EXPECT_EQ(MainWindowRectFromStored(Main(NoStoredPosition, 5, 900, 700), kDesign, kMinimum, kScreen),
              (WindowRect{327, 337, 626, 350}));
}

TEST(MainWindowPlacement, StoredValuesReplaceDesignValuesOneByOne)
{
    EXPECT_EQ(MainWindowRectFromStored(Main(10, 20, 800, 600), kDesign, kMinimum, kScreen),
              (WindowRect{10, 20, 800, 600}));
    // Left edge present, top missing: the design top stays.
    EXPECT_EQ(MainWindowRectFromStored(Main(10, NoStoredPosition, 800, 600), kDesign, kMinimum, kScreen),
              (WindowRect{10, 200, 800, 600}));
    EXPECT_EQ(MainWindowRectFromStored(Main(-50, 20, NoStoredPosition, NoStoredPosition), kDesign, kMinimum, kScreen),
              (WindowRect{-50, 20, 626, 350}));
}

TEST(MainWindowPlacement, MinimumSizeStillApplies)
{
    EXPECT_EQ(MainWindowRectFromStored(Main(10, 20, 100, 50), kDesign, kMinimum, kScreen),
              (WindowRect{10, 20, 626, 190}));
    EXPECT_EQ(MainWindowRectFromStored(Main(10, 20, -2147483647 - 1, -7), kDesign, kMinimum, kScreen),
              (WindowRect{10, 20, 626, 190}));
    // A design smaller than the minimum is enlarged before it is centred.
    EXPECT_EQ(MainWindowRectFromStored({}, WindowRect{0, 0, 100, 100}, kMinimum, WindowSize{1000, 800}),
              (WindowRect{187, 305, 626, 190}));
}

TEST(MainWindowPlacement, CentringRoundsTowardsZero)
{
    EXPECT_EQ(MainWindowRectFromStored({}, WindowRect{0, 0, 627, 351}, kMinimum, WindowSize{1280, 1024}),
              (WindowRect{326, 336, 627, 351}));
    // A window larger than the screen gets a negative offset, rounded towards zero.
    EXPECT_EQ(MainWindowRectFromStored({}, WindowRect{0, 0, 1001, 801}, kMinimum, WindowSize{800, 600}),
              (WindowRect{-100, -100, 1001, 801}));
}

TEST(CoordsWindowPlacement, BothStoredValuesAreUsed)
{
    StoredWindowPositions p;
    p.CoordsWindowX = -3;
    p.CoordsWindowY = 0;
    EXPECT_EQ(CoordsWindowPosFromStored(p, WindowSize{301, 250}, kScreen), (WindowPoint{-3, 0}));
}

TEST(CoordsWindowPlacement, OneMissingValueGivesTheDefaultForBoth)
{
    StoredWindowPositions p;
    p.CoordsWindowX = 40;
    EXPECT_EQ(CoordsWindowPosFromStored(p, WindowSize{301, 250}, kScreen), (WindowPoint{640 - 150, 514}));
    p = {};
    p.CoordsWindowY = 40;
    EXPECT_EQ(CoordsWindowPosFromStored(p, WindowSize{301, 250}, WindowSize{1365, 767}),
              (WindowPoint{682 - 150, 385}));
    EXPECT_EQ(CoordsWindowPosFromStored({}, WindowSize{300, 250}, kScreen), (WindowPoint{490, 514}));
}

TEST(WindowPositionsForSave, MaximizedMainWindowIsStoredAsTheWorkArea)
{
    const WindowRect normal{50, 60, 700, 400};
    const WindowRect workArea{0, 0, 1280, 994};
    EXPECT_EQ(PositionsForSave(true, normal, workArea, WindowPoint{9, 8}),
              (StoredWindowPositions{0, 0, 1280, 994, 9, 8}));
    EXPECT_EQ(PositionsForSave(false, normal, workArea, WindowPoint{9, 8}),
              (StoredWindowPositions{50, 60, 700, 400, 9, 8}));
    // Stored that way, the next start places a normal window exactly over the work area.
    EXPECT_EQ(MainWindowRectFromStored(PositionsForSave(true, normal, workArea, {}), kDesign, kMinimum, kScreen),
              workArea);
}
