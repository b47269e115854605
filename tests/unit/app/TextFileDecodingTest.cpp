#include "app/CodePage.h"
#include "app/TextFileDecoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pelo;
using namespace pelo::app;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (const int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Bytes(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::u16string Decode(const std::vector<uint8_t>& bytes)
{
    return DecodeTextFileBytes(bytes, Windows1252CodePage{});
}

}  // namespace

TEST(TextFileDecoding, SameTextInAllFourEncodings)
{
    // "Aé€" : U+0041 U+00E9 U+20AC
    const std::u16string expected = u"A\u00E9\u20AC";
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00, 0xAC, 0x20})), expected);
    EXPECT_EQ(Decode(Bytes({0xFE, 0xFF, 0x00, 0x41, 0x00, 0xE9, 0x20, 0xAC})), expected);
    EXPECT_EQ(Decode(Bytes({0xEF, 0xBB, 0xBF, 0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC})), expected);
    EXPECT_EQ(Decode(Bytes({0x41, 0xE9, 0x80})), expected);
}

TEST(TextFileDecoding, TruncatedInputNeverFails)
{
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE})), u"");                   // a lone mark
    EXPECT_EQ(Decode(Bytes({0xEF, 0xBB, 0xBF})), u"");
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x41})), u"");             // odd byte dropped
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x41, 0x00, 0x42})), u"A");
    EXPECT_EQ(Decode(Bytes({0xFE, 0xFF, 0x00, 0x41, 0x00})), u"A");
    EXPECT_EQ(Decode({}), u"");
}

TEST(TextFileDecoding, Utf16KeepsSurrogatesAsTheyAre)
{
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE})), u"\U0001F600");
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x3D, 0xD8})), std::u16string(1, char16_t(0xD83D)));
}

TEST(Utf8Decoding, WellFormedSequences)
{
    EXPECT_EQ(DecodeUtf8(Bytes("plain")), u"plain");
    EXPECT_EQ(DecodeUtf8(Bytes({0xC2, 0x80, 0xDF, 0xBF})), u"\u0080\u07FF");
    EXPECT_EQ(DecodeUtf8(Bytes({0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBD})), u"\u0800\uFFFD");
    EXPECT_EQ(DecodeUtf8(Bytes({0xF0, 0x9F, 0x98, 0x80})), u"\U0001F600");
    EXPECT_EQ(DecodeUtf8(Bytes({0xF4, 0x8F, 0xBF, 0xBF})), u"\U0010FFFF");
}

TEST(Utf8Decoding, EachIllFormedPieceBecomesOneReplacementCharacter)
{
    EXPECT_EQ(DecodeUtf8(Bytes({0x80})), u"\uFFFD");
    EXPECT_EQ(DecodeUtf8(Bytes({0xC0, 0xAF})), u"\uFFFD\uFFFD");          // overlong lead bytes
    EXPECT_EQ(DecodeUtf8(Bytes({0xE0, 0x80, 0x80})), u"\uFFFD\uFFFD\uFFFD");  // overlong 3-byte form
    EXPECT_EQ(DecodeUtf8(Bytes({0xED, 0xA0, 0x80})), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(DecodeUtf8(Bytes({0xF4, 0x90, 0x80, 0x80})), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(DecodeUtf8(Bytes({0xE2, 0x82, 0x41})), u"\uFFFDA");          // truncated, then ASCII
    EXPECT_EQ(DecodeUtf8(Bytes({0xE2, 0x82})), u"\uFFFD");                 // truncated at the end
    EXPECT_EQ(DecodeUtf8(Bytes({0xF0, 0x9F, 0x98})), u"\uFFFD");
    EXPECT_EQ(DecodeUtf8(Bytes({0xFF, 0x41})), u"\uFFFDA");
}

TEST(Windows1252, CharactersToBytes)
{
    const Windows1252CodePage cp;
    EXPECT_EQ(cp.FromWide(u"Caf\u00E9 \u20AC"), "Caf\xE9 \x80");
    EXPECT_EQ(cp.FromWide(u"\u0081"), "\x81");
    EXPECT_EQ(cp.FromWide(u"\u0100\u4E2D"), "??");
    EXPECT_EQ(cp.FromWide(u"a\U0001F600b"), "a?b");  // one "?" for a surrogate pair
    EXPECT_EQ(cp.FromWide(std::u16string(1, char16_t(0xDC00))), "?");
}

TEST(Windows1252, EveryByteRoundTrips)
{
    const Windows1252CodePage cp;
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(cp.FromWide(cp.ToWide(all)), all);
}
