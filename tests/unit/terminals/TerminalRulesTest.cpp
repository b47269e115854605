#include <gtest/gtest.h>

#include <map>
#include <set>

#include "terminals/TerminalRules.h"

using namespace pelo;
using namespace pelo::terminals;

namespace {

struct FakeWindow {
    WindowHandle handle;
    std::optional<std::string> className;
    std::string title;
};

// Top-level windows in Z order; FirstOfClass finds the highest window of the class, as FindWindow does.
class FakeTopLevel final : public ITopLevelWindows {
public:
    std::vector<FakeWindow> windows;

    WindowHandle FirstOfClass(std::string_view className) override
    {
        for (const FakeWindow& w : windows)
            if (w.className && *w.className == className)
                return w.handle;
        return 0;
    }
    WindowHandle Next(WindowHandle window) override
    {
        for (std::size_t i = 0; i + 1 < windows.size(); ++i)
            if (windows[i].handle == window)
                return windows[i + 1].handle;
        return 0;
    }
    std::optional<std::string> ClassName(WindowHandle window) override { return Find(window).className; }
    std::string Title(WindowHandle window) override { return Find(window).title; }

private:
    const FakeWindow& Find(WindowHandle window)
    {
        for (const FakeWindow& w : windows)
            if (w.handle == window)
                return w;
        throw std::logic_error("no such window");
    }
};

const std::string Mt4 = "MetaQuotes::MetaTrader::4.00";

TEST(FindTerminalWindowTest, PatternIgnoresAsciiCaseClassMustMatchExactly)
{
    FakeTopLevel top;
    top.windows = {
        {1, "Notepad", "alpha markets - notes"},             // above the terminals: never seen
        {2, Mt4, "12345678: Beta Trading - Demo"},
        {3, "Chrome_WidgetWin_1", "Alpha Markets news"},      // right title, wrong class
        {4, std::nullopt, "Alpha Markets"},                   // class unreadable
        {5, "metaquotes::metatrader::4.00", "Alpha Markets"},  // class differs in case
        {6, Mt4, "87654321: alpha markets - Demo"},
        {7, Mt4, "Alpha Markets second"},
    };
    EXPECT_EQ(FindTerminalWindow(top, "ALPHA MARKETS"), 6u);  // the highest match wins
    EXPECT_EQ(FindTerminalWindow(top, "beta"), 2u);
    EXPECT_EQ(FindTerminalWindow(top, "Gamma"), 0u);
    EXPECT_EQ(FindTerminalWindow(top, ""), 0u);
}

TEST(FindTerminalWindowTest, OnlyAsciiLettersAreFolded)
{
    EXPECT_TRUE(TitleMatchesPattern("Broker \xC4" "BC", "broker \xC4" "bc"));
    EXPECT_FALSE(TitleMatchesPattern("Broker \xE4" "bc", "broker \xC4" "bc"));  // Ä and ä in 1252 stay apart
    EXPECT_EQ(AsciiLowerCase("AZaz@[`{09"), "azaz@[`{09");
    EXPECT_FALSE(TitleMatchesPattern("anything", ""));
}

TEST(CleanTerminalPathTest, FullPathsToTheProgramBecomeItsFolder)
{
    EXPECT_EQ(CleanTerminalPath("\"C:\\Program Files\\Alpha MT4\\Terminal.EXE\""), "C:\\Program Files\\Alpha MT4");
    EXPECT_EQ(CleanTerminalPath("C:\\Program Files\\Alpha MT4\\terminal.exe"), "C:\\Program Files\\Alpha MT4");
    EXPECT_EQ(CleanTerminalPath("C:\\Program Files\\Alpha MT4"), "C:\\Program Files\\Alpha MT4");
    EXPECT_EQ(CleanTerminalPath("C:\\Program Files\\Alpha MT4\\"), "C:\\Program Files\\Alpha MT4\\");
    EXPECT_EQ(CleanTerminalPath("C:\\MT4\\\"terminal\".exe"), "C:\\MT4");  // quotes go wherever they are
    EXPECT_EQ(CleanTerminalPath("C:\\MT4\\my\"terminal\".exe"), "C:\\MT4\\myterminal.exe");
    EXPECT_EQ(CleanTerminalPath("C:\\MT4\\terminal.exe.bak"), "C:\\MT4\\terminal.exe.bak");
    EXPECT_EQ(CleanTerminalPath("C:\\MT4\\xterminal.exe"), "C:\\MT4\\xterminal.exe");
}

TEST(CleanTerminalPathTest, RootsKeepTheirBackslash)
{
    EXPECT_EQ(CleanTerminalPath("C:\\terminal.exe"), "C:\\");
    EXPECT_EQ(CleanTerminalPath("C:terminal.exe"), "C:");
    EXPECT_EQ(CleanTerminalPath("\\terminal.exe"), "\\");
    EXPECT_EQ(CleanTerminalPath("terminal.exe"), "");
    EXPECT_EQ(CleanTerminalPath("\\\\server\\share\\terminal.exe"), "\\\\server\\share");
}

TEST(TerminalTextsTest, ExactTexts)
{
    EXPECT_EQ(TerminalExePath("C:\\MT4"), "C:\\MT4\\terminal.exe");
    EXPECT_EQ(TerminalPathErrorText("D:\\x"), "Error: path \"D:\\x\"\nto terminal.exe is incorrect!");
    EXPECT_EQ(AdminRightsErrorText("Alpha"),
              "Could not complete the task for broker \"Alpha\"! MT4 terminal is probably running with Administrator "
              "privileges.\r\n\r\nHOW TO FIX: if you just installed or updated the MT4 terminal and it was launched "
              "by the installer/updater, simply restart the terminal and try again. Alternative: run Pelo as "
              "Administrator.");
}

// Records every system action; windows by pattern.
class FakeControl final : public ITerminalControl {
public:
    struct Window {
        WindowHandle handle;
        bool visible;
        bool accessible = true;
    };
    std::map<std::string, Window> running;
    std::vector<std::string> log;
    std::set<std::string> files;

