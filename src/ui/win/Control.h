#pragma once
// The system's controls as typed objects. Each is made from a CreateArgs, answers its state from the control
// itself, and reports its notifications through callback members; the window that holds it needs no case for it.
//
//   ui::Button ok;
//   ok.Create({.parent = panel.hwnd(), .rect = {10, 10, 75, 23}, .text = L"OK", .font = font});
//   ok.onClick = [this] { Confirm(); };
#include <windows.h>

#include <functional>
#include <string>

#include "ui/win/Window.h"

namespace pelo::ui {

struct CreateArgs {
    HWND parent = nullptr;
    int id = 0;  // the control's identifier, for the dialog manager and for tests that look it up
    Rect rect;
    std::wstring text;
    HFONT font = nullptr;
    DWORD style = 0;    // added to the control's own style (WS_CHILD and WS_VISIBLE are always there)
    DWORD exStyle = 0;
};

class Control : public Window {
public:
    bool Create(const CreateArgs& args);

protected:
    Control(const wchar_t* systemClass, DWORD ownStyle) : systemClass_(systemClass), ownStyle_(ownStyle) {}
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageW(hwnd(), msg, wp, lp); }
    static void Run(const std::function<void()>& f)
    {
        if (f)
            f();
    }

private:
    const wchar_t* systemClass_;
    DWORD ownStyle_;
};

class Button : public Control {
public:
    Button() : Control(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON) {}
    std::function<void()> onClick;

protected:
    Button(DWORD ownStyle) : Control(L"BUTTON", ownStyle) {}
    bool OnCommand(int code) override;
};

class CheckBox : public Button {
public:
    CheckBox() : Button(WS_TABSTOP | BS_AUTOCHECKBOX) {}
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    // Changes the mark only; onClick runs for the user's clicks.
    void SetChecked(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

protected:
    CheckBox(DWORD ownStyle) : Button(ownStyle) {}
};

class RadioButton : public CheckBox {
public:
    RadioButton() : CheckBox(WS_TABSTOP | BS_AUTORADIOBUTTON) {}
};

// A small button showing an arrow instead of a caption ("Move up", "Move down").
class ArrowButton : public Button {
public:
    explicit ArrowButton(bool up) : Button(WS_TABSTOP | BS_OWNERDRAW), up_(up) {}

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool up_;
};

// A frame with a caption around other controls (which are the frame's siblings, not its children).
class GroupBox : public Control {
public:
    GroupBox() : Control(L"BUTTON", BS_GROUPBOX) {}
};

// A static text. With autoSize, it takes the size of its text in its font whenever the text is set.
class Label : public Control {
public:
    Label() : Control(L"STATIC", SS_LEFT | SS_NOPREFIX) {}
    bool autoSize = true;
    std::function<void()> onClick;  // needs SS_NOTIFY in the style

    bool Create(const CreateArgs& args);
    void SetText(const std::wstring& text);
    void FitToText();

protected:
    bool OnCommand(int code) override;
};

class Edit : public Control {
public:
    Edit() : Control(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL) {}
    std::function<void()> onChange;

protected:
    explicit Edit(DWORD ownStyle) : Control(L"EDIT", ownStyle) {}
    bool OnCommand(int code) override;
};

class ComboBox : public Control {
public:
    ComboBox() : Control(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST) {}
    std::function<void()> onSelect;

    // A drop-down list's window height includes the open list: room for `rows` entries below the closed part.
    void SetDropDownRows(int closedHeight, int rows);
    void Clear() { Send(CB_RESETCONTENT); }
    void AddItemA(const std::string& text);
    void DeleteItem(int index) { Send(CB_DELETESTRING, static_cast<WPARAM>(index)); }
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    std::string ItemTextA(int index) const;
    int Selected() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void Select(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

protected:
    bool OnCommand(int code) override;
};

// A scroll bar of its own (SBS_HORZ or SBS_VERT in the style); its scrolling reaches its parent as
// WM_HSCROLL or WM_VSCROLL with its handle.
class ScrollBar : public Control {
public:
    ScrollBar() : Control(L"SCROLLBAR", WS_TABSTOP) {}
};

class ListBox : public Control {
public:
    ListBox() : Control(L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY) {}
    std::function<void()> onSelect, onDoubleClick, onFocus, onBlur;

    int Selected() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    void Select(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    bool HasFocus() const { return GetFocus() == hwnd(); }

protected:
    bool OnCommand(int code) override;
};

class ListView : public Control {
public:
    ListView();
    std::function<void()> onSelect, onDoubleClick;

    int Count() const;
    int Selected() const;

protected:
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
};

class TabControl : public Control {
public:
    TabControl();
    std::function<void()> onSelect;

    void AddTab(const std::wstring& caption);
    int Selected() const;
    void Select(int index);

protected:
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
};

}  // namespace pelo::ui
