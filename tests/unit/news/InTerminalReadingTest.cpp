// Reading a news list in one go inside the terminal: the walk the hook library runs there (compiled here from the
// same header), the shared area's request and answer, and the reading pass over that snapshot, which must hand on
// exactly what the pass over the remote list hands on.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "FakeNews.h"
#include "core/SystemErrors.h"
#include "news/NewsReader.h"
#include "news/RowSnapshot.h"
#include "news/SnapshotNewsList.h"

using namespace pelo;
using namespace pelo::news;
using namespace pelo::news::test;

namespace {

// The terminal's side: the hook's walk over the list, as the list view answers it in process.
struct InProcessRows {
    FakeNewsList& list;
    int NextRow(int row) { return list.NextRow(row); }
    void RowText(int row, char (&text)[rows::TextCapacity])
    {
        // LVM_GETITEMTEXTA: at most 255 bytes and the NUL.
        const std::string s = list.RowText(row);
        const std::size_t n = std::min<std::size_t>(s.size(), rows::TextCapacity - 1);
        std::memcpy(text, s.data(), n);
        text[n] = '\0';
    }
};

// The program's side of the shared area, with the terminal's walk in place of the message that starts it.
class WalkingSource final : public IRowSnapshotSource {
public:
    explicit WalkingSource(std::vector<std::string>* rows) : terminalSide_(rows) { InitRowArea(area_); }

    std::optional<TRowSnapshot> ReadRows(const TRowRequest& request) override
    {
        requests.push_back(request);
        if (lostCode != 0)
            throw EListLost(lostCode, "list lost", lostCode == 1460);
        if (noHook)
            return std::nullopt;
        const std::uint32_t sequence = ++sequence_;
        WriteRowRequest(area_, sequence, request);
        rows::WalkRequest walk;
        if (!rows::ReadWalkRequest(area_.data(), sequence, walk))
            return std::nullopt;
        InProcessRows rowsInProcess{terminalSide_};
        rows::WalkRows(rowsInProcess, walk, area_.data());
        if (tamper)
            tamper(area_);
        return DecodeRowSnapshot(std::span(area_.data(), UsedAreaSize(area_.data())), sequence, request);
    }

    std::vector<TRowRequest> requests;
    bool noHook = false;
    std::uint32_t lostCode = 0;
    std::function<void(std::vector<std::uint8_t>&)> tamper;

private:
    FakeNewsList terminalSide_;
    std::vector<std::uint8_t> area_ = std::vector<std::uint8_t>(rows::AreaSize);
    std::uint32_t sequence_ = 0x5000;
};

// Counts what the remote list is asked, to show which rows came from the snapshot.
class CountingList final : public INewsList {
public:
    explicit CountingList(std::vector<std::string>* rows) : list(rows) {}
    int NextRow(int row) override
    {
        ++calls;
        return list.NextRow(row);
    }
    std::string RowText(int row) override
    {
        ++calls;
        return list.RowText(row);
    }
    void AbandonTerminalMemory() noexcept override { abandoned = true; }

    FakeNewsList list;
    int calls = 0;
    bool abandoned = false;
};

// Two readers of the same rows: one asks the remote list row by row, the other reads through the snapshot.
struct TwoPaths {
    TwoPaths()
    {
        remoteReader.AttachList(0x10, 1, std::make_unique<FakeNewsList>(&rows));
        auto remote = std::make_unique<CountingList>(&rows);
        fallback = remote.get();
        auto walking = std::make_unique<WalkingSource>(&rows);
        source = walking.get();
        fastReader.AttachList(0x20, 1, std::make_unique<TSnapshotNewsList>(std::move(remote), std::move(walking), 1));
    }

    void Pass()
    {
        remoteReader.ReadNewHeadlines(remoteDispatch);
        fastReader.ReadNewHeadlines(fastDispatch);
    }

    void ExpectSameResults(const std::string& where) const
    {
        SCOPED_TRACE(where);
        ASSERT_EQ(fastDispatch.batches.size(), remoteDispatch.batches.size());
        for (std::size_t i = 0; i < fastDispatch.batches.size(); ++i) {
            EXPECT_EQ(fastDispatch.batches[i].texts, remoteDispatch.batches[i].texts) << "batch " << i;
            EXPECT_EQ(fastDispatch.batches[i].duplicates, remoteDispatch.batches[i].duplicates) << "batch " << i;
            EXPECT_EQ(fastDispatch.batches[i].firstPass, remoteDispatch.batches[i].firstPass) << "batch " << i;
        }
        EXPECT_EQ(fastReader.LastTopText(), remoteReader.LastTopText());
        EXPECT_EQ(fastReader.FirstPass(), remoteReader.FirstPass());
        EXPECT_EQ(fastDispatch.duplicateChecks, remoteDispatch.duplicateChecks);
    }

