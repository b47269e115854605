#include "core/IntegerText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using pelo::ParseIntegerText;

namespace {

// Parses with both character types and checks that they agree.
bool Parse(std::string_view text, int32_t& out)
{
    int32_t narrow = 12345, wide = 12345;
    const bool okNarrow = ParseIntegerText(text, narrow);
    const std::u16string wideText(text.begin(), text.end());
    const bool okWide = ParseIntegerText(std::u16string_view(wideText), wide);
    EXPECT_EQ(okNarrow, okWide) << text;
    EXPECT_EQ(narrow, wide) << text;
    if (okNarrow) out = narrow;
    else EXPECT_EQ(narrow, 12345) << "output touched for '" << text << "'";
    return okNarrow;
}

int32_t Valid(std::string_view text)
{
    int32_t out = 0;
    EXPECT_TRUE(Parse(text, out)) << "refused: '" << text << "'";
    return out;
}

void Refused(std::string_view text)
{
    int32_t out = 777;
    EXPECT_FALSE(Parse(text, out)) << "accepted: '" << text << "'";
}

}  // namespace

TEST(IntegerText, DecimalWithSignsAndLeadingBlanks)
{
    EXPECT_EQ(Valid("0"), 0);
    EXPECT_EQ(Valid("42"), 42);
    EXPECT_EQ(Valid("007"), 7);
    EXPECT_EQ(Valid("-12"), -12);
    EXPECT_EQ(Valid("+12"), 12);
    EXPECT_EQ(Valid("-0"), 0);
    EXPECT_EQ(Valid("   5"), 5);
    EXPECT_EQ(Valid("\t 5"), 5);
    EXPECT_EQ(Valid("  -100000"), -100000);
}

TEST(IntegerText, DecimalRangeIsSigned32Bit)
{
    EXPECT_EQ(Valid("2147483647"), INT32_MAX);
    EXPECT_EQ(Valid("-2147483648"), INT32_MIN);
    EXPECT_EQ(Valid("00000000000000000002147483647"), INT32_MAX);
    Refused("2147483648");
    Refused("-2147483649");
    Refused("4294967295");
    Refused("99999999999999999999999999999999");
}

TEST(IntegerText, HexadecimalPrefixesAndDigits)
{
    EXPECT_EQ(Valid("$10"), 16);
    EXPECT_EQ(Valid("x10"), 16);
    EXPECT_EQ(Valid("X10"), 16);
    EXPECT_EQ(Valid("0x10"), 16);
    EXPECT_EQ(Valid("0X10"), 16);
    EXPECT_EQ(Valid("$aBcD"), 0xABCD);
    EXPECT_EQ(Valid("-$10"), -16);
    EXPECT_EQ(Valid("+0x1f"), 31);
    EXPECT_EQ(Valid("  $0"), 0);
}

TEST(IntegerText, HexadecimalIsA32BitPattern)
{
    EXPECT_EQ(Valid("$FFFFFFFF"), -1);
    EXPECT_EQ(Valid("$80000000"), INT32_MIN);
    EXPECT_EQ(Valid("$7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(Valid("$FF000008"), static_cast<int32_t>(0xFF000008u));
    EXPECT_EQ(Valid("$00000001"), 1);
    // The sign negates the pattern with 32-bit wrap-around.
    EXPECT_EQ(Valid("-$FFFFFFFF"), 1);
    EXPECT_EQ(Valid("-$80000000"), INT32_MIN);
    Refused("$100000000");
    Refused("$000000001");  // nine digits, even with leading zeros
}

TEST(IntegerText, RefusesTextThatIsNotAWholeNumber)
{
    Refused("");
    Refused("   ");
    Refused("-");
    Refused("+");
    Refused("$");
    Refused("0x");
    Refused("-$");
    Refused("5 ");  // trailing blank
    Refused("5\t");
    Refused("1.5");
    Refused("1e3");
    Refused("12a");
    Refused("$12G");
    Refused("- 5");  // blank between sign and digits
    Refused("--5");
    Refused("+-5");
    Refused("$-5");
    Refused("0x-5");
    Refused("$ 5");
    Refused("x");
    Refused("0$5");
    Refused("1,000");
}

TEST(IntegerText, WideTextOutsideAsciiIsRefused)
{
    int32_t out = 3;
    // Fullwidth digits and Arabic-Indic digits are digits to Unicode but not to this rule.
    EXPECT_FALSE(ParseIntegerText(std::u16string_view(u"\uFF11\uFF12"), out));
    EXPECT_FALSE(ParseIntegerText(std::u16string_view(u"\u0661"), out));
    // A character whose low byte is an ASCII digit must not pass as that digit.
    EXPECT_FALSE(ParseIntegerText(std::u16string_view(u"1\u0131"), out));
    EXPECT_FALSE(ParseIntegerText(std::u16string_view(u"\u0124"), out));  // low byte '$'
    EXPECT_EQ(out, 3);
}

