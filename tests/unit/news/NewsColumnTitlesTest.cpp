#include <gtest/gtest.h>

#include <set>
#include <sstream>

#if !defined(_WIN32)
#include <iconv.h>
#endif

#include "FakeTerminalMemory.h"
#include "news/ListViewRecords.h"
#include "news/NewsColumnTitles.h"
#include "news/ProcessMemMgr.h"

using namespace pelo;
using namespace pelo::news;
using pelo::news::test::FakeAddressSpace;
using pelo::news::test::FakeListView;
using pelo::news::test::MakeFakeRemote;

namespace {

// The title pairs as the terminal's languages show them (UTF-8 here), with the bytes the ANSI column message
// returns for the non-ASCII ones, written down separately from the table under test.
struct ExpectedPair {
    int number;
    const char* time;
    const char* headline;
    const char* timeHex;      // empty: the title is plain ASCII
    const char* headlineHex;  // empty: the title is plain ASCII
    int codePage;
};

const ExpectedPair Expected[] = {
    {1, "Time", "Headline", "", "", 0},
    {2, "Zaman", "Başlık", "", "42 61 FE 6C FD 6B", 1254},
    {3, "Tid", "Rubrik", "", "", 0},
    {4, "Tiempo", "Titular", "", "", 0},
    {5, "Čas", "Nadpis", "C8 61 73", "", 1250},
    {6, "Vrijeme", "Naslov", "", "", 0},
    {7, "Время", "Тема", "C2 F0 E5 EC FF", "D2 E5 EC E0", 1251},
    {8, "Horário", "Manchete", "48 6F 72 E1 72 69 6F", "", 1252},
    {9, "Czas", "Nagłówek", "", "4E 61 67 B3 F3 77 65 6B", 1250},
    {10, "Цаг", "Сэдэв", "D6 E0 E3", "D1 FD E4 FD E2", 1251},
    {11, "Laikas", "Antraštė", "", "41 6E 74 72 61 F0 74 EB", 1257},
    {12, "Laiks", "Tema", "", "", 0},
    {13, "시간", "제목", "BD C3 B0 A3", "C1 A6 B8 F1", 949},
    {14, "時間", "ヘッドライン", "8E 9E 8A D4", "83 77 83 62 83 68 83 89 83 43 83 93", 932},
    {15, "Data/Orario", "Notizia", "", "", 0},
    {16, "Waktu", "Headline", "", "", 0},
    {17, "Idő", "Cím", "49 64 F5", "43 ED 6D", 1250},
    {18, "זמן", "כותרת", "E6 EE EF", "EB E5 FA F8 FA", 1255},
    {19, "Ωρα", "Επικεφαλίδα", "D9 F1 E1", "C5 F0 E9 EA E5 F6 E1 EB DF E4 E1", 1253},
    {20, "Zeit", "Überschrift", "", "DC 62 65 72 73 63 68 72 69 66 74", 1252},
    {21, "Date exécution", "Entete", "44 61 74 65 20 65 78 E9 63 75 74 69 6F 6E", "", 1252},
    {22, "زمان", "Headline", "D2 E3 C7 E4", "", 1256},
    {23, "Aeg", "Pealkiri", "", "", 0},
    {24, "Tijd", "Headline", "", "", 0},
    {25, "Tid", "Overskrift", "", "", 0},
    {26, "時間", "標題", "AE C9 B6 A1", "BC D0 C3 44", 950},
    {27, "时间", "标题", "CA B1 BC E4", "B1 EA CC E2", 936},
    {28, "Време", "Заглавие", "C2 F0 E5 EC E5", "C7 E0 E3 EB E0 E2 E8 E5", 1251},
    {29, "زمن", "عنوان", "D2 E3 E4", "DA E4 E6 C7 E4", 1256},
};

std::string FromHex(const char* hex)
{
    std::istringstream in(hex);
    std::string bytes;
    unsigned value = 0;
    while (in >> std::hex >> value)
        bytes += static_cast<char>(value);
    return bytes;
}

std::string ExpectedBytes(const char* display, const char* hex) { return *hex ? FromHex(hex) : std::string(display); }

TEST(NewsColumnTitlesTest, AllPairsHaveTheirExactBytes)
{
    ASSERT_EQ(std::size(Expected), NewsColumnTitles.size());
    for (const ExpectedPair& e : Expected) {
        SCOPED_TRACE(e.number);
        const TNewsColumnTitlePair& pair = NewsColumnTitles.at(static_cast<std::size_t>(e.number - 1));
        EXPECT_EQ(pair.Time, ExpectedBytes(e.time, e.timeHex));
        EXPECT_EQ(pair.Headline, ExpectedBytes(e.headline, e.headlineHex));
        if (*e.timeHex || *e.headlineHex) {
            EXPECT_EQ(pair.CodePage, e.codePage);
        }
    }
}

TEST(NewsColumnTitlesTest, Codepage932RowReadsAsJapanese)
{
    // Row 14: time / headline in Shift-JIS (the double-byte lead bytes must be kept exactly).
    const TNewsColumnTitlePair& pair = NewsColumnTitles[13];
    EXPECT_EQ(pair.CodePage, 932);
    EXPECT_EQ(pair.Time, std::string_view("\x8E\x9E\x8A\xD4"));
    EXPECT_EQ(pair.Headline.size(), 12u);
    EXPECT_EQ(MatchNewsColumns(2, pair.Time, pair.Headline), 1);
    EXPECT_EQ(MatchNewsColumns(2, pair.Headline, pair.Time), 0);
}

#if !defined(_WIN32)
std::string DecodeToUtf8(std::string_view bytes, int codePage)
{
    const std::string from = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<no converter for " + from + ">";
    std::string in(bytes);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    // Some converters (1255) hold the last character back until they are flushed.
    if (rc != static_cast<std::size_t>(-1))
        rc = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return "<invalid in " + from + ">";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(NewsColumnTitlesTest, NonAsciiTitlesReadCorrectlyInTheirCodePages)
{
    for (const ExpectedPair& e : Expected) {
        if (!*e.timeHex && !*e.headlineHex)
            continue;
        SCOPED_TRACE(e.number);
        const TNewsColumnTitlePair& pair = NewsColumnTitles.at(static_cast<std::size_t>(e.number - 1));
        EXPECT_EQ(DecodeToUtf8(pair.Time, pair.CodePage), e.time);
        EXPECT_EQ(DecodeToUtf8(pair.Headline, pair.CodePage), e.headline);
    }
}
#endif

TEST(MatchNewsColumnsTest, OrderDecidesTheHeadlineColumn)
{
    EXPECT_EQ(MatchNewsColumns(2, "Headline", "Time"), 0);
    EXPECT_EQ(MatchNewsColumns(2, "Time", "Headline"), 1);
    EXPECT_EQ(MatchNewsColumns(3, "Time", "Headline"), 1);  // a third column of any title is fine
    // Titles of different languages may be combined: the pairs only list what belongs together.
    EXPECT_EQ(MatchNewsColumns(2, "Tid", "Overskrift"), 1);
    EXPECT_EQ(MatchNewsColumns(2, "Tid", "Rubrik"), 1);
    EXPECT_EQ(MatchNewsColumns(2, "Waktu", "Rubrik"), std::nullopt);
}

TEST(MatchNewsColumnsTest, ColumnCountAndExactness)
{
    EXPECT_EQ(MatchNewsColumns(1, "Time", "Headline"), std::nullopt);
    EXPECT_EQ(MatchNewsColumns(4, "Time", "Headline"), std::nullopt);
    EXPECT_EQ(MatchNewsColumns(2, "time", "Headline"), std::nullopt);
    EXPECT_EQ(MatchNewsColumns(2, "Time ", "Headline"), std::nullopt);
    EXPECT_EQ(MatchNewsColumns(2, "Time", "Headlines"), std::nullopt);
    EXPECT_EQ(MatchNewsColumns(2, "Time", "Time"), std::nullopt);
    // The same title in the wrong code page's bytes does not match (Ü in 1252 vs the UTF-8 form).
    EXPECT_EQ(MatchNewsColumns(2, "Zeit", "\xDC" "berschrift"), 1);
    EXPECT_EQ(MatchNewsColumns(2, "Zeit", "\xC3\x9C" "berschrift"), std::nullopt);
}

class CheckNewsColumnsTest : public ::testing::Test {
protected:
    std::optional<int> Check(std::vector<std::string> titles, bool ownStorage = false)
    {
        FakeListView list(space, std::move(titles));
        list.titlesInOwnStorage = ownStorage;
        TForeignProcessMemMgr mgr(MakeFakeRemote(space));
        const std::optional<int> result = CheckNewsColumns(mgr, list);
        requests = list.columnRequests;
        return result;
    }
    FakeAddressSpace space;
    int requests = 0;
};

TEST_F(CheckNewsColumnsTest, ReadsTitlesThroughTheTerminalsMemory)
{
    EXPECT_EQ(Check({"Headline", "Time"}), 0);
    EXPECT_EQ(requests, 3);  // two columns and the refused third
    EXPECT_EQ(Check({"Time", "Headline"}), 1);
    EXPECT_EQ(Check({"\xC2\xF0\xE5\xEC\xFF", "\xD2\xE5\xEC\xE0", "Source"}), 1);
    EXPECT_EQ(Check({"Time", "Headline"}, /*ownStorage=*/true), 1);
}

TEST_F(CheckNewsColumnsTest, ListsThatAreNotTheNewsList)
{
    EXPECT_EQ(Check({"Time", "From", "Headline"}), std::nullopt);
    EXPECT_EQ(Check({"Time", "Headline", "Source", "Extra"}), std::nullopt);
    EXPECT_EQ(Check({"Time"}), std::nullopt);
    EXPECT_EQ(Check({}), std::nullopt);
    EXPECT_EQ(Check({"time", "Headline"}), std::nullopt);
    // A list with a great many columns is not asked about all of them.
    EXPECT_EQ(Check(std::vector<std::string>(500, "Time")), std::nullopt);
    EXPECT_LE(requests, 5);
}

TEST(ListViewRecordsTest, ByteLayoutsOfTheRequests)
{
    const TListItemRecord::Bytes item = MakeHeadlineItemRecord(1, 0x00A1B2C4).Encode();
    const std::uint8_t expectedItem[40] = {1, 0, 0, 0,  0, 0, 0, 0,  1, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
                                           0xC4, 0xB2, 0xA1, 0,  0, 1, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(item.data(), expectedItem, 40));
    EXPECT_EQ(TListItemRecord::Decode(item), MakeHeadlineItemRecord(1, 0x00A1B2C4));

    const TListColumnRecord::Bytes column = MakeTitleColumnRecord(0x12345678).Encode();
    const std::uint8_t expectedColumn[32] = {7, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0x78, 0x56, 0x34, 0x12,
                                             0, 4, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(column.data(), expectedColumn, 32));
}

}  // namespace
