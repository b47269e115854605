// Start-up and shutdown of the real program in a fresh Wine prefix.
#include <gtest/gtest.h>

#include "driver/Driver.h"

namespace pelo::e2e {
namespace {

constexpr DWORD kStartTimeout = 20000;

const std::wstring kCreatedWarning =
    L"Log files directory was not found! Pelo has created the default logs directory at\r\n\r\n";
const std::wstring kSetWarning =
    L"Log files directory was not found! Pelo has set the default logs directory to\r\n\r\n";

// Starts the program and answers the first-start warning when one comes; returns the main window.
HWND StartToMainWindow(Process& p, const std::wstring& exe, const std::wstring& args = L"") {
    p = Process::Start(exe, args);
    HWND main = nullptr;
    WaitUntil(
        [&] {
            if (auto box = WaitForMessageBox(p.Id(), 0)) AnswerMessageBox(*box, L"OK");
            main = WaitForTopLevel(p.Id(), L"TfrmPelorant", 0);
            return main != nullptr;
        },
        kStartTimeout, 100);
    if (!main) {
        // Say what the program was doing instead: a start that hangs and one that ended look alike otherwise.
        std::string seen;
        if (const auto code = p.WaitForExit(0)) seen = "the program ended with code " + std::to_string(*code);
        for (HWND w : TopLevelWindowsOf(p.Id(), false)) {
            const std::wstring cls = ClassOf(w);
            seen += "; window " + std::string(cls.begin(), cls.end()) + " \"" + TextOfA(w) + "\"" +
                    (IsWindowVisible(w) ? "" : " (hidden)");
        }
        Screenshot(L"start-without-main-window");
        ADD_FAILURE() << "no main window within " << kStartTimeout << " ms: " << (seen.empty() ? "no window" : seen);
    }
    return main;
}

void CloseAndExpectCleanExit(Process& p, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    const auto code = p.WaitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(*code, 0u);
}

std::wstring ExpectedDefaultSettings(const RECT& main, POINT coords) {
    return L"[ButtonDiscovery]\r\nDiscoveryMethod=1\r\nCustomTitlePattern=\r\nCustomAllowOnlyExactMatch=0\r\n"
           L"CustomClassName=\r\nCustomBSInSameWindow=0\r\nCustomX1=-1\r\nCustomY1=-1\r\nCustomX2=-1\r\n"
           L"CustomY2=-1\r\n\r\n"
           L"[Misc]\r\nDisplayHeadlines=1\r\nNoDuplicates=0\r\nDuplicateHCacheSize=30\r\nLogHeadlines=1\r\n"
           L"HeadlineCapacity=100\r\nAltTimeFormat=0\r\nAutoAttach=1\r\nDisplayWelcomeMsg=1\r\n"
           L"MinimizeToSysTray=0\r\nStayOnTop=0\r\nHistMT4HBuffer=30\r\nHBoxFontName=Courier New\r\n"
           L"HBoxFontHeight=-12\r\nHBoxFontColor=clWindowText\r\nHBoxFontSmoothingDisabled=1\r\n\r\n"
           L"[Other]\r\nMainWindowX=" +
           std::to_wstring(main.left) + L"\r\nMainWindowY=" + std::to_wstring(main.top) + L"\r\nMainWindowW=" +
           std::to_wstring(main.right - main.left) + L"\r\nMainWindowH=" + std::to_wstring(main.bottom - main.top) +
           L"\r\nCoordsWindowX=" + std::to_wstring(coords.x) + L"\r\nCoordsWindowY=" + std::to_wstring(coords.y) +
           L"\r\n\r\n";
}

TEST(Startup, FirstStartCreatesFoldersWarnsAndSavesTheDefaults) {
    ASSERT_FALSE(DirectoryExists(AppDataDir()));
    ASSERT_FALSE(DirectoryExists(DefaultLogsDir()));
    const std::wstring exe = InstallProgram();
    Process p = Process::Start(exe);

    auto box = WaitForMessageBox(p.Id(), kStartTimeout);
    ASSERT_TRUE(box.has_value()) << "no warning about the logs directory";
    EXPECT_EQ(box->text, kCreatedWarning + DefaultLogsDir());
    EXPECT_EQ(box->icon, BoxIcon::Warning) << ToString(box->icon);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    // The folders exist before the warning is answered: they are made before any window.
    EXPECT_TRUE(DirectoryExists(AppDataDir()));
    EXPECT_TRUE(DirectoryExists(DefaultLogsDir()));
    EXPECT_EQ(ReadUserRegString(kPeloRegKey, L"LogsDir"), DefaultLogsDir());
    Screenshot(L"startup-first-start-warning");
    ASSERT_TRUE(AnswerMessageBox(*box, L"OK"));

    HWND main = WaitForTopLevel(p.Id(), L"TfrmPelorant", kStartTimeout);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main).find(L"     Time: ") != std::wstring::npos; }, 3000))
        << "caption: " << std::string(TextOfA(main));
    EXPECT_EQ(TextOf(main).rfind(L"Pelorant 2.5     Time: ", 0), 0u);
    RECT r{};
    GetWindowRect(main, &r);
    // Without stored places the coordinate dialog sits centred across the screen, its top just below the middle;
    // the place it has is what the file keeps.
    HWND coords = WaitForTopLevel(p.Id(), L"TfrmSetCoords", kStartTimeout, false);
    ASSERT_NE(coords, nullptr);
    RECT c{};
    GetWindowRect(coords, &c);
    EXPECT_EQ(c.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (c.right - c.left) / 2);
    EXPECT_EQ(c.top, GetSystemMetrics(SM_CYSCREEN) / 2 + 2);
    Screenshot(L"startup-main-window");
    EXPECT_FALSE(FileExists(AppDataDir() + L"\\Pelorant.ini")) << "the settings are written at exit, not before";

    CloseAndExpectCleanExit(p, main);
    const auto ini = ReadFileBytes(AppDataDir() + L"\\Pelorant.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(*ini, Utf16LeWithBom(ExpectedDefaultSettings(r, {c.left, c.top})));
    // No script was attached, so the remembered one is cleared.
    EXPECT_EQ(ReadUserRegString(kPeloRegKey, L"AttachedScript"), std::wstring());
}

