#pragma once
// The window behind each script control and form, and the timers: shared by the files that build them, handle
// their input, restyle and scroll them, and the factory that makes them. Internal to the script's windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "script/win/WinScriptCanvas.h"
#include "script/win/WinScriptObjects.h"
#include "script/win/WinScriptWindows.h"
#include "ui/win/Control.h"
#include "ui/win/ToolTips.h"
#include "ui/win/WinText.h"

namespace pelo::script {

inline constexpr int32_t kClDefault = 0x20000000;

// Windows with a canvas the script paints on (in OnPaint, or a shape's own figure).
inline bool IsPainted(WindowKind k) { return k == WindowKind::PaintBox || k == WindowKind::Shape || k == WindowKind::Form; }

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

}  // namespace pelo::script
