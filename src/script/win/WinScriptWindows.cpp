#include "script/win/WinScriptWindows.h"

#include <commctrl.h>

#include <algorithm>

#include "script/win/WinScriptBitmap.h"
#include "script/win/WinScriptWindow.h"

namespace pelo::script {

namespace {

constexpr UINT kDropLater = WM_APP + 1;  // lParam: a ScriptObject the script freed, released once its event is over

bool IsContainer(WindowKind k) {
    return k == WindowKind::Form || k == WindowKind::Panel || k == WindowKind::GroupBox ||
           k == WindowKind::RadioGroup || k == WindowKind::Plain;
}

}  // namespace

// ---- ScriptHostWindow ------------------------------------------------------------------------------------------

void ScriptHostWindow::SetBackground(COLORREF color) {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ScriptHostWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
            if (ReflectToChild(msg, wp, lp, result)) return result;
            // Enter and Escape in a modal form, as the dialog manager tells them
            if (msg == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) &&
                owner_.Kind() == WindowKind::Form && owner_.PressDialogButton(LOWORD(wp) == IDCANCEL))
                return 0;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (WinScriptWindow* bar = lp ? WinScriptWindow::FromHandle(reinterpret_cast<HWND>(lp)) : nullptr;
                bar && bar->Kind() == WindowKind::ScrollBar) {
                bar->Scrolled(LOWORD(wp));
                return 0;
            }
            if (lp == 0) {
                owner_.Scrolled(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
                return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            if (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VSCROLL) {
                owner_.Scrolled(SB_VERT, static_cast<int16_t>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN);
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wp);
            // a control with a colour of its own; the others take their container's (edits and lists the system's)
            WinScriptWindow* control = WinScriptWindow::FromHandle(reinterpret_cast<HWND>(lp));
            if (HBRUSH own = control ? control->OwnBackground() : nullptr) {
                SetBkColor(dc, control->Background());
                SetTextColor(dc, control->TextColor());
                return reinterpret_cast<LRESULT>(own);
            }
            if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) break;
            if (control) SetTextColor(dc, control->TextColor());  // a label's font colour on its parent's colour
            SetBkColor(dc, owner_.Background());
            if (!brush_) brush_ = CreateSolidBrush(owner_.Background());
            return reinterpret_cast<LRESULT>(brush_);
        }
        case WM_PAINT:
            if (IsPainted(owner_.Kind()) || owner_.Kind() == WindowKind::Image) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(hwnd(), &ps);
                owner_.Paint(dc);
                EndPaint(hwnd(), &ps);
                return 0;
            }
            break;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd(), &r);
            if (!brush_) brush_ = CreateSolidBrush(owner_.Background());
            FillRect(reinterpret_cast<HDC>(wp), &r, brush_);
            owner_.DrawBevels(reinterpret_cast<HDC>(wp), r);
            if (owner_.Kind() == WindowKind::GroupBox || owner_.Kind() == WindowKind::RadioGroup) {
                // the frame and its caption, as a group box draws them
                HDC dc = reinterpret_cast<HDC>(wp);
                RECT frame = r;
                frame.top += 6;
                DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
                const std::wstring caption = ui::AnsiToWide(owner_.Caption());
                if (!caption.empty()) {
                    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
                    SetBkColor(dc, owner_.Background());
                    SetTextColor(dc, owner_.TextColor());
                    TextOutW(dc, 8, 0, caption.c_str(), static_cast<int>(caption.size()));
                    SelectObject(dc, old);
                }
            }
            return 1;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp)) InvalidateRect(hwnd(), nullptr, TRUE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
        case WM_LBUTTONUP: owner_.Fire(ScriptEvent::Click); return 0;
        case WM_SHOWWINDOW: owner_.Fire(wp ? ScriptEvent::Show : ScriptEvent::Hide); break;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) owner_.Fire(ScriptEvent::Activate);
            break;
        case WM_CLOSE:
            if (owner_.Kind() == WindowKind::Form) {
                owner_.OnClosing();
                return 0;
            }
            break;
        case WM_NCDESTROY:
            if (brush_) DeleteObject(brush_);
            brush_ = nullptr;
            break;
        default: break;
    }
    return DefaultHandling(msg, wp, lp);
}

void ShownList::changed() { owner_.SyncItems(); }

// ---- WinScriptWindows ------------------------------------------------------------------------------------------