TEST(Startup, SecondStartShowsNoWarning) {
    const std::wstring exe = InstallProgram();
    {
        Process first;
        HWND main = StartToMainWindow(first, exe);
        ASSERT_NE(main, nullptr);
        CloseAndExpectCleanExit(first, main);
    }
    Process second = Process::Start(exe);
    HWND main = WaitForTopLevel(second.Id(), L"TfrmPelorant", kStartTimeout);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(WaitForMessageBox(second.Id(), 1500).has_value()) << "unexpected box on the second start";
    CloseAndExpectCleanExit(second, main);
}

TEST(Startup, DeletedLogsDirectoryIsReplacedByTheDefaultAndNotRecreated) {
    const std::wstring exe = InstallProgram();
    {
        Process first;
        HWND main = StartToMainWindow(first, exe);
        ASSERT_NE(main, nullptr);
        CloseAndExpectCleanExit(first, main);
    }
    const std::wstring gone = L"C:\\OldLogs";
    ASSERT_TRUE(CreateDirectoryW(gone.c_str(), nullptr));
    ASSERT_TRUE(WriteUserRegString(kPeloRegKey, L"LogsDir", gone));
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));

    Process p = Process::Start(exe);
    auto box = WaitForMessageBox(p.Id(), kStartTimeout);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, kSetWarning + DefaultLogsDir());
    EXPECT_EQ(box->icon, BoxIcon::Warning) << ToString(box->icon);
    EXPECT_EQ(ReadUserRegString(kPeloRegKey, L"LogsDir"), DefaultLogsDir());
    AnswerMessageBox(*box, L"OK");
    HWND main = WaitForTopLevel(p.Id(), L"TfrmPelorant", kStartTimeout);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(DirectoryExists(gone));
    CloseAndExpectCleanExit(p, main);
}

TEST(Startup, MissingHookLibraryIsReportedAndTheProgramRuns) {
    const std::wstring exe = InstallProgram(L"Pelo", /*withHookLibrary=*/false);
    Process p = Process::Start(exe);
    std::optional<MessageBoxInfo> box;
    // The logs warning of the first start comes first.
    for (int i = 0; i < 2; ++i) {
        box = WaitForMessageBox(p.Id(), kStartTimeout);
        ASSERT_TRUE(box.has_value());
        if (box->text == L"Error loading Pelorant.dll") break;
        AnswerMessageBox(*box, L"OK");
    }
    EXPECT_EQ(box->text, L"Error loading Pelorant.dll");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    AnswerMessageBox(*box, L"OK");
    HWND main = WaitForTopLevel(p.Id(), L"TfrmPelorant", kStartTimeout);
    ASSERT_NE(main, nullptr);
    CloseAndExpectCleanExit(p, main);
}

