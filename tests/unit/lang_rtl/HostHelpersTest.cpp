// Host text helpers. Expected texts were produced by the reference engine's host (psoracle), which
// passes the script's Double through the engine's Currency conversion.
#include "lang/rtl/HostHelpers.h"
#include "lang/rtl/ScriptError.h"

#include <gtest/gtest.h>

namespace {

using namespace pelo::lang::rtl;

std::string fixed(int32_t digits, double v) { return FloatToStrFixed(digits, CurrencyFromDouble(v)); }
std::string fixedS(int32_t digits, double v) { return FloatToStrFixedS(digits, CurrencyFromDouble(v)); }

TEST(HostHelpers, IntToStrSSignsPositiveValues) {
    EXPECT_EQ(IntToStrS(0), "0");
    EXPECT_EQ(IntToStrS(1), "+1");
    EXPECT_EQ(IntToStrS(7), "+7");
    EXPECT_EQ(IntToStrS(-7), "-7");
    EXPECT_EQ(IntToStrS(2147483647), "+2147483647");
    EXPECT_EQ(IntToStrS(INT32_MIN), "-2147483648");
}

TEST(HostHelpers, CurrencyConversionRoundsTheDoubleProductHalfToEven) {
    EXPECT_EQ(CurrencyFromDouble(0.00015).raw, 1);  // 0.00015 * 10000 is just below 1.5 as a double
    EXPECT_EQ(CurrencyFromDouble(0.00025).raw, 2);  // exactly 2.5 after the double product: to even
    EXPECT_EQ(CurrencyFromDouble(0.00005).raw, 0);
    EXPECT_EQ(CurrencyFromDouble(1.005).raw, 10050);
    EXPECT_EQ(CurrencyFromDouble(922337203685477.0).raw, 9223372036854769664);
    for (double bad : {1e15, 922337203685477.5807, -1e300}) {
        try {
            CurrencyFromDouble(bad);
            ADD_FAILURE() << bad;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::MathError);
            EXPECT_STREQ(e.what(), "Invalid floating point operation");
        }
    }
    EXPECT_EQ(CurrencyToDouble(Currency{12345}), 1.2345);
}

TEST(HostHelpers, FloatToStrFixedRoundsHalfAwayFromZero) {
    struct Case {
        double value;
        const char *d4, *d2, *d0, *s1;
    };
    const Case cases[] = {
        {0.00015, "0.0001", "0.00", "0", "+0.0"},
        {0.00005, "0.0000", "0.00", "0", "0.0"},
        {0.00025, "0.0002", "0.00", "0", "+0.0"},
        {1.00005, "1.0001", "1.00", "1", "+1.0"},
        {2.5, "2.5000", "2.50", "3", "+2.5"},
        {-2.5, "-2.5000", "-2.50", "-3", "-2.5"},
        {0.125, "0.1250", "0.13", "0", "+0.1"},
        {-0.125, "-0.1250", "-0.13", "0", "-0.1"},
        {1.005, "1.0050", "1.01", "1", "+1.0"},
        {1234.5, "1234.5000", "1234.50", "1235", "+1234.5"},
        {-0.25, "-0.2500", "-0.25", "0", "-0.3"},
        {0, "0.0000", "0.00", "0", "0.0"},
        {0.5, "0.5000", "0.50", "1", "+0.5"},
        {-0.5, "-0.5000", "-0.50", "-1", "-0.5"},
        {-0.00005, "0.0000", "0.00", "0", "0.0"},
        {-0.00004, "0.0000", "0.00", "0", "0.0"},
        {922337203685477.0, "922337203685476.9664", "922337203685476.97", "922337203685477", "+922337203685477.0"},
        {12.34565, "12.3456", "12.35", "12", "+12.3"},
        {0.29, "0.2900", "0.29", "0", "+0.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(fixed(4, c.value), c.d4);
        EXPECT_EQ(fixed(2, c.value), c.d2);
        EXPECT_EQ(fixed(0, c.value), c.d0);
        EXPECT_EQ(fixedS(1, c.value), c.s1);
    }
    EXPECT_EQ(fixed(2, -1.005), "-1.01");
    EXPECT_EQ(fixed(0, -0.4), "0");
    EXPECT_EQ(fixed(6, 3.14159), "3.141600");
    EXPECT_EQ(fixed(-1, 7.5), "8");
    EXPECT_EQ(fixed(2, 1234567.891), "1234567.89");
    EXPECT_EQ(fixed(3, 0.0005), "0.001");
    EXPECT_EQ(fixedS(2, 1.5), "+1.50");
    EXPECT_EQ(fixedS(2, 0), "0.00");
    EXPECT_EQ(fixedS(1, 0.04), "+0.0");
    EXPECT_EQ(fixedS(1, -0.04), "0.0");
    EXPECT_EQ(fixedS(1, 0.5), "+0.5");
    EXPECT_EQ(fixedS(1, -0.5), "-0.5");
}

// The reference host prints garbage such as "--922337203685477.-5808" at the bottom of the currency
// range; these are the sound texts.
TEST(HostHelpers, FloatToStrFixedAtTheCurrencyLimits) {
    const Currency lowest{INT64_MIN}, highest{INT64_MAX};
    EXPECT_EQ(FloatToStrFixed(4, lowest), "-922337203685477.5808");
    EXPECT_EQ(FloatToStrFixed(2, lowest), "-922337203685477.58");
    EXPECT_EQ(FloatToStrFixed(0, lowest), "-922337203685478");
    EXPECT_EQ(FloatToStrFixed(4, highest), "922337203685477.5807");
    EXPECT_EQ(FloatToStrFixed(3, highest), "922337203685477.581");
    EXPECT_EQ(FloatToStrFixedS(0, highest), "+922337203685478");
}

TEST(HostHelpers, StrReplaceScansLeftToRight) {
    EXPECT_EQ(StrReplace("aAa", "a", "b", false, false), "bAa");
    EXPECT_EQ(StrReplace("aAa", "a", "b", true, false), "bAb");
    EXPECT_EQ(StrReplace("aAa", "a", "b", true, true), "bbb");
    EXPECT_EQ(StrReplace("aAa", "a", "b", false, true), "bAa");
    EXPECT_EQ(StrReplace("Hello hello HELLO", "hello", "x", true, true), "x x x");
    EXPECT_EQ(StrReplace("Hello hello HELLO", "hello", "x", true, false), "Hello x HELLO");
    EXPECT_EQ(StrReplace("a-b-c", "-", "+", false, false), "a+b-c");
    EXPECT_EQ(StrReplace("xAbab", "ab", "_", false, true), "x_ab");
    EXPECT_EQ(StrReplace("aaa", "a", "aa", true, false), "aaaaaa");
    EXPECT_EQ(StrReplace("a, b, c", ", ", "", true, false), "abc");
    EXPECT_EQ(StrReplace("abc", "", "z", true, false), "abc");
    EXPECT_EQ(StrReplace("abc", "x", "y", true, true), "abc");
    EXPECT_EQ(StrReplace("aaaa", "aa", "b", true, false), "bb");
    EXPECT_EQ(StrReplace("\xE4\xC4", "\xE4", "x", true, true), "x\xC4");  // ASCII folding only
}

}  // namespace
