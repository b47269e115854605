// News intake of the real program from simulated MT4 terminals (tests/fixtures/terminal): the reader's first
// pass, new rows through the hook library, the column-title check, unreadable terminals, and the terminal buttons.
// The reading tests run twice: with the hook library that reads each pass's rows inside the terminal, and with the
// release before it (tests/fixtures/oldhook), against which the program reads every row from outside.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "driver/Driver.h"
#include "script/CompiledScript.h"

namespace pelo::e2e {
namespace {

constexpr DWORD kStartTimeout = 20000;
constexpr WPARAM kNewsNotification = 12345;
const std::wstring kTerminalClass = L"MetaQuotes::MetaTrader::4.00";

// Commands of the simulated terminal (WM_COPYDATA dwData; see the header of terminal.cpp).
enum : ULONG_PTR { kAdd = 1, kAddN = 2, kListView = 6, kDestroyList = 7, kHang = 8, kDieOnRead = 9 };

// Which hook library the program is installed with, and so how its passes read the rows.
enum class ReadPath { InTerminal, FromOutside };
ReadPath g_readPath = ReadPath::InTerminal;

class News : public ::testing::TestWithParam<ReadPath> {
protected:
    void SetUp() override { g_readPath = GetParam(); }
};

std::string ReadPathName(const ::testing::TestParamInfo<ReadPath>& info) {
    return info.param == ReadPath::InTerminal ? "InTerminal" : "FromOutside";
}

// ---- The simulated terminal ------------------------------------------------------------------------------------

struct SimTerminal {
    Process process;
    HWND window = nullptr;
    HWND list = nullptr;
};

LRESULT Command(HWND terminal, ULONG_PTR code, const std::string& argument) {
    COPYDATASTRUCT data{code, static_cast<DWORD>(argument.size()), const_cast<char*>(argument.data())};
    return SendWithTimeout(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), 20000);
}

// Inserts the rows at the top in this order: the last one ends on top, as the newest.
void AddRows(const SimTerminal& t, const std::vector<std::string>& rows) {
    std::string lines;
    for (const std::string& row : rows) lines += (lines.empty() ? "" : "\n") + row;
    Command(t.window, kAdd, lines);
}

void StartTerminal(SimTerminal& t, const std::wstring& arguments) {
    t.process = Process::Start(FixturesDir() + L"\\terminal.exe", arguments);
    t.window = WaitForTopLevel(t.process.Id(), kTerminalClass, 10000, false);
    ASSERT_NE(t.window, nullptr) << "the simulated terminal did not start";
    t.list = reinterpret_cast<HWND>(Command(t.window, kListView, ""));
}

// ---- The program -----------------------------------------------------------------------------------------------

struct Program {
    Process process;
    HWND main = nullptr;
    HWND listBox = nullptr;
    HWND startStop = nullptr;
    HWND sources = nullptr;    // lblActiveNewsSourceCount
    HWND headlines = nullptr;  // lblHeadlineCount
};

struct Broker {
    std::string fullName, shortName, path, pattern;
};

std::wstring Widen(const std::string& s) {
    std::wstring w;
    for (unsigned char c : s) w += static_cast<wchar_t>(c);
    return w;
}

void WriteSettings(const std::vector<Broker>& brokers, const std::wstring& misc) {
    std::wstring text;
    for (std::size_t i = 0; i < brokers.size(); ++i) {
        const Broker& b = brokers[i];
        text += L"[Broker" + std::to_wstring(i + 1) + L"]\r\nFullName=" + Widen(b.fullName) + L"\r\nShortName=" +
                Widen(b.shortName) + L"\r\nPath=" + Widen(b.path) + L"\r\nWindowPattern=" + Widen(b.pattern) +
                L"\r\n\r\n";
    }
    text += L"[Misc]\r\n" + misc + L"\r\n";
    CreateDirectoryW((LocalAppDataDir() + L"\\Quorvel Software").c_str(), nullptr);
    CreateDirectoryW(AppDataDir().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(AppDataDir() + L"\\Pelorant.ini", Utf16LeWithBom(text)));
}

// The value label that stands to the right of `caption` ("S:" or "H:") on the same line.
HWND ValueLabelBeside(HWND main, const std::wstring& caption) {
    HWND label = FindDescendant(main, L"Static", caption);
    if (!label) return nullptr;
    const RECT at = RectInParent(label);
    HWND best = nullptr;
    LONG bestLeft = 0;
    for (HWND w : Children(GetParent(label))) {
        if (GetParent(w) != GetParent(label) || _wcsicmp(ClassOf(w).c_str(), L"Static") != 0) continue;
        const RECT r = RectInParent(w);
        if (r.top == at.top && r.left > at.left && (!best || r.left < bestLeft)) {
            best = w;
            bestLeft = r.left;
        }
    }
    return best;
}

void StartProgram(Program& p, bool withHookLibrary = true) {
    const std::wstring exe = InstallProgram(L"Pelo", withHookLibrary);
    if (withHookLibrary && g_readPath == ReadPath::FromOutside) {
        ASSERT_TRUE(CopyFileW((FixturesDir() + L"\\oldhook\\Pelorant.dll").c_str(), L"C:\\Pelo\\Pelorant.dll", FALSE));
    }
    p.process = Process::Start(exe);
    WaitUntil(
        [&] {
            if (auto box = WaitForMessageBox(p.process.Id(), 0)) AnswerMessageBox(*box, L"OK");
            p.main = WaitForTopLevel(p.process.Id(), L"TfrmPelorant", 0);
            return p.main != nullptr;
        },
        kStartTimeout, 100);
    ASSERT_NE(p.main, nullptr);
    p.listBox = FindDescendant(p.main, L"ListBox", L"");
    p.startStop = FindDescendant(p.main, L"Button", L"Start");
    p.sources = ValueLabelBeside(p.main, L"S:");
    p.headlines = ValueLabelBeside(p.main, L"H:");
    ASSERT_NE(p.listBox, nullptr);
    ASSERT_NE(p.startStop, nullptr);
    ASSERT_NE(p.sources, nullptr);
    ASSERT_NE(p.headlines, nullptr);
}

void CloseProgram(Program& p) {
    PostMessageW(p.main, WM_CLOSE, 0, 0);
    // With a hidden terminal the program asks before it ends.
    if (auto box = WaitForMessageBox(p.process.Id(), 1000)) AnswerMessageBox(*box, box->buttons.front());
    const auto code = p.process.WaitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end after WM_CLOSE";
}

// Presses Start and answers every box that comes up while the readers are made; returns the boxes.
std::vector<MessageBoxInfo> PressStart(Program& p) {
    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    std::vector<MessageBoxInfo> boxes;
    EXPECT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Stop"; }, 5000));
    while (auto box = WaitForMessageBox(p.process.Id(), 1500)) {
        boxes.push_back(*box);
        AnswerMessageBox(*box, L"OK");
    }
    return boxes;
}

void PressStop(Program& p) {
    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Start"; }, 10000));
}

// The news readers are made by the main window's Start once the news intake is wired into it; until then no
// reader exists, no warning comes and no source becomes active.
#define SKIP_UNLESS_READING(p, boxes)                                                              \
    if (TextOf((p).sources) == L"0" && (boxes).empty())                                           \
    GTEST_SKIP() << "Start made no news reader: the news intake is not wired into the main window"

// The passes so far took the way the installed hook library allows, and only that way.
void ExpectReadPath(const Program& p) {
    const auto inTerminal = reinterpret_cast<INT_PTR>(GetPropW(p.main, L"Pelorant.PassesReadInTerminal"));
    const auto fromOutside = reinterpret_cast<INT_PTR>(GetPropW(p.main, L"Pelorant.PassesReadFromOutside"));
    if (g_readPath == ReadPath::InTerminal) {
        EXPECT_GT(inTerminal, 0);
        EXPECT_EQ(fromOutside, 0) << "passes read from outside although the hook library reads inside";
    } else {
        EXPECT_EQ(inTerminal, 0) << "passes read inside a terminal whose hook library cannot";
        EXPECT_GT(fromOutside, 0);
    }
}

void PostNotification(const Program& p, HWND list) {
    PostMessageW(p.main, PeloCommMessage(), kNewsNotification, reinterpret_cast<LPARAM>(list));
}

// A headline box row as the user copies it.
std::string RowText(const Program& p, int row) { return HeadlineBoxRow(p.main, p.listBox, row); }

// "hh:mm:ss.zzz <source>:  <text>"
void ExpectHeadlineRow(const Program& p, int row, const std::string& source, const std::string& text) {
    const std::string line = RowText(p, row);
    static const std::regex stamp("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3} ");
    EXPECT_TRUE(std::regex_search(line, stamp)) << "row " << row << ": " << line;
    const std::string tail = " " + source + ":  " + text;
    EXPECT_TRUE(line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
        << "row " << row << ": \"" << line << "\", expected it to end in \"" << tail << "\"";
}

// The log's lines without their CR LF.
std::vector<std::string> LogLines(const std::wstring& logsDir = DefaultLogsDir(),
                                  const std::wstring& name = L"newslog.txt") {
    std::vector<std::string> lines;
    const auto bytes = ReadFileBytes(logsDir + L"\\" + name);
    if (!bytes) return lines;
    const std::string text(bytes->begin(), bytes->end());
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a log line without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// "dd/MM/yyyy hh:mm:ss.zzz (<source>)  <text>"
void ExpectLogLine(const std::string& line, const std::string& source, const std::string& text) {
    static const std::regex stamp("^[0-3][0-9]/[01][0-9]/20[0-9]{2} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3} ");
    EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    EXPECT_EQ(line.substr(std::min<std::size_t>(line.size(), 24)), "(" + source + ")  " + text);
}

bool WaitForLabel(HWND label, const std::wstring& text, DWORD timeoutMs = 5000) {
    return WaitUntil([&] { return TextOf(label) == text; }, timeoutMs);
}

// ---- Reading ---------------------------------------------------------------------------------------------------

TEST_P(News, FirstPassShowsHistoryThenNewRowsAreDispatchedLoggedAndCounted) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Alpha Markets - Demo\" --rows 100"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Alpha Markets Ltd", "ALM", "C:\\Alpha", "alpha markets"}},
                                          L"HistMT4HBuffer=30\r\n"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);
    EXPECT_TRUE(boxes.empty()) << "unexpected box: " << std::string(boxes.front().text.begin(), boxes.front().text.end());
    EXPECT_EQ(TextOf(p.sources), L"1");

    // The 30 newest listed headlines, the newest on top, above the status line; none counted.
    Sleep(200);
    ExpectHeadlineRow(p, 0, "ALM", "Initial headline 100");
    ExpectHeadlineRow(p, 29, "ALM", "Initial headline 71");
    EXPECT_EQ(RowText(p, 30), "News reader started");
    EXPECT_EQ(TextOf(p.headlines), L"0");

    // Three new rows: one notification from the hook library, three headlines.
    AddRows(t, {"Fed holds rates", "ECB cuts rates by 25bp", "US payrolls beat forecasts"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"3")) << "H: " << TextOfA(p.headlines);
    Sleep(100);
    ExpectHeadlineRow(p, 0, "ALM", "US payrolls beat forecasts");
    ExpectHeadlineRow(p, 1, "ALM", "ECB cuts rates by 25bp");
    ExpectHeadlineRow(p, 2, "ALM", "Fed holds rates");
    ExpectHeadlineRow(p, 3, "ALM", "Initial headline 100");

    // A notification without a change does nothing.
    PostNotification(p, t.list);
    Sleep(500);
    EXPECT_EQ(TextOf(p.headlines), L"3");
    ExpectHeadlineRow(p, 0, "ALM", "US payrolls beat forecasts");
    ExpectHeadlineRow(p, 3, "ALM", "Initial headline 100");
    ExpectReadPath(p);
    Screenshot(L"news-first-pass-and-three-new");

    PressStop(p);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 3u) << "only the headlines after the first pass are logged";
    ExpectLogLine(lines[0], "ALM", "Fed holds rates");
    ExpectLogLine(lines[1], "ALM", "ECB cuts rates by 25bp");
    ExpectLogLine(lines[2], "ALM", "US payrolls beat forecasts");
    CloseProgram(p);
}

