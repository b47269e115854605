#include "script/ScriptHost.h"

#include "lang/Compiler.h"
#include "script/RegExpObject.h"

namespace pelo::script {

TPSScriptWrapper::TPSScriptWrapper(const lang::HostTable& table, const ScriptClasses& classes, lang::VmLimits limits)
    : classes_(classes), vm_(table, lang::importCatalogFor(table), limits) {}

TPSScriptWrapper::~TPSScriptWrapper() {
    // Nothing of the script runs at the end: its globals simply go.
    if (BeforeUnload) BeforeUnload();
    vm_.clear();
    vm_.setForeignCalls(nullptr);
    FreeScriptRegExps();
}

void TPSScriptWrapper::LoadScriptCode(std::string_view bytes) {
    if (vm_.busy()) throw EScriptHost("Script engine already running");
    if (BeforeUnload) BeforeUnload();
    vm_.clear();
    vm_.setForeignCalls(ForeignCallsFactory ? ForeignCallsFactory() : nullptr);
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
    if (BeforeUnload) BeforeUnload();
    vm_.clear();
    vm_.setForeignCalls(nullptr);
}

void TPSScriptWrapper::FreeScriptRegExps() {
    for (lang::Value& v : regExps_)
        if (v.tag == lang::Tag::Obj && v.o) v.o->dispose();
    regExps_.clear();
}

void TPSScriptWrapper::BindScriptVariables() { BindPredefinedVariables(vm_, classes_, Bindings, regExps_); }

void BindPredefinedVariables(lang::Vm& vm, const ScriptClasses& classes, const ScriptBindings& bindings,
                             std::vector<lang::Value>& regExps) {
    auto bind = [&vm](std::string_view name, lang::ScriptObject* object) {
        if (!object) return;
        if (lang::Value* slot = vm.global(name)) *slot = lang::objectValue(object);
    };
    // Each run gets ten new objects; those of an earlier run live until they are freed.
    std::vector<lang::Value> fresh;
    for (int k = 0; k < kScriptRegExpCount; ++k) {
        auto* re = new RegExpObject(classes.RegExp);
        re->hostOwned = true;  // a script's Free leaves it to us
        fresh.push_back(lang::objectValue(re));
    }
    bind(kApplicationVariable, bindings.Application);
    bind(kSelfVariable, bindings.Self);
    for (int k = 0; k < kScriptRegExpCount; ++k) bind(RegExpVariable(k), fresh[static_cast<size_t>(k)].o);
    for (int k = 0; k < kIndicatorLabelCount; ++k) bind(IndicatorLabelVariable(k), bindings.Labels[k]);
    bind(kResPanelVariable, bindings.ResPanel);
    for (lang::Value& v : fresh) regExps.push_back(std::move(v));
}

}  // namespace pelo::script
