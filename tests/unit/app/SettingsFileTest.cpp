#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

using namespace pelo;
using namespace pelo::app;

namespace {

const Windows1252CodePage kCp1252;

// Test-side encoders, written independently of the code under test.
std::vector<uint8_t> Utf16LE(std::u16string_view text, bool mark = true)
{
    std::vector<uint8_t> out;
    if (mark) out = {0xFF, 0xFE};
    for (const char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    return out;
}

std::vector<uint8_t> Utf16BE(std::u16string_view text)
{
    std::vector<uint8_t> out = {0xFE, 0xFF};
    for (const char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c & 0xFF));
    }
    return out;
}

std::vector<uint8_t> Utf8WithMark(std::string_view utf8)
{
    std::vector<uint8_t> out(3 + utf8.size());
    out[0] = 0xEF;
    out[1] = 0xBB;
    out[2] = 0xBF;
    for (size_t i = 0; i < utf8.size(); ++i) out[3 + i] = static_cast<uint8_t>(utf8[i]);
    return out;
}

std::vector<uint8_t> Raw(std::string_view bytes)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

SettingsSnapshot Load(const std::vector<uint8_t>& bytes)
{
    return LoadSettingsFromBytes(bytes, kCp1252);
}

SettingsSnapshot LoadText(std::u16string_view text)
{
    return Load(Utf16LE(text));
}

std::u16string SavedText(const SettingsSnapshot& snapshot)
{
    const std::vector<uint8_t> bytes = SaveSettingsToBytes(snapshot, kCp1252);
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes.size() % 2, 0u);
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

bool Contains(std::u16string_view haystack, std::u16string_view needle)
{
    return haystack.find(needle) != std::u16string_view::npos;
}

// The [ButtonDiscovery], [Misc] and [Other] sections of a file written from defaults, typed out by hand.
const std::u16string kDefaultTail =
    u"[ButtonDiscovery]\r\n"
    u"DiscoveryMethod=1\r\n"
    u"CustomTitlePattern=\r\n"
    u"CustomAllowOnlyExactMatch=0\r\n"
    u"CustomClassName=\r\n"
    u"CustomBSInSameWindow=0\r\n"
    u"CustomX1=-1\r\n"
    u"CustomY1=-1\r\n"
    u"CustomX2=-1\r\n"
    u"CustomY2=-1\r\n"
    u"\r\n"
    u"[Misc]\r\n"
    u"DisplayHeadlines=1\r\n"
    u"NoDuplicates=0\r\n"
    u"DuplicateHCacheSize=30\r\n"
    u"LogHeadlines=1\r\n"
    u"HeadlineCapacity=100\r\n"
    u"AltTimeFormat=0\r\n"
    u"AutoAttach=1\r\n"
    u"DisplayWelcomeMsg=1\r\n"
    u"MinimizeToSysTray=0\r\n"
    u"StayOnTop=0\r\n"
    u"HistMT4HBuffer=30\r\n"
    u"HBoxFontName=Courier New\r\n"
    u"HBoxFontHeight=-12\r\n"
    u"HBoxFontColor=clWindowText\r\n"
    u"HBoxFontSmoothingDisabled=1\r\n"
    u"\r\n"
    u"[Other]\r\n"
    u"MainWindowX=100000\r\n"
    u"MainWindowY=100000\r\n"
    u"MainWindowW=100000\r\n"
    u"MainWindowH=100000\r\n"
    u"CoordsWindowX=100000\r\n"
    u"CoordsWindowY=100000\r\n"
    u"\r\n";

terminals::TMT4TermInfo Terminal(std::string full, std::string shortName, std::string path, std::string pattern)
{
    return terminals::TMT4TermInfo{std::move(full), std::move(shortName), std::move(path), std::move(pattern)};
}

}  // namespace

