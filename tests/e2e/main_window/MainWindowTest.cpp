// The main window of the real program: its layout, the clock caption, Start/Stop and the headline box menu.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/Driver.h"

namespace pelo::e2e {
namespace {

constexpr DWORD kStartTimeout = 20000;
// WM_COMMAND identifier of the headline box's "Clear All".
constexpr WPARAM kClearAll = 204;

struct Program {
    Process process;
    HWND main = nullptr;
    HWND listBox = nullptr;
    HWND startStop = nullptr;
};

// Writes a settings file before the first start, so that the program reads it.
void WriteSettings(const std::wstring& text) {
    CreateDirectoryW((LocalAppDataDir() + L"\\Quorvel Software").c_str(), nullptr);
    CreateDirectoryW(AppDataDir().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(AppDataDir() + L"\\Pelorant.ini", Utf16LeWithBom(text)));
}

const std::wstring kOneTerminal =
    L"[Broker1]\r\nFullName=Example Markets Ltd\r\nShortName=EXM\r\nPath=C:\\NoSuchTerminal\r\n"
    L"WindowPattern=no such terminal window\r\n\r\n";

// Starts the program, answering the first start's logs-directory warning.
void StartProgram(Program& p) {
    p.process = Process::Start(InstallProgram());
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
    ASSERT_NE(p.listBox, nullptr);
    ASSERT_NE(p.startStop, nullptr);
}

void CloseProgram(Program& p) {
    PostMessageW(p.main, WM_CLOSE, 0, 0);
    const auto code = p.process.WaitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(*code, 0u);
}

// The text of a headline box row, read the way a user gets it: select the row, then "Copy selected".
std::string RowText(const Program& p, int row) { return HeadlineBoxRow(p.main, p.listBox, row); }

void ExpectRect(HWND control, LONG left, LONG top, LONG width, LONG height, const char* name) {
    ASSERT_NE(control, nullptr) << name;
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, left) << name;
    EXPECT_EQ(r.top, top) << name;
    EXPECT_EQ(r.right - r.left, width) << name;
    EXPECT_EQ(r.bottom - r.top, height) << name;
}

TEST(MainWindow, ControlsStandWhereTheLayoutPutsThem) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const RECT client = ClientRect(p.main);
    EXPECT_EQ(client.right, 610);
    EXPECT_EQ(client.bottom, 271);

    ExpectRect(FindDescendant(p.main, L"Button", L"Coords"), 5, 34, 61, 21, "btnCoords");
    ExpectRect(p.startStop, 74, 34, 52, 21, "btnStartStop");
    ExpectRect(FindDescendant(p.main, L"Button", L"autoexecute  "), 2, 0, 116, 17, "chbAutoExecute");
    ExpectRect(GetParent(FindDescendant(p.main, L"Static", L"cns: ")), 132, -1, 330, 62, "ResPanel");
    ExpectRect(GetParent(FindDescendant(p.main, L"Static", L"no signal")), 466, 4, 90, 52, "SignalPanel");
    EXPECT_EQ(RectInParent(FindDescendant(p.main, L"Static", L"S:")).left, 564);
    EXPECT_EQ(RectInParent(FindDescendant(p.main, L"Static", L"H:")).top, 31);
    ExpectRect(FindDescendant(p.main, L"Button", L"Script Editor"), 5, 16, 91, 26, "btnScriptEditor");
    ExpectRect(FindDescendant(p.main, L"Button", L"Hide All"), 207, 33, 80, 18, "btnHideAll");
    ExpectRect(FindDescendant(p.main, L"Button", L"Options"), 499, 16, 78, 26, "btnShowOptions");
    EXPECT_EQ(RectInParent(FindDescendant(p.main, L"ComboBox", L"")).left, 297);

    // The headline box fills the middle panel between the top (61) and bottom (57) panels.
    ExpectRect(GetParent(p.listBox), 0, 61, 610, 271 - 61 - 57, "MiddlePanel");
    ExpectRect(p.listBox, 0, 0, 610, 271 - 61 - 57, "ListBox1");
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETCOUNT, 0, 0), 100) << "one row per slot of the ring";

    // No terminal is configured: the terminal buttons are disabled.
    EXPECT_FALSE(IsWindowEnabled(FindDescendant(p.main, L"Button", L"Launch MT4s")));
    EXPECT_FALSE(IsWindowEnabled(FindDescendant(p.main, L"Button", L"Show")));
    Screenshot(L"main-window-layout");
    CloseProgram(p);
}

TEST(MainWindow, CaptionShowsTheSystemClock) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    Sleep(1500);  // the first ticks bring the timer into phase with the second
    int checked = 0;
    for (int i = 0; i < 20 && checked < 5; ++i) {
        SYSTEMTIME before;
        GetLocalTime(&before);
        const std::string caption = TextOfA(p.main);
        Sleep(137);
        // Only samples well inside a second: right after the boundary the caption may still show the last one.
        if (before.wMilliseconds < 100 || before.wMilliseconds > 850) continue;
        char expected[64];
        std::snprintf(expected, sizeof expected, "Pelorant 2.5     Time: %02u:%02u:%02u", before.wHour, before.wMinute,
                      before.wSecond);
        EXPECT_EQ(caption, expected);
        ++checked;
    }
    EXPECT_GE(checked, 3);
    CloseProgram(p);
}

