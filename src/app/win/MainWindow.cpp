#include "app/win/MainWindow.h"

#include "app/win/AppWindow.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}  // namespace

TfrmPelorant::TfrmPelorant(AppWindow& appWindow, AppState& state)
    : appWindow_(appWindow), state_(state), peloCommMsg_(state.PeloCommMsg), CaptionBase(MakeCaptionBase(false)) {}

namespace {
WindowRect ToWindowRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }
}  // namespace

void TfrmPelorant::ApplyLoadedSettings() {
    hboxFont_ = state_.LoadedHBoxFont;
    RECT design{};
    GetWindowRect(hwnd(), &design);
    const WindowRect r = MainWindowRectFromStored(
        state_.LoadedPositions, ToWindowRect(design), {kClientWidth, 151},
        {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(hwnd(), nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
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

bool TfrmPelorant::Create() {
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    const std::wstring caption = ui::AnsiToWide(CaptionBase);
    if (!ui::Window::Create(L"TfrmPelorant", caption.c_str(), kMainStyle, 0, x, y, w, h, nullptr,
                            LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")))
        return false;
    SetTimer(hwnd(), kTimer1, 500, nullptr);
    SetTimer(hwnd(), kTimer2, 33, nullptr);
    return true;
}

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
        const std::string text = ClockCaptionText(CaptionBase, {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
        SetWindowTextA(hwnd(), text.c_str());
        appWindow_.SetTitle(ui::AnsiToWide(text));
    }
    LastShownSecond = now.wSecond;
}

void TfrmPelorant::FormClose() {
    // The window outlives the message loop: the settings saved at exit read its font and position.
    ShowWindow(hwnd(), SW_HIDE);
    PostQuitMessage(0);
}

void TfrmPelorant::OnPeloComm(WPARAM, LPARAM) {}

LRESULT TfrmPelorant::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == peloCommMsg_ && peloCommMsg_ != 0) {
        OnPeloComm(wp, lp);
        return 0;
    }
    switch (msg) {
        case WM_TIMER:
            if (wp == kTimer1) Timer1Timer();
            return 0;
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
