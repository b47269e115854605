// The host API that glc offers scripts: the program's own declaration table (script/ScriptInterface.h), with host
// functions that print what the program would do, in the reference runner's words, so that both can be compared
// line by line.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "lang/Vm.h"
#include "script/ScriptHost.h"
#include "script/ScriptInterface.h"
#include "script/StandInObjects.h"

namespace pelo::glc {

class GlcHost final : public script::IScriptServices {
public:
    int signal = 0;        // last signal code of the current call: 1 Buy ... 6 CancelTrade
    bool quiet = false;    // bench mode: output is counted, not printed
    int64_t emitCount = 0;
    int64_t emitBytes = 0;

    void emit(const std::string& line);
    // Registers everything a script of the program may use and finishes the table.
    void registerAll(lang::HostTable& table);
    // Binds the predefined variables (stand-ins for the program's labels, panel and application) in `vm`.
    void bindVariables(lang::Vm& vm);

    void TradeSignal(int code) override;
    void WriteLn(std::string_view text) override { emit("LINE " + std::string(text)); }
    std::string ReadLn(std::string_view) override { return std::string(); }
    void WriteLnLog(std::string_view text) override { emit("LOG " + std::string(text)); }
    bool Signaled() override { return signal != 0; }
    int32_t LastSignal() override { return signal; }
    script::ScriptControl& CreateLabel(std::string_view caption, int32_t left, int32_t top) override;
    void DisableFontSmoothing(script::ScriptControl&) override {}

private:
    script::ScriptClasses classes_;
    std::unique_ptr<script::StandInBindings> objects_;
    std::deque<script::Held<script::StandInControl>> createdLabels_;
    std::vector<lang::Value> regExps_;
};

}  // namespace pelo::glc