TEST_P(News, RepeatedTextDispatchesOnceAndABurstOf250Dispatches200) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Burst Broker\" --rows 5 --prefix Burst"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Burst Broker", "BB", "C:\\Burst", "burst broker"}}, L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);

    AddRows(t, {"Same text twice", "Same text twice"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));
    Sleep(300);
    EXPECT_EQ(TextOf(p.headlines), L"1");
    ExpectHeadlineRow(p, 0, "BB", "Same text twice");
    ExpectHeadlineRow(p, 1, "BB", "Initial headline 5");

    // 250 rows at once: the 200 newest are read; the 50 below them never are.
    Command(t.window, kAddN, "250");
    ASSERT_TRUE(WaitForLabel(p.headlines, L"201", 20000)) << "H: " << TextOfA(p.headlines);
    Sleep(300);
    EXPECT_EQ(TextOf(p.headlines), L"201");
    ExpectHeadlineRow(p, 0, "BB", "Burst 250");
    ExpectReadPath(p);
    Screenshot(L"news-burst-of-250");

    PressStop(p);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 201u);
    ExpectLogLine(lines[0], "BB", "Same text twice");
    ExpectLogLine(lines[1], "BB", "Burst 51");
    ExpectLogLine(lines[200], "BB", "Burst 250");
    CloseProgram(p);
}

