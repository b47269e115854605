// Date and time routines. Expected values were produced by the reference engine (psoracle) with the
// program's fixed format settings, except where a test says otherwise.
#include "lang/rtl/DateTimeRoutines.h"
#include "lang/rtl/FloatText.h"
#include "lang/rtl/ScriptError.h"

#include <gtest/gtest.h>

namespace {

using namespace pelo::lang::rtl;

std::string decoded(DateTime v) {
    uint16_t y, m, d, h, mi, s, ms;
    DecodeDate(v, y, m, d);
    DecodeTime(v, h, mi, s, ms);
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d) + " " + std::to_string(h) + ":" +
           std::to_string(mi) + ":" + std::to_string(s) + "." + std::to_string(ms);
}

std::string errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "(no error)";
}

class ClockFixture : public ::testing::Test {
protected:
    void SetUp() override { SetClockForTesting([] { return EncodeDate(2024, 7, 15) + EncodeTime(9, 30, 0, 0); }); }
    void TearDown() override { SetClockForTesting(nullptr); }
};

TEST(DateTimeRoutines, EncodeDateCountsDaysFrom1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeDate(2025, 1, 1) - EncodeDate(2024, 1, 1), 366);
    EXPECT_EQ(EncodeDate(2101, 1, 1) - EncodeDate(2100, 1, 1), 365);
    EXPECT_EQ(FloatToStr(EncodeTime(23, 59, 59, 999)), "0.999999988426");
    EXPECT_EQ(FloatToStr(EncodeTime(13, 5, 9, 250)), "0.545245949074");
}

TEST(DateTimeRoutines, InvalidEncodingsRaiseOrReturnFalse) {
    EXPECT_EQ(errorOf([] { EncodeDate(0, 1, 1); }), "0-1-1 is not a valid date specification");
    EXPECT_EQ(errorOf([] { EncodeDate(10000, 1, 1); }), "10000-1-1 is not a valid date specification");
    EXPECT_EQ(errorOf([] { EncodeDate(2023, 2, 29); }), "2023-2-29 is not a valid date specification");
    EXPECT_EQ(errorOf([] { EncodeDate(2024, 13, 1); }), "2024-13-1 is not a valid date specification");
    EXPECT_EQ(errorOf([] { EncodeTime(24, 0, 0, 0); }), "24:0:0.0 is not a valid time specification");
    EXPECT_EQ(errorOf([] { EncodeTime(1, 60, 0, 0); }), "1:60:0.0 is not a valid time specification");
    EXPECT_EQ(errorOf([] { EncodeTime(1, 0, 0, 1000); }), "1:0:0.1000 is not a valid time specification");
    DateTime d = 123;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, d));
    EXPECT_EQ(d, 123);
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, d));
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, d));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", d), "2000-02-29");
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
}

TEST(DateTimeRoutines, DecodeRoundsToTheMillisecond) {
    EXPECT_EQ(decoded(EncodeDate(2024, 2, 9) + EncodeTime(8, 5, 3, 7)), "2024-2-9 8:5:3.7");
    EXPECT_EQ(decoded(0), "1899-12-30 0:0:0.0");
    EXPECT_EQ(decoded(-1), "1899-12-29 0:0:0.0");
    EXPECT_EQ(decoded(-0.5), "1899-12-30 12:0:0.0");
    EXPECT_EQ(decoded(-1.25), "1899-12-29 6:0:0.0");
    EXPECT_EQ(decoded(0.99999999999), "1899-12-31 0:0:0.0");
    EXPECT_EQ(decoded(0.9999999), "1899-12-30 23:59:59.991");
    EXPECT_EQ(decoded(45000.4999999999), "2023-3-15 12:0:0.0");
    EXPECT_EQ(decoded(2958465.99999), "9999-12-31 23:59:59.136");
    EXPECT_EQ(decoded(-693593), "1-1-1 0:0:0.0");
    EXPECT_EQ(decoded(100000.123456), "2173-10-14 2:57:46.598");
    EXPECT_EQ(decoded(1e10), "9999-12-31 0:0:0.0");
    EXPECT_EQ(decoded(-693594), "0-0-0 0:0:0.0");
}

TEST(DateTimeRoutines, DayOfWeekUsesTheTruncatedDay) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);  // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29)), 5);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9)), 7);
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_EQ(DayOfWeek(-0.5), 7);
    EXPECT_EQ(DayOfWeek(-1.25), 6);
    EXPECT_EQ(DayOfWeek(0.99999999999), 7);  // although the date rounds to the next day
    EXPECT_EQ(DayOfWeek(-693593), 2);
    EXPECT_EQ(DayOfWeek(1e10), 4);
    // The earliest day an Int64 holds: -2^63 is 6 modulo 7 (it overflowed, looking for the day before it).
    EXPECT_EQ(DayOfWeek(-9223372036854775808.0L), 6);
}

