#include "ui/win/Control.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/win/Controls.h"
#include "ui/win/Panel.h"

namespace pelo::ui {

bool Control::Create(const CreateArgs& a)
{
    HWND hwnd = CreateWindowExW(a.exStyle, systemClass_, a.text.c_str(), WS_CHILD | WS_VISIBLE | ownStyle_ | a.style,
                                a.rect.Left, a.rect.Top, a.rect.Width, a.rect.Height, a.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)), GetModuleHandleW(nullptr),
                                nullptr);
    if (!hwnd)
        return false;
    if (a.font)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(a.font), FALSE);
    Attach(hwnd);
    return true;
}

bool Button::OnCommand(int code)
{
    if (code != BN_CLICKED)
        return false;
    Run(onClick);
    return true;
}

LRESULT ArrowButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_REFLECT_DRAWITEM)
        return Button::HandleMessage(msg, wp, lp);
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    RECT r = item->rcItem;
    UINT state = up_ ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    if (item->itemState & ODS_SELECTED)
        state |= DFCS_PUSHED;
    if (item->itemState & ODS_DISABLED)
        state |= DFCS_INACTIVE;
    DrawFrameControl(item->hDC, &r, DFC_SCROLL, state);
    return TRUE;
}

bool Label::Create(const CreateArgs& args)
{
    if (!Control::Create(args))
        return false;
    if (autoSize)
        FitToText();
    return true;
}

void Label::SetText(const std::wstring& text)
{
    Window::SetText(text);
    if (autoSize)
        FitToText();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Label::FitToText()
{
    const SIZE size = TextExtent(Font(), Text());
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Label::OnCommand(int code)
{
    if (code != STN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

bool Edit::OnCommand(int code)
{
    if (code != EN_CHANGE)
        return false;
    Run(onChange);
    return true;
}

void ComboBox::SetDropDownRows(int closedHeight, int rows)
{
    const int itemHeight = std::max(static_cast<int>(Send(CB_GETITEMHEIGHT)), 1);
    const Rect r = RectInParent();
    SetWindowPos(hwnd(), nullptr, 0, 0, r.Width, closedHeight + rows * itemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::AddItemA(const std::string& text)
{
    SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string ComboBox::ItemTextA(int index) const
{
    const LRESULT n = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR)
        return {};
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    const LRESULT got = SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(buf.data()));
    return got == CB_ERR ? std::string() : std::string(buf.data(), static_cast<size_t>(got));
}

bool ComboBox::OnCommand(int code)
{
    if (code != CBN_SELCHANGE)
        return false;
    Run(onSelect);
    return true;
}

bool ListBox::OnCommand(int code)
{
    switch (code) {
        case LBN_SELCHANGE: Run(onSelect); return true;
        case LBN_DBLCLK: Run(onDoubleClick); return true;
        case LBN_SETFOCUS: Run(onFocus); return true;
        case LBN_KILLFOCUS: Run(onBlur); return true;
        default: return false;
    }
}

ListView::ListView() : Control(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS) {}

int ListView::Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int ListView::Selected() const
{
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ListView::OnNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
            !(change.uOldState & LVIS_SELECTED)) {
            Run(onSelect);
            return true;
        }
        return false;
    }
    if (header.code == NM_DBLCLK) {
        Run(onDoubleClick);
        return true;
    }
    return false;
}

TabControl::TabControl() : Control(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS) {}

void TabControl::AddTab(const std::wstring& caption)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    Send(TCM_INSERTITEMW, static_cast<WPARAM>(Send(TCM_GETITEMCOUNT)), reinterpret_cast<LPARAM>(&item));
}

int TabControl::Selected() const { return static_cast<int>(Send(TCM_GETCURSEL)); }

void TabControl::Select(int index) { Send(TCM_SETCURSEL, static_cast<WPARAM>(index)); }

bool TabControl::OnNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    if (header.code != TCN_SELCHANGE)
        return false;
    Run(onSelect);
    return true;
}

}  // namespace pelo::ui
