#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlineFakes.h"
#include "headlines/HeadlineLog.h"

namespace pelo::headlines {
namespace {

const std::u16string Dir = u"C:\\Users\\Public\\Documents\\Pelorant Logs";
const std::u16string NewsLog = Dir + u"\\newslog.txt";
const std::u16string TrendLog = Dir + u"\\Trend.txt";

TEST(ScriptLogName, ReplacesTheExtensionOfTheFileName)
{
    EXPECT_EQ(ScriptLogFileName(u"C:\\Scripts\\MyNews.exn"), u"MyNews.txt");
    EXPECT_EQ(ScriptLogFileName(u"C:\\Scripts\\.exn"), u"newslog.txt");
    EXPECT_EQ(ScriptLogFileName(u"C:\\S\\trend.v2.exn"), u"trend.v2.txt");
    EXPECT_EQ(ScriptLogFileName(u"C:\\dir.d\\noext"), u"noext.txt");
    EXPECT_EQ(ScriptLogFileName(u"D:file.exn"), u"file.txt");
    EXPECT_EQ(ScriptLogFileName(u"C:\\S\\.EXN"), u".txt");  // only the exact untitled name
    EXPECT_EQ(ScriptLogFileName(u"C:\\S\\x.exn.exn"), u"x.exn.txt");
}

class HeadlineLogTest : public ::testing::Test {
protected:
    HeadlineLogTest()
    {
        Writer.ShowPlainBox = [this](const std::string& text) { Boxes.push_back(text); };
        Log.ShowPlainBox = [this](const std::string& text) { Boxes.push_back(text); };
    }

    void WriteHeadline(const std::string& text)
    {
        Writer.WriteLogLine(text);
    }

