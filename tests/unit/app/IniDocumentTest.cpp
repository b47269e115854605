#include "app/IniDocument.h"

#include <gtest/gtest.h>

#include <string>

using pelo::app::IniDocument;
using pelo::app::IniWriter;

namespace {

std::u16string ValueOr(const IniDocument& doc, std::u16string_view section, std::u16string_view key,
                       std::u16string_view missing = u"<missing>")
{
    const std::u16string* v = doc.Find(section, key);
    return v ? *v : std::u16string(missing);
}

}  // namespace

TEST(IniDocument, SectionsKeysAndValues)
{
    const IniDocument doc = IniDocument::Parse(u"[A]\r\nx=1\r\ny=two words\r\n\r\n[B]\r\nx=3\r\n");
    EXPECT_EQ(ValueOr(doc, u"A", u"x"), u"1");
    EXPECT_EQ(ValueOr(doc, u"A", u"y"), u"two words");
    EXPECT_EQ(ValueOr(doc, u"B", u"x"), u"3");
    EXPECT_EQ(ValueOr(doc, u"B", u"y"), u"<missing>");
    EXPECT_EQ(ValueOr(doc, u"C", u"x"), u"<missing>");
    EXPECT_TRUE(doc.HasSection(u"B"));
    EXPECT_FALSE(doc.HasSection(u"C"));
}

TEST(IniDocument, ValueIsEverythingAfterTheFirstEqualsSign)
{
    const IniDocument doc = IniDocument::Parse(u"[S]\nk=a=b==c\nblank= lead\ntrail=end   \t\nempty=\n");
    EXPECT_EQ(ValueOr(doc, u"S", u"k"), u"a=b==c");
    EXPECT_EQ(ValueOr(doc, u"S", u"blank"), u" lead");  // leading blanks of a value are kept
    EXPECT_EQ(ValueOr(doc, u"S", u"trail"), u"end");    // the line itself is trimmed
    EXPECT_EQ(ValueOr(doc, u"S", u"empty"), u"");
}

TEST(IniDocument, CommentsStrayLinesAndTextBeforeTheFirstSectionAreIgnored)
{
    const IniDocument doc = IniDocument::Parse(
        u"k=before\n; note\n[S]\n  ;k=commented\nno equals sign here\nk=inside\n\n   \n");
    EXPECT_EQ(ValueOr(doc, u"S", u"k"), u"inside");
    EXPECT_FALSE(doc.HasSection(u""));
}

TEST(IniDocument, LineEndsOfEveryKind)
{
    const IniDocument doc = IniDocument::Parse(u"[S]\ra=1\nb=2\r\nc=3\r\r\nd=4");
    EXPECT_EQ(ValueOr(doc, u"S", u"a"), u"1");
    EXPECT_EQ(ValueOr(doc, u"S", u"b"), u"2");
    EXPECT_EQ(ValueOr(doc, u"S", u"c"), u"3");
    EXPECT_EQ(ValueOr(doc, u"S", u"d"), u"4");
}

TEST(IniDocument, RepeatedSectionsMergeAndTheFirstKeyWins)
{
    const IniDocument doc = IniDocument::Parse(u"[S]\na=1\na=2\n[T]\n[s]\na=3\nb=4\n");
    EXPECT_EQ(ValueOr(doc, u"S", u"a"), u"1");
    EXPECT_EQ(ValueOr(doc, u"S", u"b"), u"4");
}

TEST(IniDocument, BracketEdgeCases)
{
    const IniDocument doc = IniDocument::Parse(u"[\n[]\na=1\n[ x ] \nb=2\n[y\nc=3\n");
    EXPECT_EQ(ValueOr(doc, u"", u"a"), u"1");
    // "[y" is no section header, so "c" still belongs to "x" and "[y" is a stray line.
    EXPECT_EQ(ValueOr(doc, u"x", u"b"), u"2");
    EXPECT_EQ(ValueOr(doc, u"x", u"c"), u"3");
}

TEST(IniWriter, LayoutAndEncoding)
{
    IniWriter w;
    w.BeginSection(u"A");
    w.WriteValue(u"k", u"v\u20AC");
    w.BeginSection(u"B");
    const std::vector<uint8_t> bytes = w.Finish();
    const std::vector<uint8_t> expected = {
        0xFF, 0xFE,                                                            // mark
        '[', 0, 'A', 0, ']', 0, '\r', 0, '\n', 0,                              // [A]
        'k', 0, '=', 0, 'v', 0, 0xAC, 0x20, '\r', 0, '\n', 0,                  // k=v€
        '\r', 0, '\n', 0,                                                      // empty line
        '[', 0, 'B', 0, ']', 0, '\r', 0, '\n', 0, '\r', 0, '\n', 0,            // [B], empty line
    };
    EXPECT_EQ(bytes, expected);
}

TEST(IniWriter, LineBreaksInsideValuesCannotForgeLines)
{
    IniWriter w;
    w.BeginSection(u"S");
    w.WriteValue(u"k", u"a\r\n[Evil]\r\nx=1");
    const std::vector<uint8_t> bytes = w.Finish();
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    const IniDocument doc = IniDocument::Parse(text);
    EXPECT_FALSE(doc.HasSection(u"Evil"));
    EXPECT_EQ(ValueOr(doc, u"S", u"k"), u"a  [Evil]  x=1");
}
