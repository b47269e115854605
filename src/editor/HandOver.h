#pragma once
// Handing a script over to the program: the compiled file written and closed, its full path stored where the
// program looks (the registry value AttachedScript), and only then the command, posted to the running program or
// given as the switch of a fresh start of it. Before a test the test headlines go to the program's file first.
#include <string>
#include <string_view>
#include <vector>

#include "script/CompanionProtocol.h"

namespace pelo::editor {

enum class THandOverCommand { Attach, Detach, Test, Reset };

// What the hand-over does on the system; each step reports whether it succeeded.
class IHandOverSystem {
public:
    virtual ~IHandOverSystem() = default;
    // Creates or replaces the file with `bytes` and closes it.
    virtual bool WriteFileAndClose(const std::string& path, std::string_view bytes) = 0;
    virtual bool StoreAttachedScript(const std::string& fullPath) = 0;
    // Writes the lines, one per line, to the program's test headline file.
    virtual bool WriteTestHeadlines(const std::vector<std::string>& lines) = 0;
    // Posts the command to the running program; false when none runs.
    virtual bool PostToProgram(script::companion::CommandCode command) = 0;
    // Starts the program beside the editor with the switch ("-attach", ...).
    virtual bool StartProgram(std::string_view commandSwitch) = 0;
};

struct TCompiledScript {
    std::string Path;  // full path of the compiled file
    std::string Code;
};

// Carries out the command; an empty result means done, otherwise the text of what failed. Attach and test need
// the compiled script; detach and reset send the command alone.
std::string HandOver(IHandOverSystem& system, THandOverCommand command, const TCompiledScript* script,
                     const std::vector<std::string>& testHeadlines = {});

script::companion::CommandCode CommandCodeOf(THandOverCommand command);
std::string_view SwitchOf(THandOverCommand command);

}  // namespace pelo::editor
