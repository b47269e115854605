#pragma once
// What the host functions do in the program: signals on the signal panel (after the clicks, when autoexecute
// applies), lines in the headline box and the log, ReadLn's dialog, labels on the indicator panel.
#include <functional>
#include <string>

#include "script/ScriptInterface.h"
#include "script/win/ScriptPanels.h"

namespace pelo::script {

class TWinScriptServices final : public IScriptServices {
public:
    // Set once the main window's controls exist; until then there is no script to call these.
    TScriptPanels* Panels = nullptr;
    HWND DialogOwner = nullptr;
    // Step 1 of Buy, Sell, StrongBuy and StrongSell (code 1..4): the clicks, where autoexecute applies.
    std::function<void(int code)> ExecuteTradeClicks;
    std::function<void(const std::string& line)> PostHBoxLine;
    // WriteLnLog: the log writes the line only while news reading runs.
    std::function<void(const std::string& text)> WriteScriptLogLine;

    void TradeSignal(int code) override;
    void WriteLn(std::string_view text) override;
    std::string ReadLn(std::string_view caption) override;
    void WriteLnLog(std::string_view text) override;
    bool Signaled() override { return Panels && Panels->SignalGiven; }
    int32_t LastSignal() override { return Panels ? Panels->SignalCode : 0; }
    ScriptControl& CreateLabel(std::string_view caption, int32_t left, int32_t top) override;
    void DisableFontSmoothing(ScriptControl& label) override { TScriptPanels::DisableFontSmoothing(label); }
    // The windows and timers scripts make (owned by the program's script session).
    IScriptWindowFactory* ScriptWindows = nullptr;
    IScriptWindowFactory* Windows() override { return ScriptWindows; }
};

}  // namespace pelo::script
