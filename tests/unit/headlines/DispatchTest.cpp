#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlineFakes.h"
#include "headlines/BufferedLogWriter.h"
#include "headlines/DupCache.h"
#include "headlines/HeadlineDispatch.h"

namespace pelo::headlines {
namespace {

const std::u16string LogName = u"C:\\Logs\\newslog.txt";

// Builds a batch from the oldest headline to the newest, the way it reads best in a test;
// the batch itself holds the newest at index 0.
std::vector<THeadline> Batch(std::initializer_list<THeadline> oldestFirst)
{
    return std::vector<THeadline>(std::rbegin(oldestFirst), std::rend(oldestFirst));
}

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest()
    {
        Box.SetView(&View);
        Script.Clock = &Clock;
        Writer.Open(LogName);
        Dispatcher.ShowErrorBox = [this](const std::string& text) { Errors.push_back(text); };
        Counter.OnChanged = [this](int value) { Shown = std::to_string(value); };
    }

    std::string LogText()
    {
        Writer.Flush();
        return Files.Content(LogName);
    }

    void Dispatch(const std::vector<THeadline>& batch, const std::string& source = "FXCM",
                  bool firstPass = false)
    {
        Dispatcher.DispatchHeadlines(batch, source, firstPass, Settings);
    }

    test::FakeLogFileSystem Files;
    test::FakeHBoxView View;
    test::FixedClock Clock;
    test::FakeScript Script;
    THeadlineBox Box{100};
    TBufferedLogWriter Writer{Files};
    THeadlineCounter Counter;
    THeadlineSettings Settings;
    THeadlineDispatcher Dispatcher{Script, Box, Writer, Counter, Clock};
    std::vector<std::string> Errors;
    std::string Shown = "unset";
};

TEST_F(DispatchTest, DuplicateIsLoggedAndCountedButNotShownOrScripted)
{
    Dispatch(Batch({{"oldest", false}, {"copy", true}, {"newest", false}}));

    ASSERT_EQ(Script.Calls.size(), 2u);
    EXPECT_EQ(Script.Calls[0].Text, "oldest");
    EXPECT_EQ(Script.Calls[0].Source, "FXCM");
    EXPECT_EQ(Script.Calls[1].Text, "newest");

    EXPECT_EQ(Box.RowText(0), "09:05:02.047 FXCM:  newest");
    EXPECT_EQ(Box.RowText(1), "09:05:02.047 FXCM:  oldest");
    EXPECT_EQ(Box.RowText(2), "");

    EXPECT_EQ(LogText(), "07/03/2026 09:05:02.047 (FXCM)  oldest\r\n"
                         "07/03/2026 09:05:02.047 (FXCM)  copy\r\n"
                         "07/03/2026 09:05:02.047 (FXCM)  newest\r\n");
    EXPECT_EQ(Counter.HeadlineCount(), 3);
    EXPECT_EQ(Shown, "3");
}

TEST_F(DispatchTest, BatchRepaintsOnceAtTheNextTick)
{
    Dispatch(Batch({{"a", false}, {"b", false}, {"c", false}}));
    EXPECT_EQ(View.Begins, 1);
    EXPECT_EQ(View.Repaints, 0);
    EXPECT_TRUE(Box.UpdatePending());
    Dispatch(Batch({{"d", false}}));
    EXPECT_EQ(View.Begins, 1);
    Box.Timer2Timer();
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_EQ(Box.RowText(0), "09:05:02.047 FXCM:  d");
}

TEST_F(DispatchTest, AllDuplicateBatchStillMarksTheBoxPending)
{
    Dispatch(Batch({{"x", true}, {"y", true}}));
    EXPECT_TRUE(Box.UpdatePending());
    EXPECT_EQ(Box.RowText(0), "");
    EXPECT_TRUE(Script.Calls.empty());
    EXPECT_EQ(Counter.HeadlineCount(), 2);
}

TEST_F(DispatchTest, TimeIsTakenOnceAfterTheScriptHasSeenTheWholeBatch)
{
    Dispatch(Batch({{"a", false}, {"b", false}, {"c", false}}));
    EXPECT_EQ(Clock.Reads, 1);
    for (const test::StartCall& call : Script.Calls)
        EXPECT_EQ(call.ClockReadsBefore, 0) << call.Text;
}

TEST_F(DispatchTest, FailingStartStopsNewsProcessingButNotTheBatch)
{
    Script.FailOnCall = 1;
    Dispatch(Batch({{"first", false}, {"second", false}, {"third", false}}));

    ASSERT_EQ(Script.Calls.size(), 2u);
    EXPECT_EQ(Script.Calls[1].Text, "second");
    EXPECT_FALSE(Script.Processing);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], "Error executing procedure 'Start' in script. News processing stopped.");

    EXPECT_EQ(Box.RowText(0), "09:05:02.047 FXCM:  third");
    EXPECT_EQ(Box.RowText(2), "09:05:02.047 FXCM:  first");
    EXPECT_NE(LogText().find("(FXCM)  third\r\n"), std::string::npos);
    EXPECT_EQ(Counter.HeadlineCount(), 3);

    // Later batches are no longer given to the script either.
    Dispatch(Batch({{"fourth", false}}));
    EXPECT_EQ(Script.Calls.size(), 2u);
    EXPECT_EQ(Errors.size(), 1u);
}

