#pragma once
// The one base of every window the program handles itself: its own window classes (the forms, panels) and the
// system's controls it takes over. Both are reached through the same subclass procedure (SetWindowSubclass), so a
// handle of ours always leads back to its object, and a container hands each control's notifications to the
// control itself rather than to one central switch.
#include <windows.h>

#include <string>
#include <string_view>

namespace pelo::ui {

// A place in the parent's client area, in pixels.
struct Rect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A window of one of the program's own classes.
struct WindowArgs {
    const wchar_t* className = nullptr;  // registered once, on first use; other programs may look for it
    std::wstring title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    Rect rect;
    HWND parent = nullptr;
    HICON icon = nullptr;
    UINT classStyle = 0;  // CS_ flags of the class, when this is the first window of it
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // The object behind a handle, when it is one of ours.
    static Window* FromHandle(HWND hwnd);

    std::wstring Text() const;
    std::string TextA() const;  // in the system's 8-bit code page
    void SetText(const std::wstring& text);
    void SetTextA(std::string_view text);
    bool IsEnabled() const { return hwnd_ && IsWindowEnabled(hwnd_) != FALSE; }
    void SetEnabled(bool enabled);
    void SetFont(HFONT font);
    HFONT Font() const;
    void Move(const Rect& rect);
    Rect RectInParent() const;

protected:
    bool Create(const WindowArgs& args);
    // Takes over a window made elsewhere (a system control): this object sees its messages first.
    void Attach(HWND hwnd);
    void Detach();

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultHandling(msg, wp, lp); }
    // What the window would have done without us.
    LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp);

    // A notification of this control that its parent handed back: WM_COMMAND's code or a WM_NOTIFY.
    virtual bool OnCommand(int /*code*/) { return false; }
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // For containers: WM_COMMAND and WM_NOTIFY of a child of ours go to that child. False: not one of ours, or
    // it did not handle it.
    static bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    HWND hwnd_ = nullptr;
    bool owned_ = false;  // made by Create: destroyed with the object
};

}  // namespace pelo::ui