TEST(DateTimeRoutines, FieldAccessors) {
    // not in the reference's date library; they follow DecodeDate/DecodeTime
    const DateTime v = EncodeDate(2024, 2, 9) + EncodeTime(8, 5, 3, 7);
    EXPECT_EQ(MilliSecondOf(v), 7);
    EXPECT_EQ(SecondOf(v), 3);
    EXPECT_EQ(MinuteOf(v), 5);
    EXPECT_EQ(HourOf(v), 8);
    EXPECT_EQ(DayOf(v), 9);
    EXPECT_EQ(MilliSecondOf(0.9999999), 991);
    EXPECT_EQ(HourOf(-1.25), 6);
}

TEST(DateTimeRoutines, UnixConversions) {
    EXPECT_EQ(DateTimeToUnix(EncodeDate(2000, 1, 1)), 946684800);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", UnixToDateTime(1700000000)), "2023-11-14 22:13:20");
    EXPECT_EQ(FloatToStr(UnixToDateTime(-1)), "25568.999988425927");
    EXPECT_EQ(FloatToStr(UnixToDateTime(1700000000)), "45244.925925925927");
    EXPECT_EQ(DateTimeToUnix(25569.5 / 86400), -2209136030);
    EXPECT_EQ(DateTimeToUnix(-1e6), -88609161600);
    EXPECT_EQ(DateTimeToUnix(25569 + 0.5 / 86400), 1);
    EXPECT_EQ(DateTimeToUnix(25569 + 1.5 / 86400), 2);
    EXPECT_EQ(DateTimeToUnix(25569 - 0.5 / 86400), -1);
    EXPECT_EQ(DateTimeToUnix(1e10), 863997790838400);
}

TEST(DateTimeRoutines, FormatDateTimeTokens) {
    const DateTime dt = EncodeDate(2024, 2, 9) + EncodeTime(8, 5, 3, 7);
    const std::pair<const char*, const char*> cases[] = {
        {"c", "09/02/2024 08:05:03.007"},
        {"", "09/02/2024 08:05:03.007"},
        {"ddddd", "09/02/2024"},
        {"dddddd", "09/02/2024."},
        {"dddddddd", "09/02/2024."},
        {"t", "08:05:03.007"},
        {"tt", "08:05:03.007"},
        {"f", "09/02/2024 08:05:03.007"},
        {"d dd ddd dddd", "9 09 Fri Friday"},
        {"m mm mmm mmmm", "2 02 Feb February"},
        {"mmmmm", "February"},
        {"y yy yyy yyyy yyyyy", "24 24 2024 2024 2024"},
        {"h hh n nn s ss z zz zzz zzzz", "8 08 5 05 3 03 7 007 007 007"},
        {"hhh nnn sss", "08 05 03"},
        {"hh:mm", "08:05"},
        {"mm:hh", "02:08"},
        {"h:m:s", "8:5:3"},
        {"hh mm", "08 02"},  // a space token in between: month
        {"hh:Mm", "08:05"},
        {"hh:\"x\"mm", "08:x05"},
        {"h:mmmm", "8:05"},
        {"tt mm", "08:05:03.007 02"},
        {"MM", "02"},
        {"NN", "05"},
        {"yyyy/mm/dd", "2024/02/09"},
        {"m/d", "2/9"},
        {"D M Y H N S Z", "9 2 24 8 5 3 7"},
        {"\"quoted\" 'single' x", "quoted single X"},
        {"\"unterminated", "unterminated"},
        {"e g b", "E G B"},
        {"[hh]", "[08]"},
        {"/:", "/:"},
        {"hh ampm", "08 "},
        {"am/pm hh", "am 08"},
        {"hh A/P", "08 A"},
        {"yyyymmddhhnnsszzz", "20240209080503007"},
    };
    for (const auto& [fmt, want] : cases) EXPECT_EQ(FormatDateTime(fmt, dt), want) << fmt;
}

TEST(DateTimeRoutines, FormatDateTimeTwelveHourClockAndEdges) {
    EXPECT_EQ(FormatDateTime("hh am/pm", EncodeTime(0, 0, 0, 0)), "12 am");
    EXPECT_EQ(FormatDateTime("hh AM/PM", EncodeTime(12, 0, 0, 0)), "12 PM");
    EXPECT_EQ(FormatDateTime("hh a/p", EncodeTime(23, 0, 0, 0)), "11 p");
    EXPECT_EQ(FormatDateTime("h AMPM", EncodeTime(15, 0, 0, 0)), "3 ");
    EXPECT_EQ(FormatDateTime("AM/pm h", EncodeTime(15, 5, 3, 7)), "pm 3");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 250)), "1:05 pm");
    EXPECT_EQ(FormatDateTime("hh:nn a/p", EncodeTime(0, 30, 0, 0)), "12:30 a");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 2, 9)), "09/02/2024");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 2, 9) + EncodeTime(0, 0, 0, 7)), "09/02/2024");
    EXPECT_EQ(FormatDateTime("c", EncodeTime(8, 5, 3, 7)), "30/12/1899 08:05:03.007");
    EXPECT_EQ(FormatDateTime("c", -1.5), "29/12/1899 12:00:00.000");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", 0.99999999999), "00:00:00.000");
    EXPECT_EQ(FormatDateTime("yy", EncodeDate(5, 1, 1)), "05");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(5, 1, 1)), "0005");
    EXPECT_EQ(errorOf([] { FormatDateTime("abc xyz q", 0); }), "Illegal character in format string");
    EXPECT_EQ(errorOf([] { FormatDateTime("hh:nn a", 0); }), "Illegal character in format string");
}

