#include <gtest/gtest.h>

#include "dialogs/OptionsForm.h"

namespace pelo::dialogs {
namespace {

TEST(OptionsForm, NumbersAreMarkedByTheirOwnRanges) {
    EXPECT_FALSE(NumericTextValid(NumericEdit::HeadlineCapacity, "5"));
    EXPECT_TRUE(NumericTextValid(NumericEdit::HeadlineCapacity, "1000"));
    EXPECT_FALSE(NumericTextValid(NumericEdit::HeadlineCapacity, "1001"));
    EXPECT_TRUE(NumericTextValid(NumericEdit::HeadlineCapacity, " $64"));  // integer text: hexadecimal, blanks
    EXPECT_TRUE(NumericTextValid(NumericEdit::DupCacheSize, "100"));
    EXPECT_FALSE(NumericTextValid(NumericEdit::DupCacheSize, "150"));
    EXPECT_TRUE(NumericTextValid(NumericEdit::HistMT4HBuffer, "0"));
    EXPECT_FALSE(NumericTextValid(NumericEdit::HistMT4HBuffer, "-1"));
    EXPECT_FALSE(NumericTextValid(NumericEdit::TCPPort, "65536"));
    EXPECT_TRUE(NumericTextValid(NumericEdit::Coordinate, ""));
    EXPECT_TRUE(NumericTextValid(NumericEdit::Coordinate, "-20"));
    EXPECT_FALSE(NumericTextValid(NumericEdit::Coordinate, "12px"));
}

TEST(OptionsForm, ApplyingSkipsWhatIsInvalidAndResizesWhatIsValid) {
    AppSettings s;
    s.HeadlineCapacity = 300;
    OptionsFields f;
    FillOptionsFields(s, f);
    f.HeadlineCapacity = "5";
    f.DupCacheSize = "150";  // shown red, yet applied
    f.HistMT4HBuffer = "201";
    f.TCPPort = "x";
    const AppliedOptions applied = ApplyOptionsFields(f, s);
    EXPECT_EQ(applied.HeadlineCapacity, std::nullopt);
    EXPECT_EQ(s.HeadlineCapacity, 300);
    EXPECT_EQ(applied.DupCacheSize, 150);
    EXPECT_EQ(s.DuplicateHCacheSize, 150);
    EXPECT_EQ(s.HistMT4HBuffer, 30);
    EXPECT_EQ(s.TCPPort, 30001);

    // An unchanged valid capacity still resizes the box.
    f.HeadlineCapacity = "300";
    EXPECT_EQ(ApplyOptionsFields(f, s).HeadlineCapacity, 300);
}

TEST(OptionsForm, CoordinatesEmptyMeansUnsetAndUnsetLeavesTheEditAlone) {
    AppSettings s;
    s.CustomX1 = 40;
    s.CustomY1 = -1;
    OptionsFields f;
    f.CustomY = "typed before";
    FillOptionsFields(s, f);
    EXPECT_EQ(f.CustomX, "40");
    EXPECT_EQ(f.CustomY, "typed before");

    f.CustomX = "";
    f.CustomY = "abc";  // not an integer: the setting keeps its value
    f.CustomX2 = "-7";
    ApplyOptionsFields(f, s);
    EXPECT_EQ(s.CustomX1, -1);
    EXPECT_EQ(s.CustomY1, -1);
    EXPECT_EQ(s.CustomX2, -7);
}

TEST(OptionsForm, DiscoveryMethodChangesOnlyWithACheckedRadioAndFlagsRoundTrip) {
    AppSettings s;
    s.DiscoveryMethod = 2;
    s.StayOnTop = true;
    s.HBoxFontSmoothingDisabled = false;
    s.ConsoleAppPath = u"C:\\Tools\\feed.exe";
    OptionsFields f;
    FillOptionsFields(s, f);
    EXPECT_EQ(f.DiscoveryRadio, 2);
    EXPECT_TRUE(f.StayOnTop);
    EXPECT_FALSE(f.DisableFontSmoothing);
    AppSettings copy = s;
    ApplyOptionsFields(f, copy);
    EXPECT_EQ(copy, s) << "filling and applying unchanged fields changes nothing";

    f.DiscoveryRadio = 0;
    ApplyOptionsFields(f, copy);
    EXPECT_EQ(copy.DiscoveryMethod, 2);
    f.DiscoveryRadio = 1;
    f.MinimizeToSysTray = true;
    ApplyOptionsFields(f, copy);
    EXPECT_EQ(copy.DiscoveryMethod, 1);
    EXPECT_TRUE(copy.MinimizeToSysTray);
}

}  // namespace
}  // namespace pelo::dialogs
