#include <gtest/gtest.h>

#include "HeadlineFakes.h"
#include "headlines/HeadlineCore.h"

namespace pelo::headlines {
namespace {

// One reading session as the main window runs it: start, a first pass, a live batch that a
// second terminal repeats, stop, and the end of the program.
TEST(HeadlineCore, ReadingSessionFromStartToProgramEnd)
{
    const std::u16string dir = u"C:\\Logs";
    const std::u16string newsLog = dir + u"\\newslog.txt";
    test::FakeLogFileSystem files;
    test::FakeScript script;
    test::FixedClock clock;
    test::FakeHBoxView view;
    {
        THeadlineCore core(files, script, clock, dir);
        core.HBox.SetView(&view);
        core.HBox.AllocateHBox(50);
        core.DupCache.Allocate(30);
        THeadlineSettings settings;
        settings.NoDuplicates = true;

        ASSERT_TRUE(core.Log.StartNewsReading(false, false));
        core.HBox.ShowHBoxLine("News reader started");
        ResetForNewsReading(core.DupCache, core.Counter);

        auto read = [&](const std::string& text) {
            return THeadline{text, core.DupCache.CheckDuplicate(text)};
        };
        core.Dispatcher.DispatchHeadlines(std::vector<THeadline>{read("older")}, "FXCM", true, settings);
        core.Dispatcher.DispatchHeadlines(std::vector<THeadline>{read("fresh"), read("older")}, "Alpari", false,
                                          settings);

        EXPECT_EQ(script.Calls.size(), 1u);
        EXPECT_EQ(core.HBox.RowText(0), "09:05:02.047 Alpari:  fresh");
        EXPECT_EQ(core.HBox.RowText(1), "09:05:02.047 FXCM:  older");
        EXPECT_EQ(core.HBox.RowText(2), "News reader started");
        EXPECT_EQ(core.Counter.HeadlineCount(), 2);

        // A script attached while reading takes over the log; the news log keeps its lines.
        ASSERT_TRUE(core.Log.SwitchToScriptLog(u"C:\\S\\Trend.exn"));
        EXPECT_EQ(files.Content(newsLog), "07/03/2026 09:05:02.047 (Alpari)  older\r\n"
                                          "07/03/2026 09:05:02.047 (Alpari)  fresh\r\n");
        core.Dispatcher.DispatchHeadlines(std::vector<THeadline>{read("later")}, "FXCM", false, settings);
        core.Log.StopNewsReading(true, false);
        EXPECT_TRUE(core.LogWriter.IsOpen());
    }
    EXPECT_TRUE(files.OpenHandles.empty());
    EXPECT_EQ(files.Content(dir + u"\\Trend.txt"), "07/03/2026 09:05:02.047 (FXCM)  later\r\n");
}

} // namespace
}  // namespace pelo::headlines