TEST_F(DispatchTest, ScriptStoppedDuringStartIsNotCalledAgain)
{
    Script.DuringCall = [this](const std::string&) { Script.Processing = false; };
    Dispatch(Batch({{"first", false}, {"second", false}}));
    EXPECT_EQ(Script.Calls.size(), 1u);
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Counter.HeadlineCount(), 2);
}

TEST_F(DispatchTest, FirstPassIsOnlyDisplayed)
{
    Dispatch(Batch({{"old 1", false}, {"old 2", true}, {"old 3", false}}), "Alpari", true);
    EXPECT_TRUE(Script.Calls.empty());
    EXPECT_EQ(Box.RowText(0), "09:05:02.047 Alpari:  old 3");
    EXPECT_EQ(Box.RowText(1), "09:05:02.047 Alpari:  old 1");
    EXPECT_TRUE(Box.UpdatePending());
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(Counter.HeadlineCount(), 0);
    EXPECT_EQ(Shown, "unset");
}

TEST_F(DispatchTest, CounterWrapsToZeroInsteadOfReaching999)
{
    Counter.Add(996);
    Dispatch(Batch({{"a", false}, {"b", false}}));
    EXPECT_EQ(Shown, "998");
    Counter.Reset();
    Counter.Add(997);
    Dispatch(Batch({{"a", false}, {"b", false}}));
    EXPECT_EQ(Counter.HeadlineCount(), 0);
    EXPECT_EQ(Shown, "0");
    Counter.Add(900);
    Dispatch(std::vector<THeadline>(200, THeadline{"burst", false}));
    EXPECT_EQ(Counter.HeadlineCount(), 0);
}

TEST_F(DispatchTest, SettingsSwitchDisplayAndLogOffAndSelectTheShortTime)
{
    Settings.DisplayHeadlines = false;
    Dispatch(Batch({{"hidden", false}}));
    EXPECT_EQ(Box.RowText(0), "");
    EXPECT_EQ(View.Begins, 0);
    EXPECT_FALSE(Box.UpdatePending());

    Settings.DisplayHeadlines = true;
    Settings.LogHeadlines = false;
    Settings.AltTimeFormat = true;
    Clock.Time = TLocalTime{2026, 12, 9, 14, 3, 7, 500};
    const std::string before = LogText();
    Dispatch(Batch({{"short", false}}));
    EXPECT_EQ(Box.RowText(0), "07.500 FXCM:  short");
    EXPECT_EQ(LogText(), before);
    EXPECT_EQ(Counter.HeadlineCount(), 2);

    Settings.LogHeadlines = true;
    Dispatch(Batch({{"full", false}}));
    EXPECT_EQ(LogText().substr(before.size()), "09/12/2026 14:03:07.500 (FXCM)  full\r\n");
}

TEST_F(DispatchTest, BatchOverwrittenDuringStartDoesNotChangeThisDispatch)
{
    std::vector<THeadline> batch = Batch({{"one", false}, {"two", false}});
    // A nested reading pass of the same reader refills its batch while Start runs.
    Script.DuringCall = [&](const std::string&) {
        for (THeadline& h : batch)
            h = THeadline{"overwritten", true};
    };
    Dispatch(batch);
    ASSERT_EQ(Script.Calls.size(), 2u);
    EXPECT_EQ(Script.Calls[1].Text, "two");
    EXPECT_EQ(Box.RowText(0), "09:05:02.047 FXCM:  two");
    EXPECT_EQ(LogText().find("overwritten"), std::string::npos);
}

TEST_F(DispatchTest, DuplicateFromASecondTerminalIsLoggedWithItsShortName)
{
    TFastCriticalSection newsLock;
    TDupCache cache(newsLock, 30);
    const std::string text = "US Non-Farm Payrolls 250K";
    Dispatch({{text, cache.CheckDuplicate(text)}}, "FXCM");
    Dispatch({{text, cache.CheckDuplicate(text)}}, "Alpari");

    EXPECT_EQ(Script.Calls.size(), 1u);
    EXPECT_EQ(Box.RowText(0), "09:05:02.047 FXCM:  " + text);
    EXPECT_EQ(Box.RowText(1), "");
    EXPECT_NE(LogText().find("(Alpari)  " + text), std::string::npos);
    EXPECT_EQ(Counter.HeadlineCount(), 2);

    ResetForNewsReading(cache, Counter);
    EXPECT_EQ(Shown, "0");
    EXPECT_FALSE(cache.CheckDuplicate(text));
}

TEST_F(DispatchTest, EmptyBatchDoesNothing)
{
    Dispatch({});
    EXPECT_EQ(Clock.Reads, 0);
    EXPECT_EQ(View.Begins, 0);
    EXPECT_EQ(Shown, "unset");
}

// A batch is on disk when its dispatch ends: a crash afterwards loses none of its lines, and
// the whole batch costs one write call.
TEST_F(DispatchTest, EachBatchIsWrittenThroughInOneCall)
{
    Dispatch(Batch({{"older"}, {"newer"}}));
    EXPECT_EQ(Files.WriteCalls.size(), 1u);
    EXPECT_EQ(Files.Content(LogName), "07/03/2026 09:05:02.047 (FXCM)  older\r\n"
                                      "07/03/2026 09:05:02.047 (FXCM)  newer\r\n");
    EXPECT_EQ(Writer.PendingBytes(), 0u);

    // A first-pass batch writes nothing, so it costs no call either.
    Dispatch(Batch({{"history"}}), "FXCM", true);
    EXPECT_EQ(Files.WriteCalls.size(), 1u);
}

} // namespace
}  // namespace pelo::headlines
