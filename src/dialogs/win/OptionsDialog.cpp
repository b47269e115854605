#include "dialogs/win/OptionsDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "terminals/TerminalRules.h"
#include "terminals/win/TerminalControl.h"
#include "ui/win/Controls.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/TabKeys.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/WinText.h"

namespace pelo::dialogs {
namespace {

// The dialog is laid out at 120 dpi and scaled to the screen.
constexpr int DesignDpi = 120;
constexpr int ClientWidth = 646, ClientHeight = 497;
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF InvalidColor = RGB(255, 0, 0);

enum Page { NewsSources, Clicker, Misc, PageCount };

// Visual themes are looked up at run time: uxtheme.dll is not on every system.
bool IsAppThemedNow() {
    HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
    if (!uxtheme) uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme) return false;
    using IsAppThemedFn = BOOL(WINAPI*)();
    const auto isThemed = reinterpret_cast<IsAppThemedFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsAppThemed")));
    return isThemed && isThemed();
}

}  // namespace

struct TfrmOptions::Controls {
    ui::TabControl PageControl1;
    std::array<ui::Panel, PageCount> Pages;
    ui::TabStop<ui::Button> btnHelp, btnAbout, btnOK, btnCancel, btnApply;
    // News Sources
    ui::Label Label3, Label13;
    ui::TabStop<ui::ListBox> ListBox3;
    ui::ArrowButton SpeedButton1{true}, SpeedButton2{false};
    ui::TabStop<ui::Button> btnAddBroker, btnRemoveBroker, btnEditBroker;
    ui::GroupBox GroupBox2, GroupBox5;
    ui::TabStop<ui::Button> btnLaunchSelected, btnLaunchAll, btnHideSelected, btnHideAll, btnShowSelected, btnShowAll,
        btnCloseSelected, btnCloseAll;
    ui::TabStop<ui::CheckBox> cbxAllowUsingDLL, cbxUseConsoleApp, cbxShowConsole, cbxUseTCPClient;
    ui::Label lblConsoleAppPath, lblTCPHost, lblTCPPort, lblTCPPassword;
    ui::TabStop<ui::Edit> ebxConsoleAppPath, ebxTCPHost, ebxTCPPort, ebxTCPPassword;
    ui::TabStop<ui::Button> btnConsoleAppPath;
    // Clicker
    ui::GroupBox GroupBox1, GroupBox4, GroupBox3;
    ui::TabStop<ui::RadioButton> rbtManualDiscovery, rbtCustomDiscovery;
    ui::TabStop<ui::Button> btnTestBuy, btnTestSell, btnTestStrongBuy, btnTestStrongSell, btnShowVisibleWindows;
    ui::TabStop<ui::CheckBox> cbxTestWithClicking, cbxExactMatch, cbxBSInSameWindow;
    ui::Label Label5, Label6, Label7, Label9, Label10, Label11, Label12;
    ui::TabStop<ui::Edit> ebxTitlePattern, ebxClassName, ebxCustomX, ebxCustomY, ebxCustomX2, ebxCustomY2;
    // Misc Options
    ui::TabStop<ui::CheckBox> cbxDisplayHeadlines, cbxDisableFontSmoothing, cbxNoDuplicateH, cbxLogHeadlines, cbxAltTimeFormat,
        cbxAutoAttach, cbxWelcomeMsg, cbxMinimizeToSysTray, cbxStayOnTop;
    ui::Label Label1, Label4, Label8, Label2, Label17, Label18, Label19, Label20;
    ui::TabStop<ui::Edit> ebxHeadlineCapacity, ebxDupCacheSize, ebxHistMT4HBuffer;
    ui::TabStop<ui::Button> btnHBoxFontSelect;
};

TfrmOptions::TfrmOptions(AppSettings& settings, terminals::TTerminalList& terminals, clicker::TOrderExecution& orders,
                         OptionsHost host)
    : settings_(settings), terminals_(terminals), orders_(orders), host_(std::move(host)),
      c_(std::make_unique<Controls>()) {}

TfrmOptions::~TfrmOptions() = default;

