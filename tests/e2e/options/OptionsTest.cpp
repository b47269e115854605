// The options dialog in the real program: what OK, Apply and Cancel keep, what the settings file holds
// afterwards, and when the main window's top-most state follows.
#include <gtest/gtest.h>

#include <string>

#include "driver/Driver.h"
#include "driver/ProgramSession.h"

#include <commctrl.h>

namespace pelo::e2e {
namespace {

struct Program {
    Process process;
    HWND main = nullptr;
    HWND options = nullptr;
};

void Start(Program& p) {
    p.main = StartProgramWindow(p.process);
    ASSERT_NE(p.main, nullptr);
    p.options = WaitForTopLevel(p.process.Id(), L"TfrmOptions", 5000, false);
    ASSERT_NE(p.options, nullptr);
}

void Open(const Program& p) {
    ClickButton(FindDescendant(p.main, L"Button", L"Options"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(p.options) != FALSE; }, 3000));
}

void ShowTab(const Program& p, int index) {
    SendWithTimeout(FindDescendant(p.options, L"SysTabControl32", L""), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

void SetText(HWND edit, const wchar_t* text) { SetEditText(edit, text); }
void Press(HWND dialog, const std::wstring& caption) { SendWithTimeout(FindDescendant(dialog, L"Button", caption), BM_CLICK, 0, 0); }

// The colour on screen just inside the edit's right border, where no text is.
COLORREF EditBackground(HWND edit) {
    RECT r;
    GetWindowRect(edit, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.right - 5, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return c;
}

bool TopMost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::wstring SettingsText() {
    const auto bytes = ReadFileBytes(AppDataDir() + L"\\Pelorant.ini").value_or(std::vector<uint8_t>{});
    std::wstring text;
    for (size_t k = 2; k + 1 < bytes.size(); k += 2) text += static_cast<wchar_t>(bytes[k] | (bytes[k + 1] << 8));
    return text;
}

TEST(Options, OkAndApplyKeepWhatIsValidAndTheTopMostStateFollowsAtClosing) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    ASSERT_NO_FATAL_FAILURE(Open(p));
    EXPECT_FALSE(IsWindowEnabled(p.main)) << "the other windows are disabled while the dialog is open";
    ShowTab(p, 2);
    HWND capacity = EditBeside(p.options, L"Headline box capacity:");
    HWND cache = EditBeside(p.options, L"Duplicates cache size:");
    ASSERT_NE(capacity, nullptr);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(TextOf(capacity), L"100");
    SetText(capacity, L"5");
    Press(p.options, L"Don't display/process duplicate headlines");
    EXPECT_TRUE(IsWindowEnabled(cache));
    SetText(cache, L"150");
    Sleep(200);
    EXPECT_EQ(EditBackground(capacity), RGB(255, 0, 0)) << "capacity 5 is marked";
    EXPECT_EQ(EditBackground(cache), RGB(255, 0, 0)) << "150 is marked, though OK takes it";
    Screenshot(L"options-misc-marked");
    // Tab moves on to the next control of the page, as in a dialog.
    PostMessageW(capacity, WM_KEYDOWN, VK_TAB, 1);
    GUITHREADINFO gui{sizeof gui};
    const DWORD thread = GetWindowThreadProcessId(p.options, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        // the font's "Select..." beside the capacity (the console's is on a hidden page)
        return GetGUIThreadInfo(thread, &gui) && gui.hwndFocus && TextOf(gui.hwndFocus) == L"Select..." &&
               IsWindowVisible(gui.hwndFocus);
    }, 2000)) << "focus: " << std::string(TextOfA(gui.hwndFocus));
    Press(p.options, L"Stay on top (keep Pelo main window on top of other windows)");

    ShowTab(p, 1);
    HWND x = EditBeside(p.options, L"X position within window:");
    ASSERT_NE(x, nullptr);
    SetText(x, L"25");
    Screenshot(L"options-clicker");
    Press(p.options, L"Apply");
    EXPECT_FALSE(IsWindowEnabled(FindDescendant(p.options, L"Button", L"Apply")));
    EXPECT_FALSE(TopMost(p.main)) << "Stay on top waits for the dialog to close";
    std::wstring ini = SettingsText();
    EXPECT_NE(ini.find(L"DuplicateHCacheSize=150"), std::wstring::npos) << "Apply saves";
    EXPECT_NE(ini.find(L"HeadlineCapacity=100"), std::wstring::npos);
    EXPECT_NE(ini.find(L"CustomX1=25"), std::wstring::npos);

    SetText(x, L"");  // emptied after the Apply, then cancelled: lost
    Press(p.options, L"Cancel");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(p.options); }, 2000));
    EXPECT_TRUE(IsWindowEnabled(p.main));
    EXPECT_TRUE(TopMost(WaitForTopLevel(p.process.Id(), L"TfrmSetCoords", 1000, false)))
        << "the coordinate dialog follows Stay on top at closing";
    EXPECT_NE(SettingsText().find(L"CustomX1=25"), std::wstring::npos);

    ASSERT_NO_FATAL_FAILURE(Open(p));
    ShowTab(p, 1);
    EXPECT_EQ(TextOf(x), L"25");
    SetText(x, L"");
    Press(p.options, L"OK");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(p.options); }, 2000));
    ini = SettingsText();
    EXPECT_NE(ini.find(L"CustomX1=-1"), std::wstring::npos) << "an emptied X edit stores -1";
    EXPECT_NE(ini.find(L"StayOnTop=1"), std::wstring::npos);
}

