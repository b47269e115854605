#include "app/win/MainWindowControls.h"

#include <algorithm>

#include "ui/win/Controls.h"

namespace pelo::app {
namespace {

ui::Font MakeFont(const layout::FontRow& f) { return ui::Font(f.Name, f.Height, f.Bold, f.FixedPitch, f.Quality); }

void MoveLeft(ui::Window& w, int left) {
    const ui::Rect r = w.RectInParent();
    w.Move({left, r.Top, r.Width, r.Height});
}

}  // namespace

HWND MainWindowControls::PanelWindow(layout::Panel panel) const {
    switch (panel) {
        case layout::Panel::Top: return topPanel_.hwnd();
        case layout::Panel::Bottom: return bottomPanel_.hwnd();
        case layout::Panel::AutoExec: return autoExecPanel.hwnd();
        case layout::Panel::Res: return resPanel.hwnd();
        case layout::Panel::Signal: return signalPanel.hwnd();
    }
    return nullptr;
}

void MainWindowControls::Create(HWND form, headlines::THeadlineListBox& listBox) {
    using namespace layout;
    form_ = form;
    for (const FontRow& f : Fonts) fonts_[static_cast<int>(f.Role)] = MakeFont(f);

    RECT client;
    GetClientRect(form, &client);
    const int width = client.right, height = client.bottom;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    topPanel_.Create({form, form, {0, 0, width, TopPanelHeight}, face});
    bottomPanel_.Create({form, form, {0, height - BottomPanelHeight, width, BottomPanelHeight}, face});
    middlePanel_.Create({form, form, {0, TopPanelHeight, width, height - TopPanelHeight - BottomPanelHeight},
                         GetSysColor(COLOR_WINDOW)});
    autoExecPanel.Create({topPanel_.hwnd(), form, AutoExecPanel, face});
    resPanel.Create({topPanel_.hwnd(), form, layout::ResPanel, ResPanelColor});
    signalPanel.Create({topPanel_.hwnd(), form, layout::SignalPanel, SignalPanelColor, true});

    chbAutoExecute.Create({.parent = autoExecPanel.hwnd(), .id = idChbAutoExecute, .rect = layout::chbAutoExecute,
                           .text = chbAutoExecuteCaption, .font = FontFor(FontRole::AutoExecute)});
    for (const ButtonRow& b : Buttons)
        buttons_[b.Id].Create({.parent = PanelWindow(b.Parent), .id = b.Id, .rect = b.Place, .text = b.Caption,
                               .font = FontFor(b.Font)});
    for (const LabelRow& l : Labels)
        labels_[l.Id].Create({.parent = PanelWindow(l.Parent), .id = l.Id, .rect = {l.At.x, l.At.y, 0, 0},
                              .text = l.Caption, .font = FontFor(l.Font),
                              .style = l.Parent == Panel::Top ? DWORD{SS_NOTIFY} : DWORD{0}});
    for (int i = 0; i < 6; ++i) resPanel.SetChildColors(labels_.at(idLbl1 + i), IndicatorTextColor);
    lblSignal.autoSize = false;
    lblSignal.Create({.parent = signalPanel.hwnd(), .id = idLblSignal,
                      .rect = {layout::lblSignal.x, layout::lblSignal.y, 0,
                               static_cast<int>(ui::TextExtent(FontFor(FontRole::Signal), L"0").cy)},
                      .font = FontFor(FontRole::Signal)});
    signalPanel.SetChildColors(lblSignal, SignalTextColor);
    comboBox1.Create({.parent = bottomPanel_.hwnd(), .id = idComboBox1, .rect = ComboBox1,
                      .font = FontFor(FontRole::Default)});
    comboBox1.SetDropDownRows(ComboBox1.Height, ComboBox1DropDownCount);

    RECT middle;
    GetClientRect(middlePanel_.hwnd(), &middle);
    listBox.Create(middlePanel_.hwnd(), idListBox1, 0, 0, middle.right, middle.bottom);
    middlePanel_.onResize = [this, &listBox] {
        RECT rc;
        GetClientRect(middlePanel_.hwnd(), &rc);
        listBox.Move({0, 0, rc.right, rc.bottom});
    };
    resPanel.onResize = [this] { ResPanelResize(); };

    tooltips_.Create(form);
    for (const LabelRow& l : Labels)
        if (l.Hint) tooltips_.Add(labels_.at(l.Id), l.Hint);
}

void MainWindowControls::AdjustForScreenResolution() {
    using namespace layout;
    const int dpi = ui::ScreenDpi();
    if (dpi != 120 && dpi < 144) return;
    const bool large = dpi >= 144;
    // The check box's own size follows its font, which grows with the resolution; the panel around it keeps
    // the box's text in line with the buttons below.
    if (large) {
        fonts_[static_cast<int>(FontRole::AutoExecute)] = MakeFont(LargeAutoExecuteFont);
        chbAutoExecute.SetFont(FontFor(FontRole::AutoExecute));
    }
    const int boxHeight = large ? 19 : 16;
    const int panelHeight = AutoExecPanel.Height + (large ? 2 : -1);
    autoExecPanel.Move({AutoExecPanel.Left, AutoExecPanel.Top + 2, AutoExecPanel.Width, panelHeight});
    chbAutoExecute.Move(
        {layout::chbAutoExecute.Left, layout::chbAutoExecute.Top - 2, layout::chbAutoExecute.Width, boxHeight});
}

void MainWindowControls::OnFormResize() {
    minHeight_ = MinWindowHeightFor(topPanelHeight_);
    LayoutPanels();
}

void MainWindowControls::LayoutPanels() {
    RECT client;
    GetClientRect(form_, &client);
    const int width = client.right, height = client.bottom;
    const int bottomTop = std::max(topPanelHeight_, height - layout::BottomPanelHeight);
    topPanel_.Move({0, 0, width, topPanelHeight_});
    bottomPanel_.Move({0, bottomTop, width, layout::BottomPanelHeight});
    middlePanel_.Move({0, topPanelHeight_, width, std::max(0, bottomTop - topPanelHeight_)});
}

void MainWindowControls::ResPanelResize() {
    using namespace layout;
    const ui::Rect res = resPanel.RectInParent();
    const TopRowPlaces p = PlaceTopRow({res.Left, res.Width, res.Height}, signalPanel.RectInParent().Width,
                                       labels_.at(idLabel1).RectInParent().Width);
    MoveLeft(signalPanel, p.SignalPanelLeft);
    for (int id : {idLabel1, idLabel5}) MoveLeft(labels_.at(id), p.LabelLeft);
    for (int id : {idLblActiveNewsSourceCount, idLblHeadlineCount}) MoveLeft(labels_.at(id), p.CountLeft);
    topPanelHeight_ = p.TopPanelHeight;
    minHeight_ = p.MinHeight;
    minWidth_ = p.MinWidth;
    LayoutPanels();
    // A window below its new minimum grows to it.
    RECT w;
    GetWindowRect(form_, &w);
    if (w.right - w.left < minWidth_ || w.bottom - w.top < minHeight_)
        SetWindowPos(form_, nullptr, 0, 0, std::max<int>(w.right - w.left, minWidth_),
                     std::max<int>(w.bottom - w.top, minHeight_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pelo::app
