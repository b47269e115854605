// The hook library, loaded into this process and hooked onto this thread's own list view: what it posts, to whom,
// and what it leaves behind when it is unloaded. Windows only (under Wine here).
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <span>
#include <string>

#include "news/RowSnapshot.h"
#include "news/win/WinTerminalRowSource.h"

namespace {

constexpr WPARAM kNewsNotification = 12345;

std::wstring HookLibraryPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exe(path);
    return exe.substr(0, exe.find_last_of(L"\\/")) + L"\\..\\bin\\Pelorant.dll";
}

// Message-only windows: they need no display.
HWND MessageWindow(const char* name)
{
    return CreateWindowExA(0, "STATIC", name, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

HWND MessageOnlyList()
{
    return CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}

class HookLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        peloComm = RegisterWindowMessageA("PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27");
        library = LoadLibraryW(HookLibraryPath().c_str());
        ASSERT_NE(library, nullptr) << "cannot load the hook library";
        hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, "SysListView32HookProc")));
        registerHandle = reinterpret_cast<void(WINAPI*)(HWND)>(
            reinterpret_cast<void*>(GetProcAddress(library, "RegisterPeloHandle")));
        ASSERT_NE(hookProc, nullptr);
        ASSERT_NE(registerHandle, nullptr) << "start-up looks this export up";
        list = MessageOnlyList();
        ASSERT_NE(list, nullptr);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 200;
        column.pszText = const_cast<char*>("Headline");
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        target = MessageWindow("target");
        decoy = MessageWindow("decoy");
        hook = SetWindowsHookExA(WH_CALLWNDPROC, hookProc, library, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
    }

    void TearDown() override
    {
        if (hook != nullptr)
            UnhookWindowsHookEx(hook);
        for (HWND w : {list, target, decoy})
            if (w != nullptr)
                DestroyWindow(w);
        if (library != nullptr)
            FreeLibrary(library);
    }

    void Arm(HWND notify) { SendMessageA(list, peloComm, kNewsNotification, reinterpret_cast<LPARAM>(notify)); }

    // A row inserted with its text, or without (the text follows later, or never).
    void InsertRow(const char* text)
    {
        LVITEMA item{};
        if (text != nullptr) {
            item.mask = LVIF_TEXT;
            item.pszText = const_cast<char*>(text);
        }
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    // A reading pass begins: the next change is reported again.
    void PassBegins() { SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL); }

    // The notifications about our list waiting for `window`, taken out of the queue.
    int TakeNotifications(HWND window)
    {
        int count = 0;
        MSG msg;
        while (PeekMessageA(&msg, window, peloComm, peloComm, PM_REMOVE))
            if (msg.wParam == kNewsNotification && reinterpret_cast<HWND>(msg.lParam) == list)
                ++count;
        return count;
    }

    UINT peloComm = 0;
    HMODULE library = nullptr;
    HOOKPROC hookProc = nullptr;
    void(WINAPI* registerHandle)(HWND) = nullptr;
    HHOOK hook = nullptr;
    HWND list = nullptr;
    HWND target = nullptr;
    HWND decoy = nullptr;
};

TEST_F(HookLibraryTest, NotificationsGoOnlyToTheWindowNamedInTheArming)
{
    // Any process that loads the library can call its export; that must not steer anything.
    registerHandle(decoy);
    Arm(target);
    InsertRow("Fed holds rates");
    EXPECT_EQ(TakeNotifications(target), 1);
    EXPECT_EQ(TakeNotifications(decoy), 0);

    // Arming the list for another window while the first one lives does not take the list away from it.
    PassBegins();
    Arm(decoy);
    InsertRow("ECB cuts rates");
    EXPECT_EQ(TakeNotifications(target), 1);
    EXPECT_EQ(TakeNotifications(decoy), 0);

    // Once that window is gone (the program ended), the next arming takes the list over.
    DestroyWindow(target);
    target = nullptr;
    PassBegins();
    Arm(decoy);
    InsertRow("US payrolls beat forecasts");
    EXPECT_EQ(TakeNotifications(decoy), 1);

    // An arming that names no window arms nothing.
    HWND other = MessageOnlyList();
    SendMessageA(other, peloComm, kNewsNotification, 0);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("unarmed");
    SendMessageA(other, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, peloComm, peloComm, PM_REMOVE));
    DestroyWindow(other);
}

