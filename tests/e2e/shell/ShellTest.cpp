// The main window's taskbar and notification-area behaviour: what minimizing does to autoexecute and to the
// program's other windows, and how they come back.
#include <gtest/gtest.h>

#include <string>

#include "driver/Driver.h"
#include "driver/ProgramSession.h"

namespace pelo::e2e {
namespace {

struct Program {
    Process process;
    HWND main = nullptr;
    HWND coords = nullptr;
    HWND autoExecute = nullptr;
    bool Armed() const { return SendWithTimeout(autoExecute, BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

void StartWithMisc(Program& p, const std::wstring& misc) {
    WriteSettingsFile(L"[Misc]\r\n" + misc + L"\r\n");
    p.main = StartProgramWindow(p.process);
    ASSERT_NE(p.main, nullptr);
    p.coords = WaitForTopLevel(p.process.Id(), L"TfrmSetCoords", 5000, false);
    p.autoExecute = FindDescendant(p.main, L"Button", L"autoexecute  ");
    ASSERT_NE(p.coords, nullptr);
}

// Records a Buy position with the pointer somewhere harmless and arms autoexecute.
void Arm(const Program& p) {
    ASSERT_TRUE(MovePointer({3, 3}));
    PostMessageW(p.main, WM_KEYDOWN, 'Q', 1);
    ASSERT_TRUE(WaitUntil([&] {
        ClickButton(p.autoExecute);
        return WaitUntil([&] { return p.Armed(); }, 300);
    }, 5000));
}

void ExpectDisarmBox(const Program& p, const std::wstring& text) {
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->icon, BoxIcon::Information);
    EXPECT_TRUE(box->topMost);
    AnswerMessageBox(*box, L"OK");
}

TEST(Shell, MinimizingToTheTrayHidesTheWindowAndItsCoordinateDialogAndDisarms) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartWithMisc(p, L"MinimizeToSysTray=1"));
    ClickButton(FindDescendant(p.main, L"Button", L"Coords"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(p.coords) != FALSE; }, 3000));
    ASSERT_NO_FATAL_FAILURE(Arm(p));

    // The minimize button: a system command with the pointer's place, never 0.
    PostMessageW(p.main, WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(400, 300));
    ASSERT_NO_FATAL_FAILURE(ExpectDisarmBox(p, L"Minimizing the main window disables autoexecute."));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(p.main) && !IsWindowVisible(p.coords); }, 3000));
    EXPECT_FALSE(p.Armed());
    EXPECT_FALSE(IsIconic(p.main)) << "hidden behind the icon, not minimized to the taskbar";
    Screenshot(L"shell-in-tray");

    // A double click on the icon brings both back.
    HWND icon = WaitForTopLevel(p.process.Id(), L"TTrayIconWindow", 3000, false);
    ASSERT_NE(icon, nullptr);
    PostMessageW(icon, RegisterWindowMessageA("WM_TOOLTRAYICON"), 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(p.main) && IsWindowVisible(p.coords); }, 3000));
    EXPECT_FALSE(p.Armed());

    // A minimize request with lParam 0 goes to the taskbar even with the tray option on; a second one changes nothing.
    PostMessageW(p.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(p.main) != FALSE; }, 3000));
    // Sent, not posted: a message sent from another thread is handled before one waiting in the queue, so a posted
    // second minimize could land after the restore below.
    SendWithTimeout(p.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(p.main));
    SendWithTimeout(p.main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(p.main) && IsWindowVisible(p.main); }, 3000));
}

TEST(Shell, MinimizingWithoutTheTrayGoesToTheTaskbarAndTheApplicationWindowStaysHidden) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartWithMisc(p, L"MinimizeToSysTray=0"));
    HWND application = WaitForTopLevel(p.process.Id(), L"TApplication", 3000, false);
    ASSERT_NE(application, nullptr);
    EXPECT_NE(GetWindowLongPtrW(p.main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0) << "the main window has the taskbar button";
    EXPECT_EQ(GetWindow(p.main, GW_OWNER), nullptr);
    ASSERT_NO_FATAL_FAILURE(Arm(p));
    PostMessageW(p.main, WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(400, 300));
    ASSERT_NO_FATAL_FAILURE(ExpectDisarmBox(p, L"Minimizing the main window disables autoexecute."));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(p.main) != FALSE; }, 3000));
    SendWithTimeout(p.main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(p.main); }, 3000));
    // Whatever asks it to show, the application window stays hidden.
    ShowWindow(application, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(application));
}

}  // namespace
}  // namespace pelo::e2e