    test::FakeLogFileSystem Files;
    TBufferedLogWriter Writer{Files};
    THeadlineLog Log{Writer, Dir};
    std::vector<std::string> Boxes;
};

TEST_F(HeadlineLogTest, NewsLogWithoutHeadlinesLivesOnlyFromStartToStop)
{
    ASSERT_TRUE(Log.StartNewsReading(false, false));
    EXPECT_EQ(Log.CurrentLogName(), NewsLog);
    EXPECT_TRUE(Files.Exists(NewsLog));
    Log.StopNewsReading(false, false);
    EXPECT_FALSE(Files.Exists(NewsLog));
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(HeadlineLogTest, NewsLogWithOlderLinesIsKeptAndExtended)
{
    Files.Files[NewsLog].Content = "old\r\n";
    ASSERT_TRUE(Log.StartNewsReading(false, false));
    Log.StopNewsReading(false, false);
    EXPECT_EQ(Files.Content(NewsLog), "old\r\n");

    ASSERT_TRUE(Log.StartNewsReading(false, false));
    WriteHeadline("new");
    Log.StopNewsReading(false, false);
    EXPECT_EQ(Files.Content(NewsLog), "old\r\nnew\r\n");
}

TEST_F(HeadlineLogTest, StartIsAbandonedWhenTheNewsLogCannotBeOpened)
{
    Files.RefuseOpen.insert(NewsLog);
    EXPECT_FALSE(Log.StartNewsReading(false, false));
    EXPECT_EQ(Boxes, std::vector<std::string>{"Error opening or creating log file!"});
    EXPECT_FALSE(Writer.IsOpen());
}

TEST_F(HeadlineLogTest, WithAScriptStartOpensNothingAndStopOnlyFlushes)
{
    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    EXPECT_EQ(Log.CurrentLogName(), TrendLog);

    ASSERT_TRUE(Log.StartNewsReading(true, false));
    EXPECT_EQ(Log.CurrentLogName(), TrendLog);
    EXPECT_FALSE(Files.Exists(NewsLog));

    Log.WriteScriptLogLine(true, TLocalTime{2026, 3, 7, 9, 5, 2, 47}, "signal BUY");
    Log.StopNewsReading(true, false);
    EXPECT_TRUE(Writer.IsOpen());
    EXPECT_EQ(Files.Content(TrendLog), "07/03/2026 09:05:02.047 signal BUY\r\n");

    // After the stop the script's log function writes nothing, though the file is open.
    Log.WriteScriptLogLine(false, TLocalTime{2026, 3, 7, 9, 6, 0, 0}, "ignored");
    Writer.Flush();
    EXPECT_EQ(Files.Content(TrendLog), "07/03/2026 09:05:02.047 signal BUY\r\n");
}

TEST_F(HeadlineLogTest, SwitchingToTheOpenCurrentFileKeepsIt)
{
    ASSERT_TRUE(Log.SwitchLogFile(TrendLog));
    WriteHeadline("buffered");
    const int opens = Files.OpenCalls + Files.CreateCalls;
    ASSERT_TRUE(Log.SwitchLogFile(TrendLog));
    EXPECT_EQ(Files.OpenCalls + Files.CreateCalls, opens);
    EXPECT_EQ(Writer.BufferedBytes(), 10);
}

TEST_F(HeadlineLogTest, SwitchingToTheCurrentButClosedFileOpensItAgain)
{
    Files.Files[NewsLog].Content = "x\r\n";
    ASSERT_TRUE(Log.StartNewsReading(false, false));
    Log.StopNewsReading(false, false);
    ASSERT_EQ(Log.CurrentLogName(), NewsLog);

    // A test of an untitled script while newslog.txt is current and closed.
    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\.exn"));
    EXPECT_TRUE(Writer.IsOpen());
    EXPECT_EQ(Writer.FileName(), NewsLog);
}

TEST_F(HeadlineLogTest, FailedSwitchLeavesNoFileOpen)
{
    Files.Files[NewsLog].Content = "x\r\n";
    ASSERT_TRUE(Log.StartNewsReading(false, false));
    WriteHeadline("pending");
    Files.RefuseOpen.insert(TrendLog);

    EXPECT_FALSE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    EXPECT_EQ(Boxes, std::vector<std::string>{"Error opening or creating log file!"});
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_EQ(Log.CurrentLogName(), NewsLog);
    EXPECT_EQ(Files.Content(NewsLog), "x\r\npending\r\n");
    EXPECT_TRUE(Files.OpenHandles.empty());
}

TEST_F(HeadlineLogTest, RemovingAScriptReturnsToTheNewsLogOnlyWhileReading)
{
    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    WriteHeadline("headline");
    Log.ScriptRemoved(true);
    EXPECT_EQ(Log.CurrentLogName(), NewsLog);
    EXPECT_EQ(Writer.FileName(), NewsLog);
    EXPECT_EQ(Files.Content(TrendLog), "headline\r\n");

    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    Log.ScriptRemoved(false);
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_EQ(Log.CurrentLogName(), u"");
}

TEST_F(HeadlineLogTest, ResetClosesTheScriptLogWhenNotReading)
{
    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    Log.ScriptReset(false);
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_FALSE(Files.Exists(TrendLog)); // closed while empty
    EXPECT_EQ(Log.CurrentLogName(), TrendLog);

    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
    Log.ScriptReset(true);
    EXPECT_EQ(Writer.FileName(), NewsLog);
    EXPECT_TRUE(Writer.IsOpen());
}

TEST_F(HeadlineLogTest, StartAfterAFailedAttachClosesTheScriptLogFirst)
{
    // An attach that switched the log and then failed leaves no script attached but the
    // script's log open.
    ASSERT_TRUE(Log.SwitchToScriptLog(u"C:\\S\\Broken.exn"));
    WriteHeadline("from main block");
    ASSERT_TRUE(Log.StartNewsReading(false, false));
    EXPECT_EQ(Files.OpenHandles.size(), 1u);
    EXPECT_EQ(Files.Content(Dir + u"\\Broken.txt"), "from main block\r\n");
    EXPECT_EQ(Writer.FileName(), NewsLog);
}

} // namespace
}  // namespace pelo::headlines
