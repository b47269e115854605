// The hook library. Windows loads it into every terminal process whose list-view thread the program hooks; there
// it watches the armed news lists and tells the program's main window when rows were added.
//
// When a notification is posted matters little: the program reads the list through messages sent to the
// terminal's thread, which answers them only once it is back in its message loop, so an insertion in progress
// always completes before the program sees the list. What matters is that the row's TEXT is there by then. A row
// inserted with its text (or with a text callback) is reported at once. A row inserted without text is reported
// when its text arrives (LVM_SETITEMTEXT / LVM_SETITEM with text), or after a short delay if it never does, so
// that the program does not take an empty row for a headline and then miss the real one.
//
// A burst of insertions needs one notification, not one per row: once a notification is on its way, further
// changes are covered by the pass it starts, as long as that pass has not begun. The pass begins with
// LVM_GETNEXTITEM from the top (-1), which passes through this hook too and clears the mark; a change after that
// is reported again. Clearing the mark more often than needed (the terminal asking the same itself) only costs
// an extra notification.
//
// The program can also have the rows read here, on the list view's own thread: it hands the library a shared area
// once per reader (the section's handle, duplicated into this process) and then asks for each pass with one sent
// message; the library walks the list with in-process calls and writes the rows into the area before the message
// reaches the list view, so the program's call returns with the answer in place. The library writes only into an
// area that bears the program's mark and only for the request the message names.
//
// Every process that loads the library gets its own copy of what follows; nothing is shared between processes.
// The program names the window to notify in the arming message itself, and a list keeps that window for as long as
// it lives: another process arming the same list cannot take its notifications away, and a window handle that
// outlived the program and now names another process's window is never posted to.
#include <windows.h>
#include <commctrl.h>

#include "news/RowSnapshotLayout.h"

namespace {

constexpr WPARAM kNewsNotification = 12345;
constexpr char kPeloCommMessageName[] = "PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27";
// Longest wait for the text of a row inserted without one.
constexpr UINT kTextWaitMs = 15;

// Per terminal process: the list views armed by the program (a terminal has one news list; a few spare slots
// cover lists recreated while reading runs), the window each one reports to and that window's process, and the
// lists with a text-less insertion not yet reported.
constexpr int kMaxArmed = 8;
HWND g_armed[kMaxArmed] = {};
HWND g_target[kMaxArmed] = {};
DWORD g_targetProcess[kMaxArmed] = {};
bool g_pending[kMaxArmed] = {};
bool g_posted[kMaxArmed] = {};
// The area each armed list's rows are read into, mapped once per reader; null until the program hands one over.
volatile std::uint8_t* g_area[kMaxArmed] = {};
// The text-wait timer calls back into this library: it must not outlive it.
UINT_PTR g_textTimer = 0;
UINT g_peloCommMsg = 0;

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0)
        return 0;
    return process;
}

// The window still exists and is the one that was armed, not a later window that got the same handle.
bool TargetAlive(int index)
{
    return g_targetProcess[index] != 0 && ProcessOf(g_target[index]) == g_targetProcess[index];
}

int ArmedIndex(HWND hwnd)
{
    for (int i = 0; i < kMaxArmed; ++i)
        if (g_armed[i] == hwnd)
            return i;
    return -1;
}

void ReleaseArea(int index)
{
    if (g_area[index] != nullptr)
        UnmapViewOfFile(const_cast<std::uint8_t*>(g_area[index]));
    g_area[index] = nullptr;
}

#ifndef PELO_HOOK_WITHOUT_ROW_READING
// The handle is the program's duplicate in this process; the program closes it again once this message returns,
// and the view keeps the section alive. A handle that is not a section of the area's size, or a section that does
// not bear the program's mark, is left alone.
void AttachArea(int index, LPARAM handle)
{
    void* view = MapViewOfFile(reinterpret_cast<HANDLE>(handle), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                               pelo::news::rows::AreaSize);
    if (view == nullptr)
        return;
    auto* area = static_cast<volatile std::uint8_t*>(view);
    if (!pelo::news::rows::IsProgramArea(area)) {
        UnmapViewOfFile(view);
        return;
    }
    ReleaseArea(index);
    g_area[index] = area;
    pelo::news::rows::StoreU32(area, pelo::news::rows::AttachedField, pelo::news::rows::Version);
}

// The list view as the walk reads it: the same two messages the program sends from outside, handed straight to
// the list's window procedure. Sent, each would pass through the hooks of this thread first, this one among them,
// and under Wine each hook call is a round trip to the server: two per row, which is what a burst would then cost.
struct InProcessRows {
    HWND list;
    int column;
    WNDPROC procedure;

