#include "script/win/WinScriptWindows.h"

#include <commctrl.h>

#include <algorithm>

#include "script/win/WinScriptBitmap.h"
#include "script/win/WinScriptCanvas.h"
#include "script/win/WinScriptObjects.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/TabKeys.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/ToolTips.h"
#include "ui/win/WinText.h"

namespace pelo::script {

namespace {

constexpr UINT kDropLater = WM_APP + 1;  // lParam: a ScriptObject the script freed, released once its event is over
constexpr int32_t kClDefault = 0x20000000;

// Windows with a canvas the script paints on (in OnPaint, or a shape's own figure).
bool IsPainted(WindowKind k) { return k == WindowKind::PaintBox || k == WindowKind::Shape || k == WindowKind::Form; }

bool IsContainer(WindowKind k) {
    return k == WindowKind::Form || k == WindowKind::Panel || k == WindowKind::GroupBox ||
           k == WindowKind::RadioGroup || k == WindowKind::Plain;
}

// Delphi's sizes for a control made without any.
ui::Rect DefaultRect(WindowKind k) {
    switch (k) {
        case WindowKind::Form: return {CW_USEDEFAULT, CW_USEDEFAULT, 320, 240};
        case WindowKind::Edit: return {0, 0, 121, 21};
        case WindowKind::Memo: return {0, 0, 185, 89};
        case WindowKind::Button: return {0, 0, 75, 25};
        case WindowKind::CheckBox:
        case WindowKind::RadioButton: return {0, 0, 97, 17};
        case WindowKind::ListBox: return {0, 0, 121, 97};
        case WindowKind::ComboBox: return {0, 0, 145, 21};
        case WindowKind::GroupBox:
        case WindowKind::RadioGroup: return {0, 0, 185, 105};
        case WindowKind::Label: return {0, 0, 65, 13};
        case WindowKind::Panel: return {0, 0, 185, 41};
        case WindowKind::Shape: return {0, 0, 65, 65};
        case WindowKind::ScrollBar: return {0, 0, 121, GetSystemMetrics(SM_CYHSCROLL)};
        default: return {0, 0, 105, 105};
    }
}

const ui::Font& DefaultFont() {
    static const ui::Font font(ui::FontSpec{L"MS Sans Serif", -11});
    return font;
}

}  // namespace

// ---- the windows -----------------------------------------------------------------------------------------------

// A form or a container of the script: paints its colour, hands its controls' notifications to them, and tells
// its script object what happens to it.
class ScriptHostWindow final : public ui::Window {
public:
    explicit ScriptHostWindow(WinScriptWindow& owner) : owner_(owner) {}
    bool Make(const ui::WindowArgs& args) { return Create(args); }
    void SetBackground(COLORREF color);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    WinScriptWindow& owner_;
    HBRUSH brush_ = nullptr;
    HFONT font_ = nullptr;  // a window of our own class keeps its font itself
};

// An edit or memo whose typed characters go through the script's OnKeyPress first: the handler may change the
// character or swallow it (#0).
class KeyedEdit final : public ui::Edit {
public:
    // A memo scrolls sideways only when it does not wrap: that bit comes with its settings.
    explicit KeyedEdit(bool multiLine) : Edit(multiLine ? WS_TABSTOP : WS_TABSTOP | ES_AUTOHSCROLL) {}
    std::function<char(char)> onKey;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_CHAR && onKey) {
            const std::string typed = ui::WideToAnsi(std::wstring(1, static_cast<wchar_t>(wp)));
            if (typed.size() == 1) {
                const char key = onKey(typed[0]);
                if (key == '\0') return 0;
                const std::wstring wide = ui::AnsiToWide(std::string(1, key));
                if (!wide.empty()) wp = wide[0];
            }
        }
        return Edit::HandleMessage(msg, wp, lp);
    }
};

// A radio group's button: the group checks and unchecks its buttons itself, so nothing but a click of the user or
// ItemIndex changes which one is set.
class GroupRadio final : public ui::CheckBox {
public:
    GroupRadio() : CheckBox(WS_TABSTOP | BS_RADIOBUTTON) {}
};

// A list the script fills, shown by a list box, combo box or memo.
class ShownList final : public lang::StringListObject {
public:
    ShownList(const lang::HostClass* cls, WinScriptWindow& owner) : StringListObject(cls, "\r\n"), owner_(owner) {
        hostOwned = true;
    }
    void changed() override;

private:
    WinScriptWindow& owner_;
};

class WinScriptWindow final : public ScriptWindow, public CanvasSurface {
public:
    WinScriptWindow(WinScriptWindows& factory, WindowKind kind, const lang::HostClass* cls, WinScriptWindow* parent);
    ~WinScriptWindow() override;

    WindowKind Kind() const override { return kind_; }
    std::string Caption() const override { return ui_->TextA(); }
    void SetCaption(std::string_view caption) override;
    ScriptBounds Bounds() const override;
    void SetBounds(const ScriptBounds& bounds) override;
    bool Visible() const override { return IsWindowVisible(ui_->hwnd()) != FALSE; }
    void SetVisible(bool visible) override;
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override;
    int32_t Alignment() const override { return alignment_; }
    void SetAlignment(int32_t alignment) override;
    bool AutoSize() const override;
    void SetAutoSize(bool autoSize) override;
    ScriptFont& Font() override { return *font_; }

