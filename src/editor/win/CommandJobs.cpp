#include "editor/win/CommandJobs.h"

#include <windows.h>

#include "editor/HandOver.h"
#include "editor/ScriptBuild.h"
#include "editor/win/WinHandOverSystem.h"
#include "ui/win/WinText.h"

namespace pelo::editor {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\r' && text[k] != '\n') continue;
        lines.emplace_back(text.substr(start, k - start));
        if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
        start = k + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

namespace {

THandOverCommand CommandOf(TRunMode mode) {
    switch (mode) {
        case TRunMode::Attach: return THandOverCommand::Attach;
        case TRunMode::Test: return THandOverCommand::Test;
        case TRunMode::Reset: return THandOverCommand::Reset;
        default: return THandOverCommand::Detach;
    }
}

}  // namespace

int RunCommandJob(const TCommandLine& line, const std::function<void(const std::string&)>& print) {
    if (!line.Error.empty()) {
        print(line.Error);
        return 3;
    }
    WinHandOverSystem system;
    if (line.Mode == TRunMode::Detach || line.Mode == TRunMode::Reset) {
        const std::string failure = HandOver(system, CommandOf(line.Mode), nullptr);
        if (!failure.empty()) print(failure);
        return failure.empty() ? 0 : 2;
    }

    const std::wstring input = FullPathOf(ui::AnsiToWide(line.Input));
    std::string bytes;
    if (!ReadWholeFile(input, bytes)) {
        print("Cannot read " + line.Input + ".");
        return 3;
    }
    TCompiledScript script;
    if (IsCompiledFile(bytes)) {
        if (line.Mode == TRunMode::Compile) {
            print(line.Input + " is compiled already.");
            return 3;
        }
        script = {ui::WideToAnsi(input), bytes};
    } else {
        const TBuildResult built = BuildScript(bytes);
        for (const TBuildMessage& m : built.Messages) print(FormatBuildMessage(line.Input, m));
        if (!built.Ok) return 1;
        const std::string output = line.Output.empty() ? CompiledPathFor(ui::WideToAnsi(input)) : line.Output;
        script = {ui::WideToAnsi(FullPathOf(ui::AnsiToWide(output))), built.Code};
        if (line.Mode == TRunMode::Compile) {
            if (!WriteWholeFile(ui::AnsiToWide(script.Path), script.Code)) {
                print("Cannot write " + output + ".");
                return 3;
            }
            return 0;
        }
    }
    std::vector<std::string> headlines;
    if (line.Mode == TRunMode::Test) {
        std::string text;
        if (ReadWholeFile(ui::AnsiToWide(TestHeadlinesPathFor(ui::WideToAnsi(input))), text))
            headlines = SplitLines(text);
    }
    const std::string failure = HandOver(system, CommandOf(line.Mode), &script, headlines);
    if (!failure.empty()) print(failure);
    return failure.empty() ? 0 : 2;
}

}  // namespace pelo::editor
