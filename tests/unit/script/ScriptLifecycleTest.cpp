// Attach, remove, test and reset, driven as the editor's commands drive them, against a recorded outside world.
#include "script/ScriptLifecycle.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "../headlines/HeadlineFakes.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "script/StandInObjects.h"

namespace pelo::script {
namespace {

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// What the script does is written to `events` as "script: ..." through WriteLn; the outside world's calls as
// what they are.
struct Outside final : IScriptLifecycleHost, NullScriptServices {
    std::vector<std::string> events;
    bool keyOpens = true;
    std::u16string attachedScript;
    std::map<std::u16string, std::string> files;  // path -> bytes
    std::optional<std::vector<std::string>> testHeadlines;
    int headlineCount = 0;
    bool readingActive = false;
    bool removeEnabled = false;
    std::function<void()> onReadLn;
    int pendingRequests = 0;

    bool OpenScriptKey() override { return keyOpens; }
    std::u16string AttachedScript() override { return attachedScript; }
    void SetAttachedScript(const std::u16string& path) override { attachedScript = path; }
    bool IsFile(const std::u16string& path) override { return files.count(path) != 0; }
    std::optional<std::string> ReadCompiledScript(const std::u16string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool TestHeadlinesExist() override { return testHeadlines.has_value(); }
    std::optional<std::vector<std::string>> ReadTestHeadlines() override { return testHeadlines; }
    void DeleteTestHeadlines() override {
        events.push_back("delete test headlines");
        testHeadlines.reset();
    }
    void ShowErrorBox(const std::string& text) override { events.push_back("error box: " + text); }
    void ShowPlainBox(const std::string& text) override { events.push_back("plain box: " + text); }
    void ShowStatusLine(const std::string& text) override { events.push_back("status: " + text); }
    std::string BoxTimeNow() override { return "12:00:00.000"; }
    std::string ToAnsi(const std::u16string& text) override { return Narrow(text); }
    void CountHeadline() override { ++headlineCount; }
    void ResetHeadlineCount() override { headlineCount = 0; }
    bool ReadingActive() override { return readingActive; }
    void SetCaptionBase(bool testing) override { events.push_back(testing ? "caption testing" : "caption"); }
    void EnableRemoveScript(bool enabled) override { removeEnabled = enabled; }
    void NotifyEditor(bool attached) override { events.push_back(attached ? "editor: attached" : "editor: none"); }
    void ResetPanels() override { events.push_back("panels reset"); }
    void RequestPendingCommands() override { ++pendingRequests; }

    void WriteLn(std::string_view text) override { events.push_back("script: " + std::string(text)); }
    std::string ReadLn(std::string_view) override {
        if (onReadLn) onReadLn();
        return "";
    }
};

// A script that reports each of its procedures; Start raises on a headline that says so.
constexpr const char* kReporting =
    "procedure Init; begin WriteLn('Init'); end;"
    "procedure DeInit; begin WriteLn('DeInit'); end;"
    "procedure Start(H, S: string); begin if H = 'raise' then RaiseException(erCustomError, 'bad headline');"
    " WriteLn('Start ' + H + ' ' + S); end;"
    "begin WriteLn('main'); end.";

struct LifecycleFixture : ::testing::Test {
    Outside outside;
    lang::HostTable table;
    ScriptClasses classes = RegisterScriptInterface(table, outside);
    TPSScriptWrapper host{table, classes};
    TScriptState state;
    headlines::test::FakeLogFileSystem logFiles;
    headlines::TBufferedLogWriter writer{logFiles};
    headlines::THeadlineLog log{writer, u"C:\\Logs"};
    TScriptLifecycle lifecycle{host, state, log, outside};