namespace pelo::app {
// Failure messages show the snapshot as the file it would be written as.
void PrintTo(const SettingsSnapshot& snapshot, std::ostream* os)
{
    const std::vector<uint8_t> bytes = SaveSettingsToBytes(snapshot, kCp1252);
    *os << "\n";
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned c = bytes[i] | (bytes[i + 1] << 8);
        if (c == '\r') continue;
        if (c == '\n' || (c >= 0x20 && c < 0x7F)) *os << static_cast<char>(c);
        else *os << "\\u" << std::hex << c << std::dec;
    }
}
}  // namespace pelo::app

TEST(SettingsSave, DefaultsAreWrittenByteForByte)
{
    const std::vector<uint8_t> bytes = SaveSettingsToBytes(SettingsSnapshot{}, kCp1252);
    EXPECT_EQ(bytes, Utf16LE(kDefaultTail));
    // Spot checks on the raw bytes: mark, "[B" of the first line, final CR LF.
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], '[');
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 'B');
    EXPECT_EQ(bytes[bytes.size() - 4], '\r');
    EXPECT_EQ(bytes[bytes.size() - 2], '\n');
}

TEST(SettingsSave, TerminalsComeFirstInListOrderWithEightBitTextConverted)
{
    SettingsSnapshot s;
    s.Terminals = {Terminal("Caf\xE9 Broker", "CB", "C:\\MT4 \x80", "caf\xE9"), Terminal("Two", "T2", "D:\\t", "two")};
    const std::u16string expected =
        u"[Broker1]\r\nFullName=Caf\u00E9 Broker\r\nShortName=CB\r\nPath=C:\\MT4 \u20AC\r\nWindowPattern=caf\u00E9\r\n\r\n"
        u"[Broker2]\r\nFullName=Two\r\nShortName=T2\r\nPath=D:\\t\r\nWindowPattern=two\r\n\r\n" +
        kDefaultTail;
    EXPECT_EQ(SavedText(s), expected);
}

TEST(SettingsSave, NonDefaultValues)
{
    SettingsSnapshot s;
    s.Settings.DiscoveryMethod = 2;
    s.Settings.CustomTitlePattern = "Order \xA7";
    s.Settings.CustomAllowOnlyExactMatch = true;
    s.Settings.CustomX1 = 0;
    s.Settings.CustomY2 = -2147483647 - 1;
    s.Settings.StayOnTop = true;
    s.Settings.HBoxFontSmoothingDisabled = false;
    s.HBoxFont = {u"Lucida Console", 16, {.Bold = true, .Underline = true}, 0x00123456u};
    s.Positions = {-5, 7, 800, 600, 100000, 0};
    const std::u16string text = SavedText(s);
    EXPECT_TRUE(Contains(text, u"\r\nDiscoveryMethod=2\r\nCustomTitlePattern=Order \u00A7\r\nCustomAllowOnlyExactMatch=1\r\n"));
    EXPECT_TRUE(Contains(text, u"\r\nCustomX1=0\r\n"));
    EXPECT_TRUE(Contains(text, u"\r\nCustomY2=-2147483648\r\n"));
    EXPECT_TRUE(Contains(text, u"\r\nStayOnTop=1\r\n"));
    EXPECT_TRUE(Contains(text,
                         u"\r\nHBoxFontName=Lucida Console\r\nHBoxFontHeight=16\r\nHBoxFontStyle=Bold,Underline\r\n"
                         u"HBoxFontColor=$00123456\r\nHBoxFontSmoothingDisabled=0\r\n\r\n[Other]\r\n"));
    EXPECT_TRUE(Contains(text,
                         u"[Other]\r\nMainWindowX=-5\r\nMainWindowY=7\r\nMainWindowW=800\r\nMainWindowH=600\r\n"
                         u"CoordsWindowX=100000\r\nCoordsWindowY=0\r\n\r\n"));
}

TEST(SettingsSave, CustomNewsSourcesAreNeverWritten)
{
    SettingsSnapshot s;
    s.Settings.UseTCPClient = true;
    s.Settings.TCPHost = "example";
    s.Settings.TCPPort = 1;
    s.Settings.ConsoleAppPath = u"C:\\x.exe";
    s.Settings.AllowUsingDLL = true;
    EXPECT_EQ(SavedText(s), kDefaultTail);
    EXPECT_EQ(Load(SaveSettingsToBytes(s, kCp1252)), SettingsSnapshot{});
}

