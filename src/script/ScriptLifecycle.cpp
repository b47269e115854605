#include "script/ScriptLifecycle.h"

namespace pelo::script {
namespace {

constexpr const char* kRegistryKeyError = "Error opening registry key.";
constexpr const char* kLoadError = "Error loading compiled script file!";
constexpr const char* kExecuteError = "Error executing script.";
constexpr const char* kDeInitError = "Exception in script DeInit procedure: ";
// The attach message has always been spelt so; editors' users may match on it.
constexpr const char* kAttachInitError = "Exception in script Init proecedure: ";
constexpr const char* kTestInitError = "Exception in script Init procedure: ";
constexpr const char* kTestHeadlinesError = "Error loading test headlines!";
constexpr const char* kStartError = "Exception in script Start procedure: ";

}  // namespace

TScriptLifecycle::TScriptLifecycle(TPSScriptWrapper& host, TScriptState& state, headlines::THeadlineLog& log,
                                   IScriptLifecycleHost& outside)
    : host_(host), state_(state), log_(log), outside_(outside) {
    state_.CallStartProc = [this](const std::string& text, const std::string& source) {
        try {
            host_.CallScriptProcNo(state_.StartProcNo, {text, source});
        } catch (...) {
            AfterCall();
            throw;
        }
        AfterCall();
    };
}

std::u16string TScriptLifecycle::DisplayName(const std::u16string& scriptPath) {
    const std::u16string name = headlines::ChangeFileExt(headlines::ExtractFileName(scriptPath), u"");
    return name.empty() ? u"<untitled>" : name;
}

void TScriptLifecycle::Run(ScriptCommand command) {
    if (host_.ScriptBusy()) {
        pending_.push_back(command);
        return;
    }
    switch (command) {
        case ScriptCommand::Attach: DoAttach(); break;
        case ScriptCommand::Remove: DoRemove(); break;
        case ScriptCommand::Test: DoTest(false); break;
        case ScriptCommand::Reset: DoReset(); break;
    }
}

void TScriptLifecycle::RunPendingCommands() {
    while (!pending_.empty() && !host_.ScriptBusy()) {
        const ScriptCommand next = pending_.front();
        pending_.pop_front();
        Run(next);
    }
}

void TScriptLifecycle::AfterCall() {
    if (!pending_.empty() && !host_.ScriptBusy()) outside_.RequestPendingCommands();
}

void TScriptLifecycle::CallProc(const std::string& name, const std::vector<std::string>& args) {
    try {
        host_.CallScriptProc(name, args);
    } catch (...) {
        AfterCall();
        throw;
    }
    AfterCall();
}

void TScriptLifecycle::CallDeInit(const char* errorPrefix) {
    if (!host_.ScriptProcExists("DeInit")) return;
    try {
        CallProc("DeInit", {});
    } catch (const EScriptHost& e) {
        outside_.ShowErrorBox(errorPrefix + std::string(e.what()));
    }
}

void TScriptLifecycle::StopAndClear() {
    if (host_.ScriptBusy()) host_.StopScript();
    host_.ClearScriptCode();
    host_.FreeScriptRegExps();
}

void TScriptLifecycle::ResetScriptPanels() {
    outside_.ResetPanels();
    outside_.SetCaptionBase(false);
    state_.ScriptAttached = false;
    state_.ScriptTestMode = false;
}

void TScriptLifecycle::UnloadStep() {
    state_.SetNewsProcessing(false);
    outside_.EnableRemoveScript(false);
    CallDeInit(kDeInitError);
    ResetScriptPanels();
    StopAndClear();
    state_.ScriptAttached = false;
}

void TScriptLifecycle::StatusLine(const char* verb) {
    outside_.ShowStatusLine("Script \"" + outside_.ToAnsi(DisplayName(scriptPath_)) + "\" " + verb);
}

bool TScriptLifecycle::LoadAndRunMain() {
    const std::optional<std::string> bytes = outside_.ReadCompiledScript(scriptPath_);
    if (!bytes) {
        outside_.ShowPlainBox(kLoadError);
        return false;
    }
    try {
        host_.LoadScriptCode(*bytes);
    } catch (const EScriptHost& e) {
        // A file the engine refuses (damaged, cut short, another format or another program's file): say why;
        // nothing stays loaded.
        outside_.ShowErrorBox(e.what());
        return false;
    }
    if (!log_.SwitchToScriptLog(scriptPath_)) return false;
    bool ran = false;
    try {
        ran = host_.RunScriptMain();
    } catch (...) {
        AfterCall();
        throw;
    }
    AfterCall();
    if (!ran) {
        outside_.ShowPlainBox(kExecuteError);
        return false;
    }
    return true;
}

void TScriptLifecycle::DoAttach() {
    if (state_.ScriptAttached || state_.ScriptTestMode) UnloadStep();
    state_.ScriptTestMode = false;
    if (!outside_.OpenScriptKey()) {
        outside_.ShowErrorBox(kRegistryKeyError);
        return;
    }
    scriptPath_ = outside_.AttachedScript();
    if (scriptPath_.empty() || !outside_.IsFile(scriptPath_)) return;
    if (!LoadAndRunMain()) return;
    outside_.SetCaptionBase(false);
    state_.ScriptAttached = true;
    StatusLine("attached");
    if (host_.ScriptProcExists("Init")) {
        try {
            CallProc("Init", {});
        } catch (const EScriptHost& e) {
            outside_.ShowErrorBox(kAttachInitError + std::string(e.what()));
        }
    }
    state_.StartProcNo = host_.FindScriptProc("Start");
    state_.SetNewsProcessing(state_.StartProcNo >= 0);
    outside_.EnableRemoveScript(true);
    outside_.NotifyEditor(state_.ScriptAttached);
}

void TScriptLifecycle::DoRemove() {
    state_.SetNewsProcessing(false);
    if (!outside_.OpenScriptKey()) {
        outside_.ShowErrorBox(kRegistryKeyError);
        return;
    }
    outside_.SetAttachedScript(u"");
    if (state_.ScriptAttached || state_.ScriptTestMode) {
        CallDeInit(kDeInitError);
        StopAndClear();
        outside_.EnableRemoveScript(false);
        log_.ScriptRemoved(outside_.ReadingActive());
        state_.ScriptAttached = false;
        StatusLine("removed");
    }
    ResetScriptPanels();
    outside_.NotifyEditor(state_.ScriptAttached);
}

void TScriptLifecycle::DoTest(bool loadOnly) {
    if (state_.ScriptAttached || state_.ScriptTestMode) UnloadStep();
    if (!outside_.OpenScriptKey()) {
        outside_.ShowErrorBox(kRegistryKeyError);
        return;
    }
    scriptPath_ = outside_.AttachedScript();
    // A tested script is never attached at the next start.
    outside_.SetAttachedScript(u"");
    if (!loadOnly && !outside_.TestHeadlinesExist()) return;
    state_.ScriptTestMode = true;
    if (scriptPath_.empty() || !outside_.IsFile(scriptPath_)) return;
    if (!LoadAndRunMain()) return;
    outside_.SetCaptionBase(true);
    if (!loadOnly) outside_.ShowStatusLine("Test started");
    if (host_.ScriptProcExists("Init")) {
        try {
            CallProc("Init", {});
        } catch (const EScriptHost& e) {
            outside_.ShowErrorBox(kTestInitError + std::string(e.what()));
        }
    }
    if (loadOnly) return;

    const std::optional<std::vector<std::string>> lines = outside_.ReadTestHeadlines();
    if (!lines) {
        outside_.ShowPlainBox(kTestHeadlinesError);
        return;
    }
    state_.StartProcNo = host_.FindScriptProc("Start");
    if (state_.StartProcNo >= 0) {
        for (const std::string& line : *lines) {
            outside_.ShowStatusLine(outside_.BoxTimeNow() + " TEST:  " + line);
            outside_.CountHeadline();
            try {
                state_.CallStartProc(line, "TEST");
            } catch (const EScriptHost& e) {
                outside_.ShowErrorBox(kStartError + std::string(e.what()));
                break;
            }
        }
    }
    outside_.DeleteTestHeadlines();
}

void TScriptLifecycle::DoReset() {
    if (state_.ScriptAttached || !state_.ScriptTestMode) DoTest(true);
    CallDeInit(kDeInitError);
    ResetScriptPanels();
    StopAndClear();
    outside_.ResetHeadlineCount();
    log_.ScriptReset(outside_.ReadingActive());
    outside_.ShowStatusLine("Reset completed");
}

}  // namespace pelo::script
