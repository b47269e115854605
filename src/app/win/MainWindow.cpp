#include "app/win/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "app/MainWindowGeometry.h"
#include "app/StartupRules.h"
#include "app/win/AppWindow.h"
#include "app/win/GeneralErrors.h"
#include "app/win/InstanceProtocol.h"
#include "ui/win/Controls.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"
#include "ui/win/YesCancelBox.h"

namespace pelo::app {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

constexpr const wchar_t* kClearAllText = L"Clear All messages?";

}  // namespace

TfrmPelorant::TfrmPelorant(AppWindow& appWindow, AppState& state)
    : appWindow_(appWindow), state_(state), peloCommMsg_(state.PeloCommMsg), CaptionBase(MakeCaptionBase(false)) {
    core_ = std::make_unique<headlines::THeadlineCore>(logFiles_, script_, localClock_, ui::ToU16(state.Folders.LogsDir));
    listBox_ = std::make_unique<headlines::THeadlineListBox>(core_->HBox);
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
        if (controls_.Created()) controls_.Label(layout::idLblHeadlineCount).SetText(std::to_wstring(count));
    };
    listBox_->onException = [] { ShowCurrentException(); };
    scriptSession_ = std::make_unique<ScriptSession>(state_, *core_, script_);
}

TfrmPelorant::~TfrmPelorant() {
    // FormDestroy: the readers remove their hooks first; the log writer writes what it holds when the headline
    // objects go (after nothing can dispatch into them any more).
    appWindow_.onActivateApp = nullptr;
    if (newsHost_) newsHost_->EndReaders();
    scriptSession_.reset();
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
    // The options dialog comes next, owned by the application window, then the coordinate dialog, owned by this
    // one; they stay hidden until asked for.
    if (!CreateOptionsDialog()) return false;
    if (!orderDesk_->CreateCoordsDialog()) return false;
    SetTimer(hwnd(), kTimer1, 500, nullptr);
    SetTimer(hwnd(), kTimer2, 33, nullptr);
    return true;
}

void TfrmPelorant::FormCreate() {
    controls_.Create(hwnd(), *listBox_);
    ApplyHBoxFont(hboxFont_);
    controls_.AdjustForScreenResolution();
    WireControls();
}

void TfrmPelorant::WireControls() {
    using namespace layout;
    auto on = [this](int id, std::function<void()> f) { controls_.Button(id).onClick = std::move(f); };

    newsHost_ = std::make_unique<NewsSessionHost>(
        state_, *core_, script_,
        NewsSessionHost::WindowSide{
            hwnd(), [this](std::string_view c) { controls_.Button(idBtnStartStop).SetTextA(c); },
            [this](int n) { controls_.Label(idLblActiveNewsSourceCount).SetText(std::to_wstring(n)); },
            [this] { SetAutoExecute(false); }, [this] { scriptSession_->Panels().ClearSignalState(); }});
    session_ = std::make_unique<TNewsSession>(state_.TerminalList, state_.Settings, *newsHost_);
    orderDesk_ = std::make_unique<clicker::TOrderDesk>(
        state_.Settings,
        clicker::TOrderDesk::MainWindowSide{hwnd(), [this] { return AutoExecuteChecked(); },
                                            [this] { SetAutoExecute(false); }, [this] { return script_.ScriptTestMode; },
                                            [this](const std::string& line) { core_->HBox.ShowHBoxLine(line); },
                                            [this](const std::string& line) { core_->HBox.StoreHBoxLine(line); }});

    controls_.chbAutoExecute.onClick = [this] { chbAutoExecuteClick(); };
    on(idBtnStartStop, [this] { btnStartStopClick(); });
    on(idBtnCoords, [this] { orderDesk_->CoordsDialog().Show(); });
    on(idBtnScriptEditor, [this] { OpenScriptEditor(); });
    on(idBtnShowOptions, [this] { ShowOptions(); });
    terminalBar_.Wire();
    // ListBox1Enter / ListBox1Exit: "Copy selected" follows the focus.
    listBox_->onFocus = [this] { menus_.EnableItem(menus_.PopupMenu3, idCopy1, true); };
    listBox_->onBlur = [this] { menus_.EnableItem(menus_.PopupMenu3, idCopy1, false); };

    menuCommands_[idExit1] = [this] { FormClose(); };
    menuCommands_[idShowPelorant1] = [this] { ShowFromTray(); };
    menuCommands_[idCopy1] = [this] { Copy1Click(); };
    menuCommands_[idClear1] = [this] { Clear1Click(); };
    menuCommands_[idRemove1] = [this] { scriptSession_->Lifecycle().RemoveScript(); };

    script::PanelControls panels{controls_.resPanel, controls_.signalPanel, {}, controls_.lblSignal,
                                 controls_.Label(idLblNoSignal), hwnd()};
    for (int k = 0; k < script::kIndicatorLabelCount; ++k) panels.IndicatorLabels[k] = &controls_.Label(idLbl1 + k);
    scriptSession_->Connect(
        {hwnd(), [this](bool testing) { SetCaptionBase(MakeCaptionBase(testing)); },
         [this](bool enabled) { menus_.EnableItem(menus_.PopupMenu2, idRemove1, enabled); },
         [this] { return session_->ReadingActive(); },
         [this](int signalCode) { orderDesk_->ExecuteTradeClicks(signalCode); }},
        panels);
}

