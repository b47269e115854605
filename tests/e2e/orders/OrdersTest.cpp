// Trading in the real program: positions recorded with the coordinate keys or order windows found by title and
// class, a script's trade call pressing the simulated order windows' buttons, and the refusals a user meets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/Driver.h"
#include "driver/ProgramSession.h"
#include "orders/OrderWindowFixture.h"
#include "script/CompiledScript.h"

namespace pelo::e2e {
namespace {

constexpr WPARAM kAttachW = 1982137;
constexpr LPARAM kAttachL = 1819273;
constexpr WPARAM kTestW = 2982137;
constexpr LPARAM kTestL = 2819273;
const std::wstring kScript = L"C:\\S\\Trade.exn";

struct Program {
    Process process;
    HWND main = nullptr;
    HWND listBox = nullptr;
    HWND autoExecute = nullptr;
    HWND coords = nullptr;  // the coordinate dialog, hidden until "Coords" is pressed

    std::string Row(int row) const { return HeadlineBoxRow(main, listBox, row); }
    bool Armed() const { return SendWithTimeout(autoExecute, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A key press in the main window, with the pointer at `at` (screen coordinates). Keys are posted, as the
    // system queues them; a message sent afterwards would overtake them, so tests wait for the key's effect.
    void KeyAt(POINT at, wchar_t key) const {
        ASSERT_TRUE(MovePointer(at)) << "the pointer could not be put at " << at.x << "," << at.y;
        Key(key);
    }
    void Key(wchar_t key) const {
        PostMessageW(main, WM_KEYDOWN, key, 1);
        PostMessageW(main, WM_KEYUP, key, 0xC0000001);
    }
    // A failure names what the row held instead.
    ::testing::AssertionResult RowBecomes(int row, const std::string& text, DWORD timeoutMs = 3000) const {
        if (WaitUntil([&] { return Row(row) == text; }, timeoutMs, 50)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "row " << row << " holds \"" << Row(row) << "\"";
    }
    void Send(WPARAM w, LPARAM l) const { SendWithTimeout(main, PeloCommMessage(), w, l, 20000); }
};

void WriteButtonDiscovery(const std::wstring& lines) { WriteSettingsFile(L"[ButtonDiscovery]\r\n" + lines + L"\r\n"); }

void WriteCustomSettings(bool sameWindow, int x1 = 55, int y1 = 80) {
    WriteButtonDiscovery(L"DiscoveryMethod=2\r\nCustomTitlePattern=Order\r\nCustomAllowOnlyExactMatch=0\r\n"
                         L"CustomClassName=" + std::wstring(kOrderClass) + L"\r\nCustomBSInSameWindow=" +
                         (sameWindow ? L"1" : L"0") + L"\r\nCustomX1=" + std::to_wstring(x1) + L"\r\nCustomY1=" +
                         std::to_wstring(y1) + L"\r\nCustomX2=155\r\nCustomY2=80\r\n");
}

void StartProgram(Program& p) {
    p.main = StartProgramWindow(p.process);
    ASSERT_NE(p.main, nullptr);
    p.listBox = FindDescendant(p.main, L"ListBox", L"");
    p.autoExecute = FindDescendant(p.main, L"Button", L"autoexecute  ");
    p.coords = WaitForTopLevel(p.process.Id(), L"TfrmSetCoords", 5000, false);
    ASSERT_NE(p.autoExecute, nullptr);
    ASSERT_NE(p.coords, nullptr);
}

// A script that trades once when it is attached (or tested) and says so.
void CompileTradingScript(const std::string& trade) {
    CreateDirectoryW(L"C:\\S", nullptr);
    ASSERT_NO_FATAL_FAILURE(CompileScriptTo(kScript, "procedure Start(H, S: string); begin end;"
                                                     "begin " + trade + "; WriteLn('traded'); end."));
    ASSERT_TRUE(WriteUserRegString(kPeloRegKey, L"AttachedScript", kScript));
}

// Ticks the autoexecute box as a click would; returns once it is ticked or a box has come up.
void Arm(const Program& p) {
    ClickButton(p.autoExecute);
    WaitUntil([&] { return p.Armed() || WaitForMessageBox(p.process.Id(), 0).has_value(); }, 3000);
}

// An error box with exactly this text; answered.
void ExpectErrorBox(const Program& p, const std::wstring& text) {
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value()) << "no box for: " << std::string(text.begin(), text.end());
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->icon, BoxIcon::Error);
    AnswerMessageBox(*box, L"OK");
}

// ---------------------------------------------------------------------------------------------------------------
// Manual coordinates

TEST(Orders, AScriptsBuyPressesTheRecordedPositionOnceAndDisarms) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"600,100"}));
    ASSERT_NO_FATAL_FAILURE(CompileTradingScript("Buy"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));

    const POINT buy = orders[0].Screen(kBuyInClient);
    p.KeyAt(buy, 'Q');
    ASSERT_TRUE(p.RowBecomes(0, "Note: if Buy+ coordinates aren't set, Buy+ will use Buy coordinates"));
    EXPECT_EQ(p.Row(1), "Click 1 Buy coordinates set (" + std::to_string(buy.x) + ", " + std::to_string(buy.y) + ")");
    const std::wstring shown = L"(" + std::to_wstring(buy.x) + L", " + std::to_wstring(buy.y) + L")";
    EXPECT_NE(FindDescendant(p.coords, L"Static", shown), nullptr);
    EXPECT_NE(FindDescendant(p.coords, L"Static", L"(Buy coords.)"), nullptr);

    ASSERT_TRUE(MovePointer({5, 5}));
    Arm(p);
    ASSERT_TRUE(p.Armed());
    p.Send(kAttachW, kAttachL);
    ASSERT_TRUE(orders.WaitForClicks(1));
    const auto clicks = orders.Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].target, "Buy");
    EXPECT_EQ(clicks[0].x, kBuyInClient.x);
    EXPECT_EQ(clicks[0].y, kBuyInClient.y);
    EXPECT_FALSE(p.Armed()) << "one arming, one trade";
    EXPECT_TRUE(WaitUntil([&] { return p.Row(0) == "traded" || p.Row(1) == "traded"; }, 3000));
}

