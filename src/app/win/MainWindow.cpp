#include "app/win/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "app/MainWindowGeometry.h"
#include "app/StartupRules.h"
#include "app/win/AppWindow.h"
#include "app/win/GeneralErrors.h"
#include "ui/win/Controls.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"
#include "ui/win/YesCancelBox.h"

namespace pelo::app {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

constexpr const wchar_t* kCoordinatesNotSetText = L"Button coordinates are not set!";
constexpr const wchar_t* kClearAllText = L"Clear All messages?";


ui::Font MakeFont(const layout::FontRow& f) { return ui::Font(f.Name, f.Height, f.Bold, f.FixedPitch, f.Quality); }

}  // namespace

TfrmPelorant::TfrmPelorant(AppWindow& appWindow, AppState& state)
    : appWindow_(appWindow), state_(state), peloCommMsg_(state.PeloCommMsg), CaptionBase(MakeCaptionBase(false)) {
    core_ = std::make_unique<THeadlineCore>(logFiles_, script_, localClock_, ui::ToU16(state.Folders.LogsDir));
    listBox_ = std::make_unique<THeadlineListBox>(core_->HBox);
    core_->Dispatcher.ShowErrorBox = [](const std::string& text) { ui::ShowErrorBox(ui::AnsiToWide(text)); };
    // The log writer's boxes stay on top of a main window that is set to stay on top.
    core_->LogWriter.ShowPlainBox = [](const std::string& text) {
        ui::ShowPlainBox(ui::AnsiToWide(text), ui::BoxLayer::TopMost);
    };
    core_->Log.ShowPlainBox = core_->LogWriter.ShowPlainBox;
    core_->LogWriter.ShowWriteErrorBox = [](const std::string& text) {
        ui::ShowErrorBox(ui::AnsiToWide(text), ui::BoxLayer::TopMost);
    };
    core_->Counter.OnChanged = [this](int count) {
        if (auto it = labels_.find(layout::idLblHeadlineCount); it != labels_.end())
            it->second.SetText(std::to_wstring(count));
    };
    listBox_->onException = [] { ShowCurrentException(); };
}

