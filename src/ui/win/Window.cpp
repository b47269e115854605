#include "ui/win/Window.h"

#include <commctrl.h>

#include <vector>

namespace pelo::ui {
namespace {

// Not in every MinGW import library, so looked up where the other subclass functions come from.
using GetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);

GetWindowSubclassFn LookUpGetWindowSubclass()
{
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl)
        return nullptr;
    FARPROC f = GetProcAddress(comctl, "GetWindowSubclass");
    if (!f)
        f = GetProcAddress(comctl, MAKEINTRESOURCEA(411));  // exported by number only before version 6
    return reinterpret_cast<GetWindowSubclassFn>(reinterpret_cast<void*>(f));
}

}  // namespace

Window::~Window()
{
    // Off the window first: its last messages must not reach a half-destroyed object.
    HWND hwnd = hwnd_;
    Detach();
    if (owned_ && hwnd && IsWindow(hwnd))
        DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd)
{
    static const GetWindowSubclassFn getWindowSubclass = LookUpGetWindowSubclass();
    DWORD_PTR data = 0;
    if (hwnd && getWindowSubclass && getWindowSubclass(hwnd, &Window::SubclassProc, 0, &data))
        return reinterpret_cast<Window*>(data);
    return nullptr;
}

bool Window::Create(const WindowArgs& args)
{
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(inst, args.className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = args.classStyle;
        wc.lpfnWndProc = &Window::ClassProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = args.className;
        wc.hIcon = args.icon;
        wc.hIconSm = args.icon;
        if (!RegisterClassExW(&wc))
            return false;
    }
    owned_ = true;
    HWND hwnd = CreateWindowExW(args.exStyle, args.className, args.title.c_str(), args.style, args.rect.Left,
                                args.rect.Top, args.rect.Width, args.rect.Height, args.parent, nullptr, inst, this);
    if (!hwnd)
        owned_ = false;
    return hwnd != nullptr;
}

void Window::Attach(HWND hwnd)
{
    Detach();
    if (hwnd && SetWindowSubclass(hwnd, &Window::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        hwnd_ = hwnd;
}

void Window::Detach()
{
    if (!hwnd_)
        return;
    if (IsWindow(hwnd_))
        RemoveWindowSubclass(hwnd_, &Window::SubclassProc, 0);
    hwnd_ = nullptr;
}

LRESULT Window::DefaultHandling(UINT msg, WPARAM wp, LPARAM lp)
{
    return hwnd_ ? DefSubclassProc(hwnd_, msg, wp, lp) : 0;
}

LRESULT CALLBACK Window::ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    // The class procedure only hands the window to its object; from then on the subclass procedure runs first.
    // WM_NCCREATE itself gets the default handling: the object's own messages start with WM_CREATE.
    if (msg == WM_NCCREATE) {
        if (auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams))
            self->Attach(hwnd);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<Window*>(data);
    if (msg == WM_NCDESTROY) {
        const LRESULT r = self->HandleMessage(msg, wp, lp);
        RemoveWindowSubclass(hwnd, &Window::SubclassProc, 0);
        self->hwnd_ = nullptr;
        return r;
    }
    return self->HandleMessage(msg, wp, lp);
}

bool Window::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_COMMAND && lp != 0) {
        Window* child = FromHandle(reinterpret_cast<HWND>(lp));
        result = 0;
        return child && child->OnCommand(HIWORD(wp));
    }
    if (msg == WM_NOTIFY && lp != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        Window* child = FromHandle(header->hwndFrom);
        result = 0;
        return child && child->OnNotify(*header, result);
    }
    return false;
}

std::wstring Window::Text() const
{
    if (!hwnd_)
        return {};
    std::vector<wchar_t> buf(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 2);
    const int got = GetWindowTextW(hwnd_, buf.data(), static_cast<int>(buf.size()));
    return std::wstring(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

std::string Window::TextA() const
{
    if (!hwnd_)
        return {};
    std::vector<char> buf(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 2);
    const int got = GetWindowTextA(hwnd_, buf.data(), static_cast<int>(buf.size()));
    return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void Window::SetText(const std::wstring& text)
{
    if (hwnd_)
        SetWindowTextW(hwnd_, text.c_str());
}

void Window::SetTextA(std::string_view text)
{
    if (hwnd_)
        SetWindowTextA(hwnd_, std::string(text).c_str());
}

void Window::SetEnabled(bool enabled)
{
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

void Window::SetFont(HFONT font)
{
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT Window::Font() const
{
    return hwnd_ ? reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
}

void Window::Move(const Rect& r)
{
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Window::RectInParent() const
{
    RECT r{};
    if (!hwnd_)
        return {};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace pelo::ui
