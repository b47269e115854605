#include <gtest/gtest.h>

#include <map>

#include "FakeNews.h"
#include "news/NewsListDiscovery.h"
#include "news/NewsReaders.h"

using namespace pelo;
using namespace pelo::news;
using namespace pelo::news::test;

namespace {

// Terminals by window pattern: each may be missing, out of reach, without a news list, or readable.
struct FakeTerminal {
    WindowHandle window = 0;
    bool accessible = true;
    TNewsListMatch list;
    std::vector<std::string> rows;
};

class FakeHost final : public INewsReaderHost {
public:
    WindowHandle FindTerminalWindow(const std::string& pattern) override
    {
        auto it = terminals.find(pattern);
        return it == terminals.end() ? 0 : it->second.window;
    }
    bool CanAccessTerminal(WindowHandle window) override { return ByWindow(window).accessible; }
    TNewsListMatch FindNewsList(WindowHandle window) override { return ByWindow(window).list; }
    std::unique_ptr<INewsList> OpenNewsList(WindowHandle listView, int headlineColumn) override
    {
        ++openAttempts;
        if (failOpen)
            throw std::runtime_error("System Error.  Code: 5.\r\nAccess is denied.");
        opened.emplace_back(listView, headlineColumn);
        for (auto& [pattern, t] : terminals)
            if (t.list.ListView == listView) {
                auto list = std::make_unique<FakeNewsList>(&t.rows);
                lists[listView] = list.get();
                if (onOpen)
                    onOpen(*list);
                return list;
            }
        return nullptr;
    }
    HookHandle InstallNewsHook(WindowHandle listView) override
    {
        hooksInstalled.push_back(listView);
        return hookLibrary ? 0x7000 + listView : 0;
    }
    void RemoveNewsHook(HookHandle hook) noexcept override { hooksRemoved.push_back(hook); }
    void ShowWarning(const std::string& text) override
    {
        warnings.push_back(text);
        if (onWarning)
            onWarning();
    }
    void ShowActiveSourceCount(int count) override { shownCounts.push_back(count); }

    FakeTerminal& ByWindow(WindowHandle window)
    {
        for (auto& [pattern, t] : terminals)
            if (t.window == window)
                return t;
        throw std::logic_error("unknown window");
    }

    std::map<std::string, FakeTerminal> terminals;
    bool hookLibrary = true;
    bool failOpen = false;
    int openAttempts = 0;
    std::vector<std::pair<WindowHandle, int>> opened;
    std::vector<WindowHandle> hooksInstalled;
    std::vector<HookHandle> hooksRemoved;
    std::vector<std::string> warnings;
    std::vector<int> shownCounts;
    std::function<void()> onWarning;
    std::function<void(FakeNewsList&)> onOpen;
    // The lists handed out, by list view; valid while their reader lives.
    std::map<WindowHandle, FakeNewsList*> lists;
};

terminals::TMT4TermInfo Term(const std::string& full, const std::string& shortName, const std::string& pattern)
{
    return terminals::TMT4TermInfo{full, shortName, "C:\\MT4 " + shortName, pattern};
}

class NewsReadersTest : public ::testing::Test {
protected:
    void AddReadable(const std::string& pattern, WindowHandle window, WindowHandle listView,
                     std::vector<std::string> rows = {"top", "older"})
    {
        host.terminals[pattern] = FakeTerminal{window, true, {listView, 1}, std::move(rows)};
    }

