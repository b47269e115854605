#include "dialogs/win/VisibleWindowsDialog.h"

#include <vector>

#include "dialogs/VisibleWindowsText.h"
#include "ui/win/DesignScale.h"

namespace pelo::dialogs {
namespace {

constexpr int DesignDpi = 120;
constexpr int ClientWidth = 687, ClientHeight = 439;
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME;
constexpr int DialogFontHeight = -12, MemoFontHeight = -13;
constexpr ui::Rect MemoRect{9, 9, 669, 385};
constexpr ui::Rect CloseRect{593, 402, 86, 27};

constexpr UINT WM_RELEASE_WINDOW = WM_APP + 0x612;

// Class name and title as 8-bit text, each read into 255 characters as the list has always shown them.
BOOL CALLBACK CollectWindow(HWND window, LPARAM lp)
{
    char className[255]{};
    char title[255]{};
    const int classLength = GetClassNameA(window, className, 255);
    const int titleLength = GetWindowTextA(window, title, 255);
    auto& windows = *reinterpret_cast<std::vector<TTopLevelWindowText>*>(lp);
    windows.push_back({std::string(title, static_cast<std::size_t>(titleLength > 0 ? titleLength : 0)),
                       std::string(className, static_cast<std::size_t>(classLength > 0 ? classLength : 0)),
                       IsWindowVisible(window) != FALSE});
    return TRUE;
}

}  // namespace

struct TfrmVisibleWindows::Controls {
    ui::TabStop<ui::Edit> Memo1;
    ui::TabStop<ui::Button> btnClose;
};

TfrmVisibleWindows::TfrmVisibleWindows() = default;

TfrmVisibleWindows::~TfrmVisibleWindows()
{
    if (hwnd())
        DestroyWindow(hwnd());
}

bool TfrmVisibleWindows::FormCreate(HWND owner)
{
    const ui::DesignScale scale(DesignDpi);
    RECT r{0, 0, scale(ClientWidth), scale(ClientHeight)};
    AdjustWindowRectEx(&r, DialogStyle, FALSE, DialogExStyle);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ui::WindowArgs args;
    args.className = L"TfrmVisibleWindows";
    args.title = L"Visible windows";
    args.style = DialogStyle;
    args.exStyle = DialogExStyle;
    args.rect = {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                 height};
    args.parent = owner;
    if (!ui::Window::Create(args))
        return false;
    if (!dialogFont_)
        dialogFont_ = ui::Font(L"Tahoma", scale.FontHeight(DialogFontHeight));
    if (!memoFont_)
        memoFont_ = ui::Font(L"Tahoma", scale.FontHeight(MemoFontHeight));
    SetFont(dialogFont_);

    c_ = std::make_unique<Controls>();
    c_->Memo1.Create({.parent = hwnd(),
                      .rect = scale(MemoRect),
                      .font = memoFont_,
                      .style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                      .exStyle = WS_EX_CLIENTEDGE});
    c_->Memo1.tabRoot = hwnd();
    // However long the list, it is shown whole.
    SendMessageW(c_->Memo1.hwnd(), EM_SETLIMITTEXT, 0, 0);
    c_->btnClose.Create({.parent = hwnd(), .rect = scale(CloseRect), .text = L"Close", .font = dialogFont_});
    c_->btnClose.tabRoot = hwnd();
    c_->btnClose.onClick = [this] { btnCloseClick(); };
    return true;
}

void TfrmVisibleWindows::ShowVisibleWindows(HWND owner)
{
    if (!hwnd() && !FormCreate(owner))
        return;
    c_->Memo1.SetText(L"");
    std::vector<TTopLevelWindowText> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    c_->Memo1.SetTextA(VisibleWindowsText(windows));

    disabled_.Disable(hwnd());
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(c_->btnClose.hwnd());
}

void TfrmVisibleWindows::FormClose()
{
    if (!hwnd())
        return;
    disabled_.Restore();
    ShowWindow(hwnd(), SW_HIDE);
    PostMessageW(hwnd(), WM_RELEASE_WINDOW, 0, 0);
}

LRESULT TfrmVisibleWindows::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY: {
        LRESULT result = 0;
        ReflectToChild(msg, wp, lp, result);
        return result;
    }
    case WM_CTLCOLORSTATIC:
        // The read-only memo keeps the window colour of a text field.
        if (c_ && reinterpret_cast<HWND>(lp) == c_->Memo1.hwnd()) {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
            SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        return DefaultHandling(msg, wp, lp);
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_RELEASE_WINDOW:
        if (!IsWindowVisible(hwnd()))
            DestroyWindow(hwnd());
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::dialogs