TEST_P(News, ColumnTitlesDecideWhichListIsTheNewsList) {
    // A: Headline, Time (headline in column 0). B: three columns with the headline third. C: four columns.
    // D: Cyrillic time and headline titles (bytes as listed). E: "time" in lower case.
    std::vector<SimTerminal> t(5);
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t[0], L"--title \"Term A\" --columns \"Headline|Time\""));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t[1], L"--title \"Term B\" --columns \"Time|From|Headline\""));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t[2], L"--title \"Term C\" --columns \"Time|Headline|Subject|Link\""));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(
        t[3], L"--title \"Term D\" --columns \"\\xC2\\xF0\\xE5\\xEC\\xFF|\\xD2\\xE5\\xEC\\xE0\""));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t[4], L"--title \"Term E\" --columns \"time|Headline\""));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Broker A", "A", "C:\\A", "term a"},
                                           {"Broker B", "B", "C:\\B", "term b"},
                                           {"Broker C", "C", "C:\\C", "term c"},
                                           {"Broker D", "D", "C:\\D", "term d"},
                                           {"Broker E", "E", "C:\\E", "term e"}},
                                          L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);

    ASSERT_EQ(boxes.size(), 3u);
    const char* const unmatched[] = {"Broker B", "Broker C", "Broker E"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].text, L"Could not find news tab for broker \"" + Widen(unmatched[i]) +
                                     L"\"! News will not be read from this broker. Make sure the broker platform "
                                     L"(terminal.exe) is running.");
        EXPECT_EQ(boxes[i].icon, BoxIcon::Warning) << ToString(boxes[i].icon);
    }
    EXPECT_EQ(TextOf(p.sources), L"2");

    AddRows(t[0], {"Read from the first column"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));
    AddRows(t[3], {"Read under Cyrillic titles"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"2"));
    AddRows(t[1], {"Never read"});
    AddRows(t[4], {"Never read either"});
    Sleep(500);
    EXPECT_EQ(TextOf(p.headlines), L"2");
    ExpectHeadlineRow(p, 0, "D", "Read under Cyrillic titles");
    ExpectHeadlineRow(p, 1, "A", "Read from the first column");
    CloseProgram(p);
}