bool TfrmOptions::Create() {
    dpi_ = ui::ScreenDpi();
    const auto s = [this](int v) { return MulDiv(v, dpi_, DesignDpi); };
    RECT r{0, 0, s(ClientWidth), s(ClientHeight)};
    AdjustWindowRectEx(&r, DialogStyle, FALSE, WS_EX_DLGMODALFRAME);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ui::WindowArgs args;
    args.className = L"TfrmOptions";
    args.title = L"Options";
    args.style = DialogStyle;
    args.exStyle = WS_EX_DLGMODALFRAME;
    args.rect = {(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h};
    args.parent = host_.Owner;
    if (!ui::Window::Create(args)) return false;
    FormCreate();
    return true;
}

void TfrmOptions::FormCreate() {
    const auto s = [this](int v) { return MulDiv(v, dpi_, DesignDpi); };
    font_ = ui::Font(L"Tahoma", s(-12));
    SetFont(font_);
    Controls& c = *c_;
    c.PageControl1.Create({.parent = hwnd(), .rect = {s(1), 0, s(646), s(449)}, .font = font_});
    for (const wchar_t* caption : {L"News Sources", L"Clicker", L"Misc Options"}) c.PageControl1.AddTab(caption);
    RECT display{0, 0, s(646), s(449)};
    TabCtrl_AdjustRect(c.PageControl1.hwnd(), FALSE, &display);
    for (auto& page : c.Pages) {
        page.Create({.parent = hwnd(), .notify = hwnd(),
                     .rect = {s(1) + display.left, display.top, display.right - display.left, display.bottom - display.top},
                     .color = GetSysColor(COLOR_BTNFACE), .clipChildren = false});
        ShowWindow(page.hwnd(), SW_HIDE);
    }
    // The pages lie over the tab control's display area.
    SetWindowPos(c.PageControl1.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    c.PageControl1.onSelect = [this] { ShowPage(c_->PageControl1.Selected()); };
    CreateNewsSourcesTab(c.Pages[NewsSources]);
    CreateClickerTab(c.Pages[Clicker]);
    CreateMiscTab(c.Pages[Misc]);

    const HWND self = hwnd();
    const auto button = [&](ui::Button& b, int left, int width, const wchar_t* text) {
        b.Create({.parent = self, .rect = {s(left), s(459), s(width), s(27)}, .text = text, .font = font_});
    };
    button(c.btnHelp, 25, 86, L"Help");
    button(c.btnAbout, 119, 86, L"About");
    button(c.btnOK, 352, 86, L"OK");
    button(c.btnCancel, 445, 86, L"Cancel");
    button(c.btnApply, 538, 87, L"Apply");
    c.btnApply.SetEnabled(false);
    c.btnHelp.onClick = [this] { ShowHelp(); };
    c.btnAbout.onClick = [this] { ShowAbout(); };
    c.btnOK.onClick = [this] { btnOKClick(); };
    c.btnCancel.onClick = [this] { btnCancelClick(); };
    c.btnApply.onClick = [this] { btnApplyClick(); };
    // Tab and Shift+Tab go round the controls of the page shown and the buttons below it.
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    for (auto& page : c.Pages)
        SetWindowLongPtrW(page.hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(page.hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    const HWND root = hwnd();
    const auto root_ = [root](auto&... controls) { ((controls.tabRoot = root), ...); };
    root_(c.btnHelp, c.btnAbout, c.btnOK, c.btnCancel, c.btnApply, c.ListBox3, c.btnAddBroker, c.btnRemoveBroker,
          c.btnEditBroker, c.btnLaunchSelected, c.btnLaunchAll, c.btnHideSelected, c.btnHideAll, c.btnShowSelected,
          c.btnShowAll, c.btnCloseSelected, c.btnCloseAll, c.cbxAllowUsingDLL, c.cbxUseConsoleApp, c.cbxShowConsole,
          c.cbxUseTCPClient, c.ebxConsoleAppPath, c.ebxTCPHost, c.ebxTCPPort, c.ebxTCPPassword, c.btnConsoleAppPath,
          c.rbtManualDiscovery, c.rbtCustomDiscovery, c.btnTestBuy, c.btnTestSell, c.btnTestStrongBuy,
          c.btnTestStrongSell, c.btnShowVisibleWindows, c.cbxTestWithClicking, c.cbxExactMatch, c.cbxBSInSameWindow,
          c.ebxTitlePattern, c.ebxClassName, c.ebxCustomX, c.ebxCustomY, c.ebxCustomX2, c.ebxCustomY2,
          c.cbxDisplayHeadlines, c.cbxDisableFontSmoothing, c.cbxNoDuplicateH, c.cbxLogHeadlines, c.cbxAltTimeFormat,
          c.cbxAutoAttach, c.cbxWelcomeMsg, c.cbxMinimizeToSysTray, c.cbxStayOnTop, c.ebxHeadlineCapacity,
          c.ebxDupCacheSize, c.ebxHistMT4HBuffer, c.btnHBoxFontSelect);
    ShowPage(0);
}

void TfrmOptions::ShowPage(int index) {
    if (index < 0 || index >= PageCount) return;
    lastPage_ = index;
    c_->PageControl1.Select(index);
    for (int k = 0; k < PageCount; ++k)
        ShowWindow(c_->Pages[static_cast<size_t>(k)].hwnd(), k == index ? SW_SHOW : SW_HIDE);
}

// ---------------------------------------------------------------------------------------------------------------
// The tabs

void TfrmOptions::CreateNewsSourcesTab(ui::Panel& page) {
    const auto s = [this](int v) { return MulDiv(v, dpi_, DesignDpi); };
    const auto r = [&](int l, int t, int w, int h) { return ui::Rect{s(l), s(t), s(w), s(h)}; };
    const HWND p = page.hwnd();
    Controls& c = *c_;
    c.Label3.Create({.parent = p, .rect = r(10, 10, 0, 0), .text = L"MetaTrader 4 terminals:", .font = font_});
    c.ListBox3.Create({.parent = p, .rect = r(10, 28, 420, 130), .font = font_, .exStyle = WS_EX_CLIENTEDGE});
    // Glyph buttons are 25 wide, 24 when visual themes are off.
    const int glyph = IsAppThemedNow() ? 25 : 24;
    c.SpeedButton1.Create({.parent = p, .rect = r(436, 28, glyph, 25), .text = L"Move up"});
    c.SpeedButton2.Create({.parent = p, .rect = r(436, 58, glyph, 25), .text = L"Move down"});
    c.btnAddBroker.Create({.parent = p, .rect = r(470, 28, 87, 27), .text = L"Add...", .font = font_});
    c.btnEditBroker.Create({.parent = p, .rect = r(470, 61, 87, 27), .text = L"Edit...", .font = font_});
    c.btnRemoveBroker.Create({.parent = p, .rect = r(470, 94, 87, 27), .text = L"Remove", .font = font_});
    c.Label13.autoSize = false;
    c.Label13.Create({.parent = p, .rect = r(470, 126, 165, 34), .text = L"Note: terminal settings are applied immediately.",
                      .font = font_});
    const auto selected = [this] { return c_->ListBox3.Selected(); };
    const auto run = [selected](std::function<void(int)>& f) {
        return [&f, selected] {
            if (f) f(selected());
        };
    };
    c.btnAddBroker.onClick = run(onAddBroker);
    c.btnEditBroker.onClick = run(onEditBroker);
    c.btnRemoveBroker.onClick = run(onRemoveBroker);
    c.SpeedButton1.onClick = run(onMoveUp);
    c.SpeedButton2.onClick = run(onMoveDown);

    c.GroupBox2.Create({.parent = p, .rect = r(10, 166, 620, 90), .text = L"MetaTrader 4 terminal controller", .font = font_});
    struct ControllerButton {
        ui::Button* button;
        int left, top;
        const wchar_t* text;
    };
    const ControllerButton controller[] = {
        {&c.btnLaunchSelected, 22, 188, L"Launch Selected"}, {&c.btnHideSelected, 174, 188, L"Hide Selected"},
        {&c.btnShowSelected, 326, 188, L"Show Selected"},    {&c.btnCloseSelected, 478, 188, L"Close Selected"},
        {&c.btnLaunchAll, 22, 220, L"Launch All "},          {&c.btnHideAll, 174, 220, L"Hide All"},
        {&c.btnShowAll, 326, 220, L"Show All"},              {&c.btnCloseAll, 478, 220, L"Close All"},
    };
    for (const auto& b : controller)
        b.button->Create({.parent = p, .rect = r(b.left, b.top, 140, 27), .text = b.text, .font = font_});
    SetWindowPos(c.GroupBox2.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto listSelection = [this]() -> std::optional<std::size_t> {
        const int k = c_->ListBox3.Selected();
        return k < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(k));
    };
    c.btnLaunchSelected.onClick = [this, listSelection] {
        terminals::WinTerminalControl control;
        terminals::LaunchSelectedTerminal(terminals_, listSelection(), control);
    };
    const auto onSelected = [this, listSelection](terminals::TTerminalAction action) {
        return [this, listSelection, action] {
            terminals::WinTerminalControl control;
            terminals::ActOnSelectedTerminal(terminals_, listSelection(), action, control);
        };
    };
    const auto onAll = [this](terminals::TTerminalAction action) {
        return [this, action] {
            terminals::WinTerminalControl control;
            terminals::ActOnAllTerminals(terminals_, action, control);
        };
    };
    c.btnHideSelected.onClick = onSelected(terminals::TTerminalAction::Hide);
    c.btnShowSelected.onClick = onSelected(terminals::TTerminalAction::Show);
    c.btnCloseSelected.onClick = onSelected(terminals::TTerminalAction::Close);
    c.btnLaunchAll.onClick = [this] {
        terminals::WinTerminalControl control;
        terminals::LaunchAllTerminals(terminals_, control);
    };
    c.btnHideAll.onClick = onAll(terminals::TTerminalAction::Hide);
    c.btnShowAll.onClick = onAll(terminals::TTerminalAction::Show);
    c.btnCloseAll.onClick = onAll(terminals::TTerminalAction::Close);

    c.GroupBox5.Create({.parent = p, .rect = r(10, 262, 620, 146), .text = L"Custom news sources (advanced)", .font = font_});
    c.cbxAllowUsingDLL.Create({.parent = p, .rect = r(22, 284, 250, 20), .text = L"Allow using DLL interface", .font = font_});
    c.cbxUseTCPClient.Create({.parent = p, .rect = r(22, 312, 130, 20), .text = L"Use TCP client", .font = font_});
    c.lblTCPHost.Create({.parent = p, .rect = r(160, 314, 0, 0), .text = L"Host:", .font = font_});
    c.ebxTCPHost.Create({.parent = p, .rect = r(198, 310, 130, 23), .text = L"localhost", .font = font_, .exStyle = WS_EX_CLIENTEDGE});
    c.lblTCPPort.Create({.parent = p, .rect = r(338, 314, 0, 0), .text = L"Port:", .font = font_});
    c.ebxTCPPort.Create({.parent = p, .rect = r(374, 310, 60, 23), .text = L"30001", .font = font_, .exStyle = WS_EX_CLIENTEDGE});
    c.lblTCPPassword.Create({.parent = p, .rect = r(444, 314, 0, 0), .text = L"Password:", .font = font_});
    c.ebxTCPPassword.Create({.parent = p, .rect = r(516, 310, 104, 23), .font = font_, .style = ES_PASSWORD,
                             .exStyle = WS_EX_CLIENTEDGE});
    SendMessageW(c.ebxTCPPassword.hwnd(), EM_SETPASSWORDCHAR, '*', 0);
    c.cbxUseConsoleApp.Create({.parent = p, .rect = r(22, 344, 150, 20), .text = L"Use Console app.", .font = font_});
    c.cbxShowConsole.Create({.parent = p, .rect = r(180, 344, 150, 20), .text = L"Show Console", .font = font_});
    c.lblConsoleAppPath.Create({.parent = p, .rect = r(22, 376, 0, 0), .text = L"Path:", .font = font_});
    c.ebxConsoleAppPath.Create({.parent = p, .rect = r(60, 372, 460, 23), .font = font_, .exStyle = WS_EX_CLIENTEDGE});
    c.btnConsoleAppPath.Create({.parent = p, .rect = r(530, 371, 86, 25), .text = L"Select...", .font = font_});
    SetWindowPos(c.GroupBox5.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (ui::CheckBox* box : std::initializer_list<ui::CheckBox*>{&c.cbxAllowUsingDLL, &c.cbxUseTCPClient,
                                                                 &c.cbxUseConsoleApp, &c.cbxShowConsole})
        box->onClick = [this] {
            UpdateDependentControls();
            EnableApply();
        };
    for (ui::Edit* edit : std::initializer_list<ui::Edit*>{&c.ebxTCPHost, &c.ebxTCPPassword, &c.ebxConsoleAppPath})
        edit->onChange = [this] { EnableApply(); };
    c.ebxTCPPort.onChange = [this, &page] { ValidateNumber(c_->ebxTCPPort, page, NumericEdit::TCPPort); };
    c.btnConsoleAppPath.onClick = [this] { SelectConsoleApp(); };
}

void TfrmOptions::CreateClickerTab(ui::Panel& page) {
    const auto s = [this](int v) { return MulDiv(v, dpi_, DesignDpi); };
    const auto r = [&](int l, int t, int w, int h) { return ui::Rect{s(l), s(t), s(w), s(h)}; };
    const HWND p = page.hwnd();
    Controls& c = *c_;
    c.GroupBox1.Create({.parent = p, .rect = r(10, 10, 300, 84), .text = L"Buy/Sell button location method", .font = font_});
    c.rbtManualDiscovery.Create({.parent = p, .rect = r(22, 34, 270, 20), .text = L"Manual coordinate setup", .font = font_,
                                 .style = WS_GROUP});
    c.rbtCustomDiscovery.Create({.parent = p, .rect = r(22, 62, 270, 20), .text = L"Custom ", .font = font_});
    c.GroupBox4.Create({.parent = p, .rect = r(320, 10, 310, 84), .text = L"Test", .font = font_});
    c.btnTestBuy.Create({.parent = p, .rect = r(332, 32, 60, 25), .text = L"Buy", .font = font_});
    c.btnTestSell.Create({.parent = p, .rect = r(398, 32, 60, 25), .text = L"Sell", .font = font_});
    c.btnTestStrongBuy.Create({.parent = p, .rect = r(464, 32, 60, 25), .text = L"Buy+", .font = font_});
    c.btnTestStrongSell.Create({.parent = p, .rect = r(530, 32, 60, 25), .text = L"Sell+", .font = font_});
    c.cbxTestWithClicking.Create({.parent = p, .rect = r(332, 64, 140, 20), .text = L"with clicking", .font = font_,
                                  .style = WS_GROUP});
    c.Label5.autoSize = false;
    c.Label5.Create({.parent = p, .rect = r(320, 98, 310, 30),
                     .text = L"Note: without clicking only the mouse pointer will be moved.", .font = font_});
    for (ui::GroupBox* g : {&c.GroupBox1, &c.GroupBox4})
        SetWindowPos(g->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    c.GroupBox3.Create({.parent = p, .rect = r(10, 132, 620, 280), .text = L"Custom button location (single click limit)",
                        .font = font_});
    const auto label = [&](ui::Label& l, int top, const wchar_t* text) {
        l.Create({.parent = p, .rect = r(22, top, 0, 0), .text = text, .font = font_});
    };
    const auto edit = [&](ui::Edit& e, int left, int top, int width) {
        e.Create({.parent = p, .rect = r(left, top, width, 23), .font = font_, .exStyle = WS_EX_CLIENTEDGE});
    };
    label(c.Label6, 160, L"Order window title pattern:");
    edit(c.ebxTitlePattern, 220, 156, 230);
    c.cbxExactMatch.Create({.parent = p, .rect = r(458, 158, 168, 20), .text = L"allow only exact match", .font = font_});
    label(c.Label7, 192, L"Window classname:");
    edit(c.ebxClassName, 220, 188, 230);
    c.btnShowVisibleWindows.Create({.parent = p, .rect = r(220, 220, 300, 27),
                                    .text = L"Show visible window titles and classnames", .font = font_});
    label(c.Label9, 262, L"X position within window:");
    edit(c.ebxCustomX, 220, 258, 80);
    label(c.Label10, 294, L"Y position within window:");
    edit(c.ebxCustomY, 220, 290, 80);
    c.cbxBSInSameWindow.Create({.parent = p, .rect = r(22, 324, 590, 20),
                                .text = L"Buy and Sell buttons within the same window (X,Y - Buy, X2,Y2 - Sell)",
                                .font = font_, .style = BS_LEFTTEXT});
    label(c.Label11, 356, L"X2 position within window:");
    edit(c.ebxCustomX2, 220, 352, 80);
    label(c.Label12, 388, L"Y2 position within window:");
    edit(c.ebxCustomY2, 220, 384, 80);
    c.ebxCustomX2.SetEnabled(false);
    c.ebxCustomY2.SetEnabled(false);
    SetWindowPos(c.GroupBox3.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    c.btnTestBuy.onClick = [this] { TestClicks(clicker::TradeKind::Buy); };
    c.btnTestSell.onClick = [this] { TestClicks(clicker::TradeKind::Sell); };
    c.btnTestStrongBuy.onClick = [this] { TestClicks(clicker::TradeKind::StrongBuy); };
    c.btnTestStrongSell.onClick = [this] { TestClicks(clicker::TradeKind::StrongSell); };
    for (ui::CheckBox* box : std::initializer_list<ui::CheckBox*>{&c.rbtManualDiscovery, &c.rbtCustomDiscovery,
                                                                 &c.cbxExactMatch, &c.cbxBSInSameWindow})
        box->onClick = [this] {
            UpdateDependentControls();
            EnableApply();
        };
    for (ui::Edit* e : std::initializer_list<ui::Edit*>{&c.ebxTitlePattern, &c.ebxClassName}) e->onChange = [this] { EnableApply(); };
    for (ui::Edit* e : std::initializer_list<ui::Edit*>{&c.ebxCustomX, &c.ebxCustomY, &c.ebxCustomX2, &c.ebxCustomY2})
        e->onChange = [this, e, &page] { ValidateNumber(*e, page, NumericEdit::Coordinate); };
    c.btnShowVisibleWindows.onClick = [this] {
        if (onShowVisibleWindows) onShowVisibleWindows();
    };
}

void TfrmOptions::CreateMiscTab(ui::Panel& page) {
    const auto s = [this](int v) { return MulDiv(v, dpi_, DesignDpi); };
    const auto r = [&](int l, int t, int w, int h) { return ui::Rect{s(l), s(t), s(w), s(h)}; };
    const HWND p = page.hwnd();
    Controls& c = *c_;
    const auto check = [&](ui::CheckBox& b, int left, int top, const wchar_t* text, int height = 20) {
        b.Create({.parent = p, .rect = r(left, top, 620 - left, height), .text = text, .font = font_,
                  .style = static_cast<DWORD>(height > 20 ? BS_MULTILINE : 0)});
        b.onClick = [this] {
            UpdateDependentControls();
            EnableApply();
        };
    };
    const auto label = [&](ui::Label& l, int left, int top, const wchar_t* text) {
        l.Create({.parent = p, .rect = r(left, top, 0, 0), .text = text, .font = font_});
    };
    const auto number = [&](ui::Edit& e, int top, NumericEdit kind) {
        e.Create({.parent = p, .rect = r(260, top, 60, 23), .font = font_, .exStyle = WS_EX_CLIENTEDGE});
        e.onChange = [this, &e, &page, kind] { ValidateNumber(e, page, kind); };
    };
    check(c.cbxDisplayHeadlines, 10, 10, L"Display headlines");
    label(c.Label1, 10, 40, L"Headline box capacity:");
    number(c.ebxHeadlineCapacity, 36, NumericEdit::HeadlineCapacity);
    label(c.Label4, 328, 40, L"lines (10 - 1000)");
    label(c.Label8, 10, 72, L"Headline box font:");
    c.btnHBoxFontSelect.Create({.parent = p, .rect = r(260, 67, 86, 25), .text = L"Select...", .font = font_});
    c.btnHBoxFontSelect.onClick = [this] { SelectFont(); };
    check(c.cbxDisableFontSmoothing, 10, 100, L"Disable font smoothing");
    check(c.cbxNoDuplicateH, 10, 126, L"Don't display/process duplicate headlines");
    c.Label2.autoSize = false;
    c.Label2.Create({.parent = p, .rect = r(28, 148, 600, 44),
                     .text = L"Note: if checked, then only the [same] headlines that arrive from the fastest news sources "
                             L"will be displayed and processed by scripts. All headlines from all news sources will still "
                             L"be logged.",
                     .font = font_});
    label(c.Label17, 28, 200, L"Duplicates cache size:");
    number(c.ebxDupCacheSize, 196, NumericEdit::DupCacheSize);
    label(c.Label18, 328, 200, L"headlines (1-200)");
    label(c.Label19, 10, 232, L"Historical MT4 headline read buffer:");
    number(c.ebxHistMT4HBuffer, 228, NumericEdit::HistMT4HBuffer);
    label(c.Label20, 328, 232, L"headlines (0-200), not processed by scripts");
    check(c.cbxLogHeadlines, 10, 262, L"Log headlines to files");
    check(c.cbxAltTimeFormat, 10, 284,
          L"Display only second.millisecond in headline box for headline time (log files will still use full date/time)",
          32);
    check(c.cbxAutoAttach, 10, 318, L"Auto-attach last attached script on startup");
    check(c.cbxWelcomeMsg, 10, 342, L"Display welcome message in headline box at startup");
    check(c.cbxMinimizeToSysTray, 10, 366, L"Minimize to system tray");
    check(c.cbxStayOnTop, 10, 390, L"Stay on top (keep Pelo main window on top of other windows)");
}

// ---------------------------------------------------------------------------------------------------------------
// Opening, applying, closing

HWND TfrmOptions::TerminalListBox() const { return c_->ListBox3.hwnd(); }

void TfrmOptions::FillTerminalList(int selected) {
    const HWND list = c_->ListBox3.hwnd();
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const auto& terminal : terminals_)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(terminal.FullName.c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void TfrmOptions::Open() {
    if (IsOpen()) return;
    if (host_.DisarmAutoExecute) host_.DisarmAutoExecute();
    FillTerminalList(-1);
    FillControls();
    PendingFont = host_.HBoxFont();
    pendingColor_ = host_.HBoxFontColor();
    SetApplyEnabled(false);
    SavedTaskWindows.Disable(hwnd());
    if (settings_.StayOnTop) {
        // Top-most windows of our own must not cover the dialog.
        for (HWND w : {host_.MainWindow, host_.CoordsDialog})
            if (w) SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ShowPage(lastPage_);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void TfrmOptions::FillControls() {
    OptionsFields f = ReadControls();  // the coordinates keep their text where the setting is unset
    FillOptionsFields(settings_, f);
    Controls& c = *c_;
    c.rbtManualDiscovery.SetChecked(f.DiscoveryRadio == 1);
    c.rbtCustomDiscovery.SetChecked(f.DiscoveryRadio == 2);
    const auto text = [](ui::Edit& e, const std::string& value) {
        if (e.TextA() != value) e.SetTextA(value);
    };
    text(c.ebxTitlePattern, f.TitlePattern);
    c.cbxExactMatch.SetChecked(f.ExactMatch);
    text(c.ebxClassName, f.ClassName);
    c.cbxBSInSameWindow.SetChecked(f.BSInSameWindow);
    text(c.ebxHeadlineCapacity, f.HeadlineCapacity);
    text(c.ebxCustomX, f.CustomX);
    text(c.ebxCustomY, f.CustomY);
    text(c.ebxCustomX2, f.CustomX2);
    text(c.ebxCustomY2, f.CustomY2);
    c.cbxDisplayHeadlines.SetChecked(f.DisplayHeadlines);
    c.cbxNoDuplicateH.SetChecked(f.NoDuplicates);
    text(c.ebxDupCacheSize, f.DupCacheSize);
    c.cbxLogHeadlines.SetChecked(f.LogHeadlines);
    c.cbxAltTimeFormat.SetChecked(f.AltTimeFormat);
    c.cbxAutoAttach.SetChecked(f.AutoAttach);
    c.cbxWelcomeMsg.SetChecked(f.WelcomeMsg);
    c.cbxMinimizeToSysTray.SetChecked(f.MinimizeToSysTray);
    c.cbxStayOnTop.SetChecked(f.StayOnTop);
    text(c.ebxHistMT4HBuffer, f.HistMT4HBuffer);
    c.cbxUseTCPClient.SetChecked(f.UseTCPClient);
    text(c.ebxTCPHost, f.TCPHost);
    text(c.ebxTCPPort, f.TCPPort);
    text(c.ebxTCPPassword, f.TCPPassword);
    c.cbxUseConsoleApp.SetChecked(f.UseConsoleApp);
    c.cbxShowConsole.SetChecked(f.ShowConsole);
    if (c.ebxConsoleAppPath.Text() != ui::ToWide(f.ConsoleAppPath)) c.ebxConsoleAppPath.SetText(ui::ToWide(f.ConsoleAppPath));
    c.cbxAllowUsingDLL.SetChecked(f.AllowUsingDLL);
    c.cbxDisableFontSmoothing.SetChecked(f.DisableFontSmoothing);
    UpdateDependentControls();
}

OptionsFields TfrmOptions::ReadControls() const {
    const Controls& c = *c_;
    OptionsFields f;
    f.AllowUsingDLL = c.cbxAllowUsingDLL.IsChecked();
    f.UseConsoleApp = c.cbxUseConsoleApp.IsChecked();
    f.ShowConsole = c.cbxShowConsole.IsChecked();
    f.ConsoleAppPath = ui::ToU16(c.ebxConsoleAppPath.Text());
    f.UseTCPClient = c.cbxUseTCPClient.IsChecked();
    f.TCPHost = c.ebxTCPHost.TextA();
    f.TCPPort = c.ebxTCPPort.TextA();
    f.TCPPassword = c.ebxTCPPassword.TextA();
    f.DiscoveryRadio = c.rbtManualDiscovery.IsChecked() ? 1 : c.rbtCustomDiscovery.IsChecked() ? 2 : 0;
    f.TitlePattern = c.ebxTitlePattern.TextA();
    f.ExactMatch = c.cbxExactMatch.IsChecked();
    f.ClassName = c.ebxClassName.TextA();
    f.CustomX = c.ebxCustomX.TextA();
    f.CustomY = c.ebxCustomY.TextA();
    f.CustomX2 = c.ebxCustomX2.TextA();
    f.CustomY2 = c.ebxCustomY2.TextA();
    f.BSInSameWindow = c.cbxBSInSameWindow.IsChecked();
    f.DisplayHeadlines = c.cbxDisplayHeadlines.IsChecked();
    f.HeadlineCapacity = c.ebxHeadlineCapacity.TextA();
    f.DisableFontSmoothing = c.cbxDisableFontSmoothing.IsChecked();
    f.NoDuplicates = c.cbxNoDuplicateH.IsChecked();
    f.DupCacheSize = c.ebxDupCacheSize.TextA();
    f.HistMT4HBuffer = c.ebxHistMT4HBuffer.TextA();
    f.LogHeadlines = c.cbxLogHeadlines.IsChecked();
    f.AltTimeFormat = c.cbxAltTimeFormat.IsChecked();
    f.AutoAttach = c.cbxAutoAttach.IsChecked();
    f.WelcomeMsg = c.cbxWelcomeMsg.IsChecked();
    f.MinimizeToSysTray = c.cbxMinimizeToSysTray.IsChecked();
    f.StayOnTop = c.cbxStayOnTop.IsChecked();
    return f;
}

void TfrmOptions::UpdateDependentControls() {
    Controls& c = *c_;
    c.ebxDupCacheSize.SetEnabled(c.cbxNoDuplicateH.IsChecked());
    const bool same = c.cbxBSInSameWindow.IsChecked();
    c.ebxCustomX2.SetEnabled(same);
    c.ebxCustomY2.SetEnabled(same);
    const bool tcp = c.cbxUseTCPClient.IsChecked();
    for (ui::Window* w : std::initializer_list<ui::Window*>{&c.lblTCPHost, &c.ebxTCPHost, &c.lblTCPPort, &c.ebxTCPPort,
                                                            &c.lblTCPPassword, &c.ebxTCPPassword})
        w->SetEnabled(tcp);
    const bool console = c.cbxUseConsoleApp.IsChecked();
    for (ui::Window* w : std::initializer_list<ui::Window*>{&c.cbxShowConsole, &c.lblConsoleAppPath,
                                                            &c.ebxConsoleAppPath, &c.btnConsoleAppPath})
        w->SetEnabled(console);
}

void TfrmOptions::ValidateNumber(ui::Edit& edit, ui::Panel& page, NumericEdit kind) {
    if (NumericTextValid(kind, edit.TextA())) page.ForgetChildColors(edit);
    else page.SetChildColors(edit, GetSysColor(COLOR_WINDOWTEXT), InvalidColor);
    EnableApply();
}

void TfrmOptions::SetApplyEnabled(bool enabled) { c_->btnApply.SetEnabled(enabled); }

void TfrmOptions::ApplySettings() {
    const AppliedOptions applied = ApplyOptionsFields(ReadControls(), settings_);
    if (applied.HeadlineCapacity && host_.ResizeHBox) host_.ResizeHBox(*applied.HeadlineCapacity);
    if (applied.DupCacheSize && host_.ResizeDupCache) host_.ResizeDupCache(*applied.DupCacheSize);
    if (host_.UpdateMainWindowButtons) host_.UpdateMainWindowButtons();
    if (host_.ApplyHBoxFont) host_.ApplyHBoxFont(PendingFont, pendingColor_);
    if (host_.SaveSettings) host_.SaveSettings();
}

void TfrmOptions::btnOKClick() {
    ApplySettings();
    CloseDialog();
}

void TfrmOptions::btnApplyClick() {
    ApplySettings();
    SetApplyEnabled(false);
}

void TfrmOptions::CloseDialog() {
    SavedTaskWindows.Restore();
    ShowWindow(hwnd(), SW_HIDE);
    if (host_.MainWindow) SetForegroundWindow(host_.MainWindow);
    // The top-most state follows the setting only now, also after an Apply.
    for (HWND w : {host_.MainWindow, host_.CoordsDialog}) ui::SetTopMost(w, settings_.StayOnTop);
}

// ---------------------------------------------------------------------------------------------------------------
// Buttons on the tabs

void TfrmOptions::SelectFont() {
    LOGFONTW font = host_.HBoxFont();
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = hwnd();
    cf.lpLogFont = &font;
    cf.rgbColors = ui::ResolveColor(host_.HBoxFontColor());
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&cf)) return;
    PendingFont = font;
    pendingColor_ = cf.rgbColors;
    EnableApply();
}

void TfrmOptions::SelectConsoleApp() {
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"EXE files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = L"Select Console Application";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (GetOpenFileNameW(&ofn)) c_->ebxConsoleAppPath.SetText(file);
}

void TfrmOptions::ShowHelp() {
    const std::wstring path = host_.ProgramDir + L"\\PeloHelp.chm";
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ui::ShowErrorBox(L"Help file not found.");
        return;
    }
    ShellExecuteW(hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TfrmOptions::ShowAbout() {
    // The about box: the program's own words, with the other windows disabled while it is open.
    ui::TaskWindowsDisabled disabled;
    disabled.Disable();
    MessageBoxW(nullptr, host_.AboutText.c_str(), L"About", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

void TfrmOptions::TestClicks(clicker::TradeKind kind) {
    // The tests use the settings as applied, not what this dialog holds unapplied.
    orders_.TestWithClicking = c_->cbxTestWithClicking.IsChecked();
    orders_.RunTestClicks(kind);
}

LRESULT TfrmOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY: {
            LRESULT result = 0;
            ReflectToChild(msg, wp, lp, result);
            return result;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ui::ButtonFaceColors(wp);
        case WM_CLOSE:
            CloseDialog();
            return 0;
        default:
            return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::dialogs
