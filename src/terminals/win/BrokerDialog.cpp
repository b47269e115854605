#include "terminals/win/BrokerDialog.h"

#include <shlobj.h>

#include "ui/win/DesignScale.h"
#include "ui/win/MessageBoxAt.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::terminals {
namespace {

// The layout is drawn at 120 dpi and scaled to the screen's.
constexpr int DesignDpi = 120;
constexpr int ClientWidth = 545, ClientHeight = 185;
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int DialogFontHeight = -12, HintFontHeight = -13;

// The form releases its window after the click that closed it has been handled.
constexpr UINT WM_RELEASE_WINDOW = WM_APP + 0x611;

constexpr ui::Rect PanelRect{6, 6, 532, 136};
// Labels are right-aligned against the edits: each takes the width of its text and ends where the longest one
// ends at the design's font, whatever the font on this screen measures.
constexpr int LabelRight = 128;

constexpr const wchar_t* SelectFolderTitle = L"Select MT4 platform installation location";
constexpr const wchar_t* ShortNameHintText = L"Short name will be used for headline diplaying and logging.";
constexpr const wchar_t* TerminalPathHintText = L"Broker MT4 platform installation directory.";
constexpr const wchar_t* WindowTitlePatternHintText =
    L"Enter the broker MT4 terminal window title name, as visible when the terminal is launched. Can be a partial "
    L"name, but it should uniquely identify only a single window (case insensitive).";

// A panel with the raised edge of a form's panel.
class BevelPanel final : public ui::Panel {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg != WM_PAINT)
            return ui::Panel::HandleMessage(msg, wp, lp);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT r;
        GetClientRect(hwnd(), &r);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        EndPaint(hwnd(), &ps);
        return 0;
    }
};

