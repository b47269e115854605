#include "ui/win/Panel.h"

namespace pelo::ui {

Panel::~Panel() {
    if (brush_) DeleteObject(brush_);
    for (auto& [child, colors] : childColors_)
        if (colors.brush) DeleteObject(colors.brush);
}

bool Panel::Create(const Args& a) {
    notify_ = a.notify;
    color_ = a.color;
    brush_ = CreateSolidBrush(a.color);
    WindowArgs w;
    w.className = L"TPanel";
    w.style = WS_CHILD | WS_VISIBLE | (a.clipChildren ? WS_CLIPCHILDREN : 0) | WS_CLIPSIBLINGS | (a.border ? WS_BORDER : 0) | a.extraStyle;
    w.rect = a.rect;
    w.parent = a.parent;
    return Window::Create(w);
}

void Panel::SetColor(COLORREF color) {
    if (color == color_) return;
    color_ = color;
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    // Children that take the panel's colour as their background repaint with it.
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        InvalidateRect(child, nullptr, TRUE);
}

void Panel::ForgetChildColors(const Window& control) {
    auto it = childColors_.find(control.hwnd());
    if (it == childColors_.end()) return;
    if (it->second.brush) DeleteObject(it->second.brush);
    childColors_.erase(it);
    InvalidateRect(control.hwnd(), nullptr, TRUE);
}

void Panel::SetChildColors(const Window& control, COLORREF text) {
    HWND child = control.hwnd();
    auto& c = childColors_[child];
    if (c.brush) DeleteObject(c.brush);
    c = ChildColors{text, false, 0, nullptr};
    InvalidateRect(child, nullptr, TRUE);
}

void Panel::SetChildColors(const Window& control, COLORREF text, COLORREF background) {
    HWND child = control.hwnd();
    auto& c = childColors_[child];
    if (c.brush) DeleteObject(c.brush);
    c = ChildColors{text, true, background, CreateSolidBrush(background)};
    InvalidateRect(child, nullptr, TRUE);
}

HBRUSH Panel::BrushFor(HWND child, HDC dc) {
    auto it = childColors_.find(child);
    if (it == childColors_.end()) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, color_);
        return brush_;
    }
    SetTextColor(dc, it->second.text);
    SetBkColor(dc, it->second.ownBackground ? it->second.background : color_);
    return it->second.ownBackground ? it->second.brush : brush_;
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, brush_);
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(BrushFor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
        case WM_CTLCOLOREDIT:
            // An edit keeps the system's colours unless it was given its own.
            if (childColors_.count(reinterpret_cast<HWND>(lp)))
                return reinterpret_cast<LRESULT>(BrushFor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
            break;
        case WM_LBUTTONUP:
            if (onClick) onClick();
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (ReflectToChild(msg, wp, lp, result)) return result;
            if (notify_) return SendMessageW(notify_, msg, wp, lp);
            break;
        }
        case WM_CONTEXTMENU:
            if (notify_) return SendMessageW(notify_, msg, wp, lp);
            break;
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (dis->CtlType != ODT_MENU) return SendMessageW(dis->hwndItem, WM_REFLECT_DRAWITEM, wp, lp);
            break;
        }
        case WM_MEASUREITEM: {
            HWND item = GetDlgItem(hwnd(), static_cast<int>(wp));
            if (item) return SendMessageW(item, WM_REFLECT_MEASUREITEM, wp, lp);
            break;
        }
        case WM_SIZE:
            if (onResize) onResize();
            return 0;
        default:
            break;
    }
    return DefaultHandling(msg, wp, lp);
}

}  // namespace pelo::ui