    void Store(const std::u16string& path, const std::string& source) {
        lang::CompileResult r = lang::compileScript(source, table);
        ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].toString());
        outside.files[path] = lang::serializeModule(r.module);
    }
    void AttachNew(const std::u16string& path, const std::string& source) {
        Store(path, source);
        outside.attachedScript = path;
        lifecycle.AttachScript();
    }
    std::vector<std::string> Take() { return std::exchange(outside.events, {}); }
};

TEST_F(LifecycleFixture, AttachRunsMainAndInitThenHandsHeadlinesToStart) {
    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: main", "caption", "status: Script \"Trend\" attached",
                                                "script: Init", "editor: attached"}));
    EXPECT_TRUE(state.ScriptAttached);
    EXPECT_FALSE(state.ScriptTestMode);
    EXPECT_TRUE(state.NewsProcessing());
    EXPECT_TRUE(outside.removeEnabled);
    EXPECT_EQ(log.CurrentLogName(), u"C:\\Logs\\Trend.txt");
    EXPECT_EQ(outside.attachedScript, u"C:\\S\\Trend.exn");  // kept for the next start
    state.CallStart("rates up", "ALP");
    EXPECT_EQ(Take(), std::vector<std::string>{"script: Start rates up ALP"});
}

TEST_F(LifecycleFixture, AScriptWithoutANameLogsToTheNewsLog) {
    AttachNew(u"C:\\S\\.exn", "begin end.");
    EXPECT_EQ(Take(), (std::vector<std::string>{"caption", "status: Script \"<untitled>\" attached",
                                                "editor: attached"}));
    EXPECT_EQ(log.CurrentLogName(), u"C:\\Logs\\newslog.txt");
    EXPECT_FALSE(state.NewsProcessing());  // no Start
}

TEST_F(LifecycleFixture, AnAttachThatFindsNothingUnloadsTheOldScriptSilently) {
    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    Take();
    outside.attachedScript.clear();
    lifecycle.AttachScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "panels reset", "caption"}));
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(state.NewsProcessing());
    EXPECT_FALSE(outside.removeEnabled);
    EXPECT_FALSE(host.ScriptProcExists("Start"));

    outside.attachedScript = u"C:\\S\\Gone.exn";  // no such file
    lifecycle.AttachScript();
    EXPECT_EQ(Take(), std::vector<std::string>{});
    outside.keyOpens = false;
    lifecycle.AttachScript();
    EXPECT_EQ(Take(), std::vector<std::string>{"error box: Error opening registry key."});
}

TEST_F(LifecycleFixture, ErrorsInInitAreReportedAndTheScriptStaysAttached) {
    AttachNew(u"C:\\S\\Init.exn",
              "procedure Init; begin RaiseException(erCustomError, 'no data'); end;"
              "procedure Start(H, S: string); begin WriteLn(H); end; begin end.");
    EXPECT_EQ(Take(), (std::vector<std::string>{"caption", "status: Script \"Init\" attached",
                                                "error box: Exception in script Init proecedure: no data",
                                                "editor: attached"}));
    EXPECT_TRUE(state.ScriptAttached);
    state.CallStart("still here", "ALP");
    EXPECT_EQ(Take(), std::vector<std::string>{"script: still here"});
}

TEST_F(LifecycleFixture, FilesThatCannotBeUsedLeaveNothingLoaded) {
    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    Take();
    std::string damaged = outside.files[u"C:\\S\\Trend.exn"];
    damaged[damaged.size() / 2] ^= 0x11;
    outside.files[u"C:\\S\\Bad.exn"] = damaged;
    outside.attachedScript = u"C:\\S\\Bad.exn";
    lifecycle.AttachScript();
    std::vector<std::string> events = Take();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], "script: DeInit");  // the old script is gone before the new file is read
    EXPECT_EQ(events[3].rfind("error box: ", 0), 0u) << events[3];
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(host.ScriptProcExists("Init"));

    // A main block that fails: the plain box, nothing attached.
    AttachNew(u"C:\\S\\Main.exn", "procedure Start(H, S: string); begin end; begin RaiseException(erCustomError, 'x'); end.");
    EXPECT_EQ(Take(), std::vector<std::string>{"plain box: Error executing script."});
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(state.NewsProcessing());
}