    std::string Text() const override;
    void SetText(std::string_view text) override;
    bool Enabled() const override { return ui_->IsEnabled(); }
    void SetEnabled(bool enabled) override { ui_->SetEnabled(enabled); }
    bool Checked() const override;
    void SetChecked(bool checked) override;
    int32_t CheckState() const override;
    void SetCheckState(int32_t state) override;
    int32_t ItemIndex() const override;
    void SetItemIndex(int32_t index) override;
    lang::StringListObject* Items() override;
    ScriptWindow* ParentWindow() const override { return parent_; }
    void SetParentWindow(ScriptWindow* parent) override;
    int32_t ModalResult() const override { return modalResult_; }
    void SetModalResult(int32_t result) override { modalResult_ = result; }
    int32_t ShowModal() override;
    void Close() override;
    void SetFocus() override { ::SetFocus(ui_->hwnd()); }
    bool Focused() const override { return GetFocus() == ui_->hwnd(); }
    int32_t MaxLength() const override { return maxLength_; }
    void SetMaxLength(int32_t length) override;
    bool ReadOnly() const override { return (GetWindowLongW(ui_->hwnd(), GWL_STYLE) & ES_READONLY) != 0; }
    void SetReadOnly(bool readOnly) override;
    void SelectAll() override;
    intptr_t Handle() const override { return reinterpret_cast<intptr_t>(ui_->hwnd()); }
    int32_t Position() const override { return position_; }
    void SetPosition(int32_t position) override;
    ScriptCanvas* Canvas() override { return canvas_; }
    int32_t ShapeType() const override { return shape_; }
    void SetShapeType(int32_t shape) override {
        shape_ = shape;
        Invalidate();
    }
    ScriptBounds ClientArea() const override;
    void SetClientSize(int32_t width, int32_t height) override;
    void Invalidate() override { InvalidateRect(hwnd(), nullptr, TRUE); }
    int32_t BorderStyle() const override { return borderStyle_; }
    void SetBorderStyle(int32_t style) override;
    void ToFront(bool front) override {
        SetWindowPos(hwnd(), front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    std::vector<ScriptWindow*> ChildWindows() const override { return {children_.begin(), children_.end()}; }
    intptr_t Perform(uint32_t message, intptr_t wParam, intptr_t lParam) override {
        return SendMessageA(hwnd(), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    }
    ScriptPoint ClientToScreen(ScriptPoint p) const override {
        POINT pt{p.X, p.Y};
        ::ClientToScreen(hwnd(), &pt);
        return {pt.x, pt.y};
    }
    ScriptPoint ScreenToClient(ScriptPoint p) const override {
        POINT pt{p.X, p.Y};
        ::ScreenToClient(hwnd(), &pt);
        return {pt.x, pt.y};
    }
    ScriptBounds ItemBounds(int32_t index) const override {
        RECT r{};
        if (kind_ != WindowKind::ListBox || SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            return {};
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void dispose() override;
    ScriptPicture* Picture() override { return picture_; }
    HDC BeginDrawing() override { return GetDC(hwnd()); }
    void EndDrawing(HDC dc, bool) override { ReleaseDC(hwnd(), dc); }
    ScriptFont& SurfaceFont() override { return *font_; }
    HFONT SurfaceFontHandle() override { return reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)); }
    COLORREF SurfaceTextColor() const override { return TextColor(); }
    void Paint(HDC dc);
    // An image's picture, as its Stretch, Center and AutoSize ask.
    void PaintPicture(HDC dc, const RECT& inside);
    void PictureChanged();
    void DrawShape(int32_t width, int32_t height);

    HWND hwnd() const { return ui_->hwnd(); }
    void Fire(ScriptEvent event);
    // The mouse, keyboard, focus and size messages of the window, told to the script's handlers first.
    static LRESULT CALLBACK InputObserver(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    // False when the message was answered here (`result`) and goes no further.
    bool Observe(UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result);
    void SettingChanged(const std::string& name) override;
    // The script window behind a handle of ours.
    static WinScriptWindow* FromHandle(HWND hwnd) {
        return static_cast<WinScriptWindow*>(GetPropW(hwnd, kWindowProp));
    }
    // A control's own background, for its parent to paint it with; nullptr while it has the default colour.
    HBRUSH OwnBackground();
    // A bevel's or panel's edges, as its Shape and Style or BevelOuter, BevelInner and BevelWidth ask.
    void DrawBevels(HDC dc, RECT r) const;
    void SyncItems();
    void SyncRadios();
    // A scroll bar's WM_HSCROLL or WM_VSCROLL (told to its parent): the new position, as the script's OnScroll
    // may change it.
    void Scrolled(int code);
    void OnClosing() { Close(); }
    int32_t AskClose();
    char KeyPressed(char key);
    COLORREF Background() const;
    COLORREF TextColor() const { return ColorFromTColor(font_->Color()); }

private:
    static constexpr const wchar_t* kWindowProp = L"PeloScriptWindow";
    void MakeWindow(HWND parent);
    // The style bits a control takes from the script's settings (a memo's scroll bars and wrapping, a list box's
    // selection and columns, a scroll bar's direction, the alignment of text).
    DWORD SettingsStyle() const;
    // The control made anew with the style its settings now ask for, its state carried over: the system's
    // controls read these bits only when they are made.
    void Recreate();
    bool MultiSelect() const { return kind_ == WindowKind::ListBox && KeptInt("MULTISELECT", 0) != 0; }
    bool IsSpeedButton() const { return hostClass() && hostClass()->name() == "TSpeedButton"; }
    bool IsScrollBox() const { return hostClass() && hostClass()->name() == "TScrollBox"; }
    // A form's or scroll box's bars, as far as what it holds reaches beyond its inside; scrolling moves what it
    // holds.
    void ScrollContents(int bar, int32_t to);
    POINT scrolled_{0, 0};
    bool updatingScroll_ = false;

public:
    void UpdateScrollRange();
    // A form's or scroll box's own bar (SB_HORZ, SB_VERT) moved by the user.
    void Scrolled(int bar, int code);

private:
    // A speed button's Down, kept with its settings and shown pressed; the others of its group come up.
    void SetDown(bool down);
    void ShowDown();

public:
    // Enter presses the form's Default button, Escape its Cancel button (the first one enabled and shown); false
    // when there is none.
    bool PressDialogButton(bool cancel);

private:
    void ApplyColumns();
    // A container's controls after its inside grew by dx, dy: anchored ones follow their edges, then the aligned
    // ones fill it in Delphi's order (top, bottom, left, right, client).
    void Relayout(int32_t dx, int32_t dy);
    int64_t KeptInt(const std::string& name, int64_t fallback) const {
        const lang::Value* v = KeptSetting(*this, name);
        return v && v->tag == lang::Tag::Plain ? v->i : fallback;
    }
    uint64_t KeptBits(const std::string& name, uint64_t fallback) const {
        const lang::Value* v = KeptSetting(*this, name);
        if (!v || v->tag != lang::Tag::Set) return fallback;
        return v->set ? v->set->bits[0] : 0;
    }
    void Forgotten(WinScriptWindow* child) { children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end()); }
    WinScriptWindow* ParentForm();

    WinScriptWindows& factory_;
    WindowKind kind_;
    std::unique_ptr<ui::Window> ui_;
    WinScriptWindow* parent_ = nullptr;
    std::vector<WinScriptWindow*> children_;
    WinScriptFont* font_ = nullptr;
    ShownList* items_ = nullptr;
    WinScriptCanvas* canvas_ = nullptr;
    ScriptPicture* picture_ = nullptr;  // an image's
    bool autoSize_ = false;             // an image's (a label keeps its own)
    std::vector<std::unique_ptr<GroupRadio>> radios_;  // a radio group's, one an item
    int32_t radioIndex_ = -1;
    int32_t color_ = kClDefault;
    int32_t alignment_ = 0;
    int32_t modalResult_ = 0;
    int32_t position_ = 0;
    int32_t maxLength_ = 0;
    int32_t borderStyle_ = 2;  // bsSizeable
    int32_t shape_ = 0;        // stRectangle
    bool modal_ = false;
    SIZE inside_{0, 0};           // the client size of the last layout
    HBRUSH ownBrush_ = nullptr;   // see OwnBackground
    std::wstring hint_;                        // the hint shown over the control, while ShowHint asks for it
    std::unique_ptr<ui::ToolTips> tips_;       // a form's: its controls' hints
    void UpdateHint();
    std::string KeptText(const std::string& name) const {
        const lang::Value* v = KeptSetting(*this, name);
        return v && v->tag == lang::Tag::Str ? std::string(v->str()) : std::string();
    }
};

class WinScriptTimer final : public ScriptTimer {
public:
    WinScriptTimer(WinScriptWindows& factory, const lang::HostClass* cls, UINT_PTR id)
        : ScriptTimer(cls), factory_(factory), id_(id) {}
    ~WinScriptTimer() override { Stop(); }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        Restart();
    }
    int32_t Interval() const override { return interval_; }
    void SetInterval(int32_t ms) override {
        interval_ = ms;
        Restart();
    }
    void dispose() override {
        Stop();
        OnTimer = {};
        ScriptTimer::dispose();
        factory_.Forget(this);
    }
    UINT_PTR Id() const { return id_; }
    void Tick() {
        if (running_ || disposed()) return;  // a tick while the handler still runs (a dialog of its own) is dropped
        running_ = true;
        FireScriptEvent(OnTimer, {lang::objectValue(this)}, [this](const std::string& e) { factory_.ReportError(e); });
        running_ = false;
    }

private:
    void Restart() {
        Stop();
        if (enabled_ && interval_ > 0 && !disposed()) SetTimer(factory_.TimerWindow(), id_, static_cast<UINT>(interval_), nullptr);
    }
    void Stop() {
        if (HWND w = factory_.TimerWindow()) KillTimer(w, id_);
    }

    WinScriptWindows& factory_;
    UINT_PTR id_;
    bool enabled_ = true;
    int32_t interval_ = 1000;
    bool running_ = false;
};

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

// ---- WinScriptWindow -------------------------------------------------------------------------------------------

WinScriptWindow::WinScriptWindow(WinScriptWindows& factory, WindowKind kind, const lang::HostClass* cls,
                                 WinScriptWindow* parent)
    : ScriptWindow(cls), factory_(factory), kind_(kind), parent_(parent) {
    // The factory's reference, taken before the window exists: the messages of its creation may hand the object
    // to code that takes and drops references of its own.
    refs = 1;
    if (parent_) parent_->children_.push_back(this);
    HWND parentHwnd = kind_ == WindowKind::Form ? factory_.Settings().MainWindow
                                                : (parent_ ? parent_->hwnd() : factory_.ParkingWindow());
    MakeWindow(parentHwnd);
    SetWindowSubclass(hwnd(), &WinScriptWindow::InputObserver, 1, reinterpret_cast<DWORD_PTR>(this));
    SetPropW(hwnd(), kWindowProp, this);
    RECT inside;
    GetClientRect(hwnd(), &inside);
    inside_ = {inside.right, inside.bottom};
    ui_->SetFont(DefaultFont());
    font_ = Hold(new WinScriptFont(factory_.Settings().FontClass, *ui_, [this] { InvalidateRect(hwnd(), nullptr, TRUE); }));
    if (kind_ == WindowKind::ListBox || kind_ == WindowKind::ComboBox || kind_ == WindowKind::Memo ||
        kind_ == WindowKind::RadioGroup)
        items_ = Hold(new ShownList(factory_.Settings().StringsClass, *this));
    if (IsPainted(kind_)) canvas_ = Hold(new WinScriptCanvas(factory_.Settings(), *this));
    if (kind_ == WindowKind::Image) {
        picture_ = Hold(new ScriptPicture(factory_.Settings().PictureClass, &factory_, factory_.Settings().BitmapClass));
        picture_->hostOwned = true;
        picture_->onChange = [this] { PictureChanged(); };
    }
}

WinScriptWindow::~WinScriptWindow() {
    // The window's last messages must not reach this half-destroyed object.
    if (ui_ && IsWindow(hwnd())) {
        RemoveWindowSubclass(hwnd(), &WinScriptWindow::InputObserver, 1);
        RemovePropW(hwnd(), kWindowProp);
    }
    if (ownBrush_) DeleteObject(ownBrush_);
    if (parent_) parent_->Forgotten(this);
    for (WinScriptWindow* child : children_) child->parent_ = nullptr;
    if (items_) Drop(items_);
    if (canvas_) Drop(canvas_);
    if (picture_) {
        picture_->onChange = nullptr;
        Drop(picture_);
    }
    if (font_) Drop(font_);
}

void WinScriptWindow::MakeWindow(HWND parent) {
    const ui::Rect rect = DefaultRect(kind_);
    // A control made at run time has no caption of its own (Delphi gives a design-time control its name).
    const std::wstring name;
    auto control = [&](auto made, DWORD style = 0) {
        made->Create({.parent = parent, .rect = rect, .text = name, .style = style});
        return made;
    };
    switch (kind_) {
        case WindowKind::Form: {
            auto w = std::make_unique<ScriptHostWindow>(*this);
            w->Make({.className = L"TPeloScriptForm", .title = name,
                     .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
                     .rect = rect, .parent = parent, .classStyle = CS_DBLCLKS});
            ui_ = std::move(w);
            return;
        }
        case WindowKind::Panel:
        case WindowKind::GroupBox:
        case WindowKind::RadioGroup:
        case WindowKind::PaintBox:
        case WindowKind::Shape:
        case WindowKind::Image:
        case WindowKind::Plain: {
            auto w = std::make_unique<ScriptHostWindow>(*this);
            w->Make({.className = L"TPeloScriptPanel", .title = name,
                     .style = static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS),
                     .exStyle = WS_EX_CONTROLPARENT,  // its controls are in its form's tab order
                     .rect = rect, .parent = parent, .classStyle = CS_DBLCLKS});
            ui_ = std::move(w);
            return;
        }
        case WindowKind::ScrollBar: {
            ui_ = control(std::make_unique<ui::ScrollBar>(), SettingsStyle());
            SetScrollRange(hwnd(), SB_CTL, 0, 100, FALSE);
            return;
        }
        case WindowKind::Edit:
        case WindowKind::Memo: {
            auto e = control(std::make_unique<KeyedEdit>(kind_ == WindowKind::Memo), SettingsStyle());
            e->onChange = [this] { Fire(ScriptEvent::Change); };
            e->onKey = [this](char key) { return KeyPressed(key); };
            ui_ = std::move(e);
            return;
        }
        case WindowKind::Button: {
            auto b = control(std::make_unique<ui::Button>());
            b->onClick = [this] {
                // A button with a modal result ends its form's ShowModal with it, before its own handler runs.
                if (modalResult_ != 0)
                    if (WinScriptWindow* form = ParentForm()) form->SetModalResult(modalResult_);
                if (IsSpeedButton() && KeptInt("GROUPINDEX", 0) != 0) {
                    // A grouped speed button stays down; pressed again it comes up only if its group allows all up.
                    if (!KeptInt("DOWN", 0)) SetDown(true);
                    else if (KeptInt("ALLOWALLUP", 0)) SetDown(false);
                    else ShowDown();
                }
                Fire(ScriptEvent::Click);
            };
            ui_ = std::move(b);
            return;
        }
        case WindowKind::CheckBox:
        case WindowKind::RadioButton: {
            std::unique_ptr<ui::CheckBox> b;
            if (kind_ == WindowKind::CheckBox) b = std::make_unique<ui::CheckBox>();
            else b = std::make_unique<ui::RadioButton>();
            control(b.get());
            b->onClick = [this] { Fire(ScriptEvent::Click); };
            ui_ = std::move(b);
            return;
        }
        case WindowKind::ListBox: {
            auto l = control(std::make_unique<ui::ListBox>(), SettingsStyle());
            l->onSelect = [this] { Fire(ScriptEvent::Click); };
            l->onDoubleClick = [this] { Fire(ScriptEvent::DblClick); };
            ui_ = std::move(l);
            return;
        }
        case WindowKind::ComboBox: {
            auto c = control(std::make_unique<ui::ComboBox>());
            c->SetDropDownRows(rect.Height, 8);
            c->onSelect = [this] {
                Fire(ScriptEvent::Change);
                Fire(ScriptEvent::Click);
            };
            ui_ = std::move(c);
            return;
        }
        case WindowKind::Label: {
            auto l = std::make_unique<ui::Label>();
            l->Create({.parent = parent, .rect = rect, .text = name, .style = SettingsStyle()});
            l->onClick = [this] { Fire(ScriptEvent::Click); };
            ui_ = std::move(l);
            return;
        }
    }
}

WinScriptWindow* WinScriptWindow::ParentForm() {
    WinScriptWindow* w = parent_;
    while (w && w->kind_ != WindowKind::Form) w = w->parent_;
    return w;
}

// A TShape's figure with its pen and brush, inside its bounds the way Delphi fits it (the pen's width inside).
void WinScriptWindow::DrawShape(int32_t width, int32_t height) {
    const int32_t pen = canvas_->Pen().Width;
    int32_t x = pen / 2, y = pen / 2;
    int32_t w = width - pen + 1, h = height - pen + 1;
    if (w <= 0 || h <= 0) return;
    const bool square = shape_ == 1 || shape_ == 3 || shape_ == 5;
    if (square) {
        const int32_t side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    switch (shape_) {
        case 2:
        case 3: canvas_->RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
        case 4:
        case 5: canvas_->Ellipse(x, y, x + w, y + h); break;
        default: canvas_->Rectangle(x, y, x + w, y + h); break;
    }
}

void WinScriptWindow::Paint(HDC dc) {
    RECT r;
    GetClientRect(hwnd(), &r);
    HBRUSH background = CreateSolidBrush(Background());
    FillRect(dc, &r, background);
    DeleteObject(background);
    if (kind_ == WindowKind::Image) PaintPicture(dc, r);
    if (!canvas_) return;
    canvas_->Painting(dc);
    if (kind_ == WindowKind::Shape) DrawShape(r.right, r.bottom);
    else Fire(ScriptEvent::Paint);
    canvas_->Painting(nullptr);
}

void WinScriptWindow::PaintPicture(HDC dc, const RECT& inside) {
    auto* bitmap = picture_ ? dynamic_cast<WinScriptBitmap*>(picture_->ExistingBitmap()) : nullptr;
    if (!bitmap || bitmap->Width() == 0 || bitmap->Height() == 0) return;
    int width = bitmap->Width(), height = bitmap->Height(), x = 0, y = 0;
    if (KeptInt("STRETCH", 0)) {
        width = inside.right;
        height = inside.bottom;
    } else if (KeptInt("CENTER", 0)) {
        x = (inside.right - width) / 2;
        y = (inside.bottom - height) / 2;
    }
    bitmap->Draw(dc, x, y, width, height);
}

void WinScriptWindow::PictureChanged() {
    if (disposed()) return;
    // An image that sizes itself to its picture, as Delphi's AutoSize does.
    if (ScriptBitmap* bitmap = picture_->ExistingBitmap(); bitmap && autoSize_ && bitmap->Width() > 0) {
        const ScriptBounds b = Bounds();
        if (b.Width != bitmap->Width() || b.Height != bitmap->Height())
            SetBounds({b.Left, b.Top, bitmap->Width(), bitmap->Height()});
    }
    Invalidate();
}

void WinScriptWindow::Fire(ScriptEvent event) {
    if (disposed() || !On(event).Live()) return;
    FireScriptEvent(On(event), {lang::objectValue(this)}, [this](const std::string& e) { factory_.ReportError(e); });
}

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

void WinScriptWindow::SetCaption(std::string_view caption) {
    ui_->SetTextA(caption);
    if (auto* label = dynamic_cast<ui::Label*>(ui_.get())) label->SetText(ui::AnsiToWide(caption));
    if (kind_ == WindowKind::GroupBox || kind_ == WindowKind::RadioGroup) InvalidateRect(hwnd(), nullptr, TRUE);
}

ScriptBounds WinScriptWindow::Bounds() const {
    if (kind_ == WindowKind::Form) {
        RECT r;
        GetWindowRect(hwnd(), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    const ui::Rect r = ui_->RectInParent();
    return {r.Left, r.Top, r.Width, r.Height};
}

void WinScriptWindow::SetBounds(const ScriptBounds& b) {
    SetWindowPos(hwnd(), nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (parent_) parent_->UpdateScrollRange();
}

void WinScriptWindow::UpdateScrollRange() {
    // Forms and scroll boxes scroll what lies beyond their inside (AutoScroll, on unless the script turns it off).
    if ((!IsScrollBox() && kind_ != WindowKind::Form) || updatingScroll_) return;
    updatingScroll_ = true;
    // The extent of what it holds, from its unscrolled corner; with AutoScroll off nothing scrolls.
    const bool autoScroll = KeptInt("AUTOSCROLL", 1) != 0;
    int32_t right = 0, bottom = 0;
    for (WinScriptWindow* child : children_) {
        // its own visibility: the box itself may not be shown yet
        if (!autoScroll || !(GetWindowLongW(child->hwnd(), GWL_STYLE) & WS_VISIBLE)) continue;
        const ScriptBounds b = child->Bounds();
        right = std::max(right, b.Left + static_cast<int32_t>(scrolled_.x) + b.Width);
        bottom = std::max(bottom, b.Top + static_cast<int32_t>(scrolled_.y) + b.Height);
    }
    // Twice: a bar that appears takes room from the other direction.
    for (int pass = 0; pass < 2; ++pass) {
        RECT inside;
        GetClientRect(hwnd(), &inside);
        for (const int bar : {SB_HORZ, SB_VERT}) {
            const int32_t extent = bar == SB_HORZ ? right : bottom;
            const int32_t page = bar == SB_HORZ ? inside.right : inside.bottom;
            LONG& at = bar == SB_HORZ ? scrolled_.x : scrolled_.y;
            const int32_t most = std::max(0, extent - page);
            if (at > most) ScrollContents(bar, most);
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMax = std::max(0, extent - 1);
            info.nPage = static_cast<UINT>(std::max(0, page));
            info.nPos = at;
            SetScrollInfo(hwnd(), bar, &info, TRUE);
        }
    }
    updatingScroll_ = false;
}

void WinScriptWindow::Scrolled(int bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(hwnd(), bar, &info)) return;
    constexpr int kLine = 8;  // TControlScrollBar.Increment
    int32_t to = info.nPos;
    switch (code) {
        case SB_LINEUP: to -= kLine; break;
        case SB_LINEDOWN: to += kLine; break;
        case SB_PAGEUP: to -= static_cast<int32_t>(info.nPage); break;
        case SB_PAGEDOWN: to += static_cast<int32_t>(info.nPage); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: to = info.nTrackPos; break;
        case SB_TOP: to = 0; break;
        case SB_BOTTOM: to = info.nMax; break;
        default: return;
    }
    ScrollContents(bar, std::clamp(to, 0, std::max(0, info.nMax - static_cast<int32_t>(info.nPage) + 1)));
}

void WinScriptWindow::ScrollContents(int bar, int32_t to) {
    LONG& at = bar == SB_HORZ ? scrolled_.x : scrolled_.y;
    const int32_t delta = to - at;
    if (delta == 0) return;
    at = to;
    ScrollWindowEx(hwnd(), bar == SB_HORZ ? -delta : 0, bar == SB_VERT ? -delta : 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    InvalidateRect(hwnd(), nullptr, TRUE);  // edges drawn along its sides stay where they are
    SetScrollPos(hwnd(), bar, to, TRUE);
}

void WinScriptWindow::SetVisible(bool visible) {
    if (kind_ == WindowKind::Form && visible && !Visible() && position_ >= 4) {
        // poScreenCenter and the other centred positions
        RECT r;
        GetWindowRect(hwnd(), &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd(), visible ? (kind_ == WindowKind::Form ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    if (parent_) parent_->UpdateScrollRange();
}

ScriptBounds WinScriptWindow::ClientArea() const {
    RECT r;
    GetClientRect(hwnd(), &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

// The window grows or shrinks by what its inside must change.
void WinScriptWindow::SetClientSize(int32_t width, int32_t height) {
    const ScriptBounds inside = ClientArea();
    const ScriptBounds outside = Bounds();
    SetWindowPos(hwnd(), nullptr, 0, 0, outside.Width + (width - inside.Width), outside.Height + (height - inside.Height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A form's frame: none, fixed, sizeable, a dialog's, a tool window's fixed or sizeable.
void WinScriptWindow::SetBorderStyle(int32_t style) {
    if (kind_ != WindowKind::Form || style < 0 || style > 5) return;
    borderStyle_ = style;
    static constexpr DWORD kStyles[] = {
        WS_POPUP,
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
    };
    static constexpr DWORD kExStyles[] = {0, 0, 0, WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW};
    const LONG keep = GetWindowLongW(hwnd(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_CLIPCHILDREN);
    SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>(kStyles[style]) | keep);
    SetWindowLongW(hwnd(), GWL_EXSTYLE, static_cast<LONG>(kExStyles[style]));
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

COLORREF WinScriptWindow::Background() const {
    if (color_ == kClDefault) return GetSysColor(COLOR_BTNFACE);
    return ColorFromTColor(color_);
}

void WinScriptWindow::SetColor(int32_t color) {
    color_ = color;
    if (ownBrush_) DeleteObject(ownBrush_);
    ownBrush_ = nullptr;
    if (auto* host = dynamic_cast<ScriptHostWindow*>(ui_.get())) host->SetBackground(Background());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool WinScriptWindow::AutoSize() const {
    auto* label = dynamic_cast<ui::Label*>(ui_.get());
    return label ? label->autoSize : autoSize_;
}

void WinScriptWindow::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (auto* label = dynamic_cast<ui::Label*>(ui_.get())) {
        label->autoSize = autoSize;
        if (autoSize) label->FitToText();
    }
    if (kind_ == WindowKind::Image) PictureChanged();
}

std::string WinScriptWindow::Text() const { return ui_->TextA(); }

void WinScriptWindow::SetText(std::string_view text) {
    if (kind_ == WindowKind::Memo && items_) {
        items_->list.SetText(text);
        SyncItems();
        return;
    }
    SetCaption(text);
}

bool WinScriptWindow::Checked() const {
    return (kind_ == WindowKind::CheckBox || kind_ == WindowKind::RadioButton) &&
           SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WinScriptWindow::SetChecked(bool checked) {
    if (kind_ == WindowKind::RadioButton && Checked() != checked) {
        SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        Fire(ScriptEvent::Click);
    }
    if (kind_ == WindowKind::CheckBox) SetCheckState(checked ? 1 : 0);
}

int32_t WinScriptWindow::CheckState() const {
    if (kind_ != WindowKind::CheckBox && kind_ != WindowKind::RadioButton) return 0;
    const LRESULT state = SendMessageW(hwnd(), BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

void WinScriptWindow::SetCheckState(int32_t state) {
    if (kind_ != WindowKind::CheckBox) return SetChecked(state == 1);
    if (state < 0 || state > 2 || state == CheckState()) return;
    SendMessageW(hwnd(), BM_SETCHECK, state == 1 ? BST_CHECKED : state == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
    Fire(ScriptEvent::Click);  // as Delphi's check boxes do when the program changes them
}

void WinScriptWindow::SetAlignment(int32_t alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    if (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo || kind_ == WindowKind::Label) Recreate();
}

void WinScriptWindow::SetPosition(int32_t position) {
    if (kind_ != WindowKind::ScrollBar) {
        position_ = position;
        return;
    }
    if (position == position_) return;
    position_ = position;
    SetScrollPos(hwnd(), SB_CTL, position, TRUE);
    Fire(ScriptEvent::Change);
}

void WinScriptWindow::Scrolled(int code) {
    const int64_t min = ScrollMin(*this), max = ScrollMax(*this);
    int64_t position = position_;
    switch (code) {
        case SB_LINEUP: position -= KeptInt("SMALLCHANGE", 1); break;
        case SB_LINEDOWN: position += KeptInt("SMALLCHANGE", 1); break;
        case SB_PAGEUP: position -= KeptInt("LARGECHANGE", 1); break;
        case SB_PAGEDOWN: position += KeptInt("LARGECHANGE", 1); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            if (GetScrollInfo(hwnd(), SB_CTL, &info)) position = info.nTrackPos;
            break;
        }
        case SB_TOP: position = min; break;
        case SB_BOTTOM: position = max; break;
        default: break;  // SB_ENDSCROLL: told, with the position as it is
    }
    position = std::clamp(position, min, max);
    if (On(ScriptEvent::Scroll).Live()) {
        std::vector<lang::Value> after;
        FireScriptEvent(On(ScriptEvent::Scroll),
                        {lang::objectValue(this), lang::Value::ofInt(code), lang::Value::ofInt(position)},
                        [this](const std::string& e) { factory_.ReportError(e); }, &after);
        if (disposed()) return;
        if (after.size() >= 3 && after[2].tag == lang::Tag::Plain) position = std::clamp<int64_t>(after[2].i, min, max);
    }
    SetPosition(static_cast<int32_t>(position));
}

DWORD WinScriptWindow::SettingsStyle() const {
    // TAlignment: taLeftJustify, taRightJustify, taCenter
    const DWORD right = alignment_ == 1 ? 1u : 0u, centre = alignment_ == 2 ? 1u : 0u;
    switch (kind_) {
        case WindowKind::Edit: return WS_BORDER | (right ? ES_RIGHT : 0) | (centre ? ES_CENTER : 0);
        case WindowKind::Memo: {
            DWORD style = WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | (right ? ES_RIGHT : 0) | (centre ? ES_CENTER : 0);
            if (!KeptInt("WORDWRAP", 1)) style |= ES_AUTOHSCROLL;
            if (KeptInt("WANTRETURNS", 1)) style |= ES_WANTRETURN;
            const int64_t bars = KeptInt("SCROLLBARS", 0);  // ssNone, ssHorizontal, ssVertical, ssBoth
            if (bars & 1) style |= WS_HSCROLL;
            if (bars & 2) style |= WS_VSCROLL;
            return style;
        }
        case WindowKind::ListBox: {
            DWORD style = WS_BORDER;
            if (MultiSelect()) style |= KeptInt("EXTENDEDSELECT", 1) ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
            if (KeptInt("COLUMNS", 0) > 0) style |= LBS_MULTICOLUMN | WS_HSCROLL;
            if (!KeptInt("INTEGRALHEIGHT", 0)) style |= LBS_NOINTEGRALHEIGHT;
            return style;
        }
        case WindowKind::ScrollBar: return KeptInt("KIND", 0) == 1 ? SBS_VERT : SBS_HORZ;
        case WindowKind::Label: {
            // tlCenter: a line in the middle of the label's height (the system's statics have no bottom layout)
            const DWORD middle = KeptInt("LAYOUT", 0) == 1 ? SS_CENTERIMAGE : 0;
            if (right) return SS_NOTIFY | SS_RIGHT | middle;
            if (centre) return SS_NOTIFY | SS_CENTER | middle;
            return SS_NOTIFY | middle | (KeptInt("WORDWRAP", 0) ? SS_LEFT : SS_LEFTNOWORDWRAP);
        }
        default: return 0;
    }
}

void WinScriptWindow::Recreate() {
    auto* control = dynamic_cast<ui::Control*>(ui_.get());
    if (!control || disposed()) return;
    const HWND old = hwnd();
    const HWND parent = GetParent(old);
    const HWND before = GetWindow(old, GW_HWNDPREV);
    const ScriptBounds b = Bounds();
    const LONG oldStyle = GetWindowLongW(old, GWL_STYLE);
    const bool focused = GetFocus() == old;
    const HFONT font = ui_->Font();
    const std::wstring text = ui_->Text();
    const int32_t checkState = CheckState();
    const LRESULT passwordChar = SendMessageW(old, EM_GETPASSWORDCHAR, 0, 0);
    std::vector<int> selected;
    int32_t index = -1;
    if (kind_ == WindowKind::ListBox) {
        index = ItemIndex();
        for (int k = 0, n = static_cast<int>(SendMessageW(old, LB_GETCOUNT, 0, 0)); k < n; ++k)
            if (SendMessageW(old, LB_GETSEL, static_cast<WPARAM>(k), 0) > 0) selected.push_back(k);
    }
    if (WinScriptWindow* form = ParentForm(); form && form->tips_) form->tips_->Remove(*ui_);

    RemoveWindowSubclass(old, &WinScriptWindow::InputObserver, 1);
    RemovePropW(old, kWindowProp);
    DestroyWindow(old);  // the control's object lets go of the handle as it goes
    const DWORD kept = oldStyle & (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo ? ES_READONLY : 0);
    const ui::CreateArgs args{.parent = parent, .rect = {b.Left, b.Top, b.Width, b.Height}, .text = text,
                              .style = SettingsStyle() | kept};
    if (auto* label = dynamic_cast<ui::Label*>(control)) label->Create(args);
    else control->Create(args);
    SetWindowSubclass(hwnd(), &WinScriptWindow::InputObserver, 1, reinterpret_cast<DWORD_PTR>(this));
    SetPropW(hwnd(), kWindowProp, this);
    SetWindowPos(hwnd(), before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ui_->SetFont(font);
    if (!(oldStyle & WS_VISIBLE)) ShowWindow(hwnd(), SW_HIDE);
    if (oldStyle & WS_DISABLED) EnableWindow(hwnd(), FALSE);
    if (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo) {
        if (maxLength_ > 0) SendMessageW(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
        if (passwordChar) SendMessageW(hwnd(), EM_SETPASSWORDCHAR, static_cast<WPARAM>(passwordChar), 0);
    }
    if (kind_ == WindowKind::ListBox) {
        SyncItems();
        ApplyColumns();
        if (MultiSelect()) {
            for (int k : selected) SendMessageW(hwnd(), LB_SETSEL, TRUE, k);
            if (index >= 0) SendMessageW(hwnd(), LB_SETCARETINDEX, static_cast<WPARAM>(index), 0);
        } else {
            SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    if (kind_ == WindowKind::CheckBox) {
        SendMessageW(hwnd(), BM_SETSTYLE, KeptInt("ALLOWGRAYED", 0) ? BS_AUTO3STATE : BS_AUTOCHECKBOX, FALSE);
        SendMessageW(hwnd(), BM_SETCHECK, checkState == 1 ? BST_CHECKED : checkState == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
    }
    if (kind_ == WindowKind::ScrollBar) {
        SetScrollRange(hwnd(), SB_CTL, static_cast<int>(ScrollMin(*this)), static_cast<int>(ScrollMax(*this)), FALSE);
        SetScrollPos(hwnd(), SB_CTL, position_, TRUE);
    }
    UpdateHint();
    if (focused) ::SetFocus(hwnd());
}

void WinScriptWindow::SetDown(bool down) {
    const int64_t group = KeptInt("GROUPINDEX", 0);
    if (group == 0) down = false;  // only a grouped speed button stays down
    storeMember("DOWN").value = lang::Value::ofInt(down ? 1 : 0);
    ShowDown();
    if (!down || !parent_) return;
    for (WinScriptWindow* other : parent_->children_)
        if (other != this && other->IsSpeedButton() && other->KeptInt("GROUPINDEX", 0) == group && other->KeptInt("DOWN", 0)) {
            other->storeMember("DOWN").value = lang::Value::ofInt(0);
            other->ShowDown();
        }
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

void WinScriptWindow::ShowDown() {
    // A grouped speed button is a button that stays pressed while it is down: a push-like check box the program
    // checks itself.
    const bool grouped = KeptInt("GROUPINDEX", 0) != 0;
    // BM_SETSTYLE takes the type only: the push-like look is a style bit of its own.
    const LONG style = GetWindowLongW(hwnd(), GWL_STYLE) & ~static_cast<LONG>(BS_PUSHLIKE);
    SetWindowLongW(hwnd(), GWL_STYLE, grouped ? style | BS_PUSHLIKE : style);
    SendMessageW(hwnd(), BM_SETSTYLE, grouped ? BS_CHECKBOX : BS_PUSHBUTTON, TRUE);
    SendMessageW(hwnd(), BM_SETCHECK, grouped && KeptInt("DOWN", 0) ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A list box in columns: each as wide as Delphi makes them, the box's width shared out.
void WinScriptWindow::ApplyColumns() {
    const int64_t columns = KeptInt("COLUMNS", 0);
    if (kind_ != WindowKind::ListBox || columns <= 0) return;
    const int64_t width = Bounds().Width;
    if (width > 0) SendMessageW(hwnd(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>((width + columns - 3) / columns), 0);
}

// A radio group's buttons, one an item, stacked in the frame.
void WinScriptWindow::SyncRadios() {
    // A system control's object does not take its window with it: the old buttons go first.
    for (auto& radio : radios_)
        if (IsWindow(radio->hwnd())) DestroyWindow(radio->hwnd());
    radios_.clear();
    const lang::rtl::StringList& list = items_->list;
    const ScriptBounds area = ClientArea();
    const int32_t n = list.Count();
    const int32_t step = n > 0 ? std::max(17, (area.Height - 20) / n) : 17;
    for (int32_t k = 0; k < n; ++k) {
        auto radio = std::make_unique<GroupRadio>();
        radio->Create({.parent = hwnd(), .rect = {8, 16 + k * step, std::max(20, area.Width - 16), 17},
                       .text = ui::AnsiToWide(list.Get(k))});
        radio->SetFont(reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
        radio->onClick = [this, k] {
            SetItemIndex(k);
            Fire(ScriptEvent::Click);
        };
        radios_.push_back(std::move(radio));
    }
    if (radioIndex_ >= n) radioIndex_ = -1;
    if (radioIndex_ >= 0) SendMessageW(radios_[static_cast<size_t>(radioIndex_)]->hwnd(), BM_SETCHECK, BST_CHECKED, 0);
}

int32_t WinScriptWindow::ItemIndex() const {
    if (kind_ == WindowKind::RadioGroup) return radioIndex_;
    // a list that picks several items has no single chosen one: its index is the item with the focus
    if (kind_ == WindowKind::ListBox)
        return static_cast<int32_t>(SendMessageW(hwnd(), MultiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
    if (kind_ == WindowKind::ComboBox) return static_cast<int32_t>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
    return -1;
}

void WinScriptWindow::SetItemIndex(int32_t index) {
    if (kind_ == WindowKind::RadioGroup) {
        radioIndex_ = index >= 0 && static_cast<size_t>(index) < radios_.size() ? index : -1;
        for (size_t k = 0; k < radios_.size(); ++k)
            SendMessageW(radios_[k]->hwnd(), BM_SETCHECK, static_cast<int32_t>(k) == radioIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (kind_ == WindowKind::ListBox && ItemIndex() != index)
        SendMessageW(hwnd(), MultiSelect() ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (kind_ == WindowKind::ComboBox) SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

lang::StringListObject* WinScriptWindow::Items() {
    // A memo's lines are what the user typed: read them back first.
    if (kind_ == WindowKind::Memo && items_) items_->list.SetText(ui_->TextA());
    return items_;
}

void WinScriptWindow::SyncItems() {
    if (!items_ || disposed()) return;
    if (kind_ == WindowKind::RadioGroup) {
        SyncRadios();
        return;
    }
    const lang::rtl::StringList& list = items_->list;
    if (kind_ == WindowKind::Memo) {
        std::string text;
        for (int32_t k = 0; k < list.Count(); ++k) text += (k ? "\r\n" : "") + list.Get(k);
        ui_->SetTextA(text);
        return;
    }
    const bool combo = kind_ == WindowKind::ComboBox;
    // The items are laid in anew; the chosen one stays chosen while it is still there.
    const int32_t chosen = combo || !MultiSelect() ? ItemIndex() : -1;
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (int32_t k = 0; k < list.Count(); ++k) {
        const std::wstring item = ui::AnsiToWide(list.Get(k));
        SendMessageW(hwnd(), combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (chosen >= 0 && chosen < list.Count()) SendMessageW(hwnd(), combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void WinScriptWindow::SetParentWindow(ScriptWindow* parent) {
    auto* p = dynamic_cast<WinScriptWindow*>(parent);
    if (p == parent_) return;
    for (WinScriptWindow* w = p; w; w = w->parent_)
        if (w == this) throw lang::hostException("A control cannot have itself as its parent");
    if (parent_) parent_->Forgotten(this);
    parent_ = p;
    if (parent_) parent_->children_.push_back(this);
    if (kind_ == WindowKind::Form) return;  // a form stays a window of its own
    ::SetParent(hwnd(), parent_ ? parent_->hwnd() : factory_.ParkingWindow());
    if (parent_) parent_->UpdateScrollRange();
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

void WinScriptWindow::SettingChanged(const std::string& name) {
    if (name == "ALIGN") {
        if (parent_) parent_->Relayout(0, 0);
    } else if (name == "TABSTOP") {
        const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
        SetWindowLongW(hwnd(), GWL_STYLE, KeptInt(name, 0) ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    } else if (name == "TABORDER" && parent_) {
        // The tab order is the order of the parent's child windows: this one goes after the one before its place.
        const int64_t place = KeptInt(name, 0);
        HWND after = HWND_TOP;
        int64_t k = 0;
        for (HWND w = GetWindow(parent_->hwnd(), GW_CHILD); w && k < place; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == hwnd()) continue;
            after = w;
            ++k;
        }
        SetWindowPos(hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (kind_ == WindowKind::Form && name == "FORMSTYLE") {
        SetWindowPos(hwnd(), KeptInt(name, 0) == 3 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (kind_ == WindowKind::Form && name == "BORDERICONS") {
        const uint64_t icons = KeptBits(name, 0b0111);
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE) & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
        if (icons & 1) style |= WS_SYSMENU;
        if (icons & 2) style |= WS_MINIMIZEBOX;
        if (icons & 4) style |= WS_MAXIMIZEBOX;
        SetWindowLongW(hwnd(), GWL_STYLE, style);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else if (name == "CHARCASE" && (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo)) {
        const int64_t charCase = KeptInt(name, 0);  // ecNormal, ecUpperCase, ecLowerCase
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE) & ~(ES_UPPERCASE | ES_LOWERCASE);
        if (charCase == 1) style |= ES_UPPERCASE;
        if (charCase == 2) style |= ES_LOWERCASE;
        SetWindowLongW(hwnd(), GWL_STYLE, style);
    } else if (name == "HINT" || name == "SHOWHINT") {
        UpdateHint();
        if (kind_ == WindowKind::Form && name == "SHOWHINT") {
            std::vector<WinScriptWindow*> todo = children_;
            while (!todo.empty()) {
                WinScriptWindow* w = todo.back();
                todo.pop_back();
                w->UpdateHint();
                todo.insert(todo.end(), w->children_.begin(), w->children_.end());
            }
        }
    } else if (name == "SHAPE" || name == "STYLE" || name == "BEVELOUTER" || name == "BEVELINNER" ||
               name == "BEVELWIDTH" || (kind_ == WindowKind::Image && (name == "STRETCH" || name == "CENTER"))) {
        Invalidate();
        Invalidate();
    } else if (kind_ == WindowKind::ScrollBar && name == "KIND") {
        // Turned on its side, as Delphi turns it: width and height trade places.
        const bool vertical = KeptInt(name, 0) == 1;
        if (((GetWindowLongW(hwnd(), GWL_STYLE) & SBS_VERT) != 0) != vertical) {
            const ScriptBounds b = Bounds();
            SetBounds({b.Left, b.Top, b.Height, b.Width});
            Recreate();
        }
    } else if (kind_ == WindowKind::ScrollBar && name == "MAX") {
        SetScrollRange(hwnd(), SB_CTL, static_cast<int>(ScrollMin(*this)), static_cast<int>(ScrollMax(*this)), TRUE);
    } else if ((kind_ == WindowKind::Memo && (name == "SCROLLBARS" || name == "WORDWRAP" || name == "WANTRETURNS")) ||
               (kind_ == WindowKind::ListBox && (name == "MULTISELECT" || name == "EXTENDEDSELECT" ||
                                                 name == "COLUMNS" || name == "INTEGRALHEIGHT")) ||
               (kind_ == WindowKind::Label && name == "WORDWRAP")) {
        Recreate();
    } else if ((kind_ == WindowKind::ListBox || kind_ == WindowKind::ComboBox) && name == "SORTED" && items_) {
        // The list itself keeps the order, so that Items[i] is the i-th item shown; a list box keeps duplicates.
        items_->list.SetDuplicates(lang::rtl::Duplicates::Accept);
        items_->list.SetSorted(KeptInt(name, 0) != 0);
        SyncItems();
    } else if (kind_ == WindowKind::Button && !IsSpeedButton() && name == "DEFAULT") {
        SendMessageW(hwnd(), BM_SETSTYLE, KeptInt(name, 0) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    } else if (name == "AUTOSCROLL") {
        UpdateScrollRange();
    } else if (IsSpeedButton() && (name == "DOWN" || name == "GROUPINDEX")) {
        SetDown(KeptInt("DOWN", 0) != 0);
    } else if (kind_ == WindowKind::Label && name == "LAYOUT") {
        Recreate();
    } else if (kind_ == WindowKind::CheckBox && name == "ALLOWGRAYED") {
        SendMessageW(hwnd(), BM_SETSTYLE, KeptInt(name, 0) ? BS_AUTO3STATE : BS_AUTOCHECKBOX, TRUE);
    } else if (kind_ == WindowKind::Form && name == "WINDOWSTATE" && Visible()) {
        const int64_t state = KeptInt(name, 0);
        ShowWindow(hwnd(), state == 1 ? SW_SHOWMINIMIZED : state == 2 ? SW_SHOWMAXIMIZED : SW_RESTORE);
    }
}

void WinScriptWindow::Relayout(int32_t dx, int32_t dy) {
    constexpr uint64_t akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;
    for (WinScriptWindow* child : children_) {
        if (child->KeptInt("ALIGN", 0) != 0 || (dx == 0 && dy == 0)) continue;
        const uint64_t anchors = child->KeptBits("ANCHORS", akLeft | akTop);
        ScriptBounds b = child->Bounds();
        const ScriptBounds was = b;
        if (anchors & akRight) (anchors & akLeft ? b.Width : b.Left) += dx;
        if (anchors & akBottom) (anchors & akTop ? b.Height : b.Top) += dy;
        if (b.Left != was.Left || b.Top != was.Top || b.Width != was.Width || b.Height != was.Height) child->SetBounds(b);
    }
    RECT area;
    GetClientRect(hwnd(), &area);
    for (int64_t align = 1; align <= 5; ++align)
        for (WinScriptWindow* child : children_) {
            if (child->KeptInt("ALIGN", 0) != align) continue;
            ScriptBounds b = child->Bounds();
            const int32_t width = area.right - area.left, height = area.bottom - area.top;
            switch (align) {
                case 1: b = {area.left, area.top, width, b.Height}; area.top += b.Height; break;
                case 2: b = {area.left, area.bottom - b.Height, width, b.Height}; area.bottom -= b.Height; break;
                case 3: b = {area.left, area.top, b.Width, height}; area.left += b.Width; break;
                case 4: b = {area.right - b.Width, area.top, b.Width, height}; area.right -= b.Width; break;
                default: b = {area.left, area.top, std::max(width, 0), std::max(height, 0)}; break;
            }
            child->SetBounds(b);
        }
}

// The hint over this control, shown by its form's tool tips while its ShowHint (or, never set, its form's) is True.
void WinScriptWindow::UpdateHint() {
    WinScriptWindow* form = kind_ == WindowKind::Form ? this : ParentForm();
    if (!form || form == this) return;
    if (!form->tips_) {
        form->tips_ = std::make_unique<ui::ToolTips>();
        form->tips_->Create(form->hwnd());
    }
    form->tips_->Remove(*ui_);
    hint_ = ui::AnsiToWide(KeptText("HINT"));
    const bool show = KeptSetting(*this, "SHOWHINT") ? KeptInt("SHOWHINT", 0) != 0 : form->KeptInt("SHOWHINT", 0) != 0;
    if (show && !hint_.empty()) form->tips_->Add(*ui_, hint_.c_str());
}

void WinScriptWindow::DrawBevels(HDC dc, RECT r) const {
    const std::string& cls = hostClass() ? hostClass()->name() : std::string();
    if (cls == "TBevel") {
        const bool raised = KeptInt("STYLE", 0) == 1;
        const UINT edge = raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER;
        switch (KeptInt("SHAPE", 0)) {  // bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer
            case 0: DrawEdge(dc, &r, edge, BF_RECT); break;
            case 1: DrawEdge(dc, &r, raised ? EDGE_BUMP : EDGE_ETCHED, BF_RECT); break;
            case 2: r.bottom = r.top + 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP); break;
            case 3: r.top = r.bottom - 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_BOTTOM); break;
            case 4: r.right = r.left + 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT); break;
            case 5: r.left = r.right - 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_RIGHT); break;
            default: break;
        }
    } else if (kind_ == WindowKind::Panel) {
        // bvNone, bvLowered, bvRaised (a panel's outer bevel unless the script says otherwise), bvSpace
        const int64_t width = std::max<int64_t>(KeptInt("BEVELWIDTH", 1), 1);
        for (const auto& [setting, fallback] : {std::pair<const char*, int64_t>{"BEVELOUTER", 2}, {"BEVELINNER", 0}}) {
            const int64_t bevel = KeptInt(setting, fallback);
            if (bevel == 1 || bevel == 2)
                for (int64_t k = 0; k < width; ++k) {
                    DrawEdge(dc, &r, bevel == 1 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
                    InflateRect(&r, -1, -1);
                }
            else if (bevel == 3)
                InflateRect(&r, -static_cast<int>(width), -static_cast<int>(width));
        }
    }
}

HBRUSH WinScriptWindow::OwnBackground() {
    if (color_ == kClDefault) return nullptr;
    if (!ownBrush_) ownBrush_ = CreateSolidBrush(Background());
    return ownBrush_;
}

// OnClose's answer: caNone (0) keeps the form, caHide (1, what it is asked with), caFree (2), caMinimize (3). OnCloseQuery
// is asked first; a CanClose of False keeps the form without asking OnClose.
int32_t WinScriptWindow::AskClose() {
    std::vector<lang::Value> after;
    if (On(ScriptEvent::CloseQuery).Live()) {
        FireScriptEvent(On(ScriptEvent::CloseQuery), {lang::objectValue(this), lang::Value::ofInt(1)},
                        [this](const std::string& e) { factory_.ReportError(e); }, &after);
        if (after.size() == 2 && after[1].tag == lang::Tag::Plain && after[1].i == 0) return 0;
        after.clear();
    }
    FireScriptEvent(On(ScriptEvent::Close), {lang::objectValue(this), lang::Value::ofInt(1)},
                    [this](const std::string& e) { factory_.ReportError(e); }, &after);
    return after.size() == 2 && after[1].tag == lang::Tag::Plain ? static_cast<int32_t>(after[1].i) : 1;
}

char WinScriptWindow::KeyPressed(char key) {
    if (disposed() || !On(ScriptEvent::KeyPress).Live()) return key;
    std::vector<lang::Value> after;
    FireScriptEvent(On(ScriptEvent::KeyPress), {lang::objectValue(this), lang::Value::ofInt(static_cast<uint8_t>(key))},
                    [this](const std::string& e) { factory_.ReportError(e); }, &after);
    return after.size() == 2 && after[1].tag == lang::Tag::Plain ? static_cast<char>(after[1].i) : key;
}

void WinScriptWindow::Close() {
    if (kind_ != WindowKind::Form) return;
    if (modal_) {
        if (modalResult_ == 0) modalResult_ = 2;  // mrCancel; the modal loop asks OnClose
        return;
    }
    switch (AskClose()) {
        case 0: return;
        case 2:
            SetVisible(false);
            dispose();
            return;
        case 3: ShowWindow(hwnd(), SW_MINIMIZE); return;
        default: SetVisible(false); return;
    }
}

void WinScriptWindow::SetMaxLength(int32_t length) {
    maxLength_ = length;
    if (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo) SendMessageW(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void WinScriptWindow::SetReadOnly(bool readOnly) {
    if (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo) SendMessageW(hwnd(), EM_SETREADONLY, readOnly, 0);
}

void WinScriptWindow::SelectAll() {
    if (kind_ == WindowKind::Edit || kind_ == WindowKind::Memo) SendMessageW(hwnd(), EM_SETSEL, 0, -1);
}

void WinScriptWindow::dispose() {
    if (disposed()) return;
    // Its controls go with it, as a form's do in Delphi.
    std::vector<WinScriptWindow*> children = children_;
    for (WinScriptWindow* child : children) child->dispose();
    for (ScriptEventHandler& h : Events) h = {};
    if (picture_) picture_->onChange = nullptr;
    if (modal_ && modalResult_ == 0) modalResult_ = 2;
    ScriptWindow::dispose();
    // The window goes now; the object once the script's references (and the event running) let it go.
    if (IsWindow(hwnd())) DestroyWindow(hwnd());
    factory_.Forget(this);
}

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
