#include "app/win/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "app/StartupRules.h"
#include "app/win/AppWindow.h"
#include "app/win/GeneralErrors.h"
#include "app/win/MainWindowLayout.h"
#include "ui/win/Controls.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"
#include "ui/win/YesCancelBox.h"

namespace pelo::app {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

constexpr const wchar_t* kNoNewsSourcesText = L"No news sources are setup! Click 'Options'...";
constexpr const wchar_t* kCoordinatesNotSetText = L"Button coordinates are not set!";
constexpr const wchar_t* kMinimizeToTrayText = L"Minimizing to system tray will disable auto-clicking.";
constexpr const wchar_t* kClearAllText = L"Clear All messages?";

WindowRect ToWindowRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

HFONT MakeFont(const wchar_t* name, int height, bool bold = false, bool fixed = false,
               BYTE quality = DEFAULT_QUALITY) {
    ui::FontSpec spec;
    spec.Name = name;
    spec.Height = height;
    spec.Bold = bold;
    spec.FixedPitch = fixed;
    spec.Quality = quality;
    return ui::CreatePixelFont(spec);
}

std::wstring IntText(int value) { return std::to_wstring(value); }

UINT CurrentShiftState() {
    UINT shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= TfrmPelorant::kShift;
    if (GetKeyState(VK_MENU) < 0) shift |= TfrmPelorant::kAlt;
    if (GetKeyState(VK_CONTROL) < 0) shift |= TfrmPelorant::kCtrl;
    return shift;
}

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
        if (lblHeadlineCount_) SetLabelText(lblHeadlineCount_, IntText(count));
    };
    listBox_->onException = [] { ShowCurrentException(); };
}

TfrmPelorant::~TfrmPelorant() {
    // FormDestroy: the readers remove their hooks first; the log writer writes what it holds when the headline
    // objects go (after nothing can dispatch into them any more).
    newsIntake_.reset();
    state_.Settings.LogHeadlines = false;
    listBox_.reset();
    if (hwnd()) {
        KillTimer(hwnd(), kTimer1);
        KillTimer(hwnd(), kTimer2);
    }
    for (HFONT f : {fontDefault_, fontTopPanel_, fontAutoExecute_, fontCounters_, fontSmallButtons_,
                    fontIndicators_, fontSignal_, fontNoSignal_})
        if (f) DeleteObject(f);
}

// ---------------------------------------------------------------------------------------------------------------
// Creation