    std::vector<std::string> rows;
    TNewsReader remoteReader{"Broker", "B", "broker"};
    TNewsReader fastReader{"Broker", "B", "broker"};
    FakeDispatch remoteDispatch;
    FakeDispatch fastDispatch;
    CountingList* fallback = nullptr;
    WalkingSource* source = nullptr;
};

TEST(InTerminalReadingTest, ThePassOverTheSnapshotHandsOnWhatTheRemotePassHandsOn)
{
    TwoPaths p;
    AddNewestRows(p.rows, Numbered("old ", 1, 100));
    p.Pass();  // history 30 of 100
    AddNewestRows(p.rows, {"new 1", "new 2", "new 3"});
    p.Pass();
    p.Pass();  // nothing new
    AddNewestRows(p.rows, {"same", "other", "same"});  // a repeat: a second pass follows at once
    p.Pass();
    AddNewestRows(p.rows, Numbered("burst ", 1, 250));  // only the top 200 are read
    p.Pass();
    p.rows = {"z", "y", "x"};  // rebuilt: the remembered top is gone
    p.Pass();
    AddNewestRows(p.rows, {std::string(255, 'L'), ""});  // longest text, and an empty one on top
    p.Pass();
    ASSERT_NO_FATAL_FAILURE(p.ExpectSameResults("fixed scenario"));
    EXPECT_EQ(p.remoteDispatch.batches.size(), 6u);
    EXPECT_EQ(p.fastDispatch.batches[3].texts.size(), 200u);

    // Every pass was read in the terminal, and not one row was asked of the remote list.
    EXPECT_EQ(p.fastReader.InTerminalPasses(), 8);
    EXPECT_EQ(p.fastReader.RemotePasses(), 0);
    EXPECT_EQ(p.remoteReader.RemotePasses(), 8);
    EXPECT_EQ(p.fallback->calls, 0);
    // The request names what the pass stops at and how far it may need to go.
    ASSERT_EQ(p.source->requests.size(), 8u);
    EXPECT_EQ(p.source->requests[0].StopText, std::nullopt);
    EXPECT_EQ(p.source->requests[0].MaxRows, 30 + TSnapshotNewsList::RowMargin);
    EXPECT_EQ(p.source->requests[1].StopText, "old 100");
    EXPECT_EQ(p.source->requests[1].MaxRows, 200 + TSnapshotNewsList::RowMargin);
    EXPECT_EQ(p.source->requests[1].HeadlineColumn, 1);
}

TEST(InTerminalReadingTest, RandomListsGiveTheSameBatchesOnBothPaths)
{
    // Texts from a small alphabet: repeats within a pass, and older rows that equal the remembered top, are common.
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        TwoPaths p;
        const int history = static_cast<int>(random() % 41);
        p.remoteDispatch.history = p.fastDispatch.history = history;
        const bool noDuplicates = random() % 2 == 0;
        p.remoteDispatch.noDuplicates = p.fastDispatch.noDuplicates = noDuplicates;
        const int alphabet = 3 + static_cast<int>(random() % 30);
        auto text = [&] { return "t" + std::to_string(random() % static_cast<unsigned>(alphabet)); };
        for (int i = static_cast<int>(random() % 60); i > 0; --i)
            p.rows.insert(p.rows.begin(), text());
        p.Pass();
        for (int step = 0; step < 25; ++step) {
            const unsigned kind = random() % 10;
            if (kind == 0) {
                p.rows.clear();
            } else if (kind == 1) {
                int n = static_cast<int>(random() % 260);
                while (n-- > 0)
                    p.rows.insert(p.rows.begin(), text());
            } else {
                int n = static_cast<int>(random() % 4);
                while (n-- > 0)
                    p.rows.insert(p.rows.begin(), text());
            }
            p.Pass();
        }
        ASSERT_NO_FATAL_FAILURE(p.ExpectSameResults("seed " + std::to_string(seed)));
        EXPECT_EQ(p.fastReader.RemotePasses(), 0) << "seed " << seed;
    }
}