    int NextRow(int row)
    {
        return static_cast<int>(CallWindowProcA(procedure, list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_ALL));
    }
    void RowText(int row, char (&text)[pelo::news::rows::TextCapacity])
    {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(pelo::news::rows::TextCapacity);
        CallWindowProcA(procedure, list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
};

void ReadRows(int index, LPARAM sequence)
{
    volatile std::uint8_t* area = g_area[index];
    if (area == nullptr)
        return;
    pelo::news::rows::WalkRequest request;
    if (!pelo::news::rows::ReadWalkRequest(area, static_cast<std::uint32_t>(sequence), request))
        return;
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(g_armed[index], GWLP_WNDPROC));
    if (procedure == nullptr)
        return;
    // The pass begins here: a change from now on is reported again (the walk's own first request, sent past
    // this hook, cannot clear the mark).
    g_posted[index] = false;
    InProcessRows rows{g_armed[index], request.HeadlineColumn, procedure};
    pelo::news::rows::WalkRows(rows, request, area);
}
#endif

void Arm(HWND hwnd, HWND target)
{
    const DWORD targetProcess = ProcessOf(target);
    if (targetProcess == 0)
        return;
    if (const int index = ArmedIndex(hwnd); index >= 0) {
        // While the window that armed the list lives, it keeps the list's notifications.
        if (TargetAlive(index) && g_target[index] != target)
            return;
        g_target[index] = target;
        g_targetProcess[index] = targetProcess;
        // Arming again (reading restarted) forgets a notification that the previous readers may never have read.
        g_posted[index] = false;
        return;
    }
    for (int i = 0; i < kMaxArmed; ++i) {
        if (g_armed[i] == nullptr || !IsWindow(g_armed[i])) {
            ReleaseArea(i);
            g_armed[i] = hwnd;
            g_target[i] = target;
            g_targetProcess[i] = targetProcess;
            g_pending[i] = false;
            g_posted[i] = false;
            return;
        }
    }
}

void NotifyNow(int index)
{
    g_pending[index] = false;
    if (g_posted[index])
        return;
    if (TargetAlive(index) &&
        PostMessageA(g_target[index], g_peloCommMsg, kNewsNotification, reinterpret_cast<LPARAM>(g_armed[index])))
        g_posted[index] = true;
}

void CALLBACK TextWaitOver(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (timer == g_textTimer)
        g_textTimer = 0;
    for (int i = 0; i < kMaxArmed; ++i)
        if (g_pending[i])
            NotifyNow(i);
}

void AwaitText(int index)
{
    g_pending[index] = true;
    if (g_textTimer == 0)
        g_textTimer = SetTimer(nullptr, 0, kTextWaitMs, TextWaitOver);
    if (g_textTimer == 0)
        NotifyNow(index);  // no timer to wait with: better an early report than none
}

// The item of an insertion or item update carries its text (or lets the list ask its owner for it).
template <typename Item>
bool CarriesText(LPARAM lParam)
{
    const auto* item = reinterpret_cast<const Item*>(lParam);
    return item != nullptr && (item->mask & LVIF_TEXT) != 0 && item->pszText != nullptr;
}

void OnListMessage(int index, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_GETNEXTITEM:
        if (static_cast<int>(wParam) == -1)
            g_posted[index] = false;
        break;
    case LVM_INSERTITEMA:
        if (CarriesText<LVITEMA>(lParam))
            NotifyNow(index);
        else
            AwaitText(index);
        break;
    case LVM_INSERTITEMW:
        if (CarriesText<LVITEMW>(lParam))
            NotifyNow(index);
        else
            AwaitText(index);
        break;
    case LVM_SETITEMA:
        if (CarriesText<LVITEMA>(lParam))
            NotifyNow(index);
        break;
    case LVM_SETITEMW:
        if (CarriesText<LVITEMW>(lParam))
            NotifyNow(index);
        break;
    case LVM_SETITEMTEXTA:
    case LVM_SETITEMTEXTW:
    case LVM_SETITEMCOUNT:  // lists that keep their rows themselves (owner data) grow this way
        NotifyNow(index);
        break;
    default:
        break;
    }
}

}  // namespace

extern "C" {

// Kept for the program's start-up, which calls it. The window to notify travels with each arming message instead:
// a target set here would be one any process could set.
__declspec(dllexport) void WINAPI RegisterPeloHandle(HWND)
{
}

__declspec(dllexport) LRESULT CALLBACK SysListView32HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp->message >= LVM_FIRST && cwp->message < LVM_FIRST + 0x100) {
            const int index = ArmedIndex(cwp->hwnd);
            if (index >= 0)
                OnListMessage(index, cwp->message, cwp->wParam, cwp->lParam);
        } else if (cwp->message >= 0xC000) {
            if (g_peloCommMsg == 0)
                g_peloCommMsg = RegisterWindowMessageA(kPeloCommMessageName);
            if (cwp->message == g_peloCommMsg) {
                if (cwp->wParam == kNewsNotification) {
                    Arm(cwp->hwnd, reinterpret_cast<HWND>(cwp->lParam));
#ifndef PELO_HOOK_WITHOUT_ROW_READING
                } else if (cwp->wParam == pelo::news::rows::AttachAreaCode) {
                    if (const int index = ArmedIndex(cwp->hwnd); index >= 0)
                        AttachArea(index, cwp->lParam);
                } else if (cwp->wParam == pelo::news::rows::ReadRowsCode) {
                    if (const int index = ArmedIndex(cwp->hwnd); index >= 0)
                        ReadRows(index, cwp->lParam);
#endif
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // Unloaded while the process goes on (the hook removed): a pending text wait would call into code that is
    // gone. The library is unloaded on the thread that runs the hook, the thread that owns the timer.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        if (g_textTimer != 0) {
            KillTimer(nullptr, g_textTimer);
            g_textTimer = 0;
        }
        // The program's areas stay mapped only as long as the library that reads into them.
        for (int i = 0; i < kMaxArmed; ++i)
            ReleaseArea(i);
    }
    return TRUE;
}