bool TfrmPelorant::Create() {
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    const std::wstring caption = ui::AnsiToWide(CaptionBase);
    if (!ui::Window::Create(L"TfrmPelorant", caption.c_str(), kMainStyle, 0, x, y, w, h, nullptr,
                            LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")))
        return false;
    FormCreate();
    SetTimer(hwnd(), kTimer1, 500, nullptr);
    SetTimer(hwnd(), kTimer2, 33, nullptr);
    return true;
}

void TfrmPelorant::FormCreate() {
    using namespace layout;
    fontDefault_ = MakeFont(L"Tahoma", -12);
    fontTopPanel_ = MakeFont(L"MS Sans Serif", -15);
    fontAutoExecute_ = MakeFont(L"Microsoft Sans Serif", -13);
    fontCounters_ = MakeFont(L"Tahoma", -13);
    fontSmallButtons_ = MakeFont(L"Tahoma", -11);
    // The script's labels are drawn without anti-aliasing: crisp digits on the dark panel.
    fontIndicators_ = MakeFont(L"Microsoft Sans Serif", -16, true, true, NONANTIALIASED_QUALITY);
    fontSignal_ = MakeFont(L"Microsoft Sans Serif", -16, true, false, NONANTIALIASED_QUALITY);
    fontNoSignal_ = MakeFont(L"Microsoft Sans Serif", -13);

    RECT client;
    GetClientRect(hwnd(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    topPanel_.Create(hwnd(), hwnd(), 0, 0, width, TopPanelHeight, face);
    bottomPanel_.Create(hwnd(), hwnd(), 0, height - BottomPanelHeight, width, BottomPanelHeight, face);
    middlePanel_.Create(hwnd(), hwnd(), 0, TopPanelHeight, width, height - TopPanelHeight - BottomPanelHeight,
                        GetSysColor(COLOR_WINDOW));
    CreateTopPanel();
    CreateBottomPanel();

    RECT middle;
    GetClientRect(middlePanel_.hwnd(), &middle);
    listBox1_ = listBox_->Create(middlePanel_.hwnd(), idListBox1, 0, 0, middle.right, middle.bottom);
    ApplyHBoxFont(hboxFont_);

    AdjustForScreenResolution();
    middlePanel_.onResize = [this] {
        RECT rc;
        GetClientRect(middlePanel_.hwnd(), &rc);
        MoveWindow(listBox1_, 0, 0, rc.right, rc.bottom, TRUE);
    };
    resPanel_.onResize = [this] { ResPanelResize(); };
}

void TfrmPelorant::CreateTopPanel() {
    using namespace layout;
    HWND top = topPanel_.hwnd();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    autoExecPanel_.Create(top, hwnd(), AutoExecPanel.Left, AutoExecPanel.Top, AutoExecPanel.Width,
                          AutoExecPanel.Height, face);
    chbAutoExecute_ = ui::CreateChild(L"BUTTON", L"autoexecute  ", WS_TABSTOP | BS_AUTOCHECKBOX, 0,
                                      chbAutoExecute.Left, chbAutoExecute.Top, chbAutoExecute.Width,
                                      chbAutoExecute.Height, autoExecPanel_.hwnd(), idChbAutoExecute,
                                      fontAutoExecute_);

    btnCoords_ = ui::CreateChild(L"BUTTON", L"Coords", kButton, 0, btnCoords.Left, btnCoords.Top, btnCoords.Width,
                                 btnCoords.Height, top, idBtnCoords, fontTopPanel_);
    btnStartStop_ = ui::CreateChild(L"BUTTON", L"Start", kButton, 0, btnStartStop.Left, btnStartStop.Top,
                                    btnStartStop.Width, btnStartStop.Height, top, idBtnStartStop, fontTopPanel_);

    resPanel_.Create(top, hwnd(), layout::ResPanel.Left, layout::ResPanel.Top, layout::ResPanel.Width,
                     layout::ResPanel.Height, ResPanelColor);
    for (int i = 0; i < 6; ++i) {
        const auto& ind = Indicators[i];
        const SIZE size = ui::TextExtent(fontIndicators_, ind.Caption);
        lbl_[i] = ui::CreateChild(L"STATIC", ind.Caption, kLabel, 0, ind.Left, ind.Top, size.cx, size.cy,
                                  resPanel_.hwnd(), idLbl1 + i, fontIndicators_);
        resPanel_.SetChildColors(lbl_[i], RGB(255, 255, 255));
    }

    signalPanel_.Create(top, hwnd(), layout::SignalPanel.Left, layout::SignalPanel.Top, layout::SignalPanel.Width,
                        layout::SignalPanel.Height, SignalPanelColor, true);
    lblSignal_ = ui::CreateChild(L"STATIC", L"", kLabel, 0, layout::lblSignal.x, layout::lblSignal.y, 0,
                                 ui::TextExtent(fontSignal_, L"0").cy, signalPanel_.hwnd(), idLblSignal, fontSignal_);
    signalPanel_.SetChildColors(lblSignal_, RGB(0, 0, 0));
    const SIZE noSignal = ui::TextExtent(fontNoSignal_, L"no signal");
    lblNoSignal_ = ui::CreateChild(L"STATIC", L"no signal", kLabel, 0, layout::lblNoSignal.x, layout::lblNoSignal.y, noSignal.cx,
                                   noSignal.cy, signalPanel_.hwnd(), idLblNoSignal, fontNoSignal_);

    auto label = [&](const wchar_t* text, POINT at, int id) {
        const SIZE size = ui::TextExtent(fontCounters_, text);
        return ui::CreateChild(L"STATIC", text, kLabel | SS_NOTIFY, 0, at.x, at.y, size.cx, size.cy, top, id,
                               fontCounters_);
    };
    label5_ = label(L"S:", Label5, idLabel5);
    lblActiveNewsSourceCount_ = label(L"0", layout::lblActiveNewsSourceCount, idLblActiveNewsSourceCount);
    label1_ = label(L"H:", Label1, idLabel1);
    lblHeadlineCount_ = label(L"0", layout::lblHeadlineCount, idLblHeadlineCount);

    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    auto hint = [&](HWND control, const wchar_t* text) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = top;
        ti.uId = reinterpret_cast<UINT_PTR>(control);
        ti.lpszText = const_cast<wchar_t*>(text);
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    };
    if (tooltips_) {
        hint(label5_, L"Active news sources");
        hint(label1_, L"New headlines received");
    }
}

void TfrmPelorant::CreateBottomPanel() {
    using namespace layout;
    HWND bottom = bottomPanel_.hwnd();
    auto button = [&](const wchar_t* text, const Box& b, int id, HFONT font) {
        return ui::CreateChild(L"BUTTON", text, kButton, 0, b.Left, b.Top, b.Width, b.Height, bottom, id, font);
    };
    btnScriptEditor_ = button(L"Script Editor", btnScriptEditor, idBtnScriptEditor, fontDefault_);
    btnLaunchMT4s_ = button(L"Launch MT4s", btnLaunchMT4s, idBtnLaunchMT4s, fontSmallButtons_);
    btnCloseMT4s_ = button(L"Close MT4s", btnCloseMT4s, idBtnCloseMT4s, fontSmallButtons_);
    btnShowAll_ = button(L"Show All", btnShowAll, idBtnShowAll, fontSmallButtons_);
    btnHideAll_ = button(L"Hide All", btnHideAll, idBtnHideAll, fontSmallButtons_);
    btnShow_ = button(L"Show", btnShow, idBtnShow, fontSmallButtons_);
    btnHide_ = button(L"Hide", btnHide, idBtnHide, fontSmallButtons_);
    btnShowOptions_ = button(L"Options", btnShowOptions, idBtnShowOptions, fontDefault_);

    // The drop-down list's window height includes the list: room for 15 entries.
    comboBox1_ = ui::CreateChild(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, ComboBox1.Left,
                                 ComboBox1.Top, ComboBox1.Width, ComboBox1.Height, bottom, idComboBox1, fontDefault_);
    const int itemHeight = static_cast<int>(SendMessageW(comboBox1_, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(comboBox1_, nullptr, 0, 0, ComboBox1.Width,
                 ComboBox1.Height + ComboBox1DropDownCount * std::max(itemHeight, 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPelorant::AdjustForScreenResolution() {
    using namespace layout;
    const int dpi = ui::ScreenDpi();
    if (dpi != 120 && dpi < 144) return;
    const bool large = dpi >= 144;
    // The check box's own size follows its font, which grows with the resolution; the panel around it keeps
    // the box's text in line with the buttons below.
    if (large) {
        if (fontAutoExecute_) DeleteObject(fontAutoExecute_);
        fontAutoExecute_ = MakeFont(L"Tahoma", -15);
        SendMessageW(chbAutoExecute_, WM_SETFONT, reinterpret_cast<WPARAM>(fontAutoExecute_), TRUE);
    }
    const int boxHeight = large ? 19 : 16;
    const int panelHeight = AutoExecPanel.Height + (large ? 2 : -1);
    SetWindowPos(autoExecPanel_.hwnd(), nullptr, AutoExecPanel.Left, AutoExecPanel.Top + 2, AutoExecPanel.Width,
                 panelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(chbAutoExecute_, nullptr, chbAutoExecute.Left, chbAutoExecute.Top - 2, chbAutoExecute.Width,
                 boxHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------------------------
// Settings and start-up steps

void TfrmPelorant::ApplyLoadedSettings() {
    ApplyHBoxFont(state_.LoadedHBoxFont);
    RECT design{};
    GetWindowRect(hwnd(), &design);
    const WindowRect r = MainWindowRectFromStored(
        state_.LoadedPositions, ToWindowRect(design), {minWidth_, minHeight_},
        {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(hwnd(), nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPelorant::ApplyHBoxFont(const HBoxFontDescription& font) {
    hboxFont_ = font;
    ui::FontSpec spec;
    spec.Name = ui::ToWide(font.Name);
    spec.Height = font.Height;
    spec.Bold = font.Style.Bold;
    spec.Italic = font.Style.Italic;
    spec.Underline = font.Style.Underline;
    spec.Strikeout = font.Style.Strikeout;
    // The font is always made afresh from its description, so with smoothing enabled it has default quality,
    // also right after the user chose it in the options dialog.
    spec.Quality = state_.Settings.HBoxFontSmoothingDisabled ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    listBox_->ApplyFont(spec, font.Color);
}

void TfrmPelorant::AllocateHeadlineStores() {
    core_->HBox.AllocateHBox(ClampHeadlineCapacity(state_.Settings.HeadlineCapacity));
    core_->DupCache.Allocate(ClampDupCacheSize(state_.Settings.DuplicateHCacheSize));
}

void TfrmPelorant::FillTerminalSelector() {
    SendMessageW(comboBox1_, CB_RESETCONTENT, 0, 0);
    for (const TMT4TermInfo& t : state_.TerminalList)
        SendMessageA(comboBox1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.ShortName.c_str()));
    if (!state_.TerminalList.empty()) SendMessageW(comboBox1_, CB_SETCURSEL, 0, 0);

    // The console source has a selector entry while it is shown.
    const bool console = state_.Settings.UseConsoleApp && state_.Settings.ShowConsole;
    const int count = static_cast<int>(SendMessageW(comboBox1_, CB_GETCOUNT, 0, 0));
    std::string last;
    if (count > 0) {
        char buffer[256] = {};
        if (SendMessageA(comboBox1_, CB_GETLBTEXTLEN, count - 1, 0) < 256)
            SendMessageA(comboBox1_, CB_GETLBTEXT, count - 1, reinterpret_cast<LPARAM>(buffer));
        last = buffer;
    }
    if (console && last != "Console") {
        SendMessageA(comboBox1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Console"));
        SendMessageW(comboBox1_, CB_SETCURSEL, 0, 0);
    } else if (!console && last == "Console") {
        SendMessageW(comboBox1_, CB_DELETESTRING, count - 1, 0);
    }
}

void TfrmPelorant::WriteWelcomeLines() {
    if (!state_.Settings.DisplayWelcomeMsg) return;
    const AppSettings& s = state_.Settings;
    const bool noSource = state_.TerminalList.empty() && !s.UseTCPClient && !s.UseConsoleApp && !s.AllowUsingDLL;
    const std::string title = std::string(ProgramTitle) + std::string(ProgramVersion);
    if (noSource)
        PlaceWelcomeLines(core_->HBox, true, "Welcome to " + title + "!",
                          "No news source is set up yet: click 'Options' to add your MT4 terminals.");
    else
        PlaceWelcomeLines(core_->HBox, false, "Welcome to " + title + "! Press 'Start' to read the news.", "");
}

void TfrmPelorant::UpdateTerminalButtons() {
    const TTerminalButtonStates states = TerminalButtonStates(
        state_.TerminalList.size(), state_.Settings.UseConsoleApp, state_.Settings.ShowConsole);
    for (HWND b : {btnLaunchMT4s_, btnCloseMT4s_, btnShowAll_, btnHideAll_})
        EnableWindow(b, states.AllTerminalButtons);
    for (HWND b : {comboBox1_, btnShow_, btnHide_}) EnableWindow(b, states.SelectorButtons);
}

StoredWindowPositions TfrmPelorant::PositionsForSave(const StoredWindowPositions& loaded) const {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(hwnd(), &wp);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // GetWindowPlacement gives workspace coordinates; on the primary monitor they differ from screen
    // coordinates by the work area's origin.
    RECT normal = wp.rcNormalPosition;
    OffsetRect(&normal, work.left, work.top);
    const bool maximized = wp.showCmd == SW_SHOWMAXIMIZED || (IsZoomed(hwnd()) != 0);
    return pelo::PositionsForSave(maximized, ToWindowRect(normal), ToWindowRect(work),
                                  {loaded.CoordsWindowX, loaded.CoordsWindowY});
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
        SetWindowTextA(hwnd(), text.c_str());
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
    MoveWindow(topPanel_.hwnd(), 0, 0, width, topPanelHeight_, TRUE);
    MoveWindow(bottomPanel_.hwnd(), 0, bottomTop, width, layout::BottomPanelHeight, TRUE);
    MoveWindow(middlePanel_.hwnd(), 0, topPanelHeight_, width, std::max(0, bottomTop - topPanelHeight_), TRUE);
}

void TfrmPelorant::FormResize() {
    minHeight_ = topPanelHeight_ + 90;
    LayoutPanels();
}

void TfrmPelorant::ResPanelResize() {
    const RECT res = ui::ChildRect(resPanel_.hwnd());
    const int resWidth = res.right - res.left, resHeight = res.bottom - res.top;
    topPanelHeight_ = std::max(layout::TopPanelHeight, resHeight - 1);

    const RECT sig = ui::ChildRect(signalPanel_.hwnd());
    const int signalLeft = res.right + 4;
    SetWindowPos(signalPanel_.hwnd(), nullptr, signalLeft, sig.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int labelLeft = signalLeft + (sig.right - sig.left) + 8;
    const RECT l1 = ui::ChildRect(label1_);
    const RECT l5 = ui::ChildRect(label5_);
    SetWindowPos(label1_, nullptr, labelLeft, l1.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(label5_, nullptr, labelLeft, l5.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int countLeft = labelLeft + (l1.right - l1.left) + 4;
    for (HWND count : {lblActiveNewsSourceCount_, lblHeadlineCount_}) {
        const RECT c = ui::ChildRect(count);
        SetWindowPos(count, nullptr, countLeft, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    minHeight_ = topPanelHeight_ + 90;
    minWidth_ = resWidth >= layout::ResPanel.Width ? resWidth + 280 : layout::MinWindowWidth;
    LayoutPanels();
    // A window below its new minimum grows to it.
    RECT w;
    GetWindowRect(hwnd(), &w);
    if (w.right - w.left < minWidth_ || w.bottom - w.top < minHeight_)
        SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(w.right - w.left, minWidth_),
                     std::max<int>(w.bottom - w.top, minHeight_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPelorant::SetLabelText(HWND label, const std::wstring& text) {
    // Labels are sized to their text.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const SIZE size = ui::TextExtent(font, text);
    SetWindowTextW(label, text.c_str());
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void TfrmPelorant::ShowActiveSourceCount(int count) { SetLabelText(lblActiveNewsSourceCount_, IntText(count)); }

// ---------------------------------------------------------------------------------------------------------------
// Autoexecute

bool TfrmPelorant::AutoExecuteChecked() const {
    return SendMessageW(chbAutoExecute_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmPelorant::SetAutoExecute(bool checked) {
    if (AutoExecuteChecked() == checked) return;
    SendMessageW(chbAutoExecute_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    chbAutoExecuteClick();
}

void TfrmPelorant::chbAutoExecuteClick() {
    if (hooks.ClearOrderWindows) hooks.ClearOrderWindows();
    if (!AutoExecuteChecked()) {
        if (autoExecPanel_.Color() == layout::AutoExecArmedColor) autoExecPanel_.SetColor(GetSysColor(COLOR_BTNFACE));
        return;
    }
    if (state_.Settings.DiscoveryMethod == 1) {
        // ClickList lives in memory only: until the coordinate dialog has filled an entry, nothing is set.
        const bool anySet = hooks.ManualCoordinatesSet && hooks.ManualCoordinatesSet();
        if (!anySet) {
            SetAutoExecute(false);
            ui::ShowErrorBox(kCoordinatesNotSetText, ui::BoxLayer::TopMost);
        }
        return;
    }
    // Order window discovery unchecks the box and explains itself when it finds nothing.
    int count = 0;
    if (!hooks.FindOrderWindows) {
        SetAutoExecute(false);
        return;
    }
    if (hooks.FindOrderWindows(count))
        core_->HBox.StoreHBoxLine("AutoExecute: " + std::to_string(count) +
                                  (count == 1 ? " order window found (OK)" : " order windows found (OK)"));
}

// ---------------------------------------------------------------------------------------------------------------
// Start and Stop

std::string TfrmPelorant::StartStopCaption() const { return ui::GetWindowTextA(btnStartStop_); }

void TfrmPelorant::btnStartStopClick() {
    if (StartStopCaption() == "Start") {
        const AppSettings& s = state_.Settings;
        if (state_.TerminalList.empty() && !s.UseTCPClient && (!s.UseConsoleApp || s.ConsoleAppPath.empty()) &&
            !s.AllowUsingDLL) {
            ui::ShowErrorBox(kNoNewsSourcesText, ui::BoxLayer::TopMost);
            return;
        }
        if (!core_->Log.StartNewsReading(script_.ScriptAttached, script_.ScriptTestMode)) return;
        core_->HBox.ShowHBoxLine("News reader started");
        SetWindowTextW(btnStartStop_, L"Stop");
        ResetForNewsReading(core_->DupCache, core_->Counter);
        ShowActiveSourceCount(0);
        // A terminal that fails with an error does not stop the others; once all were tried the first error is
        // shown, and reading runs with the readers that were created.
        std::exception_ptr failure;
        try {
            StartNewsReaders();
        } catch (...) {
            failure = std::current_exception();
        }
        if (hooks.ResetSignalState) hooks.ResetSignalState();
        ReadingActive_ = true;
        if (failure) std::rethrow_exception(failure);
    } else {
        StopNewsReading();
    }
}

void TfrmPelorant::StartNewsReaders() {
    // Made at the first start: the hook library is loaded only after the window exists.
    if (!newsIntake_) {
        newsIntake_ = std::make_unique<news::NewsIntake>(
            *this, news::NewsIntakeConfig{hwnd(), peloCommMsg_, state_.Hook.module, state_.Hook.hookProc});
        newsIntake_->OnActiveSourceCount = [this](int count) { ShowActiveSourceCount(count); };
    }
    newsIntake_->StartReading(state_.TerminalList);
}

void TfrmPelorant::StopNewsReading() {
    ReadingActive_ = false;
    SetAutoExecute(false);
    if (newsIntake_) newsIntake_->StopReading();
    core_->Log.StopNewsReading(script_.ScriptAttached, script_.ScriptTestMode);
    SetWindowTextW(btnStartStop_, L"Start");
    core_->HBox.ShowHBoxLine("News reader stopped");
}

// ---------------------------------------------------------------------------------------------------------------
// Dispatch (the readers' side)

THeadlineSettings TfrmPelorant::CurrentHeadlineSettings() const {
    const AppSettings& s = state_.Settings;
    THeadlineSettings h;
    h.DisplayHeadlines = s.DisplayHeadlines;
    h.NoDuplicates = s.NoDuplicates;
    h.LogHeadlines = s.LogHeadlines;
    h.AltTimeFormat = s.AltTimeFormat;
    return h;
}

int TfrmPelorant::HistMT4HBuffer() { return state_.Settings.HistMT4HBuffer; }
bool TfrmPelorant::NoDuplicates() { return state_.Settings.NoDuplicates; }
bool TfrmPelorant::CheckDuplicate(const std::string& text) { return core_->DupCache.CheckDuplicate(text); }

void TfrmPelorant::DispatchHeadlines(const TNewsReader& reader) {
    core_->Dispatcher.DispatchHeadlines(reader.Batch(), reader.ShortName(), reader.FirstPass(),
                                        CurrentHeadlineSettings());
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
// Terminals

void TfrmPelorant::ActOnSelectedTerminal(TTerminalAction action) {
    const std::string selector = ui::GetWindowTextA(comboBox1_);
    ActOnTerminalByShortName(state_.TerminalList, selector, action, terminals_);
}

// ---------------------------------------------------------------------------------------------------------------
// Closing

bool TfrmPelorant::CloseConfirmed() {
    const int hidden = CountHiddenTerminals(state_.TerminalList, terminals_);
    if (hidden == 0) return true;
    const std::wstring n = IntText(hidden);
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

void TfrmPelorant::PreviewMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return;
    try {
        if (hooks.FormKeyDown) hooks.FormKeyDown(msg.wParam, CurrentShiftState());
    } catch (...) {
        ShowCurrentException();
    }
}

bool TfrmPelorant::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            if (!state_.Settings.MinimizeToSysTray || !hooks.MinimizeToTray) return false;
            if (AutoExecuteChecked()) {
                ui::ShowInfoBox(kMinimizeToTrayText, ui::BoxLayer::TopMost);
                SetAutoExecute(false);
            }
            hooks.MinimizeToTray();
            return true;
        case SC_RESTORE:
            if (!state_.Settings.MinimizeToSysTray || !hooks.RestoreFromTray) return false;
            hooks.RestoreFromTray();
            return true;
        default:
            return false;
    }
}

void TfrmPelorant::OnCommand(int id, int code, HWND control) {
    using namespace layout;
    if (control == listBox1_) {
        // ListBox1Enter / ListBox1Exit
        if (code == LBN_SETFOCUS) menus_.EnableItem(menus_.PopupMenu3, idCopy1, true);
        if (code == LBN_KILLFOCUS) menus_.EnableItem(menus_.PopupMenu3, idCopy1, false);
        return;
    }
    if (control && code != BN_CLICKED) return;
    auto run = [](const std::function<void()>& f) {
        if (f) f();
    };
    switch (id) {
        case idChbAutoExecute: chbAutoExecuteClick(); break;
        case idBtnStartStop: btnStartStopClick(); break;
        case idBtnCoords: run(hooks.ShowCoordsDialog); break;
        case idBtnScriptEditor:
            SetAutoExecute(false);
            run(hooks.OpenScriptEditor);
            break;
        case idBtnShowOptions:
            SetAutoExecute(false);
            run(hooks.ShowOptionsDialog);
            break;
        case idBtnLaunchMT4s: LaunchAllTerminals(state_.TerminalList, terminals_); break;
        case idBtnCloseMT4s: ActOnAllTerminals(state_.TerminalList, TTerminalAction::Close, terminals_); break;
        case idBtnShowAll: ActOnAllTerminals(state_.TerminalList, TTerminalAction::Show, terminals_); break;
        case idBtnHideAll: ActOnAllTerminals(state_.TerminalList, TTerminalAction::Hide, terminals_); break;
        case idBtnShow: ActOnSelectedTerminal(TTerminalAction::Show); break;
        case idBtnHide: ActOnSelectedTerminal(TTerminalAction::Hide); break;
        case idShowPelorant1: run(hooks.ShowFromTray); break;
        case idExit1: FormClose(); break;
        case idRemove1: run(hooks.RemoveScript); break;
        case idCopy1: Copy1Click(); break;
        case idClear1: Clear1Click(); break;
        default: break;
    }
}

void TfrmPelorant::OnContextMenu(HWND control, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: below the control's top-left corner
        RECT r;
        GetWindowRect(control, &r);
        screen = {r.left + 8, r.top + 8};
    }
    if (control == listBox1_) TMainWindowMenus::Track(menus_.PopupMenu3, hwnd(), screen);
    else if (control == btnScriptEditor_) TMainWindowMenus::Track(menus_.PopupMenu2, hwnd(), screen);
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
        if (wp == NewsNotificationCode) {
            if (newsIntake_) newsIntake_->OnNewsNotification(lp);
        } else if (hooks.PeloCommand) {
            hooks.PeloCommand(wp, lp);
        }
        return 0;
    }
    switch (msg) {
        case WM_TIMER:
            if (wp == kTimer1) Timer1Timer();
            else if (wp == kTimer2) Timer2Timer();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wp), POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
            return 0;
        case WM_SIZE:
            if (wp != SIZE_MINIMIZED) FormResize();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = minWidth_;
            info->ptMinTrackSize.y = minHeight_;
            return 0;
        }
        case WM_SYSCOMMAND:
            if (OnSysCommand(wp)) return 0;
            return DefaultHandling(msg, wp, lp);
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