    FakeHost host;
    FakeDispatch dispatch;
    TNewsReaders readers{host, dispatch};
};

TEST_F(NewsReadersTest, WarningTexts)
{
    EXPECT_EQ(AccessWarningText("Alpha Markets"),
              "Unable to read news from broker \"Alpha Markets\"! MT4 terminal is probably running with "
              "Administrator privileges.\r\n\r\nHOW TO FIX: if you just installed or updated the MT4 terminal and "
              "it was launched by the installer/updater, simply restart the terminal and try again. Alternative: "
              "run Pelo as Administrator.");
    EXPECT_EQ(NewsTabWarningText("Alpha Markets"),
              "Could not find news tab for broker \"Alpha Markets\"! News will not be read from this broker. Make "
              "sure the broker platform (terminal.exe) is running.");
}

TEST_F(NewsReadersTest, StartCreatesReadersInOrderEachWithItsFirstPass)
{
    AddReadable("one", 0x100, 0x101, {"one top", "one older"});
    host.terminals["three"] = FakeTerminal{0x300, true, {0x301, 0}, {"three top"}};
    // "two" is not running.
    readers.StartReading({Term("One Ltd", "T1", "one"), Term("Two Ltd", "T2", "two"), Term("Three Ltd", "T3", "three")});

    ASSERT_EQ(readers.Count(), 3u);
    EXPECT_TRUE(readers.Reader(0).Active());
    EXPECT_FALSE(readers.Reader(1).Active());
    EXPECT_TRUE(readers.Reader(2).Active());
    EXPECT_EQ(readers.ActiveSourceCount(), 2);
    EXPECT_EQ(host.shownCounts, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(host.warnings, (std::vector<std::string>{NewsTabWarningText("Two Ltd")}));
    EXPECT_EQ(host.opened, (std::vector<std::pair<WindowHandle, int>>{{0x101, 1}, {0x301, 0}}));
    EXPECT_EQ(readers.Reader(2).HeadlineColumn(), 0);

    // First passes ran right after each creation, in list order.
    ASSERT_EQ(dispatch.batches.size(), 2u);
    EXPECT_EQ(dispatch.batches[0].source, "T1");
    EXPECT_EQ(dispatch.batches[1].source, "T3");
    EXPECT_TRUE(dispatch.batches[0].firstPass);
    EXPECT_FALSE(readers.Reader(0).FirstPass());
    EXPECT_TRUE(readers.Reader(1).FirstPass());  // nothing to read: its flag is never touched
}

TEST_F(NewsReadersTest, UnreachableTerminalGetsTheAccessWarningOnly)
{
    host.terminals["admin"] = FakeTerminal{0x200, false, {0x201, 1}, {}};
    readers.StartReading({Term("Admin Broker", "AB", "admin")});
    EXPECT_EQ(host.warnings, (std::vector<std::string>{AccessWarningText("Admin Broker")}));
    EXPECT_FALSE(readers.Reader(0).Active());
    EXPECT_EQ(readers.Reader(0).ListView(), 0u);
    EXPECT_TRUE(host.opened.empty());
}

TEST_F(NewsReadersTest, WithoutHookLibraryTheReaderIsStillActive)
{
    host.hookLibrary = false;
    AddReadable("one", 0x100, 0x101);
    readers.StartReading({Term("One", "T1", "one")});
    EXPECT_TRUE(readers.Reader(0).Active());
    EXPECT_EQ(dispatch.batches.size(), 1u);
    readers.Clear();
    EXPECT_TRUE(host.hooksRemoved.empty());
    EXPECT_EQ(host.shownCounts.back(), 0);
}

TEST_F(NewsReadersTest, NotificationsGoToTheFirstReaderOfThatList)
{
    AddReadable("one", 0x100, 0x101, {"a"});
    AddReadable("also one", 0x100, 0x101, {"a"});  // two entries that found the same list
    readers.StartReading({Term("One", "T1", "one"), Term("One again", "T1b", "also one")});
    dispatch.batches.clear();

    for (const char* pattern : {"one", "also one"})
        host.terminals[pattern].rows.insert(host.terminals[pattern].rows.begin(), "b");
    readers.HandleNewsNotification(0x101);
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(dispatch.batches[0].source, "T1");

    readers.HandleNewsNotification(0x999);
    readers.HandleNewsNotification(-1);
    readers.HandleNewsNotification(0);
    EXPECT_EQ(dispatch.batches.size(), 1u);
}

TEST_F(NewsReadersTest, FailingReaderDoesNotStopTheOthers)
{
    AddReadable("one", 0x100, 0x101);
    AddReadable("two", 0x200, 0x201);
    host.failOpen = true;
    EXPECT_THROW(readers.StartReading({Term("One", "T1", "one"), Term("Two", "T2", "two")}), std::runtime_error);
    // Both were tried and exist, neither active; the error came out once, at the end.
    EXPECT_EQ(host.openAttempts, 2);
    ASSERT_EQ(readers.Count(), 2u);
    EXPECT_FALSE(readers.Reader(0).Active());
    EXPECT_EQ(readers.Reader(0).ListView(), 0u);
    EXPECT_TRUE(host.hooksInstalled.empty());
}

TEST_F(NewsReadersTest, ALostListEndsItsReaderWithOneErrorAndTheOthersReadOn)
{
    AddReadable("one", 0x100, 0x101, {"a"});
    AddReadable("two", 0x200, 0x201, {"a"});
    readers.StartReading({Term("One", "T1", "one"), Term("Two", "T2", "two")});
    ASSERT_EQ(readers.ActiveSourceCount(), 2);
    dispatch.batches.clear();

    host.lists.at(0x201)->lostCode = 1400;
    EXPECT_THROW(readers.HandleNewsNotification(0x201), EListLost);
    EXPECT_FALSE(readers.Reader(1).Active());
    EXPECT_EQ(host.hooksRemoved, (std::vector<HookHandle>{0x7201}));
    EXPECT_EQ(readers.ActiveSourceCount(), 1);
    EXPECT_EQ(host.shownCounts.back(), 1);

    // Later notifications for it find nothing to do: the user hears of the loss once.
    EXPECT_NO_THROW(readers.HandleNewsNotification(0x201));
    EXPECT_NO_THROW(readers.HandleNewsNotification(0x201));
    host.terminals["one"].rows.insert(host.terminals["one"].rows.begin(), "b");
    readers.HandleNewsNotification(0x101);
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(dispatch.batches[0].source, "T1");

    // Stopping does not end it a second time.
    readers.Clear();
    EXPECT_EQ(host.hooksRemoved, (std::vector<HookHandle>{0x7201, 0x7101}));
    EXPECT_EQ(readers.ActiveSourceCount(), 0);
}

TEST_F(NewsReadersTest, AListLostInTheFirstPassEndsThatReaderAndTheStartGoesOn)
{
    AddReadable("one", 0x100, 0x101);
    AddReadable("two", 0x200, 0x201);
    host.onOpen = [&](FakeNewsList& list) {
        if (host.lists.size() == 1)
            list.lostCode = 1460;
    };
    EXPECT_THROW(readers.StartReading({Term("One", "T1", "one"), Term("Two", "T2", "two")}), EListLost);
    ASSERT_EQ(readers.Count(), 2u);
    EXPECT_FALSE(readers.Reader(0).Active());
    EXPECT_TRUE(readers.Reader(1).Active());
    EXPECT_EQ(readers.ActiveSourceCount(), 1);
    EXPECT_EQ(host.hooksRemoved, (std::vector<HookHandle>{0x7101}));
    ASSERT_EQ(dispatch.batches.size(), 1u);
    EXPECT_EQ(dispatch.batches[0].source, "T2");
}

TEST_F(NewsReadersTest, ClearEndsActiveReadersInOrder)
{
    AddReadable("one", 0x100, 0x101);
    AddReadable("two", 0x200, 0x201);
    readers.StartReading({Term("One", "T1", "one"), Term("None", "N", "none"), Term("Two", "T2", "two")});
    ASSERT_EQ(host.warnings.size(), 1u);
    readers.Clear();
    EXPECT_EQ(readers.Count(), 0u);
    EXPECT_EQ(host.hooksRemoved, (std::vector<HookHandle>{0x7101, 0x7201}));
    EXPECT_EQ(readers.ActiveSourceCount(), 0);
    EXPECT_EQ(host.shownCounts, (std::vector<int>{0, 1, 2, 1, 0}));
}

TEST_F(NewsReadersTest, StopDuringAFirstPassEndsTheStart)
{
    AddReadable("one", 0x100, 0x101);
    AddReadable("two", 0x200, 0x201);
    // The user presses Stop in a message loop run by the first reader's dispatch.
    dispatch.onDispatch = [&](const TNewsReader&) { readers.Clear(); };
    readers.StartReading({Term("One", "T1", "one"), Term("Two", "T2", "two")});
    EXPECT_EQ(readers.Count(), 0u);
    EXPECT_EQ(host.hooksInstalled, (std::vector<WindowHandle>{0x101}));
    EXPECT_EQ(host.hooksRemoved, (std::vector<HookHandle>{0x7101}));
    EXPECT_EQ(readers.ActiveSourceCount(), 0);
}

TEST_F(NewsReadersTest, NestedNotificationForAnotherReaderRunsAtOnce)
{
    AddReadable("one", 0x100, 0x101, {"a1"});
    AddReadable("two", 0x200, 0x201, {"b1"});
    readers.StartReading({Term("One", "T1", "one"), Term("Two", "T2", "two")});
    dispatch.batches.clear();
    host.terminals["one"].rows.insert(host.terminals["one"].rows.begin(), "a2");
    host.terminals["two"].rows.insert(host.terminals["two"].rows.begin(), "b2");
    bool nested = false;
    dispatch.onDispatch = [&](const TNewsReader& r) {
        if (r.ShortName() == "T1" && !nested) {
            nested = true;
            readers.HandleNewsNotification(0x201);
        }
    };
    readers.HandleNewsNotification(0x101);
    ASSERT_EQ(dispatch.batches.size(), 2u);
    EXPECT_EQ(dispatch.batches[0].source, "T1");
    EXPECT_EQ(dispatch.batches[1].source, "T2");
}

// --- finding the news list in a window tree ---------------------------------------------------------------

class FakeWindowTree final : public IWindowTree {
public:
    void Add(WindowHandle parent, WindowHandle child, std::string className)
    {
        children[parent].push_back(child);
        classes[child] = std::move(className);
    }
    std::vector<WindowHandle> ChildWindows(WindowHandle parent) override
    {
        auto it = children.find(parent);
        return it == children.end() ? std::vector<WindowHandle>{} : it->second;
    }
    std::optional<std::string> ClassName(WindowHandle window) override
    {
        auto it = classes.find(window);
        if (it == classes.end())
            return std::nullopt;
        return it->second;
    }
    std::map<WindowHandle, std::vector<WindowHandle>> children;
    std::map<WindowHandle, std::string> classes;
};

TEST(FindNewsListTest, DepthFirstWindowBeforeChildrenLastMatchWins)
{
    FakeWindowTree tree;
    tree.Add(1, 10, "Afx:Panel");
    tree.Add(10, 11, "SysListView32");  // news list inside the first panel
    tree.Add(11, 12, "SysListView32");  // nested under it: visited after its parent
    tree.Add(1, 20, "SysListView32");   // a later sibling of the panel
    tree.Add(1, 30, "syslistview32");   // class names are compared exactly
    tree.Add(1, 40, "SysListView32");   // class name unreadable
    tree.classes.erase(40);

    std::vector<WindowHandle> checked;
    std::map<WindowHandle, std::optional<int>> answers{{11, 1}, {12, 0}, {20, std::nullopt}};
    const TNewsListMatch match = FindNewsList(tree, 1, [&](WindowHandle w) {
        checked.push_back(w);
        return answers[w];
    });
    EXPECT_EQ(checked, (std::vector<WindowHandle>{11, 12, 20}));
    EXPECT_EQ(match, (TNewsListMatch{12, 0}));

    // The search starts empty every time.
    EXPECT_EQ(FindNewsList(tree, 1, [](WindowHandle) { return std::optional<int>(); }), TNewsListMatch{});
    EXPECT_EQ(FindNewsList(tree, 99, [](WindowHandle) { return std::optional<int>(1); }), TNewsListMatch{});
}

}  // namespace