// ---------------------------------------------------------------------------------------------------------------
// Settings and start-up steps

void TfrmPelorant::AllocateHeadlineStores() {
    core_->HBox.AllocateHBox(headlines::ClampHeadlineCapacity(state_.Settings.HeadlineCapacity));
    core_->DupCache.Allocate(headlines::ClampDupCacheSize(state_.Settings.DuplicateHCacheSize));
}

void TfrmPelorant::WriteWelcomeLines() {
    if (!state_.Settings.DisplayWelcomeMsg) return;
    const std::string title = std::string(ProgramTitle) + std::string(ProgramVersion);
    if (NoNewsSourceForWelcome(state_.TerminalList, state_.Settings))
        headlines::PlaceWelcomeLines(core_->HBox, true, "Welcome to " + title + "!",
                          "No news source is set up yet: click 'Options' to add your MT4 terminals.");
    else
        headlines::PlaceWelcomeLines(core_->HBox, false, "Welcome to " + title + "! Press 'Start' to read the news.", "");
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
        controls_.autoExecPanel.SetColor(controls_.autoExecPanel.Color() == face ? layout::AutoExecArmedColor : face);
    }
}

void TfrmPelorant::Timer2Timer() { core_->HBox.Timer2Timer(); }

// ---------------------------------------------------------------------------------------------------------------
// Autoexecute

void TfrmPelorant::SetAutoExecute(bool checked) {
    if (AutoExecuteChecked() == checked) return;
    controls_.chbAutoExecute.SetChecked(checked);
    chbAutoExecuteClick();
}

void TfrmPelorant::chbAutoExecuteClick() {
    orderDesk_->Orders().ClearOrderWindowHandles();
    if (!AutoExecuteChecked()) {
        if (controls_.autoExecPanel.Color() == layout::AutoExecArmedColor) controls_.autoExecPanel.SetColor(GetSysColor(COLOR_BTNFACE));
        return;
    }
    orderDesk_->Orders().ArmAutoExecute();
}