TEST(SettingsLoad, MissingOrEmptyFileGivesDefaults)
{
    EXPECT_EQ(Load({}), SettingsSnapshot{});
    EXPECT_EQ(Load({0xFF, 0xFE}), SettingsSnapshot{});
}

TEST(SettingsLoad, SameSettingsInAllFourEncodings)
{
    const std::u16string text =
        u"[Broker1]\r\nFullName=Caf\u00E9\r\nShortName=C\u20AC\r\nPath=C:\\p\r\nWindowPattern=w\r\n"
        u"[Misc]\r\nHeadlineCapacity=250\r\nHBoxFontName=Caf\u00E9 Mono\r\n";
    const std::string utf8 =
        "[Broker1]\r\nFullName=Caf\xC3\xA9\r\nShortName=C\xE2\x82\xAC\r\nPath=C:\\p\r\nWindowPattern=w\r\n"
        "[Misc]\r\nHeadlineCapacity=250\r\nHBoxFontName=Caf\xC3\xA9 Mono\r\n";
    const std::string ansi =
        "[Broker1]\r\nFullName=Caf\xE9\r\nShortName=C\x80\r\nPath=C:\\p\r\nWindowPattern=w\r\n"
        "[Misc]\r\nHeadlineCapacity=250\r\nHBoxFontName=Caf\xE9 Mono\r\n";

    SettingsSnapshot expected;
    expected.Terminals = {Terminal("Caf\xE9", "C\x80", "C:\\p", "w")};
    expected.Settings.HeadlineCapacity = 250;
    expected.HBoxFont.Name = u"Caf\u00E9 Mono";

    EXPECT_EQ(Load(Utf16LE(text)), expected);
    EXPECT_EQ(Load(Utf16BE(text)), expected);
    EXPECT_EQ(Load(Utf8WithMark(utf8)), expected);
    EXPECT_EQ(Load(Raw(ansi)), expected);
}

TEST(SettingsLoad, BrokerNumberingStopsAtTheFirstGap)
{
    const SettingsSnapshot s = LoadText(
        u"[Broker1]\nFullName=One\nShortName=O\nPath=p1\nWindowPattern=one\n"
        u"[Broker2]\nFullName=Two\nShortName=T\nPath=p2\nWindowPattern=two\n"
        u"[Broker4]\nFullName=Four\nShortName=F\nPath=p4\nWindowPattern=four\n");
    ASSERT_EQ(s.Terminals.size(), 2u);
    EXPECT_EQ(s.Terminals[0], Terminal("One", "O", "p1", "one"));
    EXPECT_EQ(s.Terminals[1], Terminal("Two", "T", "p2", "two"));

    const std::u16string saved = SavedText(s);
    EXPECT_TRUE(Contains(saved, u"[Broker2]"));
    EXPECT_FALSE(Contains(saved, u"Broker4"));
    EXPECT_FALSE(Contains(saved, u"Four"));
}

TEST(SettingsLoad, BrokerWithoutFullNameEndsTheList)
{
    const SettingsSnapshot missing = LoadText(u"[Broker1]\nShortName=S\n[Broker2]\nFullName=Two\n");
    EXPECT_TRUE(missing.Terminals.empty());
    const SettingsSnapshot empty = LoadText(u"[Broker1]\nFullName=One\n[Broker2]\nFullName=   \n[Broker3]\nFullName=3\n");
    ASSERT_EQ(empty.Terminals.size(), 1u);
    // Missing keys of a listed terminal are empty strings.
    EXPECT_EQ(empty.Terminals[0], Terminal("One", "", "", ""));
}

TEST(SettingsLoad, BrokerSectionsInAnyOrderAndCase)
{
    const SettingsSnapshot s = LoadText(u"[BROKER2]\nfullname=Second\n[Misc]\n[broker1]\nFULLNAME=First\n");
    ASSERT_EQ(s.Terminals.size(), 2u);
    EXPECT_EQ(s.Terminals[0].FullName, "First");
    EXPECT_EQ(s.Terminals[1].FullName, "Second");
}