TEST_F(HookLibraryTest, UnloadingTheLibraryEndsAPendingTextWait)
{
    Arm(target);
    InsertRow(nullptr);  // no text yet: the library starts waiting for it
    EXPECT_EQ(TakeNotifications(target), 0);

    UnhookWindowsHookEx(hook);
    hook = nullptr;
    FreeLibrary(library);
    library = nullptr;
    ASSERT_EQ(GetModuleHandleW(L"Pelorant.dll"), nullptr) << "the library is still loaded: this test proves nothing";

    // A timer with a callback into the unloaded code would come due now.
    Sleep(100);
    int callbacksDue = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        if (msg.hwnd == nullptr && msg.lParam != 0)
            ++callbacksDue;
    EXPECT_EQ(callbacksDue, 0) << "a timer still calls into the unloaded library";
}

// ---- Rows read on the list's own thread -----------------------------------------------------------------------

TEST_F(HookLibraryTest, APassReadsTheRowsThroughTheSharedAreaAndBeginsLikeAPassFromOutside)
{
    Arm(target);
    for (const char* text : {"oldest", "Fed holds rates", "ECB cuts rates"})
        InsertRow(text);
    EXPECT_EQ(TakeNotifications(target), 1);
    InsertRow("US payrolls beat forecasts");
    EXPECT_EQ(TakeNotifications(target), 0) << "no pass has begun since the last notification";

    pelo::news::WinTerminalRowSource source(list, peloComm);
    auto snapshot = source.ReadRows({std::nullopt, 10, 0});
    ASSERT_TRUE(snapshot) << "the library did not answer";
    using Row = pelo::news::TSnapshotRow;
    EXPECT_EQ(snapshot->Rows, (std::vector<Row>{{0, "US payrolls beat forecasts"}, {1, "ECB cuts rates"},
                                                {2, "Fed holds rates"}, {3, "oldest"}}));
    EXPECT_EQ(snapshot->End, pelo::news::rows::WalkEnd::ListEnd);
    EXPECT_EQ(snapshot->EndAnswer, -1);
    // The read began a pass: the next row is reported again.
    InsertRow("BoE holds");
    EXPECT_EQ(TakeNotifications(target), 1);

    snapshot = source.ReadRows({"ECB cuts rates", 10, 0});
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->Rows, (std::vector<Row>{{0, "BoE holds"}, {1, "US payrolls beat forecasts"},
                                                {2, "ECB cuts rates"}}));
    EXPECT_EQ(snapshot->End, pelo::news::rows::WalkEnd::StopText);
    snapshot = source.ReadRows({std::nullopt, 2, 0});
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->Rows.size(), 2u);
    EXPECT_EQ(snapshot->End, pelo::news::rows::WalkEnd::RowLimit);
}

TEST_F(HookLibraryTest, AListThatWasNeverArmedGivesNoRowsAndForeignAreasAreLeftAlone)
{
    pelo::news::WinTerminalRowSource unarmed(list, peloComm);
    EXPECT_EQ(unarmed.ReadRows({std::nullopt, 10, 0}), std::nullopt);

    Arm(target);
    InsertRow("Fed holds rates");
    // A section that does not bear the program's mark: the library neither takes it nor writes into it.
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        pelo::news::rows::AreaSize, nullptr);
    ASSERT_NE(section, nullptr);
    auto* view = static_cast<std::uint8_t*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    SendMessageA(list, peloComm, pelo::news::rows::AttachAreaCode, reinterpret_cast<LPARAM>(section));
    SendMessageA(list, peloComm, pelo::news::rows::ReadRowsCode, 0);
    const std::span<const std::uint8_t> area(view, pelo::news::rows::AreaSize);
    EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](std::uint8_t b) { return b == 0; }));

    // Ours, handed over: a request the message does not name is not answered.
    pelo::news::InitRowArea(std::span(view, pelo::news::rows::AreaSize));
    SendMessageA(list, peloComm, pelo::news::rows::AttachAreaCode, reinterpret_cast<LPARAM>(section));
    EXPECT_EQ(pelo::news::rows::LoadU32(view, pelo::news::rows::AttachedField), pelo::news::rows::Version);
    pelo::news::WriteRowRequest(std::span(view, pelo::news::rows::AreaSize), 5, {std::nullopt, 10, 0});
    SendMessageA(list, peloComm, pelo::news::rows::ReadRowsCode, 6);
    EXPECT_EQ(pelo::news::rows::LoadU32(view, pelo::news::rows::AnswerSequenceField), 0u);
    SendMessageA(list, peloComm, pelo::news::rows::ReadRowsCode, 5);
    EXPECT_EQ(pelo::news::rows::LoadU32(view, pelo::news::rows::AnswerSequenceField), 5u);
    EXPECT_EQ(pelo::news::rows::LoadU32(view, pelo::news::rows::RowCountField), 1u);
    UnmapViewOfFile(view);
    CloseHandle(section);
}

}  // namespace

#endif  // _WIN32