void TfrmPelorant::PreviewKeyDown(HWND target, int key) {
    // Both windows preview their keys: a position can be recorded while this window has the focus and the
    // pointer rests on another program's button.
    clicker::TfrmSetCoords& coords = orderDesk_->CoordsDialog();
    if (target == hwnd() || IsChild(hwnd(), target) || coords.Owns(target)) coords.FormKeyDown(key);
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

void TfrmPelorant::FormClose() {
    if (closing_ || !terminalBar_.ExitConfirmed()) return;
    closing_ = true;
    // The window outlives the message loop: the settings saved at exit read its font and position.
    ShowWindow(hwnd(), SW_HIDE);
    PostQuitMessage(0);
}

// ---------------------------------------------------------------------------------------------------------------
// Commands of a second start and of the editor

void TfrmPelorant::OnPeloComm(WPARAM wp, LPARAM lp) {
    script::TScriptLifecycle& scripts = scriptSession_->Lifecycle();
    switch (CommandOf(wp, lp)) {
        case PeloCommand::News: newsHost_->OnNewsNotification(lp); break;
        case PeloCommand::Attach: scripts.AttachScript(); break;
        case PeloCommand::Detach: scripts.RemoveScript(); break;
        case PeloCommand::Test: scripts.TestScript(); break;
        case PeloCommand::Reset: scripts.ResetScript(); break;
        case PeloCommand::Activate: Activate(); break;
        case PeloCommand::None: break;
    }
}

void TfrmPelorant::Activate() {
    SetForegroundWindow(hwnd());
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
}

void TfrmPelorant::RunStartupCommand(StartupCommand command) {
    script::TScriptLifecycle& scripts = scriptSession_->Lifecycle();
    switch (command) {
        case StartupCommand::Detach: scripts.RemoveScript(); break;
        case StartupCommand::Test: scripts.TestScript(); break;
        case StartupCommand::Reset: scripts.ResetScript(); break;
        case StartupCommand::Attach: scripts.AttachScript(); break;
        case StartupCommand::None:
            if (state_.Settings.AutoAttach) scripts.AttachScript();
            break;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Taskbar and notification area

void TfrmPelorant::InstallAppEx(TAppEx& appEx) {
    appEx_ = &appEx;
    TrayIcon1.SetToolTip("Pelorant");
    TrayIcon1.onDblClick = [this] { ShowFromTray(); };
    TrayIcon1.popupMenu = menus_.PopupMenu1;
    TrayIcon1.menuOwner = hwnd();
    TrayIcon1.foregroundWindow = appWindow_.hwnd();
    appWindow_.onActivateApp = [this](bool active) { appEx_->ApplicationActivated(active); };
    clicker::TfrmSetCoords& coords = orderDesk_->CoordsDialog();
    appEx.InstallWindowHooks(
        appWindow_.hwnd(), hwnd(),
        TAppEx::MainWindowSide{
            [this] { return state_.Settings.MinimizeToSysTray; },
            [this](const wchar_t* text) {
                if (!AutoExecuteChecked()) return;
                SetAutoExecute(false);
                ui::ShowInfoBox(text, ui::BoxLayer::TopMost);
            },
            [this, &coords] {
                if (options_->IsOpen()) {
                    ShowWindow(options_->hwnd(), SW_HIDE);
                    optionsHiddenForTray_ = true;
                }
                if (IsWindowVisible(coords.hwnd())) {
                    ShowWindow(coords.hwnd(), SW_HIDE);
                    coordsHiddenForTray_ = true;
                }
            },
            [this, &coords] {
                if (!coordsHiddenForTray_) return;
                coordsHiddenForTray_ = false;
                ShowWindow(coords.hwnd(), SW_SHOWNOACTIVATE);
            },
            [this] { return InTray(); }, [this] { MinimizeToTray(); }, [this] { RestoreFromTray(); },
            [this] { TrayIcon1.SetActive(false); }});
}

void TfrmPelorant::MinimizeToTray() {
    if (InTray()) return;
    ShowWindow(hwnd(), SW_HIDE);
    TrayIcon1.SetActive(true);
}

void TfrmPelorant::RestoreFromTray() {
    if (!InTray()) return;
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(appWindow_.hwnd());
    TrayIcon1.SetActive(false);
}

void TfrmPelorant::ShowFromTray() {
    TrayIcon1.SetActive(false);
    ShowWindow(hwnd(), SW_SHOW);
    if (optionsHiddenForTray_) {
        optionsHiddenForTray_ = false;
        ShowWindow(options_->hwnd(), SW_SHOW);
    }
    if (coordsHiddenForTray_) {
        coordsHiddenForTray_ = false;
        ShowWindow(orderDesk_->CoordsDialog().hwnd(), SW_SHOW);
    }
}

void TfrmPelorant::OpenScriptEditor() {
    SetAutoExecute(false);
    app::OpenScriptEditor(state_.EditorSemaphoreName, state_.ProgramDir);
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
    else if (control == controls_.Button(layout::idBtnScriptEditor).hwnd())
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
    if (LRESULT result = 0; appEx_ && appEx_->MainWindowMessage(msg, wp, lp, result)) return result;
    if (msg == peloCommMsg_ && peloCommMsg_ != 0) {
        OnPeloComm(wp, lp);
        return 0;
    }
    if (msg == ScriptSession::RunPendingMessage) {
        scriptSession_->Lifecycle().RunPendingCommands();
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
            if (wp != SIZE_MINIMIZED) controls_.OnFormResize();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = controls_.MinWidth();
            info->ptMinTrackSize.y = controls_.MinHeight();
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