TEST_P(News, ATerminalNotRunningIsReportedOnceAndDuplicatesOfASharedFeedAreNotShown) {
    SimTerminal first, third;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(first, L"--title \"Feed One\" --rows 3"));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(third, L"--title \"Feed Three\" --rows 3"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Feed One Ltd", "F1", "C:\\F1", "feed one"},
                                           {"Feed Two Ltd", "F2", "C:\\F2", "feed two"},
                                           {"Feed Three Ltd", "F3", "C:\\F3", "feed three"}},
                                          L"NoDuplicates=1\r\n"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Could not find news tab for broker \"Feed Two Ltd\"!", 0), 0u);
    EXPECT_EQ(TextOf(p.sources), L"2");

    // Both terminals carry the same headline: shown once, logged and counted twice.
    AddRows(first, {"Shared feed headline"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));
    AddRows(third, {"Shared feed headline"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"2"));
    Sleep(300);
    ExpectHeadlineRow(p, 0, "F1", "Shared feed headline");
    EXPECT_EQ(RowText(p, 1).find("Shared feed headline"), std::string::npos) << "the duplicate is not shown";

    PressStop(p);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLogLine(lines[0], "F1", "Shared feed headline");
    ExpectLogLine(lines[1], "F3", "Shared feed headline");
    CloseProgram(p);
}

