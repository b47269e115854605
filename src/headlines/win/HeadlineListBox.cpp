#include "headlines/win/HeadlineListBox.h"

#include <cstring>

#include "ui/win/Panel.h"
#include "ui/win/WinText.h"

namespace pelo::headlines {

THeadlineListBox::THeadlineListBox(THeadlineBox& box) : box_(box) {}

THeadlineListBox::~THeadlineListBox() {
    box_.SetView(nullptr);
    if (font_) DeleteObject(font_);
}

HWND THeadlineListBox::Create(HWND parent, int id, int x, int y, int w, int h) {
    // LBS_NODATA: the control keeps a row count and nothing else; LBS_NOTIFY reports focus changes (the
    // "Copy selected" item follows the focus).
    ui::CreateArgs args;
    args.parent = parent;
    args.id = id;
    args.rect = {x, y, w, h};
    args.style = LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOINTEGRALHEIGHT;
    args.exStyle = WS_EX_CLIENTEDGE;
    if (!ui::ListBox::Create(args)) return nullptr;
    HWND lb = hwnd();
    doubleBuffered_ = !ui::IsRemoteSession();
    box_.SetView(this);
    SetRowCount(box_.Capacity());
    return lb;
}

void THeadlineListBox::ApplyFont(const ui::FontSpec& spec, std::uint32_t color) {
    HFONT font = ui::CreatePixelFont(spec);
    if (!font) return;
    if (font_) DeleteObject(font_);
    font_ = font;
    color_ = color;
    itemHeight_ = static_cast<int>(ui::TextExtent(font_, L"0").cy) + 1;
    if (hwnd()) {
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, itemHeight_);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
}

void THeadlineListBox::BeginUpdate() {
    if (hwnd()) SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
}

void THeadlineListBox::EndUpdate() {
    if (!hwnd()) return;
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

void THeadlineListBox::SetRowCount(int rows) {
    if (hwnd()) SendMessageW(hwnd(), LB_SETCOUNT, static_cast<WPARAM>(rows), 0);
}

int THeadlineListBox::SelectedRow() const {
    if (!hwnd()) return -1;
    return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
}

bool THeadlineListBox::CopySelectedToClipboard(HWND owner) {
    const int row = SelectedRow();
    if (row < 0) return false;
    const std::string& text = box_.RowText(row);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!mem) return false;
    std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    if (!OpenClipboard(owner)) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    // Headlines are 8-bit text of the system code page: CF_TEXT, which the system converts for wide readers.
    if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    CloseClipboard();
    return true;
}

void THeadlineListBox::DrawRow(HDC dc, int row, const RECT& rect, bool selected) const {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    SetBkColor(dc, background);
    // No highlight: a selected row looks like the others except for the focus rectangle.
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    if (row >= 0) {
        HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, ui::ResolveColor(color_));
        SetBkMode(dc, TRANSPARENT);
        const std::string& text = box_.RowText(row);
        ExtTextOutA(dc, rect.left + 2, rect.top, ETO_CLIPPED, &rect, text.data(), static_cast<UINT>(text.size()),
                    nullptr);
        SelectObject(dc, oldFont);
    }
    if (selected && GetFocus() == hwnd()) DrawFocusRect(dc, &rect);
}

void THeadlineListBox::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    HDC target = dc;
    HDC memDc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    if (doubleBuffered_ && width > 0 && height > 0) {
        memDc = CreateCompatibleDC(dc);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        oldBitmap = SelectObject(memDc, bitmap);
        target = memDc;
    }
    const int top = static_cast<int>(SendMessageW(hwnd(), LB_GETTOPINDEX, 0, 0));
    const int count = static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
    const int selected = SelectedRow();
    int y = 0;
    for (int row = top; row < count && y < height; ++row, y += itemHeight_) {
        const RECT r{0, y, width, y + itemHeight_};
        DrawRow(target, row, r, row == selected);
    }
    if (y < height) {
        const RECT rest{0, y, width, height};
        SetBkColor(target, GetSysColor(COLOR_WINDOW));
        ExtTextOutW(target, 0, 0, ETO_OPAQUE, &rest, nullptr, 0, nullptr);
    }
    if (memDc) {
        BitBlt(dc, 0, 0, width, height, memDc, 0, 0, SRCCOPY);
        SelectObject(memDc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memDc);
    }
    EndPaint(hwnd(), &ps);
    ++paintCount_;
}

void THeadlineListBox::ResetScrollBar() {
    // Setting the scroll bar again, with redraw, shows the position reached while redrawing was off.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(hwnd(), SB_VERT, &si)) return;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
}

void THeadlineListBox::ScrollTwoRows(bool up) {
    const WPARAM code = up ? SB_LINEUP : SB_LINEDOWN;
    SendMessageW(hwnd(), WM_VSCROLL, code, 0);
    SendMessageW(hwnd(), WM_VSCROLL, code, 0);
}

LRESULT THeadlineListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return Dispatch(msg, wp, lp);
    } catch (...) {
        if (onException) onException();
        return 0;
    }
}

LRESULT THeadlineListBox::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case ui::WM_REFLECT_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            DrawRow(dis->hDC, static_cast<int>(dis->itemID), dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
            return TRUE;
        }
        case ui::WM_REFLECT_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            mis->itemHeight = static_cast<UINT>(itemHeight_);
            return TRUE;
        }
        case WM_ERASEBKGND:
            return 1;  // opaque: every pixel is painted by WM_PAINT
        case WM_PAINT:
            Paint();
            return 0;
        case WM_VSCROLL: {
            const bool ownUpdate = !box_.UpdatePending();
            LRESULT result = 0;
            box_.RunScroll([&] { result = DefaultHandling(msg, wp, lp); });
            if (ownUpdate) ResetScrollBar();
            return result;
        }
        case WM_MOUSEWHEEL: {
            const bool up = static_cast<short>(HIWORD(wp)) > 0;
            box_.RunWheelScroll([&] { ScrollTwoRows(up); });
            ResetScrollBar();
            return 1;
        }
        case LB_GETTEXTLEN: {
            const int row = static_cast<int>(wp);
            if (row < 0 || row >= box_.Capacity()) return LB_ERR;
            return static_cast<LRESULT>(ui::AnsiToWide(box_.RowText(row)).size());
        }
        case LB_GETTEXT: {
            // The standard item query answers from the ring, like the drawing does.
            const int row = static_cast<int>(wp);
            if (row < 0 || row >= box_.Capacity() || lp == 0) return LB_ERR;
            const std::wstring text = ui::AnsiToWide(box_.RowText(row));
            std::memcpy(reinterpret_cast<wchar_t*>(lp), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            return static_cast<LRESULT>(text.size());
        }
        default:
            return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::headlines
