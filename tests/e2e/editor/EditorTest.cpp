// The companion editor Glossel.exe with the real program: started by the program's button, a script opened, an
// error typed, compiled, found from the message list, fixed, attached, tested and removed, seen from both sides.
#include <gtest/gtest.h>

#include <string>

#include "driver/Driver.h"
#include "driver/ProgramSession.h"

namespace pelo::e2e {
namespace {

const std::wstring kEditorClass = L"TGlosselEditor";
// Scintilla's messages used to place the caret and read where it is (none carries a pointer).
constexpr UINT SCI_GOTOPOS = 2025, SCI_GOTOLINE = 2024, SCI_GETCURRENTPOS = 2008, SCI_LINEFROMPOSITION = 2166,
               SCI_GETCOLUMN = 2129, SCI_UNDO = 2176, SCI_GETMODIFY = 2159;
constexpr WPARAM kCmdRemove = 1016;  // the toolbar's Remove button (its command number in the editor)

const char* const kSample =
    "// Writes each headline it is given.\r\n"
    "procedure Start(Headline, Source: string);\r\n"
    "begin\r\n"
    "  WriteLn('Rates saw ' + Headline + ' from ' + Source);\r\n"
    "end;\r\n"
    "\r\n"
    "begin\r\n"
    "end.\r\n";

struct Editor {
    HWND main = nullptr;
    HWND view = nullptr;
    HWND messages = nullptr;
    HWND headlines = nullptr;
    HWND toolbar = nullptr;
};

bool FindParts(Editor& e, HWND main) {
    e.main = main;
    e.view = FindDescendant(main, L"Scintilla", L"");
    e.messages = FindDescendant(main, L"ListBox", L"");
    e.headlines = FindDescendant(main, L"Edit", L"");
    e.toolbar = FindDescendant(main, L"ToolbarWindow32", L"");
    return e.view && e.messages && e.headlines && e.toolbar;
}

// A key as the keyboard gives it: the editor's message loop turns it into its command.
void PressKey(const Editor& e, UINT key) {
    PostMessageW(e.view, WM_KEYDOWN, key, 1);
    PostMessageW(e.view, WM_KEYUP, key, 0xC0000001);
}

void Type(const Editor& e, const std::string& text) {
    for (unsigned char c : text) PostMessageW(e.view, WM_CHAR, c, 1);
}

std::wstring MessageLine(const Editor& e, int index) {
    const LRESULT length = SendWithTimeout(e.messages, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendWithTimeout(e.messages, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::pair<int, int> CaretPlace(const Editor& e) {
    const LRESULT pos = SendWithTimeout(e.view, SCI_GETCURRENTPOS, 0, 0);
    const LRESULT line = SendWithTimeout(e.view, SCI_LINEFROMPOSITION, static_cast<WPARAM>(pos), 0);
    const LRESULT column = SendWithTimeout(e.view, SCI_GETCOLUMN, static_cast<WPARAM>(pos), 0);
    return {static_cast<int>(line) + 1, static_cast<int>(column) + 1};
}

std::string Row(HWND main, int row) { return HeadlineBoxRow(main, FindDescendant(main, L"ListBox", L""), row); }

TEST(Editor, AScriptGoesFromATypedErrorToAttachedTestedAndRemoved) {
    CreateDirectoryW(L"C:\\Scripts", nullptr);
    ASSERT_TRUE(WriteFileBytes(L"C:\\Scripts\\Rates.pas", std::vector<unsigned char>(kSample, kSample + strlen(kSample))));
    Process program;
    HWND main = StartProgramWindow(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(FileExists(L"C:\\Pelo\\Glossel.exe")) << "the editor is not installed beside the program";

    // The program's button starts the editor from its folder; a second press brings the same one to the front.
    HWND button = FindDescendant(main, L"Button", L"Script Editor");
    ASSERT_NE(button, nullptr);
    ClickButton(button);
    HWND started = WaitForTopLevel(0, kEditorClass, 15000);
    ASSERT_NE(started, nullptr) << "the Script Editor button started no editor";
    Screenshot(L"editor-started-by-the-program");
    ShowWindow(started, SW_MINIMIZE);
    ClickButton(button);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(started); }, 5000)) << "the running editor was not restored";
    Sleep(500);
    int editors = 0;
    for (HWND w = FindWindowW(kEditorClass.c_str(), nullptr); w; w = FindWindowExW(nullptr, w, kEditorClass.c_str(), nullptr))
        ++editors;
    EXPECT_EQ(editors, 1) << "a second editor was started";
    PostMessageW(started, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(started); }, 5000));