TEST(SettingsLoad, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    const SettingsSnapshot s =
        LoadText(u"[Broker1]\nFullName=\u4E2D\u6587\nShortName=\u0100\n[ButtonDiscovery]\nCustomClassName=\u0416Class\n");
    ASSERT_EQ(s.Terminals.size(), 1u);
    EXPECT_EQ(s.Terminals[0].FullName, "??");
    EXPECT_EQ(s.Terminals[0].ShortName, "?");
    EXPECT_EQ(s.Settings.CustomClassName, "?Class");
}

TEST(SettingsLoad, EveryKeyIsRead)
{
    const SettingsSnapshot s = LoadText(
        u"[ButtonDiscovery]\nDiscoveryMethod=2\nCustomTitlePattern= Order  \nCustomAllowOnlyExactMatch=1\n"
        u"CustomClassName=#32770\nCustomBSInSameWindow=$1\nCustomX1=10\nCustomY1=-20\nCustomX2=x1E\nCustomY2=+40\n"
        u"[Misc]\nDisplayHeadlines=0\nNoDuplicates=1\nDuplicateHCacheSize=150\nLogHeadlines=0\nHeadlineCapacity=1000\n"
        u"AltTimeFormat=1\nAutoAttach=0\nDisplayWelcomeMsg=0\nMinimizeToSysTray=1\nStayOnTop=-1\nHistMT4HBuffer=0\n"
        u"HBoxFontName=Consolas\nHBoxFontHeight=-16\nHBoxFontStyle=Strikeout\nHBoxFontColor=clRed\n"
        u"HBoxFontSmoothingDisabled=0\n"
        u"[Other]\nMainWindowX=1\nMainWindowY=2\nMainWindowW=3\nMainWindowH=4\nCoordsWindowX=5\nCoordsWindowY=6\n");
    const AppSettings& a = s.Settings;
    EXPECT_EQ(a.DiscoveryMethod, 2);
    EXPECT_EQ(a.CustomTitlePattern, " Order");
    EXPECT_TRUE(a.CustomAllowOnlyExactMatch);
    EXPECT_EQ(a.CustomClassName, "#32770");
    EXPECT_TRUE(a.CustomBSInSameWindow);
    EXPECT_EQ(a.CustomX1, 10);
    EXPECT_EQ(a.CustomY1, -20);
    EXPECT_EQ(a.CustomX2, 30);
    EXPECT_EQ(a.CustomY2, 40);
    EXPECT_FALSE(a.DisplayHeadlines);
    EXPECT_TRUE(a.NoDuplicates);
    EXPECT_EQ(a.DuplicateHCacheSize, 150);
    EXPECT_FALSE(a.LogHeadlines);
    EXPECT_EQ(a.HeadlineCapacity, 1000);
    EXPECT_TRUE(a.AltTimeFormat);
    EXPECT_FALSE(a.AutoAttach);
    EXPECT_FALSE(a.DisplayWelcomeMsg);
    EXPECT_TRUE(a.MinimizeToSysTray);
    EXPECT_TRUE(a.StayOnTop);
    EXPECT_EQ(a.HistMT4HBuffer, 0);
    EXPECT_FALSE(a.HBoxFontSmoothingDisabled);
    EXPECT_EQ(s.HBoxFont, (HBoxFontDescription{u"Consolas", -16, {.Strikeout = true}, 0x000000FFu}));
    EXPECT_EQ(s.Positions, (StoredWindowPositions{1, 2, 3, 4, 5, 6}));
}