TEST(MainWindow, StartWithoutNewsSourceShowsTheTopMostError) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    // Boxes stand in the middle of the screen, not over the window that opened them.
    SetWindowPos(p.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT mainRect{};
    ASSERT_TRUE(WaitUntil([&] { return GetWindowRect(p.main, &mainRect) && mainRect.left == 0; }, 3000));
    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"No news sources are setup! Click 'Options'...");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    EXPECT_TRUE(box->topMost);
    EXPECT_TRUE(IsCentredOnScreen(box->rect)) << box->rect.left << "," << box->rect.top << " "
                                              << box->rect.right << "," << box->rect.bottom;
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    Screenshot(L"main-window-no-news-source");
    AnswerMessageBox(*box, L"OK");
    EXPECT_EQ(TextOf(p.startStop), L"Start");
    EXPECT_FALSE(FileExists(DefaultLogsDir() + L"\\newslog.txt"));
    CloseProgram(p);
}

TEST(MainWindow, StartThenStopWritesStatusLinesAndRemovesTheEmptyLog) {
    ASSERT_NO_FATAL_FAILURE(WriteSettings(kOneTerminal));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    EXPECT_TRUE(IsWindowEnabled(FindDescendant(p.main, L"Button", L"Launch MT4s")));
    EXPECT_EQ(TextOf(FindDescendant(p.main, L"ComboBox", L"")), L"EXM");
    const std::wstring log = DefaultLogsDir() + L"\\newslog.txt";

    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    // The terminal is not running: its reader explains that in a warning, and reading runs all the same.
    auto warning = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(warning.has_value());
    EXPECT_EQ(warning->text.rfind(L"Could not find news tab for broker \"Example Markets Ltd\"", 0), 0u);
    EXPECT_EQ(warning->icon, BoxIcon::Warning) << ToString(warning->icon);
    AnswerMessageBox(*warning, L"OK");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Stop"; }, 5000));
    EXPECT_TRUE(FileExists(log));
    EXPECT_EQ(RowText(p, 0), "News reader started");
    Screenshot(L"main-window-started");

    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Start"; }, 5000));
    EXPECT_EQ(RowText(p, 0), "News reader stopped");
    EXPECT_EQ(RowText(p, 1), "News reader started");
    EXPECT_FALSE(FileExists(log)) << "an empty newslog.txt is deleted at Stop";
    CloseProgram(p);
}

TEST(MainWindow, StopKeepsALogThatHeldLinesBeforeStart) {
    ASSERT_NO_FATAL_FAILURE(WriteSettings(kOneTerminal));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const std::wstring log = DefaultLogsDir() + L"\\newslog.txt";
    const std::vector<uint8_t> earlier = {'o', 'l', 'd', '\r', '\n'};
    ASSERT_TRUE(WriteFileBytes(log, earlier));

    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    if (auto box = WaitForMessageBox(p.process.Id(), 1500)) AnswerMessageBox(*box, L"OK");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Stop"; }, 5000));
    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Start"; }, 5000));
    EXPECT_EQ(ReadFileBytes(log), earlier) << "appended to, never truncated, and not deleted";
    CloseProgram(p);
}

TEST(MainWindow, ClearAllAsksAndOnlyYesClears) {
    ASSERT_NO_FATAL_FAILURE(WriteSettings(kOneTerminal));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    // With one terminal configured the welcome line stands at row 5.
    const std::string welcome = RowText(p, 5);
    EXPECT_NE(welcome, "");

    PostMessageW(p.main, WM_COMMAND, kClearAll, 0);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"Clear All messages?");
    EXPECT_EQ(box->icon, BoxIcon::Question) << ToString(box->icon);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"Cancel"}));
    EXPECT_TRUE(box->topMost);
    Screenshot(L"main-window-clear-all");
    AnswerMessageBox(*box, L"Cancel");
    EXPECT_EQ(RowText(p, 5), welcome) << "Cancel changes nothing";

    PostMessageW(p.main, WM_COMMAND, kClearAll, 0);
    box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    AnswerMessageBox(*box, L"Yes");
    EXPECT_EQ(RowText(p, 5), "");
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETCOUNT, 0, 0), 100) << "clearing keeps the rows";

    // The next line shows at the top, and the rows below stay blank.
    PostMessageW(p.startStop, BM_CLICK, 0, 0);
    if (auto warning = WaitForMessageBox(p.process.Id(), 1500)) AnswerMessageBox(*warning, L"OK");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(p.startStop) == L"Stop"; }, 5000));
    EXPECT_EQ(RowText(p, 0), "News reader started");
    EXPECT_EQ(RowText(p, 1), "");
    CloseProgram(p);
}