    // The user opens the sample (as from the file manager) and types an error into line 4.
    Process glossel = Process::Start(L"C:\\Pelo\\Glossel.exe", L"C:\\Scripts\\Rates.pas");
    HWND window = WaitForTopLevel(glossel.Id(), kEditorClass, 15000);
    ASSERT_NE(window, nullptr);
    Editor e;
    ASSERT_TRUE(FindParts(e, window));
    EXPECT_NE(TextOf(window).find(L"Rates.pas"), std::wstring::npos) << TextOf(window);
    SendWithTimeout(e.view, SCI_GOTOLINE, 3, 0);
    Type(e, "Oops; ");
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(e.view, SCI_GETMODIFY, 0, 0) != 0; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window).find(L"Rates.pas *") != std::wstring::npos; }, 3000))
        << "no modified mark: " << TextOf(window);

    PressKey(e, VK_F7);
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(e.messages, LB_GETCOUNT, 0, 0) > 0; }, 5000)) << "no message";
    const std::wstring message = MessageLine(e, 0);
    EXPECT_EQ(message.rfind(L"Rates.pas(4,1): ", 0), 0u) << std::string(message.begin(), message.end());
    Screenshot(L"editor-compile-error");

    // A double click on the message puts the caret at its place.
    SendWithTimeout(e.view, SCI_GOTOPOS, 0, 0);
    ASSERT_EQ(CaretPlace(e), (std::pair<int, int>{1, 1}));
    SendWithTimeout(e.messages, LB_SETCURSEL, 0, 0);
    PostMessageW(e.messages, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(e.messages, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(e.messages, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(e.messages, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitUntil([&] { return CaretPlace(e) == std::pair<int, int>{4, 1}; }, 3000))
        << "caret at " << CaretPlace(e).first << "," << CaretPlace(e).second;
    Screenshot(L"editor-error-found");

    // Fixed and attached: the editor saves, compiles and hands over; the program attaches it and says so to both.
    SendWithTimeout(e.view, SCI_UNDO, 0, 0);
    PressKey(e, VK_F9);
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" attached"; }, 8000)) << Row(main, 0);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window).find(L"(script attached)") != std::wstring::npos; }, 5000))
        << TextOf(window);
    EXPECT_TRUE(FileExists(L"C:\\Scripts\\Rates.exn"));
    EXPECT_EQ(TextOf(window).find(L"*"), std::wstring::npos) << "not saved before the hand-over: " << TextOf(window);
    Screenshot(L"editor-attached");

    // A test with the headlines pane: the program runs Start on each.
    SendWithTimeout(e.headlines, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Fed cuts rates\r\nECB holds"));
    PressKey(e, VK_F5);
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Rates saw ECB holds from TEST"; }, 8000)) << Row(main, 0);
    EXPECT_NE(Row(main, 1).find(" TEST:  ECB holds"), std::string::npos) << Row(main, 1);
    EXPECT_EQ(Row(main, 2), "Rates saw Fed cuts rates from TEST");
    std::string kept;
    if (auto bytes = ReadFileBytes(L"C:\\Scripts\\Rates.headlines.txt")) kept.assign(bytes->begin(), bytes->end());
    EXPECT_EQ(kept, "Fed cuts rates\r\nECB holds") << "the test headlines were not kept with the script";
    Screenshot(L"editor-tested");

    // Attached again, then removed from the editor's toolbar.
    PressKey(e, VK_F9);
    ASSERT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" attached"; }, 8000)) << Row(main, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(kCmdRemove, BN_CLICKED), reinterpret_cast<LPARAM>(e.toolbar));
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" removed"; }, 8000)) << Row(main, 0);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window).find(L"(script attached)") == std::wstring::npos; }, 5000))
        << TextOf(window);
    Screenshot(L"editor-removed");

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(glossel.WaitForExit(5000).has_value()) << "the editor asked something on close";
    PostMessageW(main, WM_CLOSE, 0, 0);
    program.WaitForExit(10000);
}

