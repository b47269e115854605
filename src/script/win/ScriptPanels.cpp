#include "script/win/ScriptPanels.h"

#include "ui/win/WinText.h"

namespace pelo::script {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kIndicatorColor = 0x313131;  // 49, 49, 49
constexpr COLORREF kSilver = RGB(192, 192, 192);

struct SignalRow {
    const char* Caption;
    COLORREF Field;
    int32_t CaptionColor;
    int Left;
};
// By signal code 1..6.
constexpr SignalRow kSignals[] = {
    {"BUY", RGB(0, 128, 0), kWhite, 28},  {"BUY+", RGB(0, 128, 0), kWhite, 24},
    {"SELL", RGB(255, 0, 0), kWhite, 24}, {"SELL+", RGB(255, 0, 0), kWhite, 20},
    {"No trade", RGB(0, 0, 0), kWhite, 11}, {"Cancel", RGB(255, 255, 0), kBlack, 17},
};

struct IndicatorStart {
    const char* Caption;
    int Left, Top;
};
constexpr IndicatorStart kIndicators[kIndicatorLabelCount] = {
    {"cns: ", 12, 5}, {"act: ", 114, 5}, {" dev: ", 216, 5}, {"pre: ", 14, 33}, {"rev: ", 115, 33}, {"rdev: ", 215, 33},
};

void MoveLeft(ui::Window& w, int left) {
    const ui::Rect r = w.RectInParent();
    w.Move({left, r.Top, r.Width, r.Height});
}

}  // namespace

TScriptPanels::TScriptPanels(const PanelControls& controls, const ScriptClasses& classes)
    : controls_(controls), classes_(classes),
      panelFont_(L"Microsoft Sans Serif", -16, true, true, NONANTIALIASED_QUALITY) {
    // lblSignal starts empty; from the first signal on it takes the size of its caption.
    controls.lblSignal.autoSize = true;
    for (int k = 0; k < kIndicatorLabelCount; ++k)
        labels_[k] = Hold(new WinScriptLabel(classes.Label, classes.Font, *controls.IndicatorLabels[k],
                                             controls.ResPanel));
    signalLabel_ = Hold(new WinScriptLabel(classes.Label, classes.Font, controls.lblSignal, controls.SignalPanel));
    resPanel_ = Hold(new WinScriptPanel(classes.Panel, classes.Font, controls.ResPanel));
    for (WinScriptLabel* l : labels_) l->WinFont().SetColor(kWhite);
}

TScriptPanels::~TScriptPanels() {
    for (WinScriptLabel* l : labels_) Drop(l);
    Drop(signalLabel_);
    Drop(resPanel_);
    for (Created& c : created_) Drop(c.Object);
}

void TScriptPanels::ShowSignal(int code) {
    if (code < 1 || code > 6) return;
    const SignalRow& row = kSignals[code - 1];
    controls_.lblNoSignal.SetText(L"");
    controls_.SignalPanel.SetColor(row.Field);
    signalLabel_->SetColor(static_cast<int32_t>(row.Field));
    signalLabel_->Font().SetColor(row.CaptionColor);
    MoveLeft(controls_.lblSignal, row.Left);
    signalLabel_->SetCaption(row.Caption);
    SignalCode = code;
    SignalGiven = true;
}

void TScriptPanels::ResetScriptPanels() {
    for (int k = 0; k < kIndicatorLabelCount; ++k) {
        WinScriptLabel& l = *labels_[k];
        const IndicatorStart& start = kIndicators[k];
        l.SetCaption(start.Caption);
        l.SetColor(kIndicatorColor);
        ui::FontSpec spec;
        spec.Name = L"Microsoft Sans Serif";
        spec.Height = 20;  // a cell height, so slightly larger than the character height the window starts with
        spec.Bold = true;
        spec.FixedPitch = true;
        spec.Quality = l.WinFont().Spec().Quality;
        l.WinFont().Set(spec, kWhite);
        const ScriptBounds b = l.Bounds();
        l.SetBounds({start.Left, start.Top, b.Width, 20});
    }
    const ScriptBounds panel = resPanel_->Bounds();
    resPanel_->SetBounds({panel.Left, panel.Top, 330, 62});
    resPanel_->SetColor(kIndicatorColor);
    for (WinScriptLabel* l : labels_) {
        l->SetVisible(true);
        DisableFontSmoothing(*l);
    }
    MoveLeft(controls_.lblNoSignal, 19);
    controls_.lblNoSignal.SetText(L"no signal");
    controls_.SignalPanel.SetColor(kSilver);
    signalLabel_->SetCaption("");
    MoveLeft(controls_.lblSignal, 1);
    ClearSignalState();
}

ScriptControl& TScriptPanels::CreateLabel(std::string_view caption, int32_t left, int32_t top) {
    auto control = std::make_unique<ui::Label>();
    control->Create({.parent = controls_.ResPanel.hwnd(), .id = 0, .rect = {left, top, 0, 0},
                     .text = ui::AnsiToWide(caption), .font = panelFont_});
    WinScriptLabel* object = Hold(new WinScriptLabel(classes_.Label, classes_.Font, *control, controls_.ResPanel));
    object->Font().SetColor(kWhite);
    created_.push_back({std::move(control), object});
    return *object;
}

void TScriptPanels::DisableFontSmoothing(ScriptControl& label) {
    if (auto* l = dynamic_cast<WinScriptLabel*>(&label)) l->WinFont().SetQuality(NONANTIALIASED_QUALITY);
}

}  // namespace pelo::script