TEST(SettingsLoad, TextThatIsNotIntegerTextKeepsTheDefault)
{
    const SettingsSnapshot s = LoadText(
        u"[ButtonDiscovery]\nCustomX1=12 px\nCustomY1=\nCustomAllowOnlyExactMatch=yes\n"
        u"[Misc]\nDisplayHeadlines=false\nNoDuplicates=true\nHeadlineCapacity=2e2\nHBoxFontHeight=-\n"
        u"[Other]\nMainWindowX=abc\nCoordsWindowY=99999999999\n");
    const SettingsSnapshot defaults;
    EXPECT_EQ(s, defaults);
}

TEST(SettingsLoad, OutOfRangeNumbersAreClampedToTheDialogRanges)
{
    const SettingsSnapshot low = LoadText(
        u"[ButtonDiscovery]\nDiscoveryMethod=0\n[Misc]\nDuplicateHCacheSize=0\nHeadlineCapacity=5\nHistMT4HBuffer=-1\n");
    EXPECT_EQ(low.Settings.DiscoveryMethod, 1);
    EXPECT_EQ(low.Settings.DuplicateHCacheSize, 1);
    EXPECT_EQ(low.Settings.HeadlineCapacity, 10);
    EXPECT_EQ(low.Settings.HistMT4HBuffer, 0);

    const SettingsSnapshot high = LoadText(
        u"[ButtonDiscovery]\nDiscoveryMethod=3\n[Misc]\nDuplicateHCacheSize=201\nHeadlineCapacity=$FFFFFFF\n"
        u"HistMT4HBuffer=2147483647\n");
    EXPECT_EQ(high.Settings.DiscoveryMethod, 2);
    EXPECT_EQ(high.Settings.DuplicateHCacheSize, 200);
    EXPECT_EQ(high.Settings.HeadlineCapacity, 1000);
    EXPECT_EQ(high.Settings.HistMT4HBuffer, 200);

    // Values inside the ranges, at their edges, are taken as they are.
    const SettingsSnapshot edges = LoadText(u"[Misc]\nDuplicateHCacheSize=200\nHeadlineCapacity=10\nHistMT4HBuffer=200\n");
    EXPECT_EQ(edges.Settings.DuplicateHCacheSize, 200);
    EXPECT_EQ(edges.Settings.HeadlineCapacity, 10);
    EXPECT_EQ(edges.Settings.HistMT4HBuffer, 200);

    // Clicks and positions have no range.
    const SettingsSnapshot free = LoadText(u"[ButtonDiscovery]\nCustomX1=-500\n[Other]\nMainWindowW=-3\n");
    EXPECT_EQ(free.Settings.CustomX1, -500);
    EXPECT_EQ(free.Positions.MainWindowW, -3);
}

TEST(SettingsLoad, FontColourTextForms)
{
    auto colourOf = [](std::u16string_view value) {
        return LoadText(u"[Misc]\nHBoxFontColor=" + std::u16string(value) + u"\n").HBoxFont.Color;
    };
    EXPECT_EQ(colourOf(u"clNavy"), 0x00800000u);
    EXPECT_EQ(colourOf(u"clBtnFace"), 0xFF00000Fu);
    EXPECT_EQ(colourOf(u"$00C0FFEE"), 0x00C0FFEEu);
    EXPECT_EQ(colourOf(u"16711680"), 0x00FF0000u);
    EXPECT_EQ(colourOf(u"-16777201"), 0xFF00000Fu);
    EXPECT_EQ(colourOf(u"clDefault"), 0x20000000u);
    EXPECT_EQ(colourOf(u"clNone"), 0x1FFFFFFFu);
    // Unreadable colours fall back to the default colour.
    EXPECT_EQ(colourOf(u"purple-ish"), 0xFF000008u);
    EXPECT_EQ(colourOf(u""), 0xFF000008u);
    EXPECT_EQ(colourOf(u"$123456789"), 0xFF000008u);
}

