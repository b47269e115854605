#pragma once
// One configured MT4 terminal and the ordered list of them. All four texts are 8-bit strings in the
// system's code page.
#include <string>
#include <vector>

namespace pelo::terminals {

struct TMT4TermInfo {
    std::string FullName;       // broker name in the options dialog and in messages
    std::string ShortName;      // terminal selector, headline box and log
    std::string Path;           // folder that holds terminal.exe
    std::string WindowPattern;  // text the terminal's main window title contains (ASCII case ignored)

    friend bool operator==(const TMT4TermInfo&, const TMT4TermInfo&) = default;
};

using TTerminalList = std::vector<TMT4TermInfo>;

}  // namespace pelo::terminals
