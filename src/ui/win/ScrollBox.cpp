#include "ui/win/ScrollBox.h"

#include <algorithm>

namespace pelo::ui {

bool ScrollBox::Create(const Args& args) {
    Args a = args;
    a.extraStyle |= WS_HSCROLL;
    if (!Panel::Create(a)) return false;
    UpdateRange();
    return true;
}

int ScrollBox::ContentWidth() const {
    int right = 0;
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        right = std::max(right, static_cast<int>(r.right) + position_);
    }
    return right;
}

int ScrollBox::MaxPosition() const {
    RECT client;
    GetClientRect(hwnd(), &client);
    return std::max(0, ContentWidth() - static_cast<int>(client.right));
}

void ScrollBox::UpdateRange() {
    RECT client;
    GetClientRect(hwnd(), &client);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = std::max(0, ContentWidth() - 1);
    si.nPage = static_cast<UINT>(client.right);
    si.nPos = position_;
    SetScrollInfo(hwnd(), SB_HORZ, &si, TRUE);
    if (position_ > MaxPosition()) ScrollTo(MaxPosition());
}

void ScrollBox::ScrollTo(int position) {
    position = std::clamp(position, 0, MaxPosition());
    const int dx = position_ - position;
    if (dx == 0) return;
    position_ = position;
    // The children move themselves rather than through ScrollWindowEx, so their places stay exact however the
    // system scrolls bits.
    HDWP moves = BeginDeferWindowPos(16);
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        if (moves)
            moves = DeferWindowPos(moves, child, nullptr, r.left + dx, r.top, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    SetScrollPos(hwnd(), SB_HORZ, position_, TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ScrollBox::ScrollToEnd() {
    UpdateRange();
    ScrollTo(MaxPosition());
}

LRESULT ScrollBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_HSCROLL: {
            SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
            GetScrollInfo(hwnd(), SB_HORZ, &si);
            const int page = static_cast<int>(si.nPage);
            switch (LOWORD(wp)) {
                case SB_LINELEFT: ScrollTo(position_ - 8); break;
                case SB_LINERIGHT: ScrollTo(position_ + 8); break;
                case SB_PAGELEFT: ScrollTo(position_ - page); break;
                case SB_PAGERIGHT: ScrollTo(position_ + page); break;
                case SB_LEFT: ScrollTo(0); break;
                case SB_RIGHT: ScrollTo(MaxPosition()); break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: ScrollTo(si.nTrackPos); break;
                default: break;
            }
            return 0;
        }
        case WM_SIZE:
            UpdateRange();
            break;
        default:
            break;
    }
    return Panel::HandleMessage(msg, wp, lp);
}

}  // namespace pelo::ui
