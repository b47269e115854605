#include <algorithm>
#include <gtest/gtest.h>

#include "FakeNews.h"
#include "FakeTerminalMemory.h"
#include "news/NewsList.h"
#include "news/NewsReader.h"
#include "news/ProcessMemMgr.h"

using namespace pelo;
using namespace pelo::news;
using namespace pelo::news::test;

namespace {

class ReadingPassTest : public ::testing::Test {
protected:
    ReadingPassTest()
    {
        auto fake = std::make_unique<FakeNewsList>(&rows);
        list = fake.get();
        reader.AttachList(0x1234, 1, std::move(fake));
        reader.MarkActive(0);
    }

    void Pass() { reader.ReadNewHeadlines(dispatch); }
    const DispatchedBatch& Last() { return dispatch.batches.back(); }

    std::vector<std::string> rows;  // row 0 newest
    TNewsReader reader{"Broker One Ltd", "B1", "broker one"};
    FakeNewsList* list = nullptr;
    FakeDispatch dispatch;
};

TEST_F(ReadingPassTest, FirstPassTakesHistoryThenLaterPassesStopAtTheRememberedTop)
{
    AddNewestRows(rows, Numbered("old ", 1, 100));  // "old 100" on top
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_TRUE(Last().firstPass);
    EXPECT_EQ(Last().source, "B1");
    EXPECT_EQ(Last().texts.size(), 30u);
    EXPECT_EQ(Last().texts.front(), "old 100");
    EXPECT_EQ(Last().texts.back(), "old 71");
    EXPECT_EQ(reader.LastTopText(), "old 100");
    EXPECT_FALSE(reader.FirstPass());

    AddNewestRows(rows, {"new 1", "new 2", "new 3"});
    list->readRows.clear();
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 2u);
    EXPECT_FALSE(Last().firstPass);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"new 3", "new 2", "new 1"}));
    EXPECT_EQ(list->readRows, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(reader.LastTopText(), "new 3");

    // Nothing new: one row read, nothing dispatched, the remembered top unchanged.
    list->readRows.clear();
    Pass();
    EXPECT_EQ(dispatch.batches.size(), 2u);
    EXPECT_EQ(list->readRows, (std::vector<int>{0}));
    EXPECT_EQ(reader.LastTopText(), "new 3");
}

TEST_F(ReadingPassTest, EmptyListAtStartThenEverythingIsNew)
{
    Pass();
    EXPECT_TRUE(dispatch.batches.empty());
    EXPECT_FALSE(reader.FirstPass());
    EXPECT_EQ(reader.LastTopText(), std::nullopt);

    AddNewestRows(rows, Numbered("h", 1, 250));
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_FALSE(Last().firstPass);
    EXPECT_EQ(Last().texts.size(), 200u);  // rows 200..249 are never read
    EXPECT_EQ(Last().texts.back(), "h51");
    EXPECT_EQ(list->readRows.size(), 200u);

    // The next pass stops at the new top: the 50 unread rows stay unread.
    list->readRows.clear();
    Pass();
    EXPECT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(list->readRows, (std::vector<int>{0}));
}

TEST_F(ReadingPassTest, NoHistoryStillRemembersTheTopRow)
{
    dispatch.history = 0;
    AddNewestRows(rows, Numbered("old ", 1, 10));
    Pass();
    EXPECT_TRUE(dispatch.batches.empty());
    EXPECT_EQ(reader.LastTopText(), "old 10");
    EXPECT_EQ(dispatch.duplicateChecks, 0);

    AddNewestRows(rows, {"fresh"});
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"fresh"}));
    EXPECT_FALSE(Last().firstPass);
}

TEST_F(ReadingPassTest, HistoryLimitsOnlyTheFirstPass)
{
    dispatch.history = 2;
    AddNewestRows(rows, {"a", "b", "c"});
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"c", "b"}));
    AddNewestRows(rows, {"d", "e", "f", "g"});
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"g", "f", "e", "d"}));
}

TEST_F(ReadingPassTest, RepeatedTextIsCollapsedAndASecondPassFollows)
{
    AddNewestRows(rows, {"base"});
    Pass();
    AddNewestRows(rows, {"same", "other", "same"});  // top: same, other, same, base
    dispatch.onDispatch = [&](const TNewsReader&) {
        if (dispatch.batches.size() == 2)
            AddNewestRows(rows, {"meanwhile"});  // arrives while the first batch is handled
    };
    list->readRows.clear();
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 3u);
    EXPECT_EQ(dispatch.batches[1].texts, (std::vector<std::string>{"same", "other"}));
    // The follow-up pass finds only what arrived meanwhile and stops at the top just recorded.
    EXPECT_EQ(dispatch.batches[2].texts, (std::vector<std::string>{"meanwhile"}));
    EXPECT_EQ(list->readRows, (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST_F(ReadingPassTest, RowsInsertedWhileThePassWalksDownAreHandedOnOnce)
{
    AddNewestRows(rows, {"base"});
    Pass();
    AddNewestRows(rows, {"b", "a"});  // top: a, b, base
    // The terminal lists two more rows just after row 0 was read: the pass then meets "y", "a" again, "b".
    list->beforeRead = [&](int row) {
        if (row == 1 && rows.front() == "a")
            AddNewestRows(rows, {"y", "x"});
    };
    Pass();
    std::vector<std::string> handedOn;
    for (std::size_t i = 1; i < dispatch.batches.size(); ++i)
        handedOn.insert(handedOn.end(), dispatch.batches[i].texts.begin(), dispatch.batches[i].texts.end());
    std::sort(handedOn.begin(), handedOn.end());
    EXPECT_EQ(handedOn, (std::vector<std::string>{"a", "b", "x", "y"}));
    EXPECT_EQ(reader.LastTopText(), "x");

    // A repeat within one pass spares its rows only for the pass it starts at once, not for later news.
    list->beforeRead = nullptr;
    AddNewestRows(rows, {"y"});
    const std::size_t before = dispatch.batches.size();
    Pass();
    ASSERT_EQ(dispatch.batches.size(), before + 1);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"y"}));
}