TEST_P(News, ATerminalThatEndedWhileReadIsReportedAtTheNextPassAndReadingGoesOn) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Short Lived\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Short Lived Ltd", "SL", "C:\\SL", "short lived"}}, L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);
    ASSERT_EQ(TextOf(p.sources), L"1");

    t.process.Kill();
    ASSERT_TRUE(t.process.WaitForExit(5000).has_value());
    PostNotification(p, t.list);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value()) << "no error box for the pass over an ended terminal";
    EXPECT_EQ(box->text.rfind(L"System Error.  Code: ", 0), 0u) << std::string(box->text.begin(), box->text.end());
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    Screenshot(L"news-terminal-ended");
    AnswerMessageBox(*box, L"OK");

    EXPECT_TRUE(p.process.Running());
    EXPECT_EQ(TextOf(p.startStop), L"Stop");
    PressStop(p);
    EXPECT_EQ(TextOf(p.sources), L"0");
    CloseProgram(p);
}

// The program answers its own messages (a box of its own is up, so they go through that box's loop).
bool Responsive(const Program& p) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(p.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
}

void ExpectSystemErrorBox(const std::optional<MessageBoxInfo>& box) {
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(L"System Error.  Code: ", 0), 0u) << std::string(box->text.begin(), box->text.end());
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
}

// Two terminals read by the program: the first is about to fail, the other is to be read on meanwhile. Skips the
// test when Start made no reader at all.
struct FailingAndOther {
    SimTerminal failing, other;
    Program p;
};

void StartReadingBoth(FailingAndOther& s, const std::wstring& failingTitle, const Broker& failing,
                      const std::wstring& otherTitle, const Broker& other) {
    ASSERT_NO_FATAL_FAILURE(StartTerminal(s.failing, L"--title \"" + failingTitle + L"\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(StartTerminal(s.other, L"--title \"" + otherTitle + L"\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({failing, other}, L""));
    ASSERT_NO_FATAL_FAILURE(StartProgram(s.p));
    const auto boxes = PressStart(s.p);
    SKIP_UNLESS_READING(s.p, boxes);
    ASSERT_EQ(TextOf(s.p.sources), L"2");
}

TEST_P(News, ATerminalKilledInTheMiddleOfAPassIsReportedOnceAndTheOthersReadOn) {
    FailingAndOther s;
    ASSERT_NO_FATAL_FAILURE(StartReadingBoth(s, L"Dying Broker", {"Dying Broker Ltd", "DIE", "C:\\Die", "dying broker"},
                                             L"Steady Broker", {"Steady Broker Ltd", "STD", "C:\\Std", "steady broker"}));
    if (IsSkipped()) return;
    SimTerminal& dying = s.failing;
    SimTerminal& other = s.other;
    Program& p = s.p;
    AddRows(dying, {"Read while it lived"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));

    // The next pass kills it at its first row's text: inside the terminal when the hook library reads there,
    // at the program's own request otherwise. Either way the pass fails as for any ended terminal.
    ASSERT_EQ(Command(dying.window, kDieOnRead, ""), 0);
    AddRows(dying, {"Never read"});
    const auto box = WaitForMessageBox(p.process.Id(), 8000);
    ASSERT_NO_FATAL_FAILURE(ExpectSystemErrorBox(box)) << "no error box for a terminal killed during a pass";
    EXPECT_TRUE(dying.process.WaitForExit(5000).has_value()) << "the terminal did not die at the pass";
    EXPECT_TRUE(Responsive(p));
    AddRows(other, {"Steady news while the box is up"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"2")) << "H: " << TextOfA(p.headlines);
    AnswerMessageBox(*box, L"OK");
    EXPECT_TRUE(WaitForLabel(p.sources, L"1")) << "S: " << TextOfA(p.sources);
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 1000).has_value()) << "a second box for the same terminal";

    AddRows(other, {"Steady news after the box"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"3"));
    ExpectHeadlineRow(p, 0, "STD", "Steady news after the box");
    ExpectHeadlineRow(p, 1, "STD", "Steady news while the box is up");
    ExpectHeadlineRow(p, 2, "DIE", "Read while it lived");
    ExpectReadPath(p);
    PressStop(p);
    CloseProgram(p);
}

