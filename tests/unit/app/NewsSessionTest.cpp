#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/NewsSession.h"

using namespace pelo;
using namespace pelo::app;

namespace {

terminals::TMT4TermInfo Terminal(const std::string& shortName) { return {"Broker " + shortName, shortName, "C:\\MT4", "MT4"}; }

// Records every step in order; each step also notes whether the session reported reading at that moment.
struct RecordingHost : INewsSessionHost {
    std::vector<std::string> steps;
    TNewsSession* session = nullptr;
    bool logOpens = true;
    bool readersThrow = false;
    std::vector<bool> activeDuringDisarm;

    void ShowNoSourcesError() override { steps.push_back("error"); }
    bool OpenHeadlineLog() override
    {
        steps.push_back("open log");
        return logOpens;
    }
    void ShowStatusLine(std::string_view text) override { steps.push_back("line " + std::string(text)); }
    void ShowStartStopCaption(std::string_view caption) override { steps.push_back("caption " + std::string(caption)); }
    void ResetCounters() override { steps.push_back("reset counters"); }
    void StartReaders(const terminals::TTerminalList& terminals) override
    {
        steps.push_back("start readers " + std::to_string(terminals.size()));
        if (readersThrow)
            throw std::runtime_error("System Error.  Code: 5.\r\nAccess is denied.");
    }
    void ResetSignalState() override { steps.push_back("reset signal"); }
    void DisarmAutoExecute() override
    {
        steps.push_back("disarm");
        activeDuringDisarm.push_back(session->ReadingActive());
    }
    void StopReaders() override { steps.push_back("stop readers"); }
    void CloseHeadlineLog() override { steps.push_back("close log"); }
};

struct Session {
    terminals::TTerminalList terminals{Terminal("A"), Terminal("B")};
    AppSettings settings;
    RecordingHost host;
    TNewsSession session{terminals, settings, host};
    Session() { host.session = &session; }
};

using Steps = std::vector<std::string>;

TEST(NewsSourceRules, AnyUsableSourceLetsStartGoOn)
{
    const terminals::TTerminalList none, one{Terminal("A")};
    AppSettings s;
    EXPECT_TRUE(NoNewsSourceAtStart(none, s));
    EXPECT_FALSE(NoNewsSourceAtStart(one, s));

    AppSettings tcp;
    tcp.UseTCPClient = true;
    EXPECT_FALSE(NoNewsSourceAtStart(none, tcp));

    AppSettings dll;
    dll.AllowUsingDLL = true;
    EXPECT_FALSE(NoNewsSourceAtStart(none, dll));

    AppSettings console;
    console.UseConsoleApp = true;
    EXPECT_TRUE(NoNewsSourceAtStart(none, console)) << "a console source without its program is no source";
    console.ConsoleAppPath = u"C:\\feed.exe";
    EXPECT_FALSE(NoNewsSourceAtStart(none, console));

    AppSettings pathOnly;
    pathOnly.ConsoleAppPath = u"C:\\feed.exe";
    EXPECT_TRUE(NoNewsSourceAtStart(none, pathOnly)) << "a path with the console source off is no source";
}

TEST(NewsSourceRules, TheWelcomeTestCountsASwitchedOnConsoleWithoutPath)
{
    const terminals::TTerminalList none, one{Terminal("A")};
    AppSettings s;
    EXPECT_TRUE(NoNewsSourceForWelcome(none, s));
    EXPECT_FALSE(NoNewsSourceForWelcome(one, s));
    s.UseConsoleApp = true;  // no path
    EXPECT_FALSE(NoNewsSourceForWelcome(none, s));
    EXPECT_TRUE(NoNewsSourceAtStart(none, s));
    s = {};
    s.UseTCPClient = true;
    EXPECT_FALSE(NoNewsSourceForWelcome(none, s));
    s = {};
    s.AllowUsingDLL = true;
    EXPECT_FALSE(NoNewsSourceForWelcome(none, s));
}

TEST(NewsSession, StartRunsItsStepsInOrderAndStopUndoesThem)
{
    Session t;
    EXPECT_EQ(t.session.Caption(), "Start");
    t.session.StartStop();
    EXPECT_EQ(t.host.steps, (Steps{"open log", "line News reader started", "caption Stop", "reset counters",
                                   "start readers 2", "reset signal"}));
    EXPECT_TRUE(t.session.Started());
    EXPECT_TRUE(t.session.ReadingActive());
    EXPECT_EQ(t.session.Caption(), "Stop");

    t.host.steps.clear();
    t.session.StartStop();
    EXPECT_EQ(t.host.steps,
              (Steps{"disarm", "stop readers", "close log", "caption Start", "line News reader stopped"}));
    EXPECT_EQ(t.host.activeDuringDisarm, std::vector<bool>{false}) << "reading ends before autoexecute is disarmed";
    EXPECT_FALSE(t.session.Started());
    EXPECT_FALSE(t.session.ReadingActive());
    EXPECT_EQ(t.session.Caption(), "Start");

    t.host.steps.clear();
    t.session.StartStop();
    EXPECT_TRUE(t.session.Started()) << "a stopped session starts again";
}

TEST(NewsSession, StartWithoutSourcesOnlyShowsTheError)
{
    Session t;
    t.terminals.clear();
    t.session.StartStop();
    EXPECT_EQ(t.host.steps, Steps{"error"});
    EXPECT_FALSE(t.session.Started());
    EXPECT_FALSE(t.session.ReadingActive());
    EXPECT_EQ(t.session.Caption(), "Start");

    // The settings are read at each click: a source added in the meantime counts.
    t.host.steps.clear();
    t.settings.UseTCPClient = true;
    t.session.StartStop();
    EXPECT_EQ(t.host.steps.front(), "open log");
    EXPECT_EQ(t.host.steps[4], "start readers 0");
    EXPECT_TRUE(t.session.Started());
}

TEST(NewsSession, ALogThatCannotBeOpenedChangesNothing)
{
    Session t;
    t.host.logOpens = false;
    t.session.StartStop();
    EXPECT_EQ(t.host.steps, Steps{"open log"});
    EXPECT_FALSE(t.session.Started());
    EXPECT_EQ(t.session.Caption(), "Start");
}

TEST(NewsSession, AReaderFailureStillCompletesTheStartThenReportsTheError)
{
    Session t;
    t.host.readersThrow = true;
    EXPECT_THROW(t.session.StartStop(), std::runtime_error);
    EXPECT_EQ(t.host.steps.back(), "reset signal");
    EXPECT_TRUE(t.session.Started());
    EXPECT_TRUE(t.session.ReadingActive());
    EXPECT_EQ(t.session.Caption(), "Stop");

    t.host.steps.clear();
    t.session.StartStop();
    EXPECT_EQ(t.host.steps.front(), "disarm") << "the next click stops the half-started session";
}

}  // namespace