TEST_F(LifecycleFixture, RemoveForgetsTheScriptAndTellsTheEditorEvenWhenNothingWasAttached) {
    outside.attachedScript = u"C:\\S\\Old.exn";
    lifecycle.RemoveScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"panels reset", "caption", "editor: none"}));
    EXPECT_EQ(outside.attachedScript, u"");

    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    Take();
    lifecycle.RemoveScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "status: Script \"Trend\" removed", "panels reset",
                                                "caption", "editor: none"}));
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(outside.removeEnabled);
    EXPECT_FALSE(host.ScriptProcExists("Start"));
}

TEST_F(LifecycleFixture, ATestFeedsEveryLineUntilStartRaisesThenDeletesTheFile) {
    Store(u"C:\\S\\Trend.exn", kReporting);
    outside.attachedScript = u"C:\\S\\Trend.exn";
    outside.testHeadlines = std::vector<std::string>{"one", "raise", "three"};
    outside.headlineCount = 997;
    lifecycle.TestScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{
                          "script: main", "caption testing", "status: Test started", "script: Init",
                          "status: 12:00:00.000 TEST:  one", "script: Start one TEST",
                          "status: 12:00:00.000 TEST:  raise",
                          "error box: Exception in script Start procedure: bad headline", "delete test headlines"}));
    EXPECT_EQ(outside.headlineCount, 999);  // the lifecycle counts; wrapping at 999 is the counter's
    EXPECT_EQ(outside.attachedScript, u"");
    EXPECT_TRUE(state.ScriptTestMode);
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(state.NewsProcessing());  // live headlines do not go to a test
}

TEST_F(LifecycleFixture, ATestWithoutHeadlinesOnlyUnloadsAndForgets) {
    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    Take();
    lifecycle.TestScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "panels reset", "caption"}));
    EXPECT_EQ(outside.attachedScript, u"");
    EXPECT_FALSE(state.ScriptTestMode);
    EXPECT_FALSE(state.ScriptAttached);
}

TEST_F(LifecycleFixture, ResetLoadsTheStoredScriptSoThatItsDeInitCanClean) {
    AttachNew(u"C:\\S\\Trend.exn", kReporting);
    Take();
    outside.headlineCount = 5;
    lifecycle.ResetScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "panels reset", "caption", "script: main",
                                                "caption testing", "script: Init", "script: DeInit", "panels reset",
                                                "caption", "status: Reset completed"}));
    EXPECT_FALSE(host.ScriptProcExists("Start"));
    EXPECT_EQ(outside.attachedScript, u"");
    EXPECT_EQ(outside.headlineCount, 0);
    EXPECT_FALSE(state.ScriptAttached);
    EXPECT_FALSE(state.ScriptTestMode);

    // After a test the tested script's DeInit runs once, without a reload.
    Store(u"C:\\S\\Trend.exn", kReporting);
    outside.attachedScript = u"C:\\S\\Trend.exn";
    outside.testHeadlines = std::vector<std::string>{};
    lifecycle.TestScript();
    Take();
    lifecycle.ResetScript();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "panels reset", "caption",
                                                "status: Reset completed"}));
}

TEST_F(LifecycleFixture, ACommandDuringAProcedureWaitsUntilItHasReturned) {
    AttachNew(u"C:\\S\\Ask.exn",
              "procedure DeInit; begin WriteLn('DeInit'); end;"
              "procedure Start(H, S: string); begin ReadLn('?'); WriteLn('after ReadLn'); end; begin end.");
    Take();
    // The editor's detach arrives while ReadLn's dialog is open.
    outside.onReadLn = [this] { lifecycle.RemoveScript(); };
    state.CallStart("headline", "ALP");
    EXPECT_EQ(Take(), std::vector<std::string>{"script: after ReadLn"});
    EXPECT_TRUE(state.ScriptAttached);
    EXPECT_EQ(outside.pendingRequests, 1);
    outside.onReadLn = nullptr;
    lifecycle.RunPendingCommands();
    EXPECT_EQ(Take(), (std::vector<std::string>{"script: DeInit", "status: Script \"Ask\" removed", "panels reset",
                                                "caption", "editor: none"}));
    EXPECT_FALSE(state.ScriptAttached);
}

}  // namespace
}  // namespace pelo::script
