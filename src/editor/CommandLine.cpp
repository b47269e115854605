#include "editor/CommandLine.h"

#include <cstring>

#include "lang/HostTable.h"

namespace pelo::editor {

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    if (arguments.empty()) return line;
    const std::string first = lang::upperAscii(arguments[0]);
    const bool isSwitch = !first.empty() && (first[0] == '/' || first[0] == '-');
    if (!isSwitch) {
        line.Input = arguments[0];
        if (arguments.size() > 1) line.Error = "Only one script can be opened from the command line.";
        return line;
    }
    const std::string name = first.substr(1);
    if (name == "COMPILE") line.Mode = TRunMode::Compile;
    else if (name == "ATTACH") line.Mode = TRunMode::Attach;
    else if (name == "TEST") line.Mode = TRunMode::Test;
    else if (name == "RESET") line.Mode = TRunMode::Reset;
    else if (name == "DETACH") line.Mode = TRunMode::Detach;
    else {
        line.Error = "Unknown switch " + arguments[0] + ".";
        return line;
    }
    const std::size_t files = arguments.size() - 1;
    if (files >= 1) line.Input = arguments[1];
    if (line.Mode == TRunMode::Compile) {
        if (files < 1 || files > 2) line.Error = "Usage: Glossel.exe /compile IN.pas [OUT.exn]";
        if (files == 2) line.Output = arguments[2];
    } else if (line.Mode == TRunMode::Attach || line.Mode == TRunMode::Test) {
        if (files != 1) line.Error = "Usage: Glossel.exe " + arguments[0] + " FILE.pas|FILE.exn";
    } else if (files > 1) {
        line.Error = "Usage: Glossel.exe " + arguments[0] + " [FILE]";
    }
    return line;
}

bool IsCompiledFile(std::string_view bytes) {
    return bytes.size() >= 4 && (std::memcmp(bytes.data(), "GLSC", 4) == 0 || std::memcmp(bytes.data(), "IFPS", 4) == 0);
}

}  // namespace pelo::editor