TEST(Orders, BuyPlusFallsBackToBuyAndThreeClicksKeepTheirDelays) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"600,100", L"850,100", L"600,300"}));
    ASSERT_NO_FATAL_FAILURE(CompileTradingScript("StrongBuy"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));

    // The delay fields between click 1 and 2 and between 2 and 3; typing into one deselects the clicks.
    std::vector<HWND> delays;
    for (HWND w : Children(p.coords))
        if (_wcsicmp(ClassOf(w).c_str(), L"Edit") == 0) delays.push_back(w);
    ASSERT_EQ(delays.size(), 2u);
    for (HWND d : delays) SendWithTimeout(d, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"300"));
    p.KeyAt(orders[0].Screen(kBuyInClient), 'Q');
    ASSERT_TRUE(p.RowBecomes(0, "Error: click number not selected!"));

    for (int k = 0; k < 3; ++k) {
        p.Key(static_cast<wchar_t>('1' + k));
        ASSERT_TRUE(p.RowBecomes(0, "Click " + std::to_string(k + 1) + " selected"));
        const bool sell = k == 1;
        const POINT at = orders[static_cast<size_t>(k)].Screen(sell ? kSellInClient : kBuyInClient);
        p.KeyAt(at, sell ? 'E' : 'Q');
        ASSERT_TRUE(p.RowBecomes(1, "Click " + std::to_string(k + 1) + (sell ? " Sell" : " Buy") + " coordinates set (" +
                                        std::to_string(at.x) + ", " + std::to_string(at.y) + ")"));
    }
    // Click 2 has only Sell: Buy+ passes it by, still waiting its 300 ms.
    Arm(p);
    p.Send(kAttachW, kAttachL);
    ASSERT_TRUE(orders.WaitForClicks(2));
    const auto clicks = orders.Clicks();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].window, 0);
    EXPECT_EQ(clicks[0].target, "Buy");
    EXPECT_EQ(clicks[1].window, 2);
    EXPECT_EQ(clicks[1].target, "Buy");
    EXPECT_GE(clicks[1].ms - clicks[0].ms, 590.0) << "two delays of 300 ms lie between the clicks";
    EXPECT_FALSE(p.Armed());
}

