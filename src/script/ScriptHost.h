#pragma once
// TPSScriptWrapper: the one script runtime of the program and the operations the rest of it uses on that runtime:
// load compiled code, run the main block, find and call procedures, stop and unload. Before every main block it
// binds the predefined variables: ten new TRegExp objects, then the program's objects.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lang/Vm.h"
#include "script/ScriptInterface.h"

namespace pelo::script {

// An operation refused or failed; the text is the engine's or one of "Script engine already running",
// "Unknown procedure".
struct EScriptHost : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Binds the predefined variables of the code loaded in `vm`: ten new TRegExp objects (their references are added
// to `regExps`), then the program's objects. A variable the code does not declare is skipped.
void BindPredefinedVariables(lang::Vm& vm, const ScriptClasses& classes, const ScriptBindings& bindings,
                             std::vector<lang::Value>& regExps);

class TPSScriptWrapper {
public:
    // `table` is the finished table of RegisterScriptInterface, with `classes` its classes.
    TPSScriptWrapper(const lang::HostTable& table, const ScriptClasses& classes, lang::VmLimits limits = {});
    ~TPSScriptWrapper();

    // The objects bound before every main block.
    ScriptBindings Bindings;
    // Makes what each loaded script's `external` functions are called through; the libraries it loaded go when
    // the script is unloaded. Unset: such calls raise "Could not call proc".
    std::function<std::shared_ptr<lang::ForeignCalls>()> ForeignCallsFactory;
    // Runs before a script is unloaded (or replaced): what it made outside the engine goes (its windows).
    std::function<void()> BeforeUnload;

    // Unloads what is loaded and loads the compiled file; raises the engine's description when it refuses it,
    // and then nothing is loaded.
    void LoadScriptCode(std::string_view bytes);
    // Binds the variables and runs the main block: false when it ended in an error (LastError() tells which).
    bool RunScriptMain();
    bool ScriptProcExists(std::string_view name) const { return FindScriptProc(name) >= 0; }
    int FindScriptProc(std::string_view name) const;
    // Runs a procedure with string arguments; raises "Unknown procedure", or the engine's text when the
    // arguments do not fit or the procedure ends in an error.
    void CallScriptProc(std::string_view name, const std::vector<std::string>& args);
    void CallScriptProcNo(int number, const std::vector<std::string>& args);
    bool ScriptBusy() const { return vm_.busy(); }
    void StopScript() { vm_.requestStop(); }
    void ClearScriptCode();
    // Frees the ten TRegExp objects of the last main block.
    void FreeScriptRegExps();

    const std::string& LastError() const { return lastError_; }
    lang::Vm& Runtime() { return vm_; }

private:
    void BindScriptVariables();

    const ScriptClasses classes_;
    lang::Vm vm_;
    std::vector<lang::Value> regExps_;  // our references to ScriptRegExps
    std::string lastError_;
};

}  // namespace pelo::script