TEST(Editor, TheCommandLineHandsScriptsOverWithAndWithoutARunningProgram) {
    CreateDirectoryW(L"C:\\Scripts", nullptr);
    ASSERT_TRUE(WriteFileBytes(L"C:\\Scripts\\Rates.pas", std::vector<unsigned char>(kSample, kSample + strlen(kSample))));
    const std::string broken = "begin\r\n  Oops;\r\nend.\r\n";
    ASSERT_TRUE(WriteFileBytes(L"C:\\Scripts\\Broken.pas", std::vector<unsigned char>(broken.begin(), broken.end())));
    InstallProgram(L"Pelo");
    const std::wstring glossel = L"C:\\Pelo\\Glossel.exe";

    // A script with errors is neither compiled nor handed over.
    EXPECT_EQ(Process::Start(glossel, L"/compile C:\\Scripts\\Broken.pas").WaitForExit(15000), 1u);
    EXPECT_FALSE(FileExists(L"C:\\Scripts\\Broken.exn"));
    EXPECT_EQ(Process::Start(glossel, L"/attach C:\\Scripts\\Broken.pas").WaitForExit(15000), 1u);
    EXPECT_EQ(Process::Start(glossel, L"/frobnicate").WaitForExit(15000), 3u);

    // No program runs: the hand-over starts it with the switch, and the new instance attaches the script.
    EXPECT_EQ(Process::Start(glossel, L"/attach C:\\Scripts\\Rates.pas").WaitForExit(15000), 0u);
    EXPECT_TRUE(FileExists(L"C:\\Scripts\\Rates.exn"));
    EXPECT_EQ(ReadUserRegString(L"Software\\Quorvel Software\\Pelorant", L"AttachedScript").value_or(L""),
              L"C:\\Scripts\\Rates.exn");
    HWND main = nullptr;
    HWND list = nullptr;
    // The started program's box shows rows a moment after its window: only then is there a row to copy.
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (HWND box = FindWindowW(L"#32770", nullptr)) PostMessageW(box, WM_COMMAND, IDOK, 0);  // first-start note
            main = FindWindowW(L"TfrmPelorant", nullptr);
            list = main ? FindDescendant(main, L"ListBox", L"") : nullptr;
            return list != nullptr && SendWithTimeout(list, LB_GETCOUNT, 0, 0) > 0;
        },
        20000))
        << "the started program shows no rows";
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" attached"; }, 10000))
        << "the started program did not attach the script: " << Row(main, 0);

    // It runs now: the command is posted to it.
    EXPECT_EQ(Process::Start(glossel, L"/detach").WaitForExit(15000), 0u);
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" removed"; }, 8000)) << Row(main, 0);
    EXPECT_EQ(Process::Start(glossel, L"/attach C:\\Scripts\\Rates.exn").WaitForExit(15000), 0u);
    EXPECT_TRUE(WaitUntil([&] { return Row(main, 0) == "Script \"Rates\" attached"; }, 8000)) << Row(main, 0);
    Screenshot(L"editor-command-line-attached");
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

}  // namespace
}  // namespace pelo::e2e
