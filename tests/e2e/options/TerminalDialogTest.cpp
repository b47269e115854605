// The terminal dialog and the options dialog's terminal list in the real program: the checks of OK in their order,
// the refusals while the news reader runs, and the visible windows list that helps with the custom button method.
#include <gtest/gtest.h>

#include <string>

#include "driver/Driver.h"
#include "driver/ProgramSession.h"

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
    ClickButton(FindDescendant(p.main, L"Button", L"Options"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(p.options) != FALSE; }, 3000));
}

void SetText(HWND edit, const wchar_t* text) { SetEditText(edit, text); }

// Presses the button and expects an error box with exactly this text; answers it.
void ExpectErrorAfter(const Program& p, HWND button, const std::wstring& text) {
    ClickButton(button);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value()) << "no box for: " << std::string(text.begin(), text.end());
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->icon, BoxIcon::Error);
    ASSERT_TRUE(AnswerMessageBox(*box, L"OK"));
}

TEST(TerminalDialog, OkChecksTheFieldsInOrderAndABlankNameIsNoName) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    ClickButton(FindDescendant(p.options, L"Button", L"Add..."));
    HWND broker = WaitForTopLevel(p.process.Id(), L"TfrmBroker", 5000);
    ASSERT_NE(broker, nullptr);
    EXPECT_FALSE(IsWindowEnabled(p.options)) << "the terminal dialog holds the others while it is open";
    HWND ok = FindDescendant(broker, L"Button", L"OK");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, ok, L"Error: broker full name not entered!"));
    SetText(EditBeside(broker, L"Broker name:"), L"   ");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, ok, L"Error: broker full name not entered!"));
    SetText(EditBeside(broker, L"Broker name:"), L"Alpha Markets Ltd");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, ok, L"Error: broker short name not entered!"));
    SetText(EditBeside(broker, L"Short name:"), L"Console");
    ASSERT_NO_FATAL_FAILURE(
        ExpectErrorAfter(p, ok, L"Sorry, broker short name 'Console' is reserved! Please choose another name."));
    SetText(EditBeside(broker, L"Short name:"), L"ALM");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, ok, L"Error: path to terminal.exe not entered!"));
    SetText(EditBeside(broker, L"Path to terminal.exe:"), L"C:\\Alpha");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, ok, L"Error: window title pattern not entered!"));
    EXPECT_TRUE(IsWindowVisible(broker)) << "a refused OK leaves the dialog open";
    ClickButton(FindDescendant(broker, L"Button", L"Cancel"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(broker) || !IsWindowVisible(broker); }, 3000));
    EXPECT_EQ(SendWithTimeout(FindDescendant(p.options, L"ListBox", L""), LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(p.options));
}

TEST(TerminalDialog, TheListIsNotChangedWhileTheNewsReaderRuns) {
    Process terminal = Process::Start(FixturesDir() + L"\\terminal.exe", L"--title \"Alpha Markets - Demo\" --rows 3");
    ASSERT_NE(WaitForTopLevel(terminal.Id(), L"MetaQuotes::MetaTrader::4.00", 10000, false), nullptr);
    WriteSettingsFile(L"[Broker1]\r\nFullName=Alpha Markets Ltd\r\nShortName=ALM\r\nPath=C:\\Alpha\r\n"
                                     L"WindowPattern=alpha markets\r\n\r\n[Broker2]\r\nFullName=Beta FX\r\nShortName=BFX\r\n"
                                     L"Path=C:\\Beta\r\nWindowPattern=beta fx\r\n\r\n");
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    // Start is pressed with the options dialog closed, as a user must.
    ClickButton(FindDescendant(p.options, L"Button", L"Cancel"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(p.options); }, 3000));
    ClickButton(FindDescendant(p.main, L"Button", L"Start"));
    ASSERT_TRUE(WaitUntil([&] { return FindDescendant(p.main, L"Button", L"Stop") != nullptr; }, 5000));
    // Beta FX does not run: its reader reports that once; the box is not what this test is about.
    if (auto box = WaitForMessageBox(p.process.Id(), 2000)) AnswerMessageBox(*box, L"OK");
    ClickButton(FindDescendant(p.main, L"Button", L"Options"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(p.options) != FALSE; }, 3000));
    HWND list = FindDescendant(p.options, L"ListBox", L"");
    SendWithTimeout(list, LB_SETCURSEL, 1, 0);
    const std::wstring refused =
        L"Sorry, can't do this while the news reader is active.\rClick 'Stop' in the main window first.";
    for (const wchar_t* button : {L"Add...", L"Edit...", L"Remove"})
        ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, FindDescendant(p.options, L"Button", button), refused)) << button;
    // The two arrow buttons: the small ones just right of the list.
    const RECT listRect = RectInParent(list);
    int arrows = 0;
    for (HWND w : Children(GetParent(list))) {
        if (GetParent(w) != GetParent(list) || _wcsicmp(ClassOf(w).c_str(), L"Button") != 0) continue;
        const RECT r = RectInParent(w);
        if (r.left > listRect.right && r.right - r.left < 30 && r.top < listRect.bottom) {
            ++arrows;
            ASSERT_NO_FATAL_FAILURE(ExpectErrorAfter(p, w, refused));
        }
    }
    EXPECT_EQ(arrows, 2);
    EXPECT_EQ(SendWithTimeout(list, LB_GETCOUNT, 0, 0), 2) << "nothing was added or removed";
    Screenshot(L"terminal-dialog-refused-while-reading");
    PostMessageW(WaitForTopLevel(terminal.Id(), L"MetaQuotes::MetaTrader::4.00", 1000, false), WM_CLOSE, 0, 0);
}

TEST(TerminalDialog, TheVisibleWindowsListShowsAnEmptyTitleAsTwoQuotes) {
    // A visible window of this process without a title, and one with a title, for the list to show.
    HWND untitled = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 5, 5, 20, 20, nullptr,
                                    nullptr, nullptr, nullptr);
    HWND titled = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Order 4711", WS_POPUP | WS_VISIBLE, 30, 5, 20, 20,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(untitled, nullptr);
    Program p;
    ASSERT_NO_FATAL_FAILURE(Start(p));
    SendWithTimeout(FindDescendant(p.options, L"SysTabControl32", L""), 0x1330 /* TCM_SETCURFOCUS */, 1, 0);
    ClickButton(FindDescendant(p.options, L"Button", L"Show visible window titles and classnames"));
    HWND list = WaitForTopLevel(p.process.Id(), L"TfrmVisibleWindows", 5000);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(TextOf(list), L"Visible windows");
    std::wstring text;
    WaitUntil(
        [&] {
            for (HWND w : Children(list))
                if (_wcsicmp(ClassOf(w).c_str(), L"Edit") == 0) text = TextOf(w);
            return text.find(L"Order 4711") != std::wstring::npos;
        },
        3000);
    EXPECT_NE(text.find(L"Title=\"Order 4711\", ClassName=\"Static\"\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Title=\"\", ClassName=\"Static\"\r\n"), std::wstring::npos);
    Screenshot(L"visible-windows-list");
    DestroyWindow(untitled);
    DestroyWindow(titled);
}

}  // namespace
}  // namespace pelo::e2e