TEST(SettingsRoundTrip, FontStyleOrderIsNormalisedAndAbsentStyleLeavesNoKey)
{
    const SettingsSnapshot loaded = LoadText(u"[Misc]\nHBoxFontStyle=Italic,Bold\n");
    EXPECT_EQ(loaded.HBoxFont.Style, (TFontStyles{.Bold = true, .Italic = true}));
    EXPECT_TRUE(Contains(SavedText(loaded), u"\r\nHBoxFontStyle=Bold,Italic\r\n"));

    const SettingsSnapshot none = LoadText(u"[Misc]\nHBoxFontStyle=\nHBoxFontName=X\n");
    EXPECT_FALSE(none.HBoxFont.Style.Any());
    EXPECT_FALSE(Contains(SavedText(none), u"HBoxFontStyle"));
}

TEST(SettingsRoundTrip, ColoursSurviveSaveAndLoad)
{
    for (const TColor color : {0x00000000u, 0x000000FFu, 0xFF000008u, 0xFF00001Eu, 0xFF000019u, 0x00ABCDEFu,
                               0x20000000u, 0x1FFFFFFFu, 0xFFFFFFFFu}) {
        SettingsSnapshot s;
        s.HBoxFont.Color = color;
        EXPECT_EQ(Load(SaveSettingsToBytes(s, kCp1252)).HBoxFont.Color, color) << std::hex << color;
    }
}

TEST(SettingsRoundTrip, CommentsUnknownKeysAndSectionsAreGoneAfterASave)
{
    const SettingsSnapshot s = LoadText(
        u"top line before any section\n; my note\n[Misc]\n;StayOnTop=1\nFavouriteColour=blue\nStayOnTop=1\n"
        u"[MyOwnSection]\nx=1\n");
    EXPECT_TRUE(s.Settings.StayOnTop);
    const std::u16string saved = SavedText(s);
    EXPECT_FALSE(Contains(saved, u"note"));
    EXPECT_FALSE(Contains(saved, u"top line"));
    EXPECT_FALSE(Contains(saved, u"FavouriteColour"));
    EXPECT_FALSE(Contains(saved, u"MyOwnSection"));
    EXPECT_FALSE(Contains(saved, u";"));
    EXPECT_TRUE(Contains(saved, u"\r\nStayOnTop=1\r\n"));
}

TEST(SettingsRoundTrip, AFullSnapshotSurvivesUnchanged)
{
    SettingsSnapshot s;
    s.Terminals = {Terminal("Alpha \xC4", "A", "C:\\Program Files\\A", "alpha"), Terminal("B", "B", "D:", "=b=")};
    s.Settings.DiscoveryMethod = 2;
    s.Settings.CustomTitlePattern = "  leading blanks kept";
    s.Settings.CustomClassName = "Afx:400000:0";
    s.Settings.CustomBSInSameWindow = true;
    s.Settings.CustomX1 = 1;
    s.Settings.CustomY1 = 2;
    s.Settings.CustomX2 = 3;
    s.Settings.CustomY2 = 4;
    s.Settings.NoDuplicates = true;
    s.Settings.DuplicateHCacheSize = 77;
    s.Settings.HeadlineCapacity = 999;
    s.Settings.AltTimeFormat = true;
    s.Settings.MinimizeToSysTray = true;
    s.Settings.HistMT4HBuffer = 200;
    s.Settings.HBoxFontSmoothingDisabled = false;
    s.HBoxFont = {u"Fixedsys \u4E2D", 0, {true, true, true, true}, 0xFF000012u};
    s.Positions = {-32000, -32000, 610, 151, 0, -1};
    EXPECT_EQ(Load(SaveSettingsToBytes(s, kCp1252)), s);
}

