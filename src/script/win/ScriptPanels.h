#pragma once
// The script's two panels on the main window: the signal panel, which shows the last trade signal, and the
// indicator panel ResPanel with lbl1..lbl6 and the labels a script adds. Holds the signal state and the script
// objects that stand for these controls.
#include <deque>
#include <memory>

#include "script/ScriptInterface.h"
#include "script/win/WinScriptObjects.h"
#include "ui/win/Font.h"

namespace pelo::script {

struct PanelControls {
    ui::Panel& ResPanel;
    ui::Panel& SignalPanel;
    ui::Label* IndicatorLabels[kIndicatorLabelCount];
    ui::Label& lblSignal;
    ui::Label& lblNoSignal;
    HWND Form;  // owner of the labels a script adds
};

class TScriptPanels {
public:
    TScriptPanels(const PanelControls& controls, const ScriptClasses& classes);
    ~TScriptPanels();

    // Step 2 of every trade function: 1 Buy .. 6 CancelTrade.
    void ShowSignal(int code);
    // The panels back to their reset state, the signal state cleared.
    void ResetScriptPanels();
    // News reading starts: the signal state is cleared, the panel keeps what it shows.
    void ClearSignalState() {
        SignalCode = 0;
        SignalGiven = false;
    }
    ScriptControl& CreateLabel(std::string_view caption, int32_t left, int32_t top);
    // The label's font without anti-aliasing.
    static void DisableFontSmoothing(ScriptControl& label);

    int32_t SignalCode = 0;
    bool SignalGiven = false;

    // The objects the predefined variables are bound to.
    WinScriptLabel& IndicatorLabel(int index) { return *labels_[index]; }
    WinScriptPanel& ResPanelObject() { return *resPanel_; }

private:
    struct Created {
        std::unique_ptr<ui::Label> Control;
        WinScriptLabel* Object;
    };

    PanelControls controls_;
    ScriptClasses classes_;
    ui::Font panelFont_;  // ResPanel's font, which the labels a script adds take
    WinScriptLabel* labels_[kIndicatorLabelCount];
    WinScriptLabel* signalLabel_;
    WinScriptPanel* resPanel_;
    std::deque<Created> created_;
};

}  // namespace pelo::script
