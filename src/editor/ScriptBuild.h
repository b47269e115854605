#pragma once
// Compiling a script the way the command-line compiler glc does: the same compiler, the same declaration table,
// so that the compiled file the editor hands over is byte for byte what glc writes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/HostTable.h"

namespace pelo::editor {

struct TBuildMessage {
    int Line = 0;    // 1-based; 0 when the message has no place
    int Column = 0;  // 1-based
    std::string Text;
    bool operator==(const TBuildMessage&) const = default;
};

struct TBuildResult {
    bool Ok = false;
    std::string Code;  // the compiled file's bytes, when Ok
    std::vector<TBuildMessage> Messages;
};

TBuildResult BuildScript(std::string_view source);

// Everything a script may use, as the compiler declares it (completion lists and call tips read it).
const lang::HostTable& ScriptDeclarations();

// "FILE(LINE,COL): message", the form of the error list and of the command-line mode.
std::string FormatBuildMessage(std::string_view file, const TBuildMessage& message);

// The place a line of the error list names: the inverse of FormatBuildMessage. Nothing for a line of another form.
struct TMessagePlace {
    std::string File;
    int Line = 0;
    int Column = 0;
    bool operator==(const TMessagePlace&) const = default;
};
std::optional<TMessagePlace> ParseMessagePlace(std::string_view line);

// Beside the source: NAME.exn for the compiled file, NAME.headlines.txt for its test headlines.
std::string CompiledPathFor(std::string_view sourcePath);
std::string TestHeadlinesPathFor(std::string_view sourcePath);

}  // namespace pelo::editor