TEST(Startup, HookLibraryWithoutItsExportCountsAsNotLoaded) {
    const std::wstring exe = InstallProgram(L"Pelo", /*withHookLibrary=*/false);
    // A real DLL that lacks RegisterPeloHandle.
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\version.dll").c_str(), L"C:\\Pelo\\Pelorant.dll", FALSE));
    Process p = Process::Start(exe);
    std::optional<MessageBoxInfo> box;
    for (int i = 0; i < 2; ++i) {
        box = WaitForMessageBox(p.Id(), kStartTimeout);
        ASSERT_TRUE(box.has_value());
        if (box->text == L"Error loading Pelorant.dll") break;
        AnswerMessageBox(*box, L"OK");
    }
    EXPECT_EQ(box->text, L"Error loading Pelorant.dll");
    AnswerMessageBox(*box, L"OK");
    HWND main = WaitForTopLevel(p.Id(), L"TfrmPelorant", kStartTimeout);
    ASSERT_NE(main, nullptr);
    CloseAndExpectCleanExit(p, main);
}

TEST(Startup, Windows2000IsRefusedBeforeAnythingIsCreated) {
    const std::wstring exe = InstallProgram();
    ASSERT_TRUE(WriteUserRegString(L"Software\\Wine\\AppDefaults\\Pelorant.exe", L"Version", L"win2k"));
    Process p = Process::Start(exe);
    auto box = WaitForMessageBox(p.Id(), kStartTimeout);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"Sorry, this program requires Windows XP (NT 5.1) or later.");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    AnswerMessageBox(*box, L"OK");
    const auto code = p.WaitForExit(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(DirectoryExists(AppDataDir()));
    EXPECT_FALSE(DirectoryExists(DefaultLogsDir()));
    EXPECT_FALSE(UserRegKeyExists(kPeloRegKey));
}

TEST(Startup, SecondStartHandsOverToTheRunningInstanceAndEnds) {
    const std::wstring exe = InstallProgram();
    Process first;
    HWND main = StartToMainWindow(first, exe);
    ASSERT_NE(main, nullptr);
    // The instance marks itself only after start-up; give it a moment past the first window.
    Sleep(500);

    Process second = Process::Start(exe, L"-attach");
    const auto code = second.WaitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the second start did not end";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(FileExists(AppDataDir() + L"\\Pelorant.ini")) << "the second start must not save settings";
    CloseAndExpectCleanExit(first, main);
}

TEST(Startup, CopiesInDifferentFoldersRunSideBySide) {
    const std::wstring a = InstallProgram(L"A");
    const std::wstring b = InstallProgram(L"B");
    Process pa, pb;
    HWND ma = StartToMainWindow(pa, a);
    ASSERT_NE(ma, nullptr);
    Sleep(500);
    HWND mb = StartToMainWindow(pb, b);
    ASSERT_NE(mb, nullptr) << "the copy in C:\\B handed over to C:\\A's instance";
    CloseAndExpectCleanExit(pb, mb);
    CloseAndExpectCleanExit(pa, ma);
}

TEST(Settings, BrokerGapCommentsAndUnknownKeysAreGoneAfterTheSave) {
    const std::wstring exe = InstallProgram();
    {
        Process first;
        HWND main = StartToMainWindow(first, exe);
        ASSERT_NE(main, nullptr);
        CloseAndExpectCleanExit(first, main);
    }
    const std::wstring ini = AppDataDir() + L"\\Pelorant.ini";
    const std::string text =
        "; my own notes\r\n[Broker1]\r\nFullName=Alpha Markets\r\nShortName=ALP\r\nPath=C:\\MT4\\Alpha\r\n"
        "WindowPattern=alpha\r\n[Broker2]\r\nFullName=Beta\r\nShortName=BET\r\nPath=C:\\MT4\\Beta\r\n"
        "WindowPattern=beta\r\nColour=blue\r\n[Broker4]\r\nFullName=Delta\r\nShortName=DEL\r\n"
        "[Misc]\r\nHeadlineCapacity=250\r\nHBoxFontStyle=Italic,Bold\r\nNoDuplicates=1\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, std::vector<uint8_t>(text.begin(), text.end())));   // 8-bit, no mark

    Process p;
    HWND main = StartToMainWindow(p, exe);
    ASSERT_NE(main, nullptr);
    CloseAndExpectCleanExit(p, main);
    const auto bytes = ReadFileBytes(ini);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GE(bytes->size(), 2u);
    ASSERT_EQ((*bytes)[0], 0xFF);
    ASSERT_EQ((*bytes)[1], 0xFE);
    std::wstring saved;
    for (size_t i = 2; i + 1 < bytes->size(); i += 2)
        saved.push_back(static_cast<wchar_t>((*bytes)[i] | ((*bytes)[i + 1] << 8)));
    EXPECT_EQ(saved.rfind(L"[Broker1]\r\nFullName=Alpha Markets\r\nShortName=ALP\r\nPath=C:\\MT4\\Alpha\r\n"
                          L"WindowPattern=alpha\r\n\r\n[Broker2]\r\nFullName=Beta\r\n",
                          0),
              0u)
        << std::string(saved.begin(), saved.end());
    EXPECT_EQ(saved.find(L"Broker4"), std::wstring::npos);
    EXPECT_EQ(saved.find(L"my own notes"), std::wstring::npos);
    EXPECT_EQ(saved.find(L"Colour"), std::wstring::npos);
    EXPECT_NE(saved.find(L"\r\nHeadlineCapacity=250\r\n"), std::wstring::npos);
    EXPECT_NE(saved.find(L"\r\nNoDuplicates=1\r\n"), std::wstring::npos);
    EXPECT_NE(saved.find(L"\r\nHBoxFontStyle=Bold,Italic\r\n"), std::wstring::npos);
}