TEST_P(News, AListDestroyedWhileItsTerminalRunsEndsItsReaderWithOneBoxAndTheOthersReadOn) {
    FailingAndOther s;
    ASSERT_NO_FATAL_FAILURE(StartReadingBoth(s, L"List Gone", {"List Gone Ltd", "LG", "C:\\LG", "list gone"},
                                             L"List Kept", {"List Kept Ltd", "LK", "C:\\LK", "list kept"}));
    if (IsSkipped()) return;
    SimTerminal& gone = s.failing;
    SimTerminal& other = s.other;
    Program& p = s.p;

    // After this pass the reader's buffer in the terminal holds a row other than the top one.
    AddRows(gone, {"Read before the list went"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));
    EXPECT_EQ(Command(gone.window, kDestroyList, ""), 0);
    ASSERT_FALSE(IsWindow(gone.list));
    PostNotification(p, gone.list);

    const auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_NO_FATAL_FAILURE(ExpectSystemErrorBox(box)) << "no error box for a pass over a destroyed list";
    EXPECT_TRUE(Responsive(p));
    // The other terminal is read while the box is up.
    AddRows(other, {"Read while the box is up"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"2")) << "H: " << TextOfA(p.headlines);
    Screenshot(L"news-list-destroyed");
    AnswerMessageBox(*box, L"OK");
    EXPECT_TRUE(WaitForLabel(p.sources, L"1")) << "S: " << TextOfA(p.sources);

    // The reader has ended: more notifications for that list bring no further box.
    PostNotification(p, gone.list);
    PostNotification(p, gone.list);
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 1500).has_value()) << "a second box for the same list";
    AddRows(other, {"Read after the box"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"3"));
    ExpectHeadlineRow(p, 0, "LK", "Read after the box");
    EXPECT_TRUE(gone.process.Running());
    PressStop(p);
    EXPECT_EQ(TextOf(p.sources), L"0");
    CloseProgram(p);
}

TEST_P(News, ATerminalThatStopsAnsweringEndsItsReaderWithOneBoxAndTheOthersReadOn) {
    FailingAndOther s;
    ASSERT_NO_FATAL_FAILURE(StartReadingBoth(s, L"Busy Broker", {"Busy Broker Ltd", "BUSY", "C:\\Busy", "busy broker"},
                                             L"Calm Broker", {"Calm Broker Ltd", "CALM", "C:\\Calm", "calm broker"}));
    if (IsSkipped()) return;
    SimTerminal& busy = s.failing;
    SimTerminal& calm = s.other;
    Program& p = s.p;

    // A row comes (and with it the hook library's notification), then the terminal stops answering for 15 s.
    constexpr DWORD kHangMs = 15000;
    const DWORD hungAt = GetTickCount();
    Command(busy.window, kHang, std::to_string(kHangMs) + "\nNews from a terminal about to hang");
    const auto box = WaitForMessageBox(p.process.Id(), 8000);
    ASSERT_NO_FATAL_FAILURE(ExpectSystemErrorBox(box)) << "no error box while the terminal does not answer";
    EXPECT_LT(GetTickCount() - hungAt, kHangMs) << "the program waited for the terminal";
    EXPECT_TRUE(Responsive(p));
    AddRows(calm, {"Calm news while the other hangs"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"1")) << "H: " << TextOfA(p.headlines);
    ExpectHeadlineRow(p, 0, "CALM", "Calm news while the other hangs");
    Screenshot(L"news-terminal-hung");
    AnswerMessageBox(*box, L"OK");
    EXPECT_TRUE(WaitForLabel(p.sources, L"1")) << "S: " << TextOfA(p.sources);

    // Once it answers again its reader has ended: no pass, no second box.
    PostNotification(p, busy.list);
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 1000).has_value()) << "a second box for the same terminal";
    AddRows(busy, {"After the hang"});  // waits until the terminal answers again
    PostNotification(p, busy.list);
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 1500).has_value()) << "a box after the terminal recovered";
    EXPECT_EQ(TextOf(p.headlines), L"1");
    AddRows(calm, {"Calm news after the hang"});
    EXPECT_TRUE(WaitForLabel(p.headlines, L"2"));
    PressStop(p);
    CloseProgram(p);
}

TEST(News, WithoutTheHookLibraryTheFirstPassStillRuns) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Hookless\" --rows 4"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Hookless Ltd", "HL", "C:\\HL", "hookless"}}, L""));
    Program p;
    // The start-up error about the missing library is answered by StartProgram.
    ASSERT_NO_FATAL_FAILURE(StartProgram(p, false));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);
    EXPECT_EQ(TextOf(p.sources), L"1");
    Sleep(200);
    ExpectHeadlineRow(p, 0, "HL", "Initial headline 4");
    ExpectHeadlineRow(p, 3, "HL", "Initial headline 1");

    // No notification comes without the library; a pass run by hand still finds the new row.
    AddRows(t, {"Found by a pass run by hand"});
    Sleep(500);
    EXPECT_EQ(TextOf(p.headlines), L"0");
    PostNotification(p, t.list);
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1"));
    ExpectHeadlineRow(p, 0, "HL", "Found by a pass run by hand");
    CloseProgram(p);
}

