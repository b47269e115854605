// Expected values come from the reference engine (psoracle): StrToInt/StrToIntDef(s, 77)/StrToInt64/
// StrToFloat of each text.
#include "lang/rtl/ConvertRoutines.h"
#include "lang/rtl/FloatText.h"
#include "lang/rtl/ScriptError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace pelo::lang::rtl;

struct IntCase {
    std::string_view text;
    bool valid;
    int32_t value;  // StrToIntDef result when valid
};

TEST(ConvertRoutines, StrToIntFollowsTheReferenceTextRules) {
    using namespace std::string_view_literals;
    const IntCase cases[] = {
        {" 12", true, 12},
        {"12 ", false, 0},
        {"$1F", true, 31},
        {"0x10", true, 16},
        {"0X1f", true, 31},
        {"x10", true, 16},
        {"+5", true, 5},
        {"-$10", true, -16},
        {"%101", true, 5},
        {"&17", true, 15},
        {"\t5", true, 5},
        {"  +7", true, 7},
        {" -5", true, -5},
        {"00012", true, 12},
        {"-0", true, 0},
        {"12\0"sv, true, 12},
        {"-", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"&", false, 0},
        {"%", false, 0},
        {"&9", false, 0},
        {"%2", false, 0},
        {"$-1", false, 0},
        {"#5", false, 0},
        {"0b101", false, 0},
        {"- 5", false, 0},
        {"+-5", false, 0},
        {"1e3", false, 0},
        {"1_000", false, 0},
        {"1.5", false, 0},
        {"12a", false, 0},
        // values beyond 32 bits keep their low 32 bits
        {"99999999999", true, 1215752191},
        {"4294967297", true, 1},
        {"4294967295", true, -1},
        {"-2147483649", true, 2147483647},
        {"9223372036854775807", true, -1},
        {"-9223372036854775808", true, 0},
        {"$ffffffff", true, -1},
        {"$1ffffffff", true, -1},
        {"$FFFFFFFFFFFFFFFF", true, -1},
        {"-$FFFFFFFFFFFFFFFF", true, 1},
        {"-$8000000000000000", true, 0},
        // beyond 64 bits: bad text
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"18446744073709551615", false, 0},
        {"99999999999999999999", false, 0},
        {"$fffffffffffffffff", false, 0},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(StrToIntDef(c.text, 77), c.valid ? c.value : 77);
        EXPECT_EQ(StrToInt(c.text), c.valid ? c.value : -1);
    }
}

TEST(ConvertRoutines, StrToInt64RaisesOnBadText) {
    EXPECT_EQ(StrToInt64("123"), 123);
    EXPECT_EQ(StrToInt64(" 12"), 12);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$7FFFFFFFFFFFFFFF"), INT64_MAX);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("0x1F"), 31);
    EXPECT_EQ(StrToInt64("-$1"), -1);
    for (std::string_view bad : {"abc", "12 ", "9223372036854775808", "18446744073709551615", ""}) {
        try {
            StrToInt64(bad);
            ADD_FAILURE() << bad;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.what(), "\"" + std::string(bad) + "\" is an invalid integer");
            EXPECT_EQ(e.kind(), ErrorKind::Exception);
        }
        EXPECT_EQ(StrToInt64Def(bad, 77), 77);
    }
    EXPECT_EQ(StrToInt64Def("-$1", 77), -1);
}

TEST(ConvertRoutines, IntToStrCoversInt64) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(6442450941), "6442450941");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToStr(0), "0");
}

TEST(ConvertRoutines, StrToFloatAcceptsWhatTheReferenceAccepts) {
    const std::pair<std::string_view, std::string_view> good[] = {
        {"1.5", "1.500000000000"},     {" 1.5", "1.500000000000"},       {"1e5", "100000.000000000000"},
        {".5", "0.500000000000"},      {"5.", "5.000000000000"},         {"-0", "-0.000000000000"},
        {"1E-3", "0.001000000000"},    {"+2.5e+2", "250.000000000000"},  {"inf", "+Inf"},
        {"nan", "Nan"},           {"-inf", "-Inf"},                 {" INF", "+Inf"},
        {".", "0.000000000000"},       {"e5", "0.000000000000"},         {"1e+", "1.000000000000"},
        {"1.5e-", "1.500000000000"},   {"+.", "0.000000000000"},         {"1.e1", "10.000000000000"},
        {"1e-400", "0.000000000000"},
    };
    for (const auto& [text, printed] : good) EXPECT_EQ(FloatToStr(StrToFloat(text)), printed) << text;
    for (const char* bad : {"1.5 ", "1,5", "$10", "", "1.5e", "abc", "0x10", "\t3", "1.5d0", "e", "+", "-", "1e",
                             "infinity", "inf ", "1ee5", "1e5x", "--1", "- 1", "1.2.3"}) {
        try {
            StrToFloat(bad);
            ADD_FAILURE() << bad;
        } catch (const ScriptError& e) {
            EXPECT_STREQ(e.what(), "Invalid float");
        }
    }
    // read at extended precision: beyond a Double's range, within an Extended's
    EXPECT_EQ(FloatToStr(StrToFloat("1e400")), " 1.0E+0400");
    EXPECT_TRUE(std::isinf(StrToFloat("1e5000")));
    EXPECT_EQ(StrToFloat("-1e-5000"), 0);
    EXPECT_NE(StrToFloat("0.1"), 0.1);  // 0.1 to 64 bits, not to a Double's 53
}

}  // namespace
