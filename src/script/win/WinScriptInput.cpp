// What the user does to a script's window: keys, the pointer and the wheel reach the script's handlers; Enter and
// Escape press a form's Default and Cancel buttons; a modal form runs its own loop.
#include "script/win/WinScriptWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win/TabKeys.h"
#include "ui/win/TaskWindows.h"

namespace pelo::script {

namespace {

// TShiftState's elements: ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble.
uint64_t ShiftOfKeys() {
    uint64_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1u << 0;
    if (GetKeyState(VK_MENU) < 0) shift |= 1u << 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 1u << 2;
    return shift;
}

// TCursor's shapes (crArrow -2 ... crSizeAll -22) as the system's cursors; crNone (-1) is none.
HCURSOR SystemCursor(int64_t cursor) {
    static const std::array<LPCSTR, 21> shapes = {
        IDC_ARROW, IDC_CROSS, IDC_IBEAM, IDC_ARROW, IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE,
        IDC_UPARROW, IDC_WAIT, IDC_ARROW, IDC_NO, IDC_SIZEWE, IDC_SIZENS, IDC_ARROW, IDC_WAIT, IDC_NO,
        IDC_APPSTARTING, IDC_HELP, IDC_HAND, IDC_SIZEALL,
    };
    if (cursor == -1) return nullptr;
    const int64_t index = -cursor - 2;
    return LoadCursorA(nullptr, index >= 0 && index < static_cast<int64_t>(shapes.size()) ? shapes[static_cast<size_t>(index)] : IDC_ARROW);
}

uint64_t ShiftOfMouse(WPARAM keys, bool doubleClick) {
    uint64_t shift = 0;
    if (keys & MK_SHIFT) shift |= 1u << 0;
    if (GetKeyState(VK_MENU) < 0) shift |= 1u << 1;
    if (keys & MK_CONTROL) shift |= 1u << 2;
    if (keys & MK_LBUTTON) shift |= 1u << 3;
    if (keys & MK_RBUTTON) shift |= 1u << 4;
    if (keys & MK_MBUTTON) shift |= 1u << 5;
    if (doubleClick) shift |= 1u << 6;
    return shift;
}

}  // namespace

LRESULT CALLBACK WinScriptWindow::InputObserver(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &WinScriptWindow::InputObserver, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    auto* self = reinterpret_cast<WinScriptWindow*>(data);
    const lang::Value keep = lang::objectValue(self);  // whatever the handler frees, the object outlives this call
    LRESULT result = 0;
    if (!self->Observe(msg, wp, lp, result) || self->disposed()) return result;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// False: the message was answered here, a key the handler set to 0 swallowed.
bool WinScriptWindow::Observe(UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result) {
    if (disposed()) return true;
    const auto report = [this](const std::string& e) { factory_.ReportError(e); };
    const lang::Value sender = lang::objectValue(this);
    const auto x = lang::Value::ofInt(static_cast<int16_t>(LOWORD(lp))), y = lang::Value::ofInt(static_cast<int16_t>(HIWORD(lp)));
    const auto mouse = [&](ScriptEvent event, int button, bool doubleClick) {
        if (On(event).Live())
            FireScriptEvent(On(event), {sender, lang::Value::ofInt(button), SetOfBits(ShiftOfMouse(wp, doubleClick)), x, y}, report);
    };
    // Tab and Shift+Tab go from control to control of the form, as in Delphi's forms; only a memo that wants tabs
    // takes them as text. The program's own message loop runs no dialog manager, so the control moves the focus.
    const bool wantsTabs = kind_ == WindowKind::Memo && KeptInt("WANTTABS", 0) != 0;
    switch (msg) {
        case WM_GETDLGCODE:
            if (kind_ == WindowKind::Memo) {
                result = DefSubclassProc(hwnd(), msg, wp, lp);
                const auto* asked = reinterpret_cast<const MSG*>(lp);
                if (wantsTabs) result |= DLGC_WANTTAB;
                else if (asked && asked->message == WM_KEYDOWN && asked->wParam == VK_TAB) result &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
                else result &= ~DLGC_WANTTAB;
                return false;
            }
            break;
        case WM_CHAR:
            if (wp == '\t' && kind_ != WindowKind::Form && !wantsTabs) return false;  // no tab character, no beep
            break;
        case WM_SETFOCUS:
            if (kind_ != WindowKind::Form) Fire(ScriptEvent::Enter);
            break;
        case WM_KILLFOCUS:
            if (kind_ != WindowKind::Form) Fire(ScriptEvent::Exit);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const bool wantsReturns = kind_ == WindowKind::Memo && KeptInt("WANTRETURNS", 1) != 0;
            if (msg == WM_KEYDOWN && kind_ != WindowKind::Button && ((wp == VK_RETURN && !wantsReturns) || wp == VK_ESCAPE) &&
                PressDialogButton(wp == VK_ESCAPE))
                return false;
            if (msg == WM_KEYDOWN && wp == VK_TAB && kind_ != WindowKind::Form && !wantsTabs) {
                if (WinScriptWindow* form = ParentForm())
                    if (HWND next = GetNextDlgTabItem(form->hwnd(), hwnd(), GetKeyState(VK_SHIFT) < 0)) ui::FocusTabStop(next);
                return false;
            }
            const ScriptEvent event = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ? ScriptEvent::KeyDown : ScriptEvent::KeyUp;
            if (!On(event).Live()) break;
            std::vector<lang::Value> after;
            FireScriptEvent(On(event), {sender, lang::Value::ofInt(static_cast<uint16_t>(wp)), SetOfBits(ShiftOfKeys())},
                            report, &after);
            if (after.size() >= 2 && after[1].tag == lang::Tag::Plain) {
                if (after[1].i == 0) return false;
                wp = static_cast<WPARAM>(static_cast<uint16_t>(after[1].i));
            }
            break;
        }
        case WM_LBUTTONDOWN: mouse(ScriptEvent::MouseDown, 0, false); break;
        case WM_RBUTTONDOWN: mouse(ScriptEvent::MouseDown, 1, false); break;
        case WM_MBUTTONDOWN: mouse(ScriptEvent::MouseDown, 2, false); break;
        case WM_LBUTTONUP: mouse(ScriptEvent::MouseUp, 0, false); break;
        case WM_RBUTTONUP: mouse(ScriptEvent::MouseUp, 1, false); break;
        case WM_MBUTTONUP: mouse(ScriptEvent::MouseUp, 2, false); break;
        case WM_LBUTTONDBLCLK:
            mouse(ScriptEvent::MouseDown, 0, true);
            if (kind_ != WindowKind::ListBox) Fire(ScriptEvent::DblClick);  // a list box tells its own
            break;
        case WM_MOUSEMOVE:
            if (On(ScriptEvent::MouseMove).Live())
                FireScriptEvent(On(ScriptEvent::MouseMove), {sender, SetOfBits(ShiftOfMouse(wp, false)), x, y}, report);
            break;
        case WM_SIZE: {
            const SIZE now{static_cast<int16_t>(LOWORD(lp)), static_cast<int16_t>(HIWORD(lp))};
            if (wp != SIZE_MINIMIZED && (now.cx != inside_.cx || now.cy != inside_.cy)) {
                const int32_t dx = now.cx - inside_.cx, dy = now.cy - inside_.cy;
                inside_ = now;
                Relayout(dx, dy);
                UpdateScrollRange();
                // edges and frames drawn along the sides move with them
                if (dynamic_cast<ScriptHostWindow*>(ui_.get())) InvalidateRect(hwnd(), nullptr, TRUE);
            }
            Fire(ScriptEvent::Resize);
            break;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd()) {
                const int64_t cursor = KeptInt("CURSOR", 0);
                if (cursor == 0) break;
                SetCursor(SystemCursor(cursor));
                result = TRUE;
                return false;
            }
            break;
        case WM_ACTIVATE:
            if (kind_ == WindowKind::Form && LOWORD(wp) == WA_INACTIVE) Fire(ScriptEvent::Deactivate);
            break;
        default: break;
    }
    return true;
}

bool WinScriptWindow::PressDialogButton(bool cancel) {
    WinScriptWindow* form = kind_ == WindowKind::Form ? this : ParentForm();
    if (!form) return false;
    const char* setting = cancel ? "CANCEL" : "DEFAULT";
    std::vector<WinScriptWindow*> todo = form->children_;
    for (size_t k = 0; k < todo.size(); ++k) {
        WinScriptWindow* w = todo[k];
        todo.insert(todo.end(), w->children_.begin(), w->children_.end());
        if (w->kind_ == WindowKind::Button && !w->IsSpeedButton() && w->KeptInt(setting, 0) && IsWindowVisible(w->hwnd()) &&
            IsWindowEnabled(w->hwnd())) {
            SendMessageW(w->hwnd(), BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

int32_t WinScriptWindow::ShowModal() {
    if (kind_ != WindowKind::Form) throw lang::hostException("Invalid class type");
    if (modal_ || Visible()) throw lang::hostException("Cannot make a visible window modal");
    modal_ = true;
    modalResult_ = 0;
    lang::Value self = lang::objectValue(this);  // the form outlives its own loop, whatever the handlers free
    ui::TaskWindowsDisabled others;
    SetVisible(true);
    others.Disable(hwnd());
    SetForegroundWindow(hwnd());
    MSG msg;
    for (;;) {
        // A result ends the loop unless OnClose keeps the form (caNone).
        if (modalResult_ != 0 && !disposed()) {
            if (AskClose() != 0) break;
            modalResult_ = 0;
        }
        if (modalResult_ != 0 || disposed() || !IsWindow(hwnd())) break;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the program is ending: leave the loop, keep the quit
            if (modalResult_ == 0) modalResult_ = 2;  // mrCancel
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageW(hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    others.Restore();
    modal_ = false;
    if (!disposed()) ShowWindow(hwnd(), SW_HIDE);
    return modalResult_;
}

}  // namespace pelo::script
