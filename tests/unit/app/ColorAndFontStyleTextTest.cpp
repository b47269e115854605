#include "app/ColorText.h"
#include "app/FontStyleText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace pelo;
using namespace pelo::app;

TEST(ColorText, NamedColoursAreWrittenByName)
{
    EXPECT_EQ(FormatColorText(0xFF000008u), u"clWindowText");
    EXPECT_EQ(FormatColorText(0x00A4A0A0u), u"clMedGray");
    EXPECT_EQ(FormatColorText(0x00F0CAA6u), u"clSkyBlue");
    EXPECT_EQ(FormatColorText(0xFF000015u), u"cl3DDkShadow");
    EXPECT_EQ(FormatColorText(0xFF00001Au), u"clHotLight");
    EXPECT_EQ(FormatColorText(0xFF00001Eu), u"clMenuBar");
    EXPECT_EQ(FormatColorText(0x20000000u), u"clDefault");
    EXPECT_EQ(FormatColorText(0x1FFFFFFFu), u"clNone");
}

TEST(ColorText, UnnamedColoursAreWrittenAsEightUpperCaseHexDigits)
{
    EXPECT_EQ(FormatColorText(0x00123456u), u"$00123456");
    EXPECT_EQ(FormatColorText(0x00ABCDEFu), u"$00ABCDEF");
    EXPECT_EQ(FormatColorText(0x00000001u), u"$00000001");
    EXPECT_EQ(FormatColorText(0xFF000019u), u"$FF000019");  // the gap in the system colour names
    EXPECT_EQ(FormatColorText(0xFFFFFFFFu), u"$FFFFFFFF");
}

TEST(ColorText, TableHasEveryValueOnceAndNamesRoundTrip)
{
    std::set<TColor> values;
    for (const TColorName& entry : ColorNames()) {
        EXPECT_TRUE(values.insert(entry.Value).second) << entry.Name;
        const std::u16string name(entry.Name.begin(), entry.Name.end());
        EXPECT_EQ(FormatColorText(entry.Value), name);
        TColor parsed = 0x12345678u;
        ASSERT_TRUE(ParseColorText(name, parsed)) << entry.Name;
        EXPECT_EQ(parsed, entry.Value) << entry.Name;
    }
    EXPECT_EQ(values.size(), 52u);  // 20 RGB, 30 system colours, 2 special values
}

TEST(ColorText, HexTextRoundTrips)
{
    for (const TColor color : {0x00123456u, 0x00FEDCBAu, 0xFF000019u, 0x80000000u, 0xFFFFFFFFu, 0x0000007Fu}) {
        TColor parsed = 0;
        ASSERT_TRUE(ParseColorText(FormatColorText(color), parsed));
        EXPECT_EQ(parsed, color);
    }
}

TEST(ColorText, ParsingAcceptsIntegersAndNamesInAnyCase)
{
    TColor c = 0;
    ASSERT_TRUE(ParseColorText(u"255", c));
    EXPECT_EQ(c, clRed);
    ASSERT_TRUE(ParseColorText(u"-16777208", c));  // a system colour written as signed decimal
    EXPECT_EQ(c, clWindowText);
    ASSERT_TRUE(ParseColorText(u"$ff0000", c));
    EXPECT_EQ(c, clBlue);
    ASSERT_TRUE(ParseColorText(u"CLRED", c));
    EXPECT_EQ(c, clRed);
    ASSERT_TRUE(ParseColorText(u"clwindowtext", c));
    EXPECT_EQ(c, clWindowText);
}

TEST(ColorText, UnreadableTextIsRefused)
{
    TColor c = 0x0BADC0DEu;
    EXPECT_FALSE(ParseColorText(u"", c));
    EXPECT_FALSE(ParseColorText(u"Red", c));
    EXPECT_FALSE(ParseColorText(u"clRedd", c));
    EXPECT_FALSE(ParseColorText(u"clRed ", c));
    EXPECT_FALSE(ParseColorText(u"$123456789", c));
    EXPECT_FALSE(ParseColorText(u"#FF0000", c));
    EXPECT_EQ(c, 0x0BADC0DEu);
}

TEST(FontStyleText, SavedInFixedOrderWithoutTrailingComma)
{
    EXPECT_EQ(FormatFontStyleText({}), u"");
    EXPECT_EQ(FormatFontStyleText({.Bold = true}), u"Bold");
    EXPECT_EQ(FormatFontStyleText({.Bold = true, .Italic = true}), u"Bold,Italic");
    EXPECT_EQ(FormatFontStyleText({.Italic = true, .Strikeout = true}), u"Italic,Strikeout");
    EXPECT_EQ(FormatFontStyleText({.Underline = true}), u"Underline");
    EXPECT_EQ(FormatFontStyleText({true, true, true, true}), u"Bold,Italic,Underline,Strikeout");
}

TEST(FontStyleText, LoadedBySubstringInAnyOrder)
{
    const TFontStyles italicBold = ParseFontStyleText(u"Italic,Bold");
    EXPECT_EQ(italicBold, (TFontStyles{.Bold = true, .Italic = true}));
    EXPECT_EQ(FormatFontStyleText(italicBold), u"Bold,Italic");

    EXPECT_EQ(ParseFontStyleText(u"StrikeoutUnderline"), (TFontStyles{.Underline = true, .Strikeout = true}));
    EXPECT_EQ(ParseFontStyleText(u"[fsBold; fsItalic]"), (TFontStyles{.Bold = true, .Italic = true}));
    EXPECT_EQ(ParseFontStyleText(u"Bold Bold Bold"), (TFontStyles{.Bold = true}));
    EXPECT_FALSE(ParseFontStyleText(u"").Any());
}

TEST(FontStyleText, LoadingIsCaseSensitive)
{
    EXPECT_FALSE(ParseFontStyleText(u"bold,ITALIC,underline,StrikeOut").Any());
    EXPECT_EQ(ParseFontStyleText(u"bold,Italic"), (TFontStyles{.Italic = true}));
}