// A new user's first evening: nothing configured, the terminal added through Options and the terminal dialog, and
// its headlines arrive after Start.
TEST(Options, ANewUserAddsATerminalThroughTheDialogsAndReadsItsNews) {
    Process terminal = Process::Start(FixturesDir() + L"\\terminal.exe", L"--title \"Alpha Markets - Demo\" --rows 5");
    HWND terminalWindow = WaitForTopLevel(terminal.Id(), L"MetaQuotes::MetaTrader::4.00", 10000, false);
    ASSERT_NE(terminalWindow, nullptr);
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    ASSERT_NO_FATAL_FAILURE(Open(p));
    ClickButton(FindDescendant(p.options, L"Button", L"Add..."));
    HWND broker = WaitForTopLevel(p.process.Id(), L"TfrmBroker", 5000);
    ASSERT_NE(broker, nullptr);
    EXPECT_EQ(TextOf(broker), L"Add MT4 terminal");
    SetText(EditBeside(broker, L"Broker name:"), L"Alpha Markets Ltd");
    SetText(EditBeside(broker, L"Short name:"), L"ALM");
    SetText(EditBeside(broker, L"Path to terminal.exe:"), L"\"C:\\Alpha\\terminal.exe\"");
    SetText(EditBeside(broker, L"Window title pattern:"), L"alpha markets");
    Sleep(300);  // the screen catches up with the texts
    Screenshot(L"options-terminal-dialog");
    ClickButton(FindDescendant(broker, L"Button", L"OK"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(broker) || !IsWindow(broker); }, 3000));
    HWND list = FindDescendant(p.options, L"ListBox", L"");
    ASSERT_EQ(SendWithTimeout(list, LB_GETCOUNT, 0, 0), 1);
    Sleep(300);
    Screenshot(L"options-news-sources");
    Press(p.options, L"OK");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(p.options); }, 2000));
    const std::wstring ini = SettingsText();
    EXPECT_NE(ini.find(L"FullName=Alpha Markets Ltd"), std::wstring::npos);
    EXPECT_NE(ini.find(L"Path=C:\\Alpha\r\n"), std::wstring::npos) << "the quoted path to terminal.exe is kept as its folder";

    HWND listBox = FindDescendant(p.main, L"ListBox", L"");
    SendWithTimeout(FindDescendant(p.main, L"Button", L"Start"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return HeadlineBoxRow(p.main, listBox, 0).find("Initial headline 5") != std::string::npos; },
                          5000))
        << HeadlineBoxRow(p.main, listBox, 0);
    PostMessageW(terminalWindow, WM_CLOSE, 0, 0);
}

// Disabled under Wine: there a window asked to become top-most is stacked below the owned windows above it (the
// coordinate dialog, tool tips) and stays top-most only when another top-most window lies below that place, which
// on a test desktop none does. On Windows the owner becomes top-most with its owned windows.
TEST(Options, DISABLED_StayOnTopMakesTheMainWindowTopMost) {
    WriteSettingsFile(L"[Misc]\r\nStayOnTop=1\r\n");
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    EXPECT_TRUE(WaitUntil([&] { return TopMost(p.main); }, 2000)) << "at start-up";
    ASSERT_NO_FATAL_FAILURE(Open(p));
    EXPECT_FALSE(TopMost(p.main)) << "not while the dialog is open";
    Press(p.options, L"Cancel");
    EXPECT_TRUE(TopMost(p.main)) << "again after closing";
}

}  // namespace
}  // namespace pelo::e2e
