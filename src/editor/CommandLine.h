#pragma once
// The editor's command line: nothing (or a script to open) starts the editor; a switch runs one job and exits.
//   Glossel.exe [FILE.pas]
//   Glossel.exe /compile IN.pas [OUT.exn]      errors as FILE(LINE,COL): message, exit 1 on errors
//   Glossel.exe /attach|/test|/reset|/detach [FILE.pas|FILE.exn]
#include <string>
#include <vector>

namespace pelo::editor {

enum class TRunMode { Editor, Compile, Attach, Test, Reset, Detach };

struct TCommandLine {
    TRunMode Mode = TRunMode::Editor;
    std::string Input;   // the script (source or compiled) the job or the editor starts with
    std::string Output;  // /compile: where the compiled file goes (default: beside the input)
    std::string Error;   // set when the arguments do not make a job
};

// `arguments` without the program's own name.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Whether the bytes are a compiled file rather than a source.
bool IsCompiledFile(std::string_view bytes);

}  // namespace pelo::editor
