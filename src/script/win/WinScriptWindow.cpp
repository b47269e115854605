// A script control's window: making it, painting it, and the properties that ask or set it directly.
#include "script/win/WinScriptWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "script/win/WinScriptBitmap.h"
#include "ui/win/Font.h"

namespace pelo::script {

namespace {

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

}  // namespace pelo::script
