// The hook library. Windows loads it into every terminal process whose list-view thread the program hooks; there
// it watches the armed news lists and tells the program's main window when rows were added.
#include <windows.h>
#include <commctrl.h>

namespace {

// One copy for every process that loads the library: the window that receives the notifications.
__attribute__((section(".shared"), shared)) HWND g_target = nullptr;

constexpr WPARAM kNewsNotification = 12345;
constexpr char kPeloCommMessageName[] = "PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27";

// Per terminal process: the list views armed by the program (a terminal has one news list).
constexpr int kMaxArmed = 8;
HWND g_armed[kMaxArmed] = {};
UINT g_peloCommMsg = 0;

bool IsArmed(HWND hwnd) {
    for (HWND h : g_armed)
        if (h == hwnd) return true;
    return false;
}

void Arm(HWND hwnd) {
    if (IsArmed(hwnd)) return;
    for (HWND& h : g_armed) {
        if (h == nullptr || !IsWindow(h)) {
            h = hwnd;
            return;
        }
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) void WINAPI RegisterPeloHandle(HWND target) { g_target = target; }

__declspec(dllexport) LRESULT CALLBACK SysListView32HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (g_peloCommMsg == 0) g_peloCommMsg = RegisterWindowMessageA(kPeloCommMessageName);
        if (cwp->message == g_peloCommMsg && cwp->wParam == kNewsNotification && cwp->lParam == 0) {
            Arm(cwp->hwnd);
        } else if ((cwp->message == LVM_INSERTITEMA || cwp->message == LVM_INSERTITEMW) && IsArmed(cwp->hwnd)) {
            HWND target = g_target;
            if (target && IsWindow(target))
                PostMessageA(target, g_peloCommMsg, kNewsNotification, reinterpret_cast<LPARAM>(cwp->hwnd));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
