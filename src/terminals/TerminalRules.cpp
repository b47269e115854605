#include "terminals/TerminalRules.h"

namespace pelo::terminals {

std::string AsciiLowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool TitleMatchesPattern(std::string_view title, std::string_view pattern)
{
    if (pattern.empty())
        return false;
    return AsciiLowerCase(title).find(AsciiLowerCase(pattern)) != std::string::npos;
}

WindowHandle FindTerminalWindow(ITopLevelWindows& windows, std::string_view pattern)
{
    if (pattern.empty())
        return 0;
    for (WindowHandle window = windows.FirstOfClass(TerminalWindowClassName); window != 0;
         window = windows.Next(window)) {
        // The walk goes on through windows of every class; only terminal main windows count.
        const std::optional<std::string> className = windows.ClassName(window);
        if (!className || *className != TerminalWindowClassName)
            continue;
        if (TitleMatchesPattern(windows.Title(window), pattern))
            return window;
    }
    return 0;
}

std::string CleanTerminalPath(std::string_view path)
{
    std::string cleaned;
    for (char c : path)
        if (c != '"')
            cleaned += c;
    const std::size_t delimiter = cleaned.find_last_of("\\:");
    const std::size_t nameStart = delimiter == std::string::npos ? 0 : delimiter + 1;
    if (AsciiLowerCase(std::string_view(cleaned).substr(nameStart)) != "terminal.exe")
        return cleaned;
    // The folder part: the backslash before the file name goes, unless it belongs to a root such as "C:\" or "\".
    std::size_t folderEnd = nameStart;
    if (delimiter != std::string::npos && delimiter > 0 && cleaned[delimiter] == '\\' &&
        cleaned[delimiter - 1] != '\\' && cleaned[delimiter - 1] != ':')
        folderEnd = delimiter;
    cleaned.resize(folderEnd);
    return cleaned;
}

std::string TerminalExePath(std::string_view folder)
{
    std::string path(folder);
    path += "\\terminal.exe";
    return path;
}

std::string AdminRightsErrorText(std::string_view fullName)
{
    std::string text = "Could not complete the task for broker \"";
    text += fullName;
    text += "\"! MT4 terminal is probably running with Administrator privileges.\r\n\r\n";
    text += "HOW TO FIX: if you just installed or updated the MT4 terminal and it was launched by the "
            "installer/updater, simply restart the terminal and try again. Alternative: run Pelo as Administrator.";
    return text;
}

std::string TerminalPathErrorText(std::string_view folder)
{
    std::string text = "Error: path \"";
    text += folder;
    text += "\"\nto terminal.exe is incorrect!";
    return text;
}

TTerminalButtonStates TerminalButtonStates(std::size_t terminalCount, bool useConsoleApp, bool showConsole)
{
    TTerminalButtonStates states;
    states.AllTerminalButtons = terminalCount > 0;
    states.SelectorButtons = terminalCount > 0 || (useConsoleApp && showConsole);
    return states;
}

std::optional<std::size_t> FindTerminalByShortName(const TTerminalList& terminals, std::string_view selectorText)
{
    for (std::size_t i = 0; i < terminals.size(); ++i)
        if (terminals[i].ShortName == selectorText)
            return i;
    return std::nullopt;
}

namespace {

void Act(WindowHandle window, TTerminalAction action, ITerminalControl& control)
{
    switch (action) {
    case TTerminalAction::Show:
        if (!control.IsWindowVisible(window))
            control.ShowWindow(window);
        break;
    case TTerminalAction::Hide:
        if (control.IsWindowVisible(window))
            control.HideWindow(window);
        break;
    case TTerminalAction::Close:
        control.CloseTerminal(window);
        break;
    }
}

std::string_view NotSelectedText(TTerminalAction action)
{
    switch (action) {
    case TTerminalAction::Show:
        return ShowNotSelectedText;
    case TTerminalAction::Hide:
        return HideNotSelectedText;
    case TTerminalAction::Close:
        break;
    }
    return CloseNotSelectedText;
}

void ActOnOne(const TMT4TermInfo& terminal, TTerminalAction action, ITerminalControl& control)
{
    const WindowHandle window = control.FindTerminalWindow(terminal.WindowPattern);
    if (window == 0) {
        control.ShowError(std::string(TerminalNotFoundText));
        return;
    }
    if (!control.CanAccessTerminal(window)) {
        control.ShowError(AdminRightsErrorText(terminal.FullName));
        return;
    }
    Act(window, action, control);
}

}  // namespace

void LaunchAllTerminals(const TTerminalList& terminals, ITerminalControl& control)
{
    for (const TMT4TermInfo& terminal : terminals)
        control.LaunchTerminal(terminal);
}

void ActOnAllTerminals(const TTerminalList& terminals, TTerminalAction action, ITerminalControl& control)
{
    for (const TMT4TermInfo& terminal : terminals) {
        const WindowHandle window = control.FindTerminalWindow(terminal.WindowPattern);
        if (window == 0)
            continue;
        if (!control.CanAccessTerminal(window)) {
            control.ShowError(AdminRightsErrorText(terminal.FullName));
            continue;
        }
        Act(window, action, control);
    }
}

void LaunchSelectedTerminal(const TTerminalList& terminals, std::optional<std::size_t> selected,
                            ITerminalControl& control)
{
    if (!selected || *selected >= terminals.size()) {
        control.ShowError(std::string(LaunchNotSelectedText));
        return;
    }
    const TMT4TermInfo& terminal = terminals[*selected];
    if (control.FileExists(TerminalExePath(terminal.Path)))
        control.LaunchTerminal(terminal);
    else
        control.ShowError(TerminalPathErrorText(terminal.Path));
}

void ActOnSelectedTerminal(const TTerminalList& terminals, std::optional<std::size_t> selected,
                           TTerminalAction action, ITerminalControl& control)
{
    if (!selected || *selected >= terminals.size()) {
        control.ShowError(std::string(NotSelectedText(action)));
        return;
    }
    ActOnOne(terminals[*selected], action, control);
}

void ActOnTerminalByShortName(const TTerminalList& terminals, std::string_view selectorText, TTerminalAction action,
                              ITerminalControl& control)
{
    if (const std::optional<std::size_t> index = FindTerminalByShortName(terminals, selectorText))
        ActOnOne(terminals[*index], action, control);
}

int CountHiddenTerminals(const TTerminalList& terminals, ITerminalControl& control)
{
    int hidden = 0;
    for (const TMT4TermInfo& terminal : terminals) {
        const WindowHandle window = control.FindTerminalWindow(terminal.WindowPattern);
        if (window != 0 && !control.IsWindowVisible(window))
            ++hidden;
    }
    return hidden;
}

}  // namespace pelo::terminals
