#pragma once
// The command-line jobs of the editor (see CommandLine.h), run without a window.
#include <functional>
#include <string>

#include "editor/CommandLine.h"

namespace pelo::editor {

// Exit codes: 0 done, 1 the script has errors, 2 the hand-over failed, 3 usage or file error.
int RunCommandJob(const TCommandLine& line, const std::function<void(const std::string&)>& print);

// Lines of a text, without their line ends; a last empty line is not one.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace pelo::editor