TEST(Orders, NoClickInTestModeOrWhileHiddenAndArmingNeedsAPosition) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"600,100"}));
    ASSERT_NO_FATAL_FAILURE(CompileTradingScript("Buy"));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));

    Arm(p);
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"Button coordinates are not set!"));
    EXPECT_FALSE(p.Armed());

    p.KeyAt(orders[0].Screen(kBuyInClient), 'Q');
    ASSERT_TRUE(p.RowBecomes(0, "Note: if Buy+ coordinates aren't set, Buy+ will use Buy coordinates"));
    Arm(p);
    ASSERT_TRUE(p.Armed());
    ASSERT_TRUE(WriteFileBytes(AppDataDir() + L"\\TestHeadlines.txt", {'E', 'U', 'R', '\r', '\n'}));
    p.Send(kTestW, kTestL);
    EXPECT_TRUE(WaitUntil([&] { return p.Row(0).find("TEST:  EUR") != std::string::npos; }, 3000)) << p.Row(0);
    EXPECT_TRUE(p.Armed()) << "a tested script never trades";

    ASSERT_TRUE(WriteUserRegString(kPeloRegKey, L"AttachedScript", kScript));
    ShowWindow(p.main, SW_HIDE);
    p.Send(kAttachW, kAttachL);
    EXPECT_TRUE(p.Armed());
    ShowWindow(p.main, SW_SHOWNOACTIVATE);
    Sleep(300);
    EXPECT_TRUE(orders.Clicks().empty());

    // Minimizing disarms, and says so.
    PostMessageW(p.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    auto box = WaitForMessageBox(p.process.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"Minimizing the main window disables autoexecute.");
    EXPECT_EQ(box->icon, BoxIcon::Information);
    EXPECT_TRUE(box->topMost);
    AnswerMessageBox(*box, L"OK");
    EXPECT_FALSE(p.Armed());
}

// ---------------------------------------------------------------------------------------------------------------
// Order windows found by title and class

TEST(Orders, FourOrderWindowsAreUsedFromLeftToRight) {
    OrderWindows orders;
    // One row each, so that no window covers another one's button.
    ASSERT_TRUE(orders.Start({L"300,100", L"10,260", L"200,420,Order 2", L"50,580,Order 3"}));
    WriteCustomSettings(false);
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    // Each trade needs a new arming; the windows are found at each.
    const std::vector<std::pair<std::string, int>> trades{{"Buy", 1}, {"Sell", 3}, {"StrongBuy", 2}, {"StrongSell", 0}};
    size_t seen = 0;
    for (const auto& [trade, window] : trades) {
        ASSERT_NO_FATAL_FAILURE(CompileTradingScript(trade));
        Arm(p);
        ASSERT_TRUE(p.Armed());
        EXPECT_TRUE(WaitUntil([&] { return p.Row(0) == "AutoExecute: 4 order windows found (OK)"; }, 2000)) << p.Row(0);
        p.Send(kAttachW, kAttachL);
        ASSERT_TRUE(orders.WaitForClicks(++seen)) << trade;
        const OrderClick c = orders.Clicks().back();
        EXPECT_EQ(c.window, window) << trade;
        EXPECT_EQ(c.target, "Buy") << trade;  // CustomX1/Y1 lie on each window's Buy button
        EXPECT_FALSE(p.Armed());
    }
    Screenshot(L"orders-four-windows");
}