TEST_F(ReadingPassTest, RepeatedTextWithNothingNewEndsAfterTheSecondPass)
{
    AddNewestRows(rows, {"x", "x"});
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"x"}));
    EXPECT_EQ(list->readRows, (std::vector<int>{0, 1, 0}));
}

TEST_F(ReadingPassTest, DuplicateFilterOnlyWhenSwitchedOn)
{
    dispatch.seen = {"known"};
    AddNewestRows(rows, {"known", "new"});
    Pass();
    EXPECT_EQ(dispatch.duplicateChecks, 0);
    EXPECT_EQ(Last().duplicates, (std::vector<bool>{false, false}));

    dispatch.noDuplicates = true;
    AddNewestRows(rows, {"known", "newer"});
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"newer", "known"}));
    EXPECT_EQ(Last().duplicates, (std::vector<bool>{false, true}));
    EXPECT_EQ(dispatch.duplicateChecks, 2);
}

TEST_F(ReadingPassTest, RebuiltListIsReadFromTheTopToTheEnd)
{
    AddNewestRows(rows, {"a", "b"});
    Pass();
    rows = {"z", "y", "x"};  // the remembered "b" is gone
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"z", "y", "x"}));
}

TEST_F(ReadingPassTest, EmptyRowTextIsAHeadlineNotAStopMark)
{
    AddNewestRows(rows, {"below", ""});  // an empty row on top of a fresh reader
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"", "below"}));
    EXPECT_EQ(reader.LastTopText(), "");
    AddNewestRows(rows, {"next"});
    Pass();
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"next"}));
}

TEST_F(ReadingPassTest, FailedReadKeepsStateAndDispatchesNothing)
{
    AddNewestRows(rows, {"a"});
    list->failReads = true;
    EXPECT_THROW(Pass(), std::runtime_error);
    EXPECT_TRUE(dispatch.batches.empty());
    EXPECT_TRUE(reader.FirstPass());
    EXPECT_FALSE(reader.PassRunning());
    list->failReads = false;
    Pass();
    EXPECT_TRUE(Last().firstPass);
}

TEST_F(ReadingPassTest, ARowThatDoesNotAdvanceEndsThePass)
{
    AddNewestRows(rows, {"b", "a"});  // "a" on top
    Pass();
    // The window is gone: every request answers 0 and the text buffer keeps the last text read ("b").
    rows = {"b"};
    int budget = 1000;  // enough to tell a pass that ends from one that never would
    list->nextRow = [&](int) { return budget-- > 0 ? 0 : -1; };
    list->nextRowCalls = 0;
    dispatch.batches.clear();
    Pass();
    EXPECT_EQ(list->nextRowCalls, 2) << "the pass walked on past a row that did not advance";
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"b"}));

    // Going back up ends it as well.
    rows = {"c", "d", "e"};
    budget = 1000;
    list->nextRow = [&](int row) { return budget-- > 0 ? (row == 1 ? 0 : row + 1) : -1; };
    list->nextRowCalls = 0;
    dispatch.batches.clear();
    Pass();
    EXPECT_EQ(list->nextRowCalls, 3);
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(Last().texts, (std::vector<std::string>{"c", "d"}));
}

TEST_F(ReadingPassTest, FailingDispatchDoesNotHandTheSameRowsOnAgain)
{
    AddNewestRows(rows, {"a"});
    Pass();
    AddNewestRows(rows, {"b"});
    dispatch.onDispatch = [](const TNewsReader&) { throw std::runtime_error("log full"); };
    EXPECT_THROW(Pass(), std::runtime_error);
    dispatch.onDispatch = nullptr;
    Pass();
    EXPECT_EQ(dispatch.batches.size(), 2u);
    EXPECT_EQ(reader.LastTopText(), "b");
}

