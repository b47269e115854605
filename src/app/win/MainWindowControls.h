#pragma once
// The main window's controls as MainWindowLayout.h places them, and how they move when the window or ResPanel
// changes size. What the controls do when used is wired by TfrmPelorant.
#include <array>
#include <map>

#include "app/win/MainWindowLayout.h"
#include "headlines/win/HeadlineListBox.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/Panel.h"
#include "ui/win/ToolTips.h"

namespace pelo::app {

class MainWindowControls {
public:
    // Creates every control in `form`'s client area, the headline box filling the middle panel.
    void Create(HWND form, headlines::THeadlineListBox& listBox);

    // At 120 dpi and from 144 dpi the autoexecute check box is set to its font's size.
    void AdjustForScreenResolution();
    // FormResize: the three panels follow the form's client area.
    void OnFormResize();
    // The script resized ResPanel: the top row moves, and the form's minimum size with it.
    void ResPanelResize();

    bool Created() const { return form_ != nullptr; }
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }

    ui::Button& Button(int id) { return buttons_.at(id); }
    ui::Label& Label(int id) { return labels_.at(id); }

    ui::Panel autoExecPanel, resPanel, signalPanel;
    ui::CheckBox chbAutoExecute;
    ui::Label lblSignal;
    ui::ComboBox comboBox1;

private:
    void LayoutPanels();
    HWND PanelWindow(layout::Panel panel) const;
    HFONT FontFor(layout::FontRole role) const { return fonts_[static_cast<int>(role)]; }

    HWND form_ = nullptr;
    int minWidth_ = layout::MinWindowWidth;
    int minHeight_ = layout::MinWindowHeight;
    int topPanelHeight_ = layout::TopPanelHeight;

    std::array<ui::Font, static_cast<int>(layout::FontRole::Count)> fonts_;
    ui::Panel topPanel_, middlePanel_, bottomPanel_;
    std::map<int, ui::Button> buttons_;  // by control identifier, as laid out
    std::map<int, ui::Label> labels_;
    ui::ToolTips tooltips_;
};

}  // namespace pelo::app
