// Scroll boxes, forms and scroll bars of scripts: the range as far as the contents reach, and what the bars'
// lines, pages, thumb and the wheel move.
#include "script/win/WinScriptWindow.h"

#include <algorithm>

namespace pelo::script {

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

}  // namespace pelo::script
