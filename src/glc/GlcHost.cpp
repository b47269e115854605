#include "glc/GlcHost.h"

#include <cstdio>

namespace pelo::glc {

void GlcHost::emit(const std::string& line) {
    if (quiet) {
        ++emitCount;
        emitBytes += static_cast<int64_t>(line.size());
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void GlcHost::registerAll(lang::HostTable& t) {
    lang::StdLibOptions opt;
    opt.lineBreak = "\n";  // the reference runner is a Linux program
    classes_ = script::RegisterScriptInterface(t, *this, opt);
    objects_ = std::make_unique<script::StandInBindings>(classes_);
}

void GlcHost::bindVariables(lang::Vm& vm) { script::BindPredefinedVariables(vm, classes_, objects_->Bindings(), regExps_); }

void GlcHost::TradeSignal(int code) {
    static constexpr const char* kNames[] = {"", "BUY", "BUY+", "SELL", "SELL+", "NOTRADE", "CANCEL"};
    signal = code;
    emit(std::string("SIGNAL ") + kNames[code]);
}

script::ScriptControl& GlcHost::CreateLabel(std::string_view caption, int32_t left, int32_t top) {
    createdLabels_.emplace_back(classes_.Label, classes_.Font, std::string(caption), script::ScriptBounds{left, top, 40, 20});
    return *createdLabels_.back();
}

}  // namespace pelo::glc
