// Settings of a script's control that the system fixes when the window is made (a memo's bars, a list's
// selection mode, alignment): the control is made anew with its state, and the settings that move or size things.
#include "script/win/WinScriptWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win/Font.h"

namespace pelo::script {

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

}  // namespace pelo::script
