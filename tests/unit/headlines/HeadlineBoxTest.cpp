#include <gtest/gtest.h>

#include <string>

#include "HeadlineFakes.h"
#include "headlines/HeadlineBox.h"

namespace pelo::headlines {
namespace {

std::string Line(int i)
{
    return "line " + std::to_string(i);
}

class HeadlineBoxTest : public ::testing::Test {
protected:
    HeadlineBoxTest() { Box.SetView(&View); }

    void StoreLines(int first, int last)
    {
        for (int i = first; i <= last; ++i)
            Box.StoreHBoxLine(Line(i));
    }

    test::FakeHBoxView View;
    THeadlineBox Box{100};
};

TEST_F(HeadlineBoxTest, KeepsOnlyTheNewestLinesNewestOnTop)
{
    StoreLines(1, 150);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(Box.RowText(r), Line(150 - r)) << "row " << r;
    EXPECT_EQ(Box.RowText(100), "");
    EXPECT_EQ(Box.RowText(-1), "");
}

TEST_F(HeadlineBoxTest, FreshRingPutsTheFirstLineInSlotOne)
{
    Box.StoreHBoxLine("first");
    EXPECT_EQ(Box.HBoxNewest(), 1);
    EXPECT_EQ(Box.SlotOfRow(0), 1);
    EXPECT_EQ(Box.RowText(0), "first");
    EXPECT_EQ(Box.SlotOfRow(1), 0);
    EXPECT_EQ(Box.RowText(1), "");
    EXPECT_EQ(Box.SlotOfRow(2), 99);
    EXPECT_EQ(Box.SlotOfRow(99), 2);
}

TEST_F(HeadlineBoxTest, ShrinkingKeepsTheNewestLinesInOrder)
{
    StoreLines(1, 100);
    Box.ResizeHBox(10);
    EXPECT_EQ(Box.Capacity(), 10);
    EXPECT_EQ(View.RowCount, 10);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(Box.RowText(r), Line(100 - r)) << "row " << r;

    Box.StoreHBoxLine("next");
    EXPECT_EQ(Box.HBoxNewest(), 0);
    EXPECT_EQ(Box.RowText(0), "next");
    for (int r = 1; r < 10; ++r)
        EXPECT_EQ(Box.RowText(r), Line(101 - r)) << "row " << r;
}

TEST_F(HeadlineBoxTest, GrowingKeepsRowsAndAddsBlankRowsAtTheBottom)
{
    Box.AllocateHBox(10);
    StoreLines(1, 13);  // wrapped once, so the mapping is not trivial
    Box.ResizeHBox(20);
    EXPECT_EQ(View.RowCount, 20);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(Box.RowText(r), Line(13 - r)) << "row " << r;
    for (int r = 10; r < 20; ++r)
        EXPECT_EQ(Box.RowText(r), "") << "row " << r;

    // Lines added afterwards push the old ones down across the former end of the ring.
    StoreLines(14, 15);
    EXPECT_EQ(Box.RowText(0), Line(15));
    EXPECT_EQ(Box.RowText(11), Line(4));
    EXPECT_EQ(Box.RowText(12), "");
}

TEST_F(HeadlineBoxTest, ResizingTwiceInARowAndToTheSameSizeChangesNoRow)
{
    StoreLines(1, 42);
    Box.ResizeHBox(100);
    Box.ResizeHBox(100);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(Box.RowText(r), r < 42 ? Line(42 - r) : "") << "row " << r;
}

TEST_F(HeadlineBoxTest, ClearBlanksEveryRowAndRepaintsOnce)
{
    StoreLines(1, 30);
    const int newest = Box.HBoxNewest();
    Box.ClearHBox();
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(Box.RowText(r), "") << "row " << r;
    EXPECT_EQ(Box.HBoxNewest(), newest);
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_FALSE(Box.UpdatePending());

    Box.StoreHBoxLine("after clear");
    EXPECT_EQ(Box.RowText(0), "after clear");
    EXPECT_EQ(Box.RowText(1), "");
}

TEST_F(HeadlineBoxTest, PostedLinesShareOneRepaintAtTheNextTick)
{
    Box.PostHBoxLine("a");
    Box.PostHBoxLine("b");
    Box.PostHBoxLine("c");
    EXPECT_EQ(View.Begins, 1);
    EXPECT_EQ(View.Repaints, 0);
    EXPECT_TRUE(View.RedrawSuspended);
    EXPECT_TRUE(Box.UpdatePending());

    Box.Timer2Timer();
    Box.Timer2Timer();
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_FALSE(Box.UpdatePending());
    EXPECT_EQ(Box.RowText(0), "c");
    EXPECT_EQ(Box.RowText(2), "a");
    EXPECT_FALSE(View.NestedBegin);
    EXPECT_FALSE(View.UnpairedEnd);
}

TEST_F(HeadlineBoxTest, ShowRepaintsAtOnceAndStoreNever)
{
    Box.StoreHBoxLine("stored");
    EXPECT_EQ(View.Begins, 0);
    EXPECT_EQ(View.Repaints, 0);

    Box.PostHBoxLine("posted");
    Box.ShowHBoxLine("status");
    EXPECT_EQ(View.Begins, 1);
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_FALSE(Box.UpdatePending());
    EXPECT_EQ(Box.RowText(0), "status");
    EXPECT_EQ(Box.RowText(2), "stored");
}

TEST_F(HeadlineBoxTest, WheelShowsPendingLinesRightAfterScrolling)
{
    Box.PostHBoxLine("pending");
    bool scrolledWhileSuspended = false;
    Box.RunWheelScroll([&] { scrolledWhileSuspended = View.RedrawSuspended; });
    EXPECT_TRUE(scrolledWhileSuspended);
    EXPECT_EQ(View.Begins, 1);
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_FALSE(Box.UpdatePending());

    // With nothing pending the wheel still repaints exactly once.
    Box.RunWheelScroll([] {});
    EXPECT_EQ(View.Repaints, 2);
    EXPECT_FALSE(View.NestedBegin);
}

TEST_F(HeadlineBoxTest, ScrollOnlyBracketsItselfWhenNothingIsPending)
{
    int scrolls = 0;
    Box.RunScroll([&] {
        ++scrolls;
        EXPECT_TRUE(View.RedrawSuspended);
    });
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_FALSE(Box.UpdatePending());

    Box.PostHBoxLine("x");
    Box.RunScroll([&] { ++scrolls; });
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(View.Repaints, 1);      // the pending tick will repaint
    EXPECT_TRUE(Box.UpdatePending()); // and the scroll must not end that update
    Box.Timer2Timer();
    EXPECT_EQ(View.Repaints, 2);
}

TEST_F(HeadlineBoxTest, WelcomeLinesSitOnTheirRowsAndMoveDownWithNewLines)
{
    PlaceWelcomeLines(Box, true, "welcome", "set up a source");
    EXPECT_EQ(Box.RowText(4), "welcome");
    EXPECT_EQ(Box.RowText(6), "set up a source");
    EXPECT_EQ(Box.HBoxNewest(), 0);
    EXPECT_EQ(Box.SlotOfRow(4), 96);

    Box.ShowHBoxLine("Script \"Trend\" attached");
    EXPECT_EQ(Box.RowText(5), "welcome");
    EXPECT_EQ(Box.RowText(7), "set up a source");

    THeadlineBox withSource(100);
    PlaceWelcomeLines(withSource, false, "welcome", "unused");
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(withSource.RowText(r), r == 5 ? "welcome" : "") << "row " << r;
}

TEST_F(HeadlineBoxTest, AllocateStartsAFreshRingAndSizesTheControl)
{
    StoreLines(1, 5);
    Box.AllocateHBox(250);
    EXPECT_EQ(View.RowCount, 250);
    EXPECT_EQ(Box.HBoxNewest(), 0);
    for (int r = 0; r < 250; ++r)
        ASSERT_EQ(Box.RowText(r), "");
}

TEST(HeadlineCapacity, OutOfRangeSettingsAreClampedAndTheRingNeverEmpty)
{
    EXPECT_EQ(ClampHeadlineCapacity(0), 10);
    EXPECT_EQ(ClampHeadlineCapacity(5000), 1000);
    EXPECT_EQ(ClampHeadlineCapacity(250), 250);

    THeadlineBox box(0);
    box.StoreHBoxLine("only");
    EXPECT_EQ(box.Capacity(), 1);
    EXPECT_EQ(box.RowText(0), "only");
}

} // namespace
}  // namespace pelo::headlines