TEST(Orders, BuyAndSellInOneWindowUseTheTwoPoints) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"400,500", L"100,500"}));
    WriteCustomSettings(true);
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    ASSERT_NO_FATAL_FAILURE(CompileTradingScript("Sell"));
    Arm(p);
    EXPECT_TRUE(WaitUntil([&] { return p.Row(0) == "AutoExecute: 2 order windows found (OK)"; }, 2000));
    p.Send(kAttachW, kAttachL);
    ASSERT_TRUE(orders.WaitForClicks(1));
    EXPECT_EQ(orders.Clicks()[0].window, 1);
    EXPECT_EQ(orders.Clicks()[0].target, "Sell");
}

TEST(Orders, TwoSeparateWindowsBuyLeftSellRight) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"400,500", L"100,500"}));
    WriteCustomSettings(false);
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    ASSERT_NO_FATAL_FAILURE(CompileTradingScript("StrongSell"));
    Arm(p);
    EXPECT_TRUE(WaitUntil([&] { return p.Row(0) == "AutoExecute: 2 order windows found (OK)"; }, 2000));
    p.Send(kAttachW, kAttachL);
    ASSERT_TRUE(orders.WaitForClicks(1));
    EXPECT_EQ(orders.Clicks()[0].window, 0) << "Sell+ goes to the right-hand window";
}

TEST(Orders, FiveWindowsAreRefusedAndAnUnsetPointIsNeverArmed) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"10,500", L"250,500", L"490,500", L"730,500", L"970,500"}));
    WriteCustomSettings(false);
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    Arm(p);
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"Incorrect order window count! Should be 2 or 4 windows."));
    EXPECT_FALSE(p.Armed());
    PostMessageW(p.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(p.process.WaitForExit(10000).has_value());

    // A click at an unset point would hit whatever lies at the window's corner.
    WriteCustomSettings(false, -1, -1);
    Program q;
    ASSERT_NO_FATAL_FAILURE(StartProgram(q));
    Arm(q);
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(q, L"Button coordinates are not set!"));
    EXPECT_FALSE(q.Armed());
}

TEST(Orders, TwoWindowsAtOneLeftEdgeAreRefused) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"10,100", L"10,400"}));  // one above the other
    WriteCustomSettings(false);
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    Arm(p);
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"One or more order windows are at the same horizontal position!"));
    EXPECT_FALSE(p.Armed());
}

// ---------------------------------------------------------------------------------------------------------------
// The coordinate dialog

HWND CoordsButton(const Program& p, const std::wstring& caption) { return FindDescendant(p.coords, L"Button", caption); }

// A button of the dialog pressed through a sent message: it returns once the handler has run.
void PressAndWait(HWND button) { SendWithTimeout(button, BM_CLICK, 0, 0); }

