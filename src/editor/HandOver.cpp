#include "editor/HandOver.h"

namespace pelo::editor {

script::companion::CommandCode CommandCodeOf(THandOverCommand command) {
    switch (command) {
        case THandOverCommand::Attach: return script::companion::Attach;
        case THandOverCommand::Detach: return script::companion::Detach;
        case THandOverCommand::Test: return script::companion::Test;
        case THandOverCommand::Reset: return script::companion::Reset;
    }
    return script::companion::Attach;
}

std::string_view SwitchOf(THandOverCommand command) {
    switch (command) {
        case THandOverCommand::Attach: return "-attach";
        case THandOverCommand::Detach: return "-detach";
        case THandOverCommand::Test: return "-test";
        case THandOverCommand::Reset: return "-reset";
    }
    return "";
}

std::string HandOver(IHandOverSystem& system, THandOverCommand command, const TCompiledScript* script,
                     const std::vector<std::string>& testHeadlines) {
    const bool carriesScript = command == THandOverCommand::Attach || command == THandOverCommand::Test;
    if (carriesScript) {
        if (script == nullptr) return "There is no compiled script to hand over.";
        // The program may read the file the moment it hears the command: it must be complete and closed by then.
        if (!system.WriteFileAndClose(script->Path, script->Code))
            return "Cannot write the compiled script \"" + script->Path + "\".";
        if (command == THandOverCommand::Test && !system.WriteTestHeadlines(testHeadlines))
            return "Cannot write the test headlines for the program.";
        if (!system.StoreAttachedScript(script->Path))
            return "Cannot store the script's path for the program (registry value AttachedScript).";
    }
    if (system.PostToProgram(CommandCodeOf(command))) return {};
    if (!system.StartProgram(SwitchOf(command))) return "Cannot start Pelorant.exe beside the editor.";
    return {};
}

}  // namespace pelo::editor