TEST(SettingsLoad, MalformedInputGivesDefaultsForWhatCannotBeRead)
{
    // Truncated in the middle of a UTF-16 character: the last full line still counts.
    std::vector<uint8_t> truncated = Utf16LE(u"[Misc]\r\nHeadlineCapacity=500\r\nStayOnTop=1");
    truncated.pop_back();
    const SettingsSnapshot t = Load(truncated);
    EXPECT_EQ(t.Settings.HeadlineCapacity, 500);
    EXPECT_FALSE(t.Settings.StayOnTop);  // "StayOnTop=" followed by a dropped half character

    // UTF-16 without a mark reads as 8-bit text full of NULs: nothing is found.
    EXPECT_EQ(Load(Utf16LE(u"[Misc]\r\nStayOnTop=1\r\n", false)), SettingsSnapshot{});

    // Invalid UTF-8 in a value does not disturb the other keys.
    const SettingsSnapshot u = Load(Utf8WithMark("[Misc]\nHBoxFontName=A\xFF\xC0Z\nHeadlineCapacity=20\n"));
    EXPECT_EQ(u.HBoxFont.Name, u"A\uFFFD\uFFFDZ");
    EXPECT_EQ(u.Settings.HeadlineCapacity, 20);

    // A huge line and a huge value.
    std::u16string big = u"[Misc]\n" + std::u16string(1 << 20, u'x') + u"\nHBoxFontName=" +
                         std::u16string(1 << 16, u'F') + u"\nHeadlineCapacity=11\n";
    const SettingsSnapshot h = LoadText(big);
    EXPECT_EQ(h.HBoxFont.Name.size(), size_t{1} << 16);
    EXPECT_EQ(h.Settings.HeadlineCapacity, 11);

    // Embedded NULs are characters like any other.
    const SettingsSnapshot n = LoadText(std::u16string(u"[Misc]\n\0\nHeadlineCapacity=12\n", 28));
    EXPECT_EQ(n.Settings.HeadlineCapacity, 12);
}

TEST(SettingsLoad, ManyBrokerSectionsLoadInOrder)
{
    std::u16string text;
    for (int i = 3000; i >= 1; --i) {
        const std::string n = std::to_string(i);
        const std::u16string wn(n.begin(), n.end());
        text += u"[Broker" + wn + u"]\nFullName=F" + wn + u"\nShortName=S" + wn + u"\n";
    }
    const SettingsSnapshot s = LoadText(text);
    ASSERT_EQ(s.Terminals.size(), 3000u);
    EXPECT_EQ(s.Terminals[0].FullName, "F1");
    EXPECT_EQ(s.Terminals[2999].ShortName, "S3000");
}

TEST(SettingsLoad, RandomBytesNeverCrashAndReloadingTheSaveIsStable)
{
    std::mt19937 rng(20261209);
    const std::u16string seed =
        u"[Broker1]\r\nFullName=A\r\n[Misc]\r\nHeadlineCapacity=50\r\nHBoxFontStyle=Bold\r\nHBoxFontColor=clRed\r\n"
        u"[Other]\r\nMainWindowX=5\r\n";
    const std::vector<uint8_t> seedBytes = Utf16LE(seed);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 2 == 0) {
            // Mutations of a real file.
            bytes = seedBytes;
            const int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                const size_t at = rng() % bytes.size();
                switch (rng() % 3) {
                case 0: bytes[at] = static_cast<uint8_t>(rng()); break;
                case 1: bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at)); break;
                default: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng())); break;
                }
            }
        } else {
            // Pure noise, sometimes behind a mark.
            bytes.resize(rng() % 600);
            for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng() % 4 == 0 ? "[]=\r\n;"[rng() % 6] : rng());
            static const std::vector<std::vector<uint8_t>> marks = {{}, {0xFF, 0xFE}, {0xFE, 0xFF}, {0xEF, 0xBB, 0xBF}};
            const auto& mark = marks[rng() % marks.size()];
            bytes.insert(bytes.begin(), mark.begin(), mark.end());
        }
        const SettingsSnapshot first = Load(bytes);
        EXPECT_TRUE(DuplicateHCacheSizeRange.Contains(first.Settings.DuplicateHCacheSize));
        EXPECT_TRUE(HeadlineCapacityRange.Contains(first.Settings.HeadlineCapacity));
        EXPECT_TRUE(HistMT4HBufferRange.Contains(first.Settings.HistMT4HBuffer));
        EXPECT_TRUE(DiscoveryMethodRange.Contains(first.Settings.DiscoveryMethod));
        const SettingsSnapshot second = Load(SaveSettingsToBytes(first, kCp1252));
        EXPECT_EQ(second, first) << "round " << round;
    }
}
