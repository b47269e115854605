// The settings that live in the main window: the headline box font and the window's bounds.
#include "app/win/MainWindow.h"

#include "ui/win/Controls.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

WindowRect ToWindowRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

void TfrmPelorant::ApplyLoadedSettings() {
    ApplyHBoxFont(state_.LoadedHBoxFont);
    RECT design{};
    GetWindowRect(hwnd(), &design);
    const WindowRect r = MainWindowRectFromStored(
        state_.LoadedPositions, ToWindowRect(design), {controls_.MinWidth(), controls_.MinHeight()},
        {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(hwnd(), nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);

    const HWND coords = orderDesk_->CoordsDialog().hwnd();
    RECT dialog{};
    GetWindowRect(coords, &dialog);
    const WindowPoint at = CoordsWindowPosFromStored(state_.LoadedPositions,
                                                     {dialog.right - dialog.left, dialog.bottom - dialog.top},
                                                     {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(coords, nullptr, at.Left, at.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

StoredWindowPositions TfrmPelorant::PositionsForSave() const {
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
    RECT coords{};
    GetWindowRect(orderDesk_->CoordsDialog().hwnd(), &coords);
    return app::PositionsForSave(maximized, ToWindowRect(normal), ToWindowRect(work), {coords.left, coords.top});
}

}  // namespace pelo::app