std::wstring ProgramFilesFolder()
{
    wchar_t path[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

}  // namespace

struct TfrmBroker::Controls {
    BevelPanel Panel1;
    ui::Label Label1, Label2, Label3, Label4;
    ui::TabStop<ui::Edit> ebxBrokerName, ebxShortName, ebxTerminalPath, ebxWindowTitlePattern;
    ui::TabStop<ui::Button> btnShortNameHint, btnSelectTerminalPath, btnTerminalPathHint, btnWindowTitlePatternHint;
    ui::TabStop<ui::Button> btnOK, btnCancel;
};

TfrmBroker::TfrmBroker(FolderChooser chooseFolder) : chooseFolder_(std::move(chooseFolder)) {}

TfrmBroker::~TfrmBroker()
{
    // The window goes before the controls' objects and the fonts it still uses.
    if (hwnd())
        DestroyWindow(hwnd());
}

bool TfrmBroker::FormCreate()
{
    const ui::DesignScale scale(DesignDpi);
    RECT r{0, 0, scale(ClientWidth), scale(ClientHeight)};
    AdjustWindowRectEx(&r, DialogStyle, FALSE, DialogExStyle);
    ui::WindowArgs args;
    args.className = L"TfrmBroker";
    args.style = DialogStyle;
    args.exStyle = DialogExStyle;
    args.rect = {0, 0, r.right - r.left, r.bottom - r.top};
    args.parent = options_;
    if (!ui::Window::Create(args))
        return false;

    if (!dialogFont_)
        dialogFont_ = ui::Font(L"Tahoma", scale.FontHeight(DialogFontHeight));
    if (!hintFont_)
        hintFont_ = ui::Font(L"Tahoma", scale.FontHeight(HintFontHeight));
    SetFont(dialogFont_);

    // Made afresh with the window: nothing of a former showing is left in them.
    c_ = std::make_unique<Controls>();
    Controls& c = *c_;
    c.Panel1.Create({.parent = hwnd(), .notify = hwnd(), .rect = scale(PanelRect), .color = GetSysColor(COLOR_BTNFACE)});
    // Tab and Shift+Tab reach into the panel.
    SetWindowLongPtrW(c.Panel1.hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(c.Panel1.hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    const HWND panel = c.Panel1.hwnd();

    auto label = [&](ui::Label& l, int /*designLeft*/, int top, const wchar_t* text) {
        l.Create({.parent = panel, .rect = {0, scale(top), 0, 0}, .text = text, .font = dialogFont_});
        ui::Rect place = l.RectInParent();
        place.Left = scale(LabelRight) - place.Width;
        l.Move(place);
    };
    auto edit = [&](ui::TabStop<ui::Edit>& e, ui::Rect rect) {
        e.Create({.parent = panel, .rect = scale(rect), .font = dialogFont_, .exStyle = WS_EX_CLIENTEDGE});
        e.tabRoot = hwnd();
    };
    auto button = [&](ui::TabStop<ui::Button>& b, HWND parent, ui::Rect rect, const wchar_t* text, HFONT font) {
        b.Create({.parent = parent, .rect = scale(rect), .text = text, .font = font});
        b.tabRoot = hwnd();
    };
    // Made in tab order: the edits and buttons from top to bottom, then OK and Cancel.
    label(c.Label1, 56, 16, L"Broker name:");
    edit(c.ebxBrokerName, {134, 11, 235, 22});
    label(c.Label2, 61, 46, L"Short name:");
    edit(c.ebxShortName, {134, 41, 82, 22});
    button(c.btnShortNameHint, panel, {223, 41, 25, 23}, L"?", hintFont_);
    label(c.Label3, 13, 75, L"Path to terminal.exe:");
    edit(c.ebxTerminalPath, {134, 71, 275, 22});
    button(c.btnSelectTerminalPath, panel, {416, 71, 75, 23}, L"Select...", dialogFont_);
    button(c.btnTerminalPathHint, panel, {497, 71, 25, 23}, L"?", dialogFont_);
    label(c.Label4, 10, 105, L"Window title pattern:");
    edit(c.ebxWindowTitlePattern, {134, 101, 275, 22});
    button(c.btnWindowTitlePatternHint, panel, {416, 101, 25, 23}, L"?", dialogFont_);
    button(c.btnOK, hwnd(), {358, 151, 86, 27}, L"OK", dialogFont_);
    button(c.btnCancel, hwnd(), {452, 151, 85, 27}, L"Cancel", dialogFont_);

    c.btnShortNameHint.onClick = [this] { btnShortNameHintClick(); };
    c.btnSelectTerminalPath.onClick = [this] { btnSelectTerminalPathClick(); };
    c.btnTerminalPathHint.onClick = [this] { btnTerminalPathHintClick(); };
    c.btnWindowTitlePatternHint.onClick = [this] { btnWindowTitlePatternHintClick(); };
    c.btnOK.onClick = [this] { btnOKClick(); };
    c.btnCancel.onClick = [this] { btnCancelClick(); };
    return true;
}

bool TfrmBroker::IsOpen()
{
    return hwnd() && IsWindowVisible(hwnd());
}

void TfrmBroker::ShowForAdd()
{
    ShowWithFields(AddingTerminal, AddTerminalCaption, TMT4TermInfo{});
}

void TfrmBroker::ShowForEdit(int index, const TMT4TermInfo& terminal)
{
    ShowWithFields(index, EditTerminalCaption, terminal);
}

void TfrmBroker::ShowWithFields(int mode, std::string_view caption, const TMT4TermInfo& fields)
{
    if (!hwnd() && !FormCreate())
        return;
    // Centred on the options dialog (on the screen when there is none).
    const RECT own = WindowRect(hwnd());
    const int width = own.right - own.left, height = own.bottom - own.top;
    RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (options_ && IsWindow(options_))
        over = WindowRect(options_);
    const int left = over.left + (over.right - over.left) / 2 - width / 2;
    const int top = over.top + (over.bottom - over.top) / 2 - height / 2;
    SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    mode_ = mode;
    SetTextA(caption);
    Controls& c = *c_;
    c.ebxBrokerName.SetTextA(fields.FullName);
    c.ebxShortName.SetTextA(fields.ShortName);
    c.ebxTerminalPath.SetTextA(fields.Path);
    c.ebxWindowTitlePattern.SetTextA(fields.WindowPattern);

    disabled_.Disable(hwnd());
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    ui::FocusTabStop(c.ebxBrokerName.hwnd());
}

TMT4TermInfo TfrmBroker::TypedFields() const
{
    return {c_->ebxBrokerName.TextA(), c_->ebxShortName.TextA(), c_->ebxTerminalPath.TextA(),
            c_->ebxWindowTitlePattern.TextA()};
}

void TfrmBroker::btnOKClick()
{
    if (!IsOpen())
        return;
    const TMT4TermInfo typed = TypedFields();
    if (const std::optional<std::string_view> error = CheckTerminalFields(typed)) {
        // The complaint opens beside the middle of the dialog, not in the middle of the screen.
        const RECT r = WindowRect(hwnd());
        const POINT at{r.left + (r.right - r.left) / 2 - 120, r.top + (r.bottom - r.top) / 2 - 50};
        ui::ShowErrorBoxAt(ui::AnsiToWide(*error), at, hwnd());
        return;
    }
    if (onAccept)
        onAccept(mode_, AcceptedTerminal(typed));
    FormClose();
}

void TfrmBroker::FormClose()
{
    if (!hwnd())
        return;
    // The windows come back first, so that the activation goes back to the options dialog.
    disabled_.Restore();
    ShowWindow(hwnd(), SW_HIDE);
    PostMessageW(hwnd(), WM_RELEASE_WINDOW, 0, 0);
}

void TfrmBroker::btnSelectTerminalPathClick()
{
    std::wstring folder = ProgramFilesFolder();
    if (chooseFolder_ && chooseFolder_(SelectFolderTitle, folder, hwnd()))
        c_->ebxTerminalPath.SetText(folder);
}

void TfrmBroker::btnShortNameHintClick() { ui::ShowInfoBox(ShortNameHintText); }
void TfrmBroker::btnTerminalPathHintClick() { ui::ShowInfoBox(TerminalPathHintText); }
void TfrmBroker::btnWindowTitlePatternHintClick() { ui::ShowInfoBox(WindowTitlePatternHintText); }

LRESULT TfrmBroker::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY: {
        LRESULT result = 0;
        ReflectToChild(msg, wp, lp, result);
        return result;
    }
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_RELEASE_WINDOW:
        // Unless a new showing came first.
        if (!IsWindowVisible(hwnd()))
            DestroyWindow(hwnd());
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::terminals
