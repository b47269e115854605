#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlineFakes.h"
#include "headlines/BufferedLogWriter.h"

namespace pelo::headlines {
namespace {

const std::u16string Name = u"C:\\Logs\\newslog.txt";

class BufferedLogWriterTest : public ::testing::Test {
protected:
    BufferedLogWriterTest()
    {
        Writer.ShowPlainBox = [this](const std::string& text) { Boxes.push_back(text); };
    }

    test::FakeLogFileSystem Files;
    TBufferedLogWriter Writer{Files};
    std::vector<std::string> Boxes;
};

TEST_F(BufferedLogWriterTest, LinesStayInMemoryUntilTheBufferIsFull)
{
    ASSERT_TRUE(Writer.Open(Name));
    Writer.WriteLogLine("first");
    Writer.WriteLogLine("second");
    EXPECT_TRUE(Files.WriteCalls.empty());
    EXPECT_EQ(Writer.BufferedBytes(), 15);
    EXPECT_EQ(Files.Content(Name), "");
    Writer.Flush();
    EXPECT_EQ(Files.WriteCalls, std::vector<std::size_t>{15});
    EXPECT_EQ(Files.Content(Name), "first\r\nsecond\r\n");
    Writer.Flush();
    EXPECT_EQ(Files.WriteCalls.size(), 1u);
}

TEST_F(BufferedLogWriterTest, WriteOfExactlyTheFreeRoomGoesOutAtOnce)
{
    ASSERT_TRUE(Writer.Open(Name));
    Writer.Write(std::string(100, 'a'));
    const std::string fill(4096 - 100, 'b');
    EXPECT_EQ(Writer.Write(fill.substr(0, fill.size() - 1)), 3995);
    EXPECT_TRUE(Files.WriteCalls.empty()); // one byte short: still buffered
    EXPECT_EQ(Writer.Write("c", 1), 1);
    EXPECT_EQ(Files.WriteCalls, std::vector<std::size_t>{4096});
    EXPECT_EQ(Writer.BufferedBytes(), 0);
}

TEST_F(BufferedLogWriterTest, LongLineFillsTheBufferAndKeepsTheRest)
{
    ASSERT_TRUE(Writer.Open(Name));
    std::string line;
    for (int i = 0; i < 5000; ++i)
        line += static_cast<char>('a' + i % 26);
    EXPECT_EQ(Writer.Write(line), 5000);
    EXPECT_EQ(Files.WriteCalls, std::vector<std::size_t>{4096});
    EXPECT_EQ(Writer.BufferedBytes(), 904);
    Writer.Close();
    EXPECT_EQ(Files.Content(Name), line);
}

TEST_F(BufferedLogWriterTest, VeryLongWriteGoesOutInWholeBuffers)
{
    ASSERT_TRUE(Writer.Open(Name));
    Writer.Write(std::string(10, 'x'));
    Writer.Write(std::string(3 * 4096, 'y'));
    EXPECT_EQ(Files.WriteCalls, (std::vector<std::size_t>{4096, 4096, 4096}));
    EXPECT_EQ(Writer.BufferedBytes(), 10);
}

TEST_F(BufferedLogWriterTest, ClosedWriterDropsWhatItIsGiven)
{
    EXPECT_EQ(Writer.Write("lost", 4), 0);
    Writer.WriteLogLine("lost too");
    Writer.Flush();
    EXPECT_EQ(Writer.BufferedBytes(), 0);
    EXPECT_TRUE(Files.Files.empty());

    ASSERT_TRUE(Writer.Open(Name));
    Writer.WriteLogLine("kept");
    Writer.Close();
    EXPECT_EQ(Writer.Write("after", 5), 0);
    EXPECT_EQ(Files.Content(Name), "kept\r\n");
    EXPECT_EQ(Writer.FileName(), Name); // the name stays recorded
}

TEST_F(BufferedLogWriterTest, EmptyFileIsDeletedAtClose)
{
    ASSERT_TRUE(Writer.Open(Name));
    EXPECT_TRUE(Files.Exists(Name));
    Writer.Close();
    EXPECT_FALSE(Files.Exists(Name));
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_TRUE(Files.OpenHandles.empty());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(BufferedLogWriterTest, FailedDeletionOfAnEmptyFileIsReported)
{
    Files.RefuseDelete = true;
    ASSERT_TRUE(Writer.Open(Name));
    Writer.Close();
    EXPECT_EQ(Boxes, std::vector<std::string>{"Error deleting (empty) log file!"});
}

TEST_F(BufferedLogWriterTest, ExistingFileIsAppendedToNeverTruncated)
{
    Files.Files[Name].Content = "07/03/2026 09:05:02.047 (FXCM)  earlier\r\n";
    ASSERT_TRUE(Writer.Open(Name));
    EXPECT_EQ(Files.CreateCalls, 0);
    Writer.WriteLogLine("later");
    Writer.Close();
    EXPECT_EQ(Files.Content(Name), "07/03/2026 09:05:02.047 (FXCM)  earlier\r\nlater\r\n");

    // Opened and closed again without a line: the old lines keep the file alive.
    ASSERT_TRUE(Writer.Open(Name));
    Writer.Close();
    EXPECT_TRUE(Files.Exists(Name));
}

TEST_F(BufferedLogWriterTest, DirectoryOfThatNameCannotBecomeTheLog)
{
    Files.Files[Name].Directory = true;
    EXPECT_FALSE(Writer.Open(Name));
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_EQ(Writer.Write("x", 1), 0);
}

TEST_F(BufferedLogWriterTest, ReopeningClosesTheOpenFileFirst)
{
    const std::u16string other = u"C:\\Logs\\Trend.txt";
    ASSERT_TRUE(Writer.Open(other));
    Writer.WriteLogLine("script line");
    ASSERT_TRUE(Writer.Open(Name));
    EXPECT_EQ(Files.OpenHandles.size(), 1u);
    EXPECT_EQ(Files.Content(other), "script line\r\n");

    // An empty previous file is not left behind either.
    const std::u16string third = u"C:\\Logs\\Third.txt";
    ASSERT_TRUE(Writer.Open(third));
    EXPECT_FALSE(Files.Exists(Name));
}

TEST_F(BufferedLogWriterTest, DestructionWritesWhatIsStillBuffered)
{
    {
        TBufferedLogWriter writer(Files);
        ASSERT_TRUE(writer.Open(Name));
        writer.WriteLogLine("last words");
    }
    EXPECT_EQ(Files.Content(Name), "last words\r\n");
    EXPECT_TRUE(Files.OpenHandles.empty());
}

// A disk that fills up: what the file refuses stays in memory, one box tells the user, and
// the lines reach the file in their order once it takes bytes again.
TEST_F(BufferedLogWriterTest, FullDiskKeepsTheBytesAndReportsOncePerEpisode)
{
    std::vector<std::string> writeErrors;
    Writer.ShowWriteErrorBox = [&](const std::string& text) { writeErrors.push_back(text); };
    ASSERT_TRUE(Writer.Open(Name));
    Files.FreeSpace = 10;
    Writer.WriteLogLine("first headline");
    Writer.Flush();
    EXPECT_EQ(Files.Content(Name), "first head");
    EXPECT_EQ(writeErrors, std::vector<std::string>{WriteLogFailedText});
    EXPECT_TRUE(Writer.WriteFailing());
    EXPECT_EQ(Writer.PendingBytes(), 6u);

    // Still full: the next lines wait too, and the user is not asked again.
    Writer.WriteLogLine("second");
    Writer.Flush();
    Writer.Write(std::string(5000, 'z'));
    Writer.WriteLogLine("");
    Writer.Flush();
    EXPECT_EQ(writeErrors.size(), 1u);
    EXPECT_EQ(Files.Content(Name), "first head");

    Files.FreeSpace.reset();
    Writer.Flush();
    EXPECT_FALSE(Writer.WriteFailing());
    EXPECT_EQ(Writer.PendingBytes(), 0u);
    EXPECT_EQ(Files.Content(Name), "first headline\r\nsecond\r\n" + std::string(5000, 'z') + "\r\n");

    // A later failure is a new episode and is reported again.
    Files.FreeSpace = 0;
    Writer.WriteLogLine("third");
    Writer.Flush();
    EXPECT_EQ(writeErrors.size(), 2u);
    Files.FreeSpace.reset();
    Writer.Close();
    EXPECT_EQ(Files.Content(Name).substr(Files.Content(Name).size() - 7), "third\r\n");
}

TEST_F(BufferedLogWriterTest, FailedWriteOfAFullBufferIsRetriedNotDiscarded)
{
    ASSERT_TRUE(Writer.Open(Name));
    Files.FreeSpace = 0;
    const std::string big(4096 + 100, 'q');
    EXPECT_EQ(Writer.Write(big), 4196);
    EXPECT_EQ(Writer.PendingBytes(), 4196u);
    Files.FreeSpace.reset();
    Writer.WriteLogLine("after");
    Writer.Flush();
    EXPECT_EQ(Files.Content(Name), big + "after\r\n");
}

// While the disk stays full the waiting lines are bounded: beyond the limit whole new lines are
// dropped and counted, never a part of one.
TEST_F(BufferedLogWriterTest, BacklogIsBoundedByWholeNewLines)
{
    std::vector<std::string> writeErrors;
    Writer.ShowWriteErrorBox = [&](const std::string& text) { writeErrors.push_back(text); };
    Writer.SetBacklogLimit(100);
    ASSERT_TRUE(Writer.Open(Name));
    Files.FreeSpace = 0;
    const std::string line(28, 'a');  // 30 bytes with CR LF
    for (int i = 0; i < 5; ++i) {
        Writer.WriteLogLine(line);
        Writer.Flush();
    }
    EXPECT_EQ(Writer.PendingBytes(), 90u);
    EXPECT_EQ(Writer.DroppedLines(), 2u);

    Files.FreeSpace.reset();
    Writer.Flush();
    std::string expected;
    for (int i = 0; i < 3; ++i)
        expected += line + "\r\n";
    EXPECT_EQ(Files.Content(Name), expected);
    // The loss is reported when the file takes lines again.
    ASSERT_EQ(writeErrors.size(), 2u);
    EXPECT_NE(writeErrors[1].find("2 log lines"), std::string::npos) << writeErrors[1];
    EXPECT_EQ(Writer.DroppedLines(), 0u);
}

TEST(BufferedLogWriterCreate, BufferWithoutRoomIsRefused)
{
    test::FakeLogFileSystem files;
    try {
        TBufferedLogWriter writer(files, 0);
        FAIL() << "a writer without buffer room was created";
    } catch (const EBufferedLogWriter& e) {
        EXPECT_STREQ(e.what(), "TBufferedLogWriter.Create: AllocBuffer out of memory");
    }
}

} // namespace
}  // namespace pelo::headlines