TEST_F(ReadingPassTest, NotificationDuringOwnDispatchIsDeferred)
{
    AddNewestRows(rows, {"a"});
    Pass();
    AddNewestRows(rows, {"b"});
    int nested = 0;
    dispatch.onDispatch = [&](const TNewsReader& r) {
        if (nested++ == 0) {
            // A nested message loop delivers a notification, for rows that arrived meanwhile.
            AddNewestRows(rows, {"c"});
            reader.ReadNewHeadlines(dispatch);
            // Still the same batch: nothing has overwritten it.
            ASSERT_EQ(r.BatchCount(), 1);
            EXPECT_EQ(r.Batch()[0].Text, "b");
            EXPECT_EQ(dispatch.batches.size(), 2u);
        }
    };
    Pass();
    ASSERT_EQ(dispatch.batches.size(), 3u);
    EXPECT_EQ(dispatch.batches[1].texts, (std::vector<std::string>{"b"}));
    EXPECT_EQ(dispatch.batches[2].texts, (std::vector<std::string>{"c"}));
    EXPECT_FALSE(reader.PassRunning());
}

TEST_F(ReadingPassTest, ClosedReaderReadsNoMore)
{
    AddNewestRows(rows, {"a", "a"});  // would ask for a second pass
    dispatch.onDispatch = [&](const TNewsReader&) { reader.Close(); };
    Pass();
    EXPECT_EQ(dispatch.batches.size(), 1u);
    EXPECT_FALSE(reader.Active());
    Pass();
    EXPECT_EQ(dispatch.batches.size(), 1u);
}

TEST(ReadingPassWithoutListTest, DoesNothingAndKeepsTheFirstPassFlag)
{
    TNewsReader reader("Broker", "B", "pattern");
    FakeDispatch dispatch;
    reader.ReadNewHeadlines(dispatch);
    EXPECT_TRUE(reader.FirstPass());
    EXPECT_TRUE(dispatch.batches.empty());
}

TEST(ListViewNewsListTest, ReadsRowsThroughTheTerminalsMemory)
{
    FakeAddressSpace space;
    auto view = std::make_unique<FakeListView>(space, std::vector<std::string>{"Headline", "Time"});
    FakeListView& fake = *view;
    fake.rows = {{"Fed holds rates", "10:00"}, {std::string(300, 'L'), "09:59"}, {"", "09:58"}};
    TListViewNewsList list(std::make_unique<TForeignProcessMemMgr>(MakeFakeRemote(space)), std::move(view), 0);

    // Text buffer first, item record right behind it, in one fresh region.
    EXPECT_EQ(list.RemoteItemRecord(), list.RemoteTextBuffer() + 256);
    EXPECT_EQ(list.NextRow(-1), 0);
    EXPECT_EQ(list.NextRow(2), -1);
    EXPECT_EQ(list.RowText(0), "Fed holds rates");
    EXPECT_EQ(list.RowText(1), std::string(255, 'L'));
    EXPECT_EQ(list.RowText(2), "");
    ASSERT_EQ(fake.itemRequests.size(), 3u);
    EXPECT_EQ(fake.itemRequests[0], MakeHeadlineItemRecord(0, static_cast<std::uint32_t>(list.RemoteTextBuffer())));
}

TEST(ListViewNewsListTest, ALostListOfAHungTerminalLeavesItsMemoryThere)
{
    for (const bool hung : {true, false}) {
        SCOPED_TRACE(hung ? "terminal hung" : "window gone");
        FakeAddressSpace space;
        auto view = std::make_unique<FakeListView>(space, std::vector<std::string>{"Time", "Headline"});
        FakeListView& fake = *view;
        fake.rows = {{"10:00", "Fed holds rates"}};
        auto list = std::make_unique<TListViewNewsList>(std::make_unique<TForeignProcessMemMgr>(MakeFakeRemote(space)),
                                                        std::move(view), 1);
        EXPECT_EQ(list->RowText(0), "Fed holds rates");
        fake.Lose(hung ? 1460 : 1400, hung);
        EXPECT_THROW(list->NextRow(-1), EListLost);
        EXPECT_THROW(list->RowText(0), EListLost);
        list.reset();
        // Giving memory back to a hung process could wait as long as the process does.
        EXPECT_EQ(space.released.size(), hung ? 0u : 1u);
    }
}

TEST(ListViewNewsListTest, UnterminatedBufferGivesAll256Bytes)
{
    // A control that fills the whole buffer without a NUL.
    struct OverfillingView final : IListViewMessages {
        FakeAddressSpace* space = nullptr;
        int GetNextItem(int) override { return -1; }
        void GetItemText(int, RemoteAddress itemRecord) override
        {
            TListItemRecord::Bytes bytes{};
            space->Read(itemRecord, bytes.data(), bytes.size());
            const std::string full(256, 'Q');
            space->Write(full.data(), TListItemRecord::Decode(bytes).Text, full.size());
        }
        bool GetColumn(int, RemoteAddress) override { return false; }
    };
    FakeAddressSpace space;
    auto view = std::make_unique<OverfillingView>();
    view->space = &space;
    TListViewNewsList list(std::make_unique<TForeignProcessMemMgr>(MakeFakeRemote(space)), std::move(view), 1);
    EXPECT_EQ(list.RowText(0), std::string(256, 'Q'));
}

}  // namespace