TEST(DateTimeRoutines, TextForms) {
    const DateTime dt = EncodeDate(2024, 2, 9) + EncodeTime(8, 5, 3, 7);
    EXPECT_EQ(DateToStr(dt), "09/02/2024");
    EXPECT_EQ(DateToStr(-693593), "01/01/0001");
    EXPECT_EQ(TimeToStr(dt), "08:05:03.007");
    EXPECT_EQ(DateTimeToStr(dt), "09/02/2024 08:05:03.007");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 2, 9)), "09/02/2024");
}

// The reference's StrToDate rejects every text (it reads its argument wrongly: "09/02/2024" fails
// as "9/02/2024"); these tests pin down the sound behaviour with the day/month/year order.
TEST_F(ClockFixture, StrToDateReadsDayMonthYear) {
    EXPECT_EQ(StrToDate("09/02/2024"), EncodeDate(2024, 2, 9));
    EXPECT_EQ(StrToDate("9/2/2024"), EncodeDate(2024, 2, 9));
    EXPECT_EQ(StrToDate(" 9 / 2 / 2024 \t"), EncodeDate(2024, 2, 9));
    EXPECT_EQ(StrToDate("29/02/2000"), EncodeDate(2000, 2, 29));
    EXPECT_EQ(StrToDate("9/2"), EncodeDate(2024, 2, 9));   // current year
    EXPECT_EQ(StrToDate("9"), EncodeDate(2024, 7, 9));     // current month and year
    EXPECT_EQ(StrToDate("1/1/24"), EncodeDate(2024, 1, 1));
    EXPECT_EQ(StrToDate("1/1/74"), EncodeDate(1974, 1, 1));  // two-digit years fall in 1974..2073
    EXPECT_EQ(StrToDate("1/1/73"), EncodeDate(2073, 1, 1));
    EXPECT_EQ(StrToDate("1/1/0024"), EncodeDate(24, 1, 1));
    for (const char* bad : {"", "   ", "abc", "09-02-2024", "31/02/2024", "1/2/3/4", "/02/2024", "09/13/2024",
                            "09/02/2024x", "0/1/2024"}) {
        EXPECT_EQ(errorOf([&] { StrToDate(bad); }), "\"" + std::string(bad) + "\" is not a valid date format")
            << bad;
    }
}

TEST_F(ClockFixture, StrToTimeAndStrToDateTime) {
    EXPECT_EQ(StrToTime("08:05:03.007"), EncodeTime(8, 5, 3, 7));
    EXPECT_EQ(StrToTime("8:5"), EncodeTime(8, 5, 0, 0));
    EXPECT_EQ(StrToTime("23"), EncodeTime(23, 0, 0, 0));
    for (const char* bad : {"", "24:00", "8:60", "8::1", "8:5:3.1000", "x", "8:5:3:2"})
        EXPECT_EQ(errorOf([&] { StrToTime(bad); }), "\"" + std::string(bad) + "\" is not a valid time") << bad;
    EXPECT_EQ(StrToDateTime("09/02/2024 08:05:03.007"), EncodeDate(2024, 2, 9) + EncodeTime(8, 5, 3, 7));
    EXPECT_EQ(StrToDateTime("09/02/2024"), EncodeDate(2024, 2, 9));
    EXPECT_EQ(StrToDateTime("08:05"), EncodeTime(8, 5, 0, 0));
    EXPECT_EQ(StrToDateTime(DateTimeToStr(45000.25)), 45000.25);
    EXPECT_EQ(errorOf([] { StrToDateTime("31/02/2024 08:00"); }), "\"31/02/2024\" is not a valid date format");
}

TEST_F(ClockFixture, ClockDrivesNowDateAndTime) {
    EXPECT_EQ(Now(), EncodeDate(2024, 7, 15) + EncodeTime(9, 30, 0, 0));
    EXPECT_EQ(Date(), EncodeDate(2024, 7, 15));
    EXPECT_NEAR(Time(), EncodeTime(9, 30, 0, 0), 1e-9);
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", Time()), "09:30:00.000");
}

TEST(DateTimeRoutines, SystemClockIsSane) {
    SetClockForTesting(nullptr);
    const DateTime n = Now();
    EXPECT_GT(n, EncodeDate(2020, 1, 1));
    EXPECT_LT(n - Date(), 1.0);
    EXPECT_LT(Time(), 1.0);
}

}  // namespace