TEST(Orders, CoordinateDialogGrowsToAHundredClicksAndClearsBackToThree) {
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    ClickButton(FindDescendant(p.main, L"Button", L"Coords"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(p.coords) != FALSE; }, 3000));
    EXPECT_EQ(TextOf(p.coords), L"Manual Buy/Sell button coordinate setup (X,Y)");
    RECT client = ClientRect(p.coords);
    EXPECT_EQ(client.right, 650);
    EXPECT_EQ(client.bottom, 168);
    Screenshot(L"coords-dialog-three-clicks");

    HWND add = CoordsButton(p, L"Add Extra Click");
    for (int k = 3; k < 7; ++k) PressAndWait(add);
    ASSERT_NE(FindDescendant(p.coords, L"Button", L"Click 7"), nullptr);
    EXPECT_EQ(SendWithTimeout(FindDescendant(p.coords, L"Button", L"Click 7"), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "an added click is selected";
    p.KeyAt({123, 45}, 'U');
    EXPECT_TRUE(p.RowBecomes(0, "Click 7 Sell+ coordinates set (123, 45)"));
    Screenshot(L"coords-dialog-seven-clicks");

    PressAndWait(CoordsButton(p, L"Clear All"));
    EXPECT_TRUE(p.RowBecomes(0, "All button coordinates cleared"));
    EXPECT_EQ(FindDescendant(p.coords, L"Button", L"Click 4"), nullptr);
    EXPECT_EQ(FindDescendant(p.coords, L"Static", L"(123, 45)"), nullptr);
    int edits = 0;
    for (HWND w : Children(p.coords))
        if (_wcsicmp(ClassOf(w).c_str(), L"Edit") == 0) {
            ++edits;
            EXPECT_EQ(TextOf(w), L"0");
        }
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(SendWithTimeout(FindDescendant(p.coords, L"Button", L"Click 1"), BM_GETCHECK, 0, 0), BST_CHECKED);

    for (int k = 3; k < 100; ++k) PressAndWait(add);
    HWND last = FindDescendant(p.coords, L"Button", L"Click 100");
    HWND ninetyNinth = FindDescendant(p.coords, L"Button", L"Click 99");
    HWND ninth = FindDescendant(p.coords, L"Button", L"Click 9");
    ASSERT_NE(last, nullptr);
    ASSERT_NE(ninetyNinth, nullptr);
    // The columns are 120 wide; the radio button sits 2, 6 or 10 into its column and is 74, 67 or 60 wide.
    const RECT r100 = RectInParent(last), r99 = RectInParent(ninetyNinth), r9 = RectInParent(ninth);
    EXPECT_EQ(r100.left - r99.left, 120 - 6 + 2);
    EXPECT_EQ(r100.right - r100.left, 74);
    EXPECT_EQ(r99.right - r99.left, 67);
    EXPECT_EQ(r9.right - r9.left, 60);
    EXPECT_EQ(r100.top, 98);
    Screenshot(L"coords-dialog-hundred-clicks");

    ClickButton(add);
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"Click count limit reached (100 clicks)!"));
    EXPECT_EQ(FindDescendant(p.coords, L"Button", L"Click 101"), nullptr);
}

TEST(Orders, TestAllMovesThePointerAndClicksOnlyWithClicking) {
    OrderWindows orders;
    ASSERT_TRUE(orders.Start({L"600,100"}));
    Program p;
    ASSERT_NO_FATAL_FAILURE(StartProgram(p));
    const POINT sell = orders[0].Screen(kSellInClient);
    p.KeyAt(sell, 'E');
    ASSERT_TRUE(p.RowBecomes(0, "Note: if Sell+ coordinates aren't set, Sell+ will use Sell coordinates"));
    EXPECT_EQ(p.Row(1), "Click 1 Sell coordinates set (" + std::to_string(sell.x) + ", " + std::to_string(sell.y) + ")");

    ClickButton(CoordsButton(p, L"Buy"));  // posted: the box it opens would hold a sent click
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"Buy button coordinates are not set!"));
    ASSERT_TRUE(MovePointer({5, 5}));
    PressAndWait(CoordsButton(p, L"Sell"));
    EXPECT_TRUE(p.RowBecomes(0, "Testing Sell coordinates"));
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ(at.x, sell.x);
    EXPECT_EQ(at.y, sell.y);
    Sleep(200);
    EXPECT_TRUE(orders.Clicks().empty()) << "without \"with clicking\" a test only points";

    // Sell+ has no position of its own: the test refuses, as the trade would fall back.
    ClickButton(CoordsButton(p, L"Sell+"));
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(p, L"Sell+ button coordinates are not set!"));

    SendWithTimeout(CoordsButton(p, L"with clicking"), BM_CLICK, 0, 0);
    PressAndWait(CoordsButton(p, L"Sell"));
    ASSERT_TRUE(orders.WaitForClicks(1));
    EXPECT_EQ(orders.Clicks()[0].target, "Sell");
    EXPECT_FALSE(p.Armed());
}

}  // namespace
}  // namespace pelo::e2e