TEST(InTerminalReadingTest, WhatTheSnapshotDoesNotCoverIsAskedOfTheRemoteList)
{
    TwoPaths p;
    p.remoteDispatch.history = p.fastDispatch.history = 5;
    AddNewestRows(p.rows, Numbered("old ", 1, 10));
    p.Pass();

    // Every new text three times: the pass walks 300 rows for a batch of 100, further than the snapshot goes,
    // and reads the rest row by row.
    for (const std::string& text : Numbered("new ", 1, 100))
        AddNewestRows(p.rows, {text, text, text});
    p.Pass();
    ASSERT_NO_FATAL_FAILURE(p.ExpectSameResults("repeats beyond the snapshot"));
    EXPECT_EQ(p.fastDispatch.batches[1].texts.size(), 100u);
    EXPECT_GT(p.fallback->calls, 2 * (300 - 200 - TSnapshotNewsList::RowMargin) - 4);
    EXPECT_EQ(p.fastReader.InTerminalPasses(), 3);  // and the pass the repeats ask for

    // No hook that answers: the whole pass is remote, and counted so.
    p.source->noHook = true;
    p.fallback->calls = 0;
    AddNewestRows(p.rows, {"late"});
    p.Pass();
    ASSERT_NO_FATAL_FAILURE(p.ExpectSameResults("no hook"));
    EXPECT_EQ(p.fastDispatch.batches.back().texts, (std::vector<std::string>{"late"}));
    EXPECT_EQ(p.fallback->calls, 4);  // first row, its text, the next row, its text
    EXPECT_EQ(p.fastReader.RemotePasses(), 1);

    // An answer that does not check out is not used: the pass reads remotely and hands on the real rows.
    p.source->noHook = false;
    p.source->tamper = [](std::vector<std::uint8_t>& area) {
        area[rows::RowsField + rows::RowHeaderSize] = 'X';  // the first row's text, altered...
        rows::StoreU32(area.data(), rows::RowCountField, 7);  // ...with a count its bytes do not bear out
    };
    AddNewestRows(p.rows, {"real"});
    p.Pass();
    ASSERT_NO_FATAL_FAILURE(p.ExpectSameResults("bad answer"));
    EXPECT_EQ(p.fastDispatch.batches.back().texts, (std::vector<std::string>{"real"}));
    EXPECT_EQ(p.fastReader.RemotePasses(), 2);
    EXPECT_EQ(p.fastReader.InTerminalPasses(), 3);
}

TEST(InTerminalReadingTest, ALostListRaisesAsTheRemoteListWouldAndAHungOneLeavesItsMemory)
{
    for (const std::uint32_t code : {1400u, 1460u}) {
        SCOPED_TRACE(code);
        TwoPaths p;
        AddNewestRows(p.rows, {"a"});
        p.Pass();
        p.source->lostCode = code;
        AddNewestRows(p.rows, {"b"});
        EXPECT_THROW(p.fastReader.ReadNewHeadlines(p.fastDispatch), EListLost);
        EXPECT_EQ(p.fallback->abandoned, code == 1460);
        EXPECT_EQ(p.fastDispatch.batches.size(), 1u);
        EXPECT_EQ(p.fastReader.LastTopText(), "a");
    }
}

// ---- The shared area ----------------------------------------------------------------------------------------------

class RowAreaTest : public ::testing::Test {
protected:
    RowAreaTest() { InitRowArea(area); }

    // Walks `list` for `request` as the hook does; the answer's sequence is 7.
    void Walk(const TRowRequest& request)
    {
        this->request = request;
        InitRowArea(area);
        WriteRowRequest(area, 7, request);
        rows::WalkRequest walk;
        ASSERT_TRUE(rows::ReadWalkRequest(area.data(), 7, walk));
        InProcessRows in{list};
        rows::WalkRows(in, walk, area.data());
    }
    std::optional<TRowSnapshot> Decode(std::uint32_t sequence = 7)
    {
        return DecodeRowSnapshot(std::span(area.data(), UsedAreaSize(area.data())), sequence, request);
    }

    std::vector<std::string> rows{"top", "middle", "stop", "below"};
    FakeNewsList list{&rows};
    std::vector<std::uint8_t> area = std::vector<std::uint8_t>(rows::AreaSize);
    TRowRequest request;
};

TEST_F(RowAreaTest, TheWalkEndsWhereThePassWouldAndSaysWhy)
{
    Walk({"stop", 50, 1});
    auto s = Decode();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->End, rows::WalkEnd::StopText);
    EXPECT_EQ(s->Rows, (std::vector<TSnapshotRow>{{0, "top"}, {1, "middle"}, {2, "stop"}}));

    Walk({std::nullopt, 50, 1});
    s = Decode();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->End, rows::WalkEnd::ListEnd);
    EXPECT_EQ(s->EndAnswer, -1);
    EXPECT_EQ(s->Rows.size(), 4u);

    Walk({std::nullopt, 2, 1});
    s = Decode();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->End, rows::WalkEnd::RowLimit);
    EXPECT_EQ(s->Rows.size(), 2u);

    rows.clear();
    Walk({"stop", 50, 1});
    s = Decode();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->End, rows::WalkEnd::ListEnd);
    EXPECT_TRUE(s->Rows.empty());

    // 250 rows of 255 bytes do not fit: the walk stops before the row that would overflow, and says so.
    rows.assign(250, std::string(255, 'W'));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].replace(0, 3, std::to_string(100 + i));
    Walk({std::nullopt, 250, 1});
    s = Decode();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->End, rows::WalkEnd::AreaFull);
    EXPECT_EQ(s->Rows.size(), rows::RowsCapacity / rows::PaddedRowSize(255));
}

