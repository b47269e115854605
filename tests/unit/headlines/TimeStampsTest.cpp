#include <gtest/gtest.h>

#include "headlines/TimeStamps.h"

namespace pelo::headlines {
namespace {

TEST(TimeStamps, EveryFieldIsZeroPadded)
{
    const TLocalTime t{2026, 3, 7, 9, 5, 2, 47};
    EXPECT_EQ(FormatLogTime(t), "07/03/2026 09:05:02.047");
    EXPECT_EQ(FormatBoxTime(t, false), "09:05:02.047");
    EXPECT_EQ(FormatBoxTime(t, true), "02.047");

    const TLocalTime midnight{2027, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(FormatLogTime(midnight), "01/01/2027 00:00:00.000");
    EXPECT_EQ(FormatBoxTime(midnight, true), "00.000");
}

TEST(TimeStamps, MillisecondsAlwaysHaveThreeDigits)
{
    TLocalTime t{2026, 12, 31, 23, 59, 59, 5};
    EXPECT_EQ(FormatBoxTime(t, false), "23:59:59.005");
    t.Millisecond = 50;
    EXPECT_EQ(FormatBoxTime(t, true), "59.050");
    t.Millisecond = 999;
    EXPECT_EQ(FormatLogTime(t), "31/12/2026 23:59:59.999");
}

TEST(TimeStamps, YearIsWrittenInFull)
{
    EXPECT_EQ(FormatLogTime({10000, 10, 12, 14, 3, 7, 500}), "12/10/10000 14:03:07.500");
    EXPECT_EQ(FormatLogTime({987, 10, 12, 14, 3, 7, 500}), "12/10/987 14:03:07.500");
}

} // namespace
}  // namespace pelo::headlines
