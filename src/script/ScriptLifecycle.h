#pragma once
// Attach, remove, test and reset of the user's script: the hand-over with the editor through the registry value
// AttachedScript, the boxes and status lines of each step, and the script flags. What lies outside the script
// (registry, files, boxes, the box's lines, the caption, the panels, the editor) is the IScriptLifecycleHost.
//
// A command that arrives while a script procedure runs (only possible from inside ReadLn's dialog) waits until
// that procedure has returned: code is never unloaded or replaced under a running procedure.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "headlines/HeadlineLog.h"
#include "script/ScriptHost.h"
#include "script/ScriptState.h"

namespace pelo::script {

class IScriptLifecycleHost {
public:
    virtual ~IScriptLifecycleHost() = default;
    // The program's registry key, opened without creating it; false when it cannot be opened.
    virtual bool OpenScriptKey() = 0;
    virtual std::u16string AttachedScript() = 0;  // "" when the value is missing
    virtual void SetAttachedScript(const std::u16string& path) = 0;
    // A file (not a folder) exists at `path`.
    virtual bool IsFile(const std::u16string& path) = 0;
    // The whole compiled file, or nothing when it cannot be read as a whole.
    virtual std::optional<std::string> ReadCompiledScript(const std::u16string& path) = 0;
    virtual bool TestHeadlinesExist() = 0;
    // The test headline file's lines as 8-bit text, or nothing when it cannot be read.
    virtual std::optional<std::vector<std::string>> ReadTestHeadlines() = 0;
    virtual void DeleteTestHeadlines() = 0;

    virtual void ShowErrorBox(const std::string& text) = 0;
    virtual void ShowPlainBox(const std::string& text) = 0;
    virtual void ShowStatusLine(const std::string& text) = 0;
    virtual std::string BoxTimeNow() = 0;  // FormatBoxTime of now
    virtual std::string ToAnsi(const std::u16string& text) = 0;  // in the system's 8-bit code page
    virtual void CountHeadline() = 0;      // the headline counter goes up by one and shows it
    virtual void ResetHeadlineCount() = 0;
    virtual bool ReadingActive() = 0;
    // The caption's base text; the caption shows it at once.
    virtual void SetCaptionBase(bool testing) = 0;
    virtual void EnableRemoveScript(bool enabled) = 0;
    virtual void NotifyEditor(bool scriptAttached) = 0;
    // The indicator and signal panels back to their reset state, the signal state cleared.
    virtual void ResetPanels() = 0;
    // Asks for RunPendingCommands to be called soon, from the message loop.
    virtual void RequestPendingCommands() = 0;
};

enum class ScriptCommand { Attach, Remove, Test, Reset };

class TScriptLifecycle {
public:
    TScriptLifecycle(TPSScriptWrapper& host, TScriptState& state, headlines::THeadlineLog& log,
                     IScriptLifecycleHost& outside);

    // The four commands. While a script procedure runs they wait (see above).
    void Run(ScriptCommand command);
    void AttachScript() { Run(ScriptCommand::Attach); }
    void RemoveScript() { Run(ScriptCommand::Remove); }
    void TestScript() { Run(ScriptCommand::Test); }
    void ResetScript() { Run(ScriptCommand::Reset); }
    // Carries out the commands that waited for a procedure, once none runs any more.
    void RunPendingCommands();

    // ResetScriptPanels: the panels, the caption and the flags.
    void ResetScriptPanels();

    const std::u16string& ScriptPath() const { return scriptPath_; }
    // The display name: the file name without its extension, or "<untitled>".
    static std::u16string DisplayName(const std::u16string& scriptPath);

private:
    void DoAttach();
    void DoRemove();
    void DoTest(bool loadOnly);
    void DoReset();
    void UnloadStep();
    void CallDeInit(const char* errorPrefix);
    void StopAndClear();
    // Loads the file at scriptPath_ and runs its main block; false when a step failed (after its message).
    bool LoadAndRunMain();
    void StatusLine(const char* verb);
    // Calls a procedure of the script; afterwards runs what waited for it.
    void CallProc(const std::string& name, const std::vector<std::string>& args);
    void AfterCall();

    TPSScriptWrapper& host_;
    TScriptState& state_;
    headlines::THeadlineLog& log_;
    IScriptLifecycleHost& outside_;
    std::u16string scriptPath_;
    std::deque<ScriptCommand> pending_;
};

}  // namespace pelo::script