TEST_F(RowAreaTest, AnAnswerThatDoesNotCheckOutIsRefused)
{
    using Tamper = std::function<void(std::uint8_t*)>;
    const auto u32 = [](std::uint32_t offset, std::uint32_t value) {
        return Tamper([=](std::uint8_t* a) { rows::StoreU32(a, offset, value); });
    };
    const std::uint32_t secondRow = rows::RowsField + rows::PaddedRowSize(3);  // after "top"
    const struct {
        const char* what;
        Tamper tamper;
    } cases[] = {
        {"another program's mark", u32(rows::MagicField, 0x12345678)},
        {"another version", u32(rows::VersionField, 2)},
        {"no answer yet", u32(rows::AnswerSequenceField, 0)},
        {"an answer to another request", u32(rows::AnswerSequenceField, 6)},
        {"more rows than asked for", u32(rows::RowCountField, 51)},
        {"a count its bytes do not bear out", u32(rows::RowCountField, 2)},
        {"row bytes beyond the area", u32(rows::RowBytesField, rows::RowsCapacity + 4)},
        {"row bytes that end inside a row", u32(rows::RowBytesField, 12)},
        {"a text longer than the list holds", u32(rows::RowsField + 4, 257)},
        {"a text running past the rows", u32(rows::RowsField + 4, 200)},
        {"a negative row", u32(rows::RowsField, 0xFFFFFFFF)},
        {"rows out of order", u32(secondRow, 0)},
        {"a NUL inside a text", [](std::uint8_t* a) { a[rows::RowsField + rows::RowHeaderSize + 1] = 0; }},
        {"an unknown end", u32(rows::WalkEndField, 9)},
        {"a stop that the last row does not hold",
         [](std::uint8_t* a) { a[rows::RowsField + rows::PaddedRowSize(3) + rows::PaddedRowSize(6) + rows::RowHeaderSize] = 'S'; }},
        {"a row limit that was not reached", u32(rows::WalkEndField, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Walk({"stop", 50, 1});
        ASSERT_TRUE(Decode()) << "the untouched answer is valid";
        c.tamper(area.data());
        EXPECT_EQ(Decode(), std::nullopt);
    }
    Walk({"stop", 50, 1});
    EXPECT_EQ(Decode(8), std::nullopt) << "the answer to the request before";

    // The list's end, with an answer that points further down than the last row read.
    Walk({std::nullopt, 50, 1});
    ASSERT_TRUE(Decode());
    rows::StoreU32(area.data(), rows::EndAnswerField, 4);
    EXPECT_EQ(Decode(), std::nullopt);
    rows::StoreU32(area.data(), rows::EndAnswerField, 3);  // a list that answers its last row again ends there
    EXPECT_TRUE(Decode());

    // The stop text may not stand above the last row: the walk would have ended there.
    Walk({std::nullopt, 50, 1});
    request.StopText = "middle";
    rows::StoreU32(area.data(), rows::WalkEndField, static_cast<std::uint32_t>(rows::WalkEnd::ListEnd));
    EXPECT_EQ(Decode(), std::nullopt);
}

TEST_F(RowAreaTest, TheHookTakesNoRequestFromAnAreaThatIsNotOurs)
{
    rows::WalkRequest walk;
    WriteRowRequest(area, 9, {"x", 5, 2});
    EXPECT_TRUE(rows::ReadWalkRequest(area.data(), 9, walk));
    EXPECT_EQ(walk.MaxRows, 5u);
    EXPECT_EQ(walk.HeadlineColumn, 2);
    EXPECT_EQ(std::string(walk.StopText, walk.StopLength), "x");
    EXPECT_FALSE(rows::ReadWalkRequest(area.data(), 10, walk)) << "not the request the message names";
    rows::StoreU32(area.data(), rows::StopLengthField, rows::TextCapacity + 1);
    EXPECT_FALSE(rows::ReadWalkRequest(area.data(), 9, walk)) << "a stop text longer than any row";
    std::vector<std::uint8_t> foreign(rows::AreaSize, 0xAB);
    EXPECT_FALSE(rows::ReadWalkRequest(foreign.data(), 9, walk));
}

}  // namespace