TEST(MainWindow, CopySelectedPutsTheSelectedRowOnTheClipboard) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    // Without a news source the welcome lines stand at rows 4 and 6, with a blank row between them.
    const std::string first = RowText(p, 4);
    const std::string second = RowText(p, 6);
    EXPECT_EQ(first.rfind("Welcome to Pelorant 2.5", 0), 0u) << first;
    EXPECT_NE(second, "");
    EXPECT_NE(second, first);
    EXPECT_EQ(RowText(p, 5), "");
    EXPECT_EQ(RowText(p, 0), "");
    CloseProgram(p);
}

// Stand-ins for terminal main windows: windows of the terminal's class, owned by the test process.
class FakeTerminalWindows {
public:
    FakeTerminalWindows() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = "MetaQuotes::MetaTrader::4.00";
        RegisterClassA(&wc);
    }
    ~FakeTerminalWindows() {
        for (HWND w : windows_) DestroyWindow(w);
    }
    HWND Add(const char* title, bool visible) {
        HWND w = CreateWindowA("MetaQuotes::MetaTrader::4.00", title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                               0, 0, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(w);
        return w;
    }

private:
    std::vector<HWND> windows_;
};

const std::wstring kThreeTerminals =
    L"[Broker1]\r\nFullName=Alpha Markets\r\nShortName=ALPHA\r\nPath=C:\\A\r\nWindowPattern=alpha terminal\r\n\r\n"
    L"[Broker2]\r\nFullName=Beta Markets\r\nShortName=BETA\r\nPath=C:\\B\r\nWindowPattern=beta terminal\r\n\r\n"
    L"[Broker3]\r\nFullName=Gamma Markets\r\nShortName=GAMMA\r\nPath=C:\\G\r\nWindowPattern=gamma terminal\r\n\r\n";

TEST(MainWindow, ClosingWithHiddenTerminalsAsksFirst) {
    ASSERT_NO_FATAL_FAILURE(WriteSettings(kThreeTerminals));
    FakeTerminalWindows terminals;
    terminals.Add("123456: Alpha Terminal - Demo", false);
    HWND beta = terminals.Add("654321: BETA TERMINAL - Live", false);
    terminals.Add("777: Gamma Terminal", true);  // visible: not counted
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));

    PostMessageW(p.main, WM_CLOSE, 0, 0);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"There are 2 hidden MT4 terminals running. Exit anyway?");
    EXPECT_EQ(box->icon, BoxIcon::Warning) << ToString(box->icon);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    EXPECT_TRUE(box->topMost);
    AnswerMessageBox(*box, L"Cancel");
    EXPECT_FALSE(p.process.WaitForExit(1000).has_value()) << "Cancel keeps the program running";
    EXPECT_TRUE(IsWindowVisible(p.main));

    DestroyWindow(beta);
    PostMessageW(p.main, WM_CLOSE, 0, 0);
    box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"There is 1 hidden MT4 terminal running. Exit anyway?");
    AnswerMessageBox(*box, L"OK");
    const auto code = p.process.WaitForExit(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST(MainWindow, ArmingAutoexecuteWithoutCoordinatesIsRefused) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    HWND check = FindDescendant(p.main, L"Button", L"autoexecute  ");
    ASSERT_NE(check, nullptr);
    PostMessageW(check, BM_CLICK, 0, 0);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"Button coordinates are not set!");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    EXPECT_TRUE(box->topMost);
    AnswerMessageBox(*box, L"OK");
    EXPECT_EQ(SendWithTimeout(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    CloseProgram(p);
}

TEST(MainWindow, OneWheelNotchScrollsTwoRowsWhateverTheDelta) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(SendWithTimeout(p.listBox, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0), 1);
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETTOPINDEX, 0, 0), 2);
    SendWithTimeout(p.listBox, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETTOPINDEX, 0, 0), 4);
    SendWithTimeout(p.listBox, WM_MOUSEWHEEL, MAKEWPARAM(0, 30), 0);
    EXPECT_EQ(SendWithTimeout(p.listBox, LB_GETTOPINDEX, 0, 0), 2);
    CloseProgram(p);
}

TEST(MainWindow, WindowKeepsItsMinimumSize) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    SetWindowPos(p.main, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    ASSERT_TRUE(WaitUntil([&] { GetWindowRect(p.main, &r); return r.right - r.left != 0; }, 1000));
    EXPECT_EQ(r.right - r.left, 610);
    EXPECT_EQ(r.bottom - r.top, 61 + 90);
    // The panels follow: the bottom panel keeps its height, the headline box takes what is left.
    SetWindowPos(p.main, nullptr, 0, 0, 800, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT client = ClientRect(p.main);
    const RECT box = RectInParent(GetParent(p.listBox));
    EXPECT_EQ(box.right - box.left, client.right);
    EXPECT_EQ(box.bottom, client.bottom - 57);
    EXPECT_EQ(RectInParent(GetParent(FindDescendant(p.main, L"Button", L"Options"))).top, client.bottom - 57);
    CloseProgram(p);
}

}  // namespace
}  // namespace pelo::e2e