// ---- Terminal buttons ------------------------------------------------------------------------------------------

TEST(News, TerminalButtonsLaunchHideShowAndCloseTheConfiguredTerminal) {
    // terminal.exe copied into a folder of its own, as a real installation has it.
    const std::wstring folder = L"C:\\MT4 Launch";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((FixturesDir() + L"\\terminal.exe").c_str(), (folder + L"\\terminal.exe").c_str(), FALSE));
    // The fixture's default title: "12345678: Demo - Demo Account - [EURUSD,H1]".
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Launch Broker", "LB", "C:\\MT4 Launch", "DEMO ACCOUNT"}}, L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    auto terminalWindow = [] {
        HWND w = FindWindowW(kTerminalClass.c_str(), nullptr);
        return w;
    };
    ASSERT_EQ(terminalWindow(), nullptr);

    ClickButton(FindDescendant(p.main, L"Button", L"Launch MT4s"));
    ASSERT_TRUE(WaitUntil([&] { return terminalWindow() != nullptr; }, 15000)) << "Launch MT4s started nothing";
    HWND w = terminalWindow();
    EXPECT_EQ(TextOfA(w), "12345678: Demo - Demo Account - [EURUSD,H1]");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }, 5000));

    ClickButton(FindDescendant(p.main, L"Button", L"Hide All"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); }, 5000)) << "Hide All";
    ClickButton(FindDescendant(p.main, L"Button", L"Show All"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }, 5000)) << "Show All";
    // The selector names the one terminal.
    ClickButton(FindDescendant(p.main, L"Button", L"Hide"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); }, 5000)) << "Hide";
    ClickButton(FindDescendant(p.main, L"Button", L"Show"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }, 5000)) << "Show";
    Screenshot(L"news-launched-terminal");

    ClickButton(FindDescendant(p.main, L"Button", L"Close MT4s"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 15000)) << "Close MT4s";
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 500).has_value()) << "no box for a plain close";
    CloseProgram(p);
}

// ---- The log on disk -------------------------------------------------------------------------------------------

// A headline is in the file by the time it is shown: a program that crashes (or is killed) afterwards has lost
// none of it.
TEST_P(News, EachHeadlineIsInTheLogFileAsSoonAsItIsCounted) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Write Through\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Write Through", "WT", "C:\\WT", "write through"}}, L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);

    AddRows(t, {"On disk at once"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1")) << "H: " << TextOfA(p.headlines);
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u) << "the headline is still only in memory";
    ExpectLogLine(lines[0], "WT", "On disk at once");

    AddRows(t, {"Second batch"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"2"));
    // Killed, not closed: nothing gets a chance to write what is still in memory.
    p.process.Kill();
    lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLogLine(lines[1], "WT", "Second batch");
}

// The attached script gets every new headline with its terminal's short name; what it logs and the headline go
// to the script's own log file, what it writes to the box.
TEST_P(News, AnAttachedScriptGetsEachNewHeadlineAndLogsToItsOwnFile) {
    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Script Feed\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Script Feed", "SF", "C:\\SF", "script feed"}}, L""));
    CreateDirectoryW(L"C:\\S", nullptr);
    ASSERT_NO_FATAL_FAILURE(CompileScriptTo(
        L"C:\\S\\Trend.exn",
        "procedure Start(Headline, Source: string); begin WriteLnLog('seen ' + Headline);"
        " WriteLn('Trend got ' + Headline + ' from ' + Source); end; begin end."));
    ASSERT_TRUE(WriteUserRegString(L"Software\\Quorvel Software\\Pelorant", L"AttachedScript", L"C:\\S\\Trend.exn"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    PostMessageW(p.main, PeloCommMessage(), 1982137, 1819273);  // attach, as the editor sends it
    ASSERT_TRUE(WaitUntil([&] { return RowText(p, 0) == "Script \"Trend\" attached"; }, 5000)) << RowText(p, 0);
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);

    AddRows(t, {"Rates cut by 50 bp"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"1")) << "H: " << TextOfA(p.headlines);
    ASSERT_TRUE(WaitUntil([&] { return RowText(p, 1) == "Trend got Rates cut by 50 bp from SF"; }, 3000))
        << RowText(p, 1);
    ExpectHeadlineRow(p, 0, "SF", "Rates cut by 50 bp");
    const std::vector<std::string> lines = LogLines(DefaultLogsDir(), L"Trend.txt");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(std::min<std::size_t>(lines[0].size(), 24)), "seen Rates cut by 50 bp");
    ExpectLogLine(lines[1], "SF", "Rates cut by 50 bp");
    EXPECT_FALSE(FileExists(DefaultLogsDir() + L"\\newslog.txt"));
    CloseProgram(p);
}

