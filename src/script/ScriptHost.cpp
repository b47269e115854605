#include "script/ScriptHost.h"

#include "script/RegExpObject.h"

namespace pelo::script {

TPSScriptWrapper::TPSScriptWrapper(const lang::HostTable& table, const ScriptClasses& classes, lang::VmLimits limits)
    : classes_(classes), vm_(table, limits) {}

TPSScriptWrapper::~TPSScriptWrapper() {
    // Nothing of the script runs at the end: its globals simply go.
    vm_.clear();
    FreeScriptRegExps();
}

void TPSScriptWrapper::LoadScriptCode(std::string_view bytes) {
    if (vm_.busy()) throw EScriptHost("Script engine already running");
    vm_.clear();
    try {
        vm_.loadFile(bytes);
    } catch (const lang::LoadError& e) {
        vm_.clear();
        throw EScriptHost(e.what());
    }
}

bool TPSScriptWrapper::RunScriptMain() {
    if (vm_.busy()) throw EScriptHost("Script engine already running");
    lastError_.clear();
    if (!vm_.loaded()) {
        lastError_ = "no script loaded";
        return false;
    }
    BindScriptVariables();
    try {
        vm_.runMain();
    } catch (const lang::ScriptError& e) {
        lastError_ = e.what();
        return false;
    }
    return true;
}

int TPSScriptWrapper::FindScriptProc(std::string_view name) const { return vm_.loaded() ? vm_.findProc(name) : -1; }

void TPSScriptWrapper::CallScriptProc(std::string_view name, const std::vector<std::string>& args) {
    const int number = FindScriptProc(name);
    if (number < 0) throw EScriptHost("Unknown procedure");
    CallScriptProcNo(number, args);
}

void TPSScriptWrapper::CallScriptProcNo(int number, const std::vector<std::string>& args) {
    if (!vm_.loaded() || !vm_.proc(number)) throw EScriptHost("Unknown procedure");
    std::vector<lang::Value> values;
    values.reserve(args.size());
    for (const std::string& a : args) values.push_back(lang::Value::ofStr(a));
    try {
        vm_.call(number, values);
    } catch (const lang::ScriptError& e) {
        throw EScriptHost(e.what());
    }
}

void TPSScriptWrapper::ClearScriptCode() {
    // Code is never taken away under a running procedure: callers stop it and wait for it to return first.
    if (vm_.busy()) throw EScriptHost("Script engine already running");
    vm_.clear();
}

void TPSScriptWrapper::FreeScriptRegExps() {
    for (lang::Value& v : regExps_)
        if (v.tag == lang::Tag::Obj && v.o) v.o->dispose();
    regExps_.clear();
}

void TPSScriptWrapper::Bind(std::string_view name, lang::ScriptObject* object) {
    if (!object) return;
    if (lang::Value* slot = vm_.global(name)) *slot = lang::objectValue(object);
}

void TPSScriptWrapper::BindScriptVariables() {
    // Each run gets ten new objects; those of an earlier run live until FreeScriptRegExps.
    std::vector<lang::Value> fresh;
    for (int k = 0; k < kScriptRegExpCount; ++k) {
        auto* re = new RegExpObject(classes_.RegExp);
        re->hostOwned = true;  // a script's Free leaves it to us
        fresh.push_back(lang::objectValue(re));
    }
    Bind(kApplicationVariable, Bindings.Application);
    Bind(kSelfVariable, Bindings.Self);
    for (int k = 0; k < kScriptRegExpCount; ++k) Bind(RegExpVariable(k), fresh[static_cast<size_t>(k)].o);
    for (int k = 0; k < kIndicatorLabelCount; ++k) Bind(IndicatorLabelVariable(k), Bindings.Labels[k]);
    Bind(kResPanelVariable, Bindings.ResPanel);
    for (lang::Value& v : fresh) regExps_.push_back(std::move(v));
}

}  // namespace pelo::script