// Another program holds Pelorant.ini open without sharing while this one starts (an editor, a backup, a sync
// tool): the file cannot be read, the user is told, and the file is not replaced by the defaults at exit, even
// though the other program has let go by then.
TEST(Settings, FileLockedAtStartIsNotOverwrittenAtExit) {
    const std::wstring exe = InstallProgram();
    {
        Process first;
        HWND main = StartToMainWindow(first, exe);
        ASSERT_NE(main, nullptr);
        CloseAndExpectCleanExit(first, main);
    }
    const std::wstring ini = AppDataDir() + L"\\Pelorant.ini";
    const std::string text = "[Broker1]\r\nFullName=Alpha Markets\r\nShortName=ALP\r\nPath=C:\\MT4\\Alpha\r\n"
                             "WindowPattern=alpha\r\n[Misc]\r\nHeadlineCapacity=250\r\n";
    const std::vector<uint8_t> userFile(text.begin(), text.end());
    ASSERT_TRUE(WriteFileBytes(ini, userFile));

    HANDLE lock = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Process p = Process::Start(exe);
    auto box = WaitForMessageBox(p.Id(), kStartTimeout);
    EXPECT_TRUE(box.has_value()) << "the unreadable settings file was not reported";
    if (box) {
        const std::wstring expectedStart = L"The settings file could not be read:\r\n\r\n" + ini + L"\r\n\r\n";
        EXPECT_EQ(box->text.rfind(expectedStart, 0), 0u) << std::string(box->text.begin(), box->text.end());
        EXPECT_NE(box->text.find(L"will not save over the file"), std::wstring::npos);
        EXPECT_EQ(box->icon, BoxIcon::Warning) << ToString(box->icon);
        Screenshot(L"settings-locked-at-start");
        EXPECT_TRUE(AnswerMessageBox(*box, L"OK"));
    }
    HWND main = WaitForTopLevel(p.Id(), L"TfrmPelorant", kStartTimeout);
    CloseHandle(lock);
    ASSERT_NE(main, nullptr);

    CloseAndExpectCleanExit(p, main);
    EXPECT_FALSE(WaitForMessageBox(p.Id(), 0).has_value());
    const auto bytes = ReadFileBytes(ini);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, userFile) << "the user's settings were overwritten";
    EXPECT_FALSE(FileExists(ini + L".new"));

    // The next start reads the file as the user left it.
    Process next;
    HWND nextMain = StartToMainWindow(next, exe);
    ASSERT_NE(nextMain, nullptr);
    CloseAndExpectCleanExit(next, nextMain);
    const auto saved = ReadFileBytes(ini);
    ASSERT_TRUE(saved.has_value());
    std::wstring savedText;
    for (size_t i = 2; i + 1 < saved->size(); i += 2)
        savedText.push_back(static_cast<wchar_t>((*saved)[i] | ((*saved)[i + 1] << 8)));
    EXPECT_NE(savedText.find(L"[Broker1]\r\nFullName=Alpha Markets\r\n"), std::wstring::npos);
    EXPECT_NE(savedText.find(L"\r\nHeadlineCapacity=250\r\n"), std::wstring::npos);
}

}  // namespace
}  // namespace pelo::e2e