// Fills the disk that holds `folder` with one file; returns its path.
std::wstring FillDisk(const std::wstring& folder) {
    const std::wstring path = folder + L"\\filler.bin";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(f, INVALID_HANDLE_VALUE);
    if (f == INVALID_HANDLE_VALUE) return path;
    const std::vector<char> block(4096, 'F');
    for (int i = 0; i < 100000; ++i) {
        DWORD written = 0;
        if (!WriteFile(f, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) ||
            written != block.size())
            break;
    }
    CloseHandle(f);
    return path;
}

// The logs folder on a small disk of its own (the runner mounts one when it can): the disk fills up while
// headlines arrive, the user is told once, and once space returns every headline reaches the file, in order.
TEST_P(News, FullLogDiskIsReportedOnceAndNoHeadlineIsLostWhenSpaceReturns) {
    wchar_t disk[1024] = {};
    if (GetEnvironmentVariableW(L"PELO_SMALL_DISK_DIR", disk, 1024) == 0)
        GTEST_SKIP() << "no small disk: the runner could not mount one (PELO_SMALL_DISK_DIR is not set)";
    const std::wstring logsDir = std::wstring(disk) + L"\\logs";
    RemoveTree(logsDir);
    DeleteFileW((std::wstring(disk) + L"\\filler.bin").c_str());
    ASSERT_TRUE(CreateDirectoryW(logsDir.c_str(), nullptr));
    ASSERT_TRUE(WriteUserRegString(kPeloRegKey, L"LogsDir", logsDir));

    SimTerminal t;
    ASSERT_NO_FATAL_FAILURE(StartTerminal(t, L"--title \"Small Disk\" --rows 2"));
    ASSERT_NO_FATAL_FAILURE(WriteSettings({{"Small Disk", "SD", "C:\\SD", "small disk"}}, L""));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const auto boxes = PressStart(p);
    SKIP_UNLESS_READING(p, boxes);
    ASSERT_TRUE(FileExists(logsDir + L"\\newslog.txt"));

    const std::wstring filler = FillDisk(disk);
    AddRows(t, {"Written to a full disk", "Also to a full disk"});
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value()) << "a refused log write was not reported";
    EXPECT_EQ(box->text, L"Error writing log file! The disk may be full. New lines are kept in memory and written as "
                         L"soon as the file takes them again.");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    Screenshot(L"news-log-disk-full");
    ASSERT_TRUE(AnswerMessageBox(*box, L"OK"));
    ASSERT_TRUE(WaitForLabel(p.headlines, L"2"));
    EXPECT_TRUE(LogLines(logsDir).empty());

    // Still full: the next batch waits as well, and the user is not asked again.
    AddRows(t, {"Still no room"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"3"));
    EXPECT_FALSE(WaitForMessageBox(p.process.Id(), 1000).has_value()) << "a second box in the same failure";

    ASSERT_TRUE(DeleteFileW(filler.c_str()));
    AddRows(t, {"Room again"});
    ASSERT_TRUE(WaitForLabel(p.headlines, L"4"));
    const std::vector<std::string> lines = LogLines(logsDir);
    ASSERT_EQ(lines.size(), 4u);
    ExpectLogLine(lines[0], "SD", "Written to a full disk");
    ExpectLogLine(lines[1], "SD", "Also to a full disk");
    ExpectLogLine(lines[2], "SD", "Still no room");
    ExpectLogLine(lines[3], "SD", "Room again");
    PressStop(p);
    CloseProgram(p);
}

INSTANTIATE_TEST_SUITE_P(ReadPaths, News, ::testing::Values(ReadPath::InTerminal, ReadPath::FromOutside),
                         ReadPathName);

}  // namespace
}  // namespace pelo::e2e