namespace {

LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* factory = reinterpret_cast<WinScriptWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (factory && msg == WM_TIMER) {
        if (WinScriptTimer* t = factory->TimerById(wp)) t->Tick();
        return 0;
    }
    if (msg == kDropLater) {
        Drop(reinterpret_cast<lang::ScriptObject*>(lp));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Controls without a parent yet wait here, hidden; what they report meanwhile goes nowhere.
LRESULT CALLBACK ParkingWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakePlainWindow(const wchar_t* className, WNDPROC proc, HWND parent) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!GetClassInfoW(inst, className, &wc)) {
        wc.lpfnWndProc = proc;
        wc.hInstance = inst;
        wc.lpszClassName = className;
        RegisterClassW(&wc);
    }
    return CreateWindowExW(0, className, L"", parent == HWND_MESSAGE ? 0 : WS_POPUP, 0, 0, 0, 0, parent, nullptr, inst,
                           nullptr);
}

}  // namespace

WinScriptWindows::WinScriptWindows(Setup setup) : setup_(std::move(setup)) {}

WinScriptWindows::~WinScriptWindows() {
    ReleaseAll();
    if (timerWindow_) DestroyWindow(timerWindow_);
    if (parking_) DestroyWindow(parking_);
}

HWND WinScriptWindows::ParkingWindow() {
    if (!parking_) parking_ = MakePlainWindow(L"TPeloScriptParking", ParkingWindowProc, nullptr);
    return parking_;
}

HWND WinScriptWindows::TimerWindow() {
    if (!timerWindow_) {
        timerWindow_ = MakePlainWindow(L"TPeloScriptTimers", TimerWindowProc, HWND_MESSAGE);
        SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return timerWindow_;
}

ScriptWindow* WinScriptWindows::NewWindow(WindowKind kind, const lang::HostClass* cls, lang::ScriptObject* owner) {
    auto* parent = dynamic_cast<WinScriptWindow*>(owner);
    if (parent && (parent->disposed() || kind == WindowKind::Form || !IsContainer(parent->Kind()))) parent = nullptr;
    auto* w = new WinScriptWindow(*this, kind, cls, parent);  // holding our reference already
    made_.push_back(w);
    return w;
}

// A bitmap is only memory: it lives as long as the script (or a picture) refers to it.
ScriptBitmap* WinScriptWindows::NewBitmap(const lang::HostClass* cls) { return new WinScriptBitmap(cls, setup_); }

ScriptTimer* WinScriptWindows::NewTimer(const lang::HostClass* cls) {
    static UINT_PTR nextId = 1;
    TimerWindow();
    auto* t = new WinScriptTimer(*this, cls, nextId++);
    made_.push_back(Hold(t));
    return t;
}

WinScriptTimer* WinScriptWindows::TimerById(UINT_PTR id) {
    for (lang::ScriptObject* o : made_)
        if (auto* t = dynamic_cast<WinScriptTimer*>(o); t && t->Id() == id) return t;
    return nullptr;
}

int32_t WinScriptWindows::ShowMessageBox(std::string_view text, std::string_view caption, int32_t flags) {
    return MessageBoxW(setup_.MainWindow, ui::AnsiToWide(text).c_str(), ui::AnsiToWide(caption).c_str(),
                       static_cast<UINT>(flags));
}

void WinScriptWindows::ReportError(const std::string& text) {
    // One box at a time: a timer that keeps failing does not stack them up.
    if (reporting_ || !setup_.OnEventError) return;
    reporting_ = true;
    setup_.OnEventError(text);
    reporting_ = false;
}

void WinScriptWindows::Forget(lang::ScriptObject* object) {
    auto it = std::find(made_.begin(), made_.end(), object);
    if (it == made_.end()) return;
    made_.erase(it);
    // Released once the handler that may be freeing it has returned.
    if (timerWindow_) PostMessageW(timerWindow_, kDropLater, 0, reinterpret_cast<LPARAM>(object));
    else Drop(object);
}

void WinScriptWindows::ReleaseAll() {
    std::vector<lang::ScriptObject*> made = std::move(made_);
    made_.clear();
    for (lang::ScriptObject* o : made)
        if (!o->disposed()) o->dispose();
    for (lang::ScriptObject* o : made) Drop(o);
}

}  // namespace pelo::script