    WindowHandle FindTerminalWindow(const std::string& pattern) override
    {
        auto it = running.find(pattern);
        return it == running.end() ? 0 : it->second.handle;
    }
    bool CanAccessTerminal(WindowHandle w) override { return Get(w).accessible; }
    bool IsWindowVisible(WindowHandle w) override { return Get(w).visible; }
    void ShowWindow(WindowHandle w) override { log.push_back("show " + std::to_string(w)); }
    void HideWindow(WindowHandle w) override { log.push_back("hide " + std::to_string(w)); }
    void CloseTerminal(WindowHandle w) override { log.push_back("close " + std::to_string(w)); }
    void LaunchTerminal(const TMT4TermInfo& t) override { log.push_back("launch " + t.ShortName); }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    void ShowError(const std::string& text) override { log.push_back("error " + text); }

private:
    Window& Get(WindowHandle w)
    {
        for (auto& [p, win] : running)
            if (win.handle == w)
                return win;
        throw std::logic_error("no such window");
    }
};

const TTerminalList Terminals{{"Alpha Markets", "AM", "C:\\Alpha", "alpha"},
                              {"Beta Trading", "BT", "C:\\Beta", "beta"},
                              {"Gamma FX", "GF", "C:\\Gamma", "gamma"}};

TEST(TerminalCommandsTest, AllTerminalsSkipMissingOnesAndReportUnreachableOnes)
{
    FakeControl control;
    control.running = {{"alpha", {10, false}}, {"gamma", {30, true, false}}};
    ActOnAllTerminals(Terminals, TTerminalAction::Show, control);
    EXPECT_EQ(control.log, (std::vector<std::string>{"show 10", "error " + AdminRightsErrorText("Gamma FX")}));

    control.log.clear();
    control.running["alpha"].visible = true;
    control.running["gamma"].accessible = true;
    ActOnAllTerminals(Terminals, TTerminalAction::Show, control);  // already visible: nothing to do
    EXPECT_TRUE(control.log.empty());
    ActOnAllTerminals(Terminals, TTerminalAction::Hide, control);
    ActOnAllTerminals(Terminals, TTerminalAction::Close, control);
    EXPECT_EQ(control.log, (std::vector<std::string>{"hide 10", "hide 30", "close 10", "close 30"}));

    control.log.clear();
    LaunchAllTerminals(Terminals, control);  // no checks at all
    EXPECT_EQ(control.log, (std::vector<std::string>{"launch AM", "launch BT", "launch GF"}));
    LaunchAllTerminals({}, control);
    ActOnAllTerminals({}, TTerminalAction::Close, control);
    EXPECT_EQ(control.log.size(), 3u);
}

TEST(TerminalCommandsTest, SelectedTerminal)
{
    FakeControl control;
    control.files = {"C:\\Alpha\\terminal.exe"};
    control.running = {{"alpha", {10, true}}};
    LaunchSelectedTerminal(Terminals, std::nullopt, control);
    LaunchSelectedTerminal(Terminals, 0, control);
    LaunchSelectedTerminal(Terminals, 1, control);
    ActOnSelectedTerminal(Terminals, std::nullopt, TTerminalAction::Show, control);
    ActOnSelectedTerminal(Terminals, std::nullopt, TTerminalAction::Hide, control);
    ActOnSelectedTerminal(Terminals, std::nullopt, TTerminalAction::Close, control);
    ActOnSelectedTerminal(Terminals, 2, TTerminalAction::Close, control);
    ActOnSelectedTerminal(Terminals, 0, TTerminalAction::Hide, control);
    EXPECT_EQ(control.log, (std::vector<std::string>{
                               "error Error: terminal to launch not selected!",
                               "launch AM",
                               "error Error: path \"C:\\Beta\"\nto terminal.exe is incorrect!",
                               "error Error: terminal to show not selected!",
                               "error Error: terminal to hide not selected!",
                               "error Error: terminal to close not selected!",
                               "error Error: terminal not found! Perhaps not launched?",
                               "hide 10",
                           }));
}

TEST(TerminalCommandsTest, MainWindowSelectorAndHiddenCount)
{
    FakeControl control;
    control.running = {{"alpha", {10, true}}, {"beta", {20, false}}, {"gamma", {30, false}}};
    ActOnTerminalByShortName(Terminals, "BT", TTerminalAction::Show, control);
    ActOnTerminalByShortName(Terminals, "Console", TTerminalAction::Show, control);
    ActOnTerminalByShortName(Terminals, "bt", TTerminalAction::Show, control);
    ActOnTerminalByShortName(Terminals, "", TTerminalAction::Hide, control);
    EXPECT_EQ(control.log, (std::vector<std::string>{"show 20"}));
    EXPECT_EQ(FindTerminalByShortName(Terminals, "GF"), 2u);

    EXPECT_EQ(CountHiddenTerminals(Terminals, control), 2);
    TTerminalList twice = Terminals;
    twice.push_back({"Beta again", "B2", "C:\\Beta", "beta"});  // same window, counted per entry
    EXPECT_EQ(CountHiddenTerminals(twice, control), 3);
}

}  // namespace