TfrmPelorant::~TfrmPelorant() {
    // FormDestroy: the readers remove their hooks first; the log writer writes what it holds when the headline
    // objects go (after nothing can dispatch into them any more).
    if (newsHost_) newsHost_->EndReaders();
    state_.Settings.LogHeadlines = false;
    listBox_.reset();
    if (hwnd()) {
        KillTimer(hwnd(), kTimer1);
        KillTimer(hwnd(), kTimer2);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Creation

bool TfrmPelorant::Create() {
    RECT r{0, 0, layout::ClientWidth, layout::ClientHeight};
    AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ui::WindowArgs args;
    args.className = L"TfrmPelorant";
    args.title = ui::AnsiToWide(CaptionBase);
    args.style = kMainStyle;
    args.rect = {(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h};
    args.icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (!ui::Window::Create(args)) return false;
    FormCreate();
    SetTimer(hwnd(), kTimer1, 500, nullptr);
    SetTimer(hwnd(), kTimer2, 33, nullptr);
    return true;
}

void TfrmPelorant::FormCreate() {
    for (const layout::FontRow& f : layout::Fonts) fonts_[static_cast<int>(f.Role)] = MakeFont(f);
    CreateControls();
    ApplyHBoxFont(hboxFont_);
    AdjustForScreenResolution();
    WireControls();
}

HWND TfrmPelorant::PanelWindow(layout::Panel panel) const {
    switch (panel) {
        case layout::Panel::Top: return topPanel_.hwnd();
        case layout::Panel::Bottom: return bottomPanel_.hwnd();
        case layout::Panel::AutoExec: return autoExecPanel_.hwnd();
        case layout::Panel::Res: return resPanel_.hwnd();
        case layout::Panel::Signal: return signalPanel_.hwnd();
    }
    return nullptr;
}

void TfrmPelorant::CreateControls() {
    using namespace layout;
    RECT client;
    GetClientRect(hwnd(), &client);
    const int width = client.right, height = client.bottom;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    topPanel_.Create({hwnd(), hwnd(), {0, 0, width, TopPanelHeight}, face});
    bottomPanel_.Create({hwnd(), hwnd(), {0, height - BottomPanelHeight, width, BottomPanelHeight}, face});
    middlePanel_.Create({hwnd(), hwnd(), {0, TopPanelHeight, width, height - TopPanelHeight - BottomPanelHeight},
                         GetSysColor(COLOR_WINDOW)});
    autoExecPanel_.Create({topPanel_.hwnd(), hwnd(), AutoExecPanel, face});
    resPanel_.Create({topPanel_.hwnd(), hwnd(), layout::ResPanel, ResPanelColor});
    signalPanel_.Create({topPanel_.hwnd(), hwnd(), layout::SignalPanel, SignalPanelColor, true});

    chbAutoExecute_.Create({.parent = autoExecPanel_.hwnd(), .id = idChbAutoExecute, .rect = chbAutoExecute,
                            .text = chbAutoExecuteCaption, .font = FontFor(FontRole::AutoExecute)});
    for (const ButtonRow& b : Buttons)
        buttons_[b.Id].Create({.parent = PanelWindow(b.Parent), .id = b.Id, .rect = b.Place, .text = b.Caption,
                               .font = FontFor(b.Font)});
    for (const LabelRow& l : Labels)
        labels_[l.Id].Create({.parent = PanelWindow(l.Parent), .id = l.Id, .rect = {l.At.x, l.At.y, 0, 0},
                              .text = l.Caption, .font = FontFor(l.Font),
                              .style = l.Parent == Panel::Top ? DWORD{SS_NOTIFY} : DWORD{0}});
    for (int i = 0; i < 6; ++i) resPanel_.SetChildColors(labels_.at(idLbl1 + i), IndicatorTextColor);
    lblSignal_.autoSize = false;
    lblSignal_.Create({.parent = signalPanel_.hwnd(), .id = idLblSignal,
                       .rect = {layout::lblSignal.x, layout::lblSignal.y, 0,
                                static_cast<int>(ui::TextExtent(FontFor(FontRole::Signal), L"0").cy)},
                       .font = FontFor(FontRole::Signal)});
    signalPanel_.SetChildColors(lblSignal_, SignalTextColor);
    comboBox1_.Create({.parent = bottomPanel_.hwnd(), .id = idComboBox1, .rect = ComboBox1,
                       .font = FontFor(FontRole::Default)});
    comboBox1_.SetDropDownRows(ComboBox1.Height, ComboBox1DropDownCount);

    RECT middle;
    GetClientRect(middlePanel_.hwnd(), &middle);
    listBox_->Create(middlePanel_.hwnd(), idListBox1, 0, 0, middle.right, middle.bottom);

    tooltips_.Create(hwnd());
    for (const LabelRow& l : Labels)
        if (l.Hint) tooltips_.Add(labels_.at(l.Id), l.Hint);
}

void TfrmPelorant::WireControls() {
    using namespace layout;
    auto on = [this](int id, std::function<void()> f) { buttons_.at(id).onClick = std::move(f); };
    auto disarmThen = [this](std::function<void()> f) {
        return [this, f = std::move(f)] {
            SetAutoExecute(false);
            if (f) f();
        };
    };
    auto allTerminals = [this](TTerminalAction action) {
        return [this, action] { ActOnAllTerminals(state_.TerminalList, action, terminals_); };
    };
    auto selectedTerminal = [this](TTerminalAction action) {
        return [this, action] {
            ActOnTerminalByShortName(state_.TerminalList, comboBox1_.TextA(), action, terminals_);
        };
    };

    newsHost_ = std::make_unique<NewsSessionHost>(
        state_, *core_, script_,
        NewsSessionHost::WindowSide{hwnd(), [this](std::string_view c) { buttons_.at(idBtnStartStop).SetTextA(c); },
                                    [this](int n) { labels_.at(idLblActiveNewsSourceCount).SetText(std::to_wstring(n)); },
                                    [this] { SetAutoExecute(false); }});
    session_ = std::make_unique<TNewsSession>(state_.TerminalList, state_.Settings, *newsHost_);

    chbAutoExecute_.onClick = [this] { chbAutoExecuteClick(); };
    on(idBtnStartStop, [this] { btnStartStopClick(); });
    on(idBtnCoords, nullptr);
    on(idBtnScriptEditor, disarmThen(nullptr));
    on(idBtnShowOptions, disarmThen(nullptr));
    on(idBtnLaunchMT4s, [this] { LaunchAllTerminals(state_.TerminalList, terminals_); });
    on(idBtnCloseMT4s, allTerminals(TTerminalAction::Close));
    on(idBtnShowAll, allTerminals(TTerminalAction::Show));
    on(idBtnHideAll, allTerminals(TTerminalAction::Hide));
    on(idBtnShow, selectedTerminal(TTerminalAction::Show));
    on(idBtnHide, selectedTerminal(TTerminalAction::Hide));
    // ListBox1Enter / ListBox1Exit: "Copy selected" follows the focus.
    listBox_->onFocus = [this] { menus_.EnableItem(menus_.PopupMenu3, idCopy1, true); };
    listBox_->onBlur = [this] { menus_.EnableItem(menus_.PopupMenu3, idCopy1, false); };

    menuCommands_[idExit1] = [this] { FormClose(); };
    menuCommands_[idCopy1] = [this] { Copy1Click(); };
    menuCommands_[idClear1] = [this] { Clear1Click(); };

    middlePanel_.onResize = [this] {
        RECT rc;
        GetClientRect(middlePanel_.hwnd(), &rc);
        listBox_->Move({0, 0, rc.right, rc.bottom});
    };
    resPanel_.onResize = [this] { ResPanelResize(); };
}

void TfrmPelorant::AdjustForScreenResolution() {
    using namespace layout;
    const int dpi = ui::ScreenDpi();
    if (dpi != 120 && dpi < 144) return;
    const bool large = dpi >= 144;
    // The check box's own size follows its font, which grows with the resolution; the panel around it keeps
    // the box's text in line with the buttons below.
    if (large) {
        fonts_[static_cast<int>(FontRole::AutoExecute)] = MakeFont(LargeAutoExecuteFont);
        chbAutoExecute_.SetFont(FontFor(FontRole::AutoExecute));
    }
    const int boxHeight = large ? 19 : 16;
    const int panelHeight = AutoExecPanel.Height + (large ? 2 : -1);
    autoExecPanel_.Move({AutoExecPanel.Left, AutoExecPanel.Top + 2, AutoExecPanel.Width, panelHeight});
    chbAutoExecute_.Move({chbAutoExecute.Left, chbAutoExecute.Top - 2, chbAutoExecute.Width, boxHeight});
}

// ---------------------------------------------------------------------------------------------------------------
// Settings and start-up steps

void TfrmPelorant::AllocateHeadlineStores() {
    core_->HBox.AllocateHBox(ClampHeadlineCapacity(state_.Settings.HeadlineCapacity));
    core_->DupCache.Allocate(ClampDupCacheSize(state_.Settings.DuplicateHCacheSize));
}

void TfrmPelorant::FillTerminalSelector() {
    comboBox1_.Clear();
    for (const TMT4TermInfo& t : state_.TerminalList) comboBox1_.AddItemA(t.ShortName);
    if (!state_.TerminalList.empty()) comboBox1_.Select(0);

    // The console source has a selector entry while it is shown.
    const bool console = state_.Settings.UseConsoleApp && state_.Settings.ShowConsole;
    const int count = comboBox1_.Count();
    const std::string last = count > 0 ? comboBox1_.ItemTextA(count - 1) : std::string();
    if (console && last != "Console") {
        comboBox1_.AddItemA("Console");
        comboBox1_.Select(0);
    } else if (!console && last == "Console") {
        comboBox1_.DeleteItem(count - 1);
    }
}

void TfrmPelorant::WriteWelcomeLines() {
    if (!state_.Settings.DisplayWelcomeMsg) return;
    const std::string title = std::string(ProgramTitle) + std::string(ProgramVersion);
    if (NoNewsSourceForWelcome(state_.TerminalList, state_.Settings))
        PlaceWelcomeLines(core_->HBox, true, "Welcome to " + title + "!",
                          "No news source is set up yet: click 'Options' to add your MT4 terminals.");
    else
        PlaceWelcomeLines(core_->HBox, false, "Welcome to " + title + "! Press 'Start' to read the news.", "");
}

void TfrmPelorant::UpdateTerminalButtons() {
    using namespace layout;
    const TTerminalButtonStates states = TerminalButtonStates(
        state_.TerminalList.size(), state_.Settings.UseConsoleApp, state_.Settings.ShowConsole);
    for (int id : {idBtnLaunchMT4s, idBtnCloseMT4s, idBtnShowAll, idBtnHideAll})
        buttons_.at(id).SetEnabled(states.AllTerminalButtons);
    for (int id : {idBtnShow, idBtnHide}) buttons_.at(id).SetEnabled(states.SelectorButtons);
    comboBox1_.SetEnabled(states.SelectorButtons);
}

// ---------------------------------------------------------------------------------------------------------------
// Timers

void TfrmPelorant::SetCaptionBase(std::string base) {
    CaptionBase = std::move(base);
    LastShownSecond = -1;
    Timer1Timer();
}

void TfrmPelorant::Timer1Timer() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int interval = clock_.Interval();
    const int wanted = clock_.OnTick(now.wMilliseconds);
    if (wanted != interval) SetTimer(hwnd(), kTimer1, static_cast<UINT>(wanted), nullptr);
    if (now.wSecond != LastShownSecond) {
        const std::string text =
            ClockCaptionText(CaptionBase, {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
        SetTextA(text);
        appWindow_.SetTitle(ui::AnsiToWide(text));
    }
    LastShownSecond = now.wSecond;
    if (AutoExecuteChecked()) {
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        autoExecPanel_.SetColor(autoExecPanel_.Color() == face ? layout::AutoExecArmedColor : face);
    }
}

void TfrmPelorant::Timer2Timer() { core_->HBox.Timer2Timer(); }

// ---------------------------------------------------------------------------------------------------------------
// Layout

void TfrmPelorant::LayoutPanels() {
    RECT client;
    GetClientRect(hwnd(), &client);
    const int width = client.right, height = client.bottom;
    const int bottomTop = std::max(topPanelHeight_, height - layout::BottomPanelHeight);
    topPanel_.Move({0, 0, width, topPanelHeight_});
    bottomPanel_.Move({0, bottomTop, width, layout::BottomPanelHeight});
    middlePanel_.Move({0, topPanelHeight_, width, std::max(0, bottomTop - topPanelHeight_)});
}

void TfrmPelorant::ResPanelResize() {
    using namespace layout;
    const ui::Rect res = resPanel_.RectInParent();
    const TopRowPlaces p = PlaceTopRow({res.Left, res.Width, res.Height}, signalPanel_.RectInParent().Width,
                                       labels_.at(idLabel1).RectInParent().Width);
    auto moveLeft = [](ui::Window& w, int left) {
        const ui::Rect r = w.RectInParent();
        w.Move({left, r.Top, r.Width, r.Height});
    };
    moveLeft(signalPanel_, p.SignalPanelLeft);
    for (int id : {idLabel1, idLabel5}) moveLeft(labels_.at(id), p.LabelLeft);
    for (int id : {idLblActiveNewsSourceCount, idLblHeadlineCount}) moveLeft(labels_.at(id), p.CountLeft);
    topPanelHeight_ = p.TopPanelHeight;
    minHeight_ = p.MinHeight;
    minWidth_ = p.MinWidth;
    LayoutPanels();
    // A window below its new minimum grows to it.
    RECT w;
    GetWindowRect(hwnd(), &w);
    if (w.right - w.left < minWidth_ || w.bottom - w.top < minHeight_)
        SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(w.right - w.left, minWidth_),
                     std::max<int>(w.bottom - w.top, minHeight_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------------------------
// Autoexecute

void TfrmPelorant::SetAutoExecute(bool checked) {
    if (AutoExecuteChecked() == checked) return;
    chbAutoExecute_.SetChecked(checked);
    chbAutoExecuteClick();
}

void TfrmPelorant::chbAutoExecuteClick() {
    if (!AutoExecuteChecked()) {
        if (autoExecPanel_.Color() == layout::AutoExecArmedColor) autoExecPanel_.SetColor(GetSysColor(COLOR_BTNFACE));
        return;
    }
    // Until the coordinate dialog and order window discovery exist, neither way of arming can succeed: manual
    // coordinates are never set, and discovery finds no window.
    SetAutoExecute(false);
    if (state_.Settings.DiscoveryMethod == 1) ui::ShowErrorBox(kCoordinatesNotSetText, ui::BoxLayer::TopMost);
}

// ---------------------------------------------------------------------------------------------------------------
// Headline box menu

void TfrmPelorant::Clear1Click() {
    if (ui::ShowYesCancelBox(kClearAllText, ui::BoxLayer::TopMost) == IDYES) core_->HBox.ClearHBox();
}

void TfrmPelorant::Copy1Click() {
    // With no row selected the clipboard keeps what it holds.
    listBox_->CopySelectedToClipboard(hwnd());
}

// ---------------------------------------------------------------------------------------------------------------
// Closing

bool TfrmPelorant::CloseConfirmed() {
    const int hidden = CountHiddenTerminals(state_.TerminalList, terminals_);
    if (hidden == 0) return true;
    const std::wstring n = std::to_wstring(hidden);
    const std::wstring question = hidden == 1
                                      ? L"There is " + n + L" hidden MT4 terminal running. Exit anyway?"
                                      : L"There are " + n + L" hidden MT4 terminals running. Exit anyway?";
    return ui::ShowWarningChoice(question, MB_OKCANCEL, ui::BoxLayer::TopMost) == IDOK;
}

void TfrmPelorant::FormClose() {
    if (closing_ || !CloseConfirmed()) return;
    closing_ = true;
    // The window outlives the message loop: the settings saved at exit read its font and position.
    ShowWindow(hwnd(), SW_HIDE);
    PostQuitMessage(0);
}

// ---------------------------------------------------------------------------------------------------------------
// Messages

void TfrmPelorant::OnContextMenu(HWND control, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: below the control's top-left corner
        RECT r;
        GetWindowRect(control, &r);
        screen = {r.left + 8, r.top + 8};
    }
    if (control == listBox_->hwnd()) TMainWindowMenus::Track(menus_.PopupMenu3, hwnd(), screen);
    else if (control == buttons_.at(layout::idBtnScriptEditor).hwnd())
        TMainWindowMenus::Track(menus_.PopupMenu2, hwnd(), screen);
}

LRESULT TfrmPelorant::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // General error handling: whatever a handler raises is shown with its message, and the program goes on.
    try {
        return Dispatch(msg, wp, lp);
    } catch (...) {
        ShowCurrentException();
        return 0;
    }
}

LRESULT TfrmPelorant::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == peloCommMsg_ && peloCommMsg_ != 0) {
        if (wp == NewsNotificationCode) newsHost_->OnNewsNotification(lp);
        return 0;
    }
    switch (msg) {
        case WM_TIMER:
            if (wp == kTimer1) Timer1Timer();
            else if (wp == kTimer2) Timer2Timer();
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (ReflectToChild(msg, wp, lp, result)) return result;
            if (msg == WM_COMMAND && lp == 0)
                if (auto it = menuCommands_.find(LOWORD(wp)); it != menuCommands_.end() && it->second) it->second();
            return 0;
        }
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wp), POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
            return 0;
        case WM_SIZE:
            // FormResize
            if (wp != SIZE_MINIMIZED) {
                minHeight_ = MinWindowHeightFor(topPanelHeight_);
                LayoutPanels();
            }
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = minWidth_;
            info->ptMinTrackSize.y = minHeight_;
            return 0;
        }
        case WM_CLOSE:
            FormClose();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd(), kTimer1);
            KillTimer(hwnd(), kTimer2);
            return 0;
        default:
            return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::app
