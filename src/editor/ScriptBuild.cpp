#include "editor/ScriptBuild.h"

#include <charconv>

#include "script/ScriptInterface.h"
#include "script/StandInObjects.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"

namespace pelo::editor {

namespace {

// The program's declaration table, as glc registers it: a compiled file records the declarations it uses, so the
// same table gives the same bytes. Nothing is run here, so the host functions have nothing behind them.
struct Declarations {
    script::NullScriptServices services;
    lang::HostTable table;
    Declarations() { script::RegisterScriptInterface(table, services); }
};

const Declarations& Shared() {
    static const Declarations declarations;
    return declarations;
}

// The stem of a path: up to its extension, when the last part has one.
std::string_view Stem(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

}  // namespace

const lang::HostTable& ScriptDeclarations() { return Shared().table; }

TBuildResult BuildScript(std::string_view source) {
    TBuildResult result;
    lang::CompileResult compiled = lang::compileScript(source, Shared().table);
    for (const lang::CompileMessage& m : compiled.messages) result.Messages.push_back({m.line, m.col, m.text});
    result.Ok = compiled.ok;
    if (compiled.ok) result.Code = lang::serializeModule(compiled.module);
    return result;
}

std::string FormatBuildMessage(std::string_view file, const TBuildMessage& message) {
    return std::string(file) + "(" + std::to_string(message.Line) + "," + std::to_string(message.Column) +
           "): " + message.Text;
}

std::optional<TMessagePlace> ParseMessagePlace(std::string_view line) {
    // The place is the last "(LINE,COL): " before the text; a file name may hold parentheses of its own.
    const auto end = line.find("): ");
    if (end == std::string_view::npos) return std::nullopt;
    const auto open = line.rfind('(', end);
    if (open == std::string_view::npos) return std::nullopt;
    const std::string_view place = line.substr(open + 1, end - open - 1);
    const auto comma = place.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    TMessagePlace result;
    result.File = std::string(line.substr(0, open));
    const auto number = [](std::string_view digits, int& out) {
        if (digits.empty()) return false;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
        return ec == std::errc() && ptr == digits.data() + digits.size() && out >= 0;
    };
    if (!number(place.substr(0, comma), result.Line) || !number(place.substr(comma + 1), result.Column))
        return std::nullopt;
    return result;
}

std::string CompiledPathFor(std::string_view sourcePath) { return std::string(Stem(sourcePath)) + ".exn"; }

std::string TestHeadlinesPathFor(std::string_view sourcePath) {
    return std::string(Stem(sourcePath)) + ".headlines.txt";
}

}  // namespace pelo::editor
