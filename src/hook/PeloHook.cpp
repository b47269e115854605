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
#include <windows.h>
#include <commctrl.h>

namespace {

// One copy for every process that loads the library: the window that receives the notifications and the process
// that registered it (the program), which clears it when it unloads the library.
__attribute__((section(".shared"), shared)) HWND g_target = nullptr;
__attribute__((section(".shared"), shared)) DWORD g_targetProcess = 0;

constexpr WPARAM kNewsNotification = 12345;
constexpr char kPeloCommMessageName[] = "PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27";
// Longest wait for the text of a row inserted without one.
constexpr UINT kTextWaitMs = 15;

// Per terminal process: the list views armed by the program (a terminal has one news list; a few spare slots
// cover lists recreated while reading runs) and those with a text-less insertion not yet reported.
constexpr int kMaxArmed = 8;
HWND g_armed[kMaxArmed] = {};
bool g_pending[kMaxArmed] = {};
bool g_posted[kMaxArmed] = {};
UINT_PTR g_textTimer = 0;
UINT g_peloCommMsg = 0;

int ArmedIndex(HWND hwnd)
{
    for (int i = 0; i < kMaxArmed; ++i)
        if (g_armed[i] == hwnd)
            return i;
    return -1;
}

void Arm(HWND hwnd)
{
    // Arming again (reading restarted) forgets a notification that the previous readers may never have read.
    if (const int index = ArmedIndex(hwnd); index >= 0) {
        g_posted[index] = false;
        return;
    }
    for (int i = 0; i < kMaxArmed; ++i) {
        if (g_armed[i] == nullptr || !IsWindow(g_armed[i])) {
            g_armed[i] = hwnd;
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
    HWND target = g_target;
    if (target != nullptr && IsWindow(target) &&
        PostMessageA(target, g_peloCommMsg, kNewsNotification, reinterpret_cast<LPARAM>(g_armed[index])))
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

__declspec(dllexport) void WINAPI RegisterPeloHandle(HWND target)
{
    g_targetProcess = target != nullptr ? GetCurrentProcessId() : 0;
    g_target = target;
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
            if (cwp->message == g_peloCommMsg && cwp->wParam == kNewsNotification && cwp->lParam == 0)
                Arm(cwp->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    // The library stays loaded in the terminals after the program has gone: a handle left behind could come to
    // name some other window.
    if (reason == DLL_PROCESS_DETACH && g_targetProcess == GetCurrentProcessId()) {
        g_target = nullptr;
        g_targetProcess = 0;
    }
    return TRUE;
}
