#include "app/win/TerminalBar.h"

#include <string>

namespace pelo::app {

void TerminalBar::Wire() {
    using namespace layout;
    auto on = [this](int id, std::function<void()> f) { controls_.Button(id).onClick = std::move(f); };
    auto allTerminals = [this](terminals::TTerminalAction action) {
        return [this, action] { terminals::ActOnAllTerminals(state_.TerminalList, action, terminals_); };
    };
    auto selectedTerminal = [this](terminals::TTerminalAction action) {
        return [this, action] {
            terminals::ActOnTerminalByShortName(state_.TerminalList, controls_.comboBox1.TextA(), action, terminals_);
        };
    };
    on(idBtnLaunchMT4s, [this] { terminals::LaunchAllTerminals(state_.TerminalList, terminals_); });
    on(idBtnCloseMT4s, allTerminals(terminals::TTerminalAction::Close));
    on(idBtnShowAll, allTerminals(terminals::TTerminalAction::Show));
    on(idBtnHideAll, allTerminals(terminals::TTerminalAction::Hide));
    on(idBtnShow, selectedTerminal(terminals::TTerminalAction::Show));
    on(idBtnHide, selectedTerminal(terminals::TTerminalAction::Hide));
}

void TerminalBar::FillSelector() {
    ui::ComboBox& selector = controls_.comboBox1;
    selector.Clear();
    for (const terminals::TMT4TermInfo& t : state_.TerminalList) selector.AddItemA(t.ShortName);
    if (!state_.TerminalList.empty()) selector.Select(0);

    const bool console = state_.Settings.UseConsoleApp && state_.Settings.ShowConsole;
    const int count = selector.Count();
    const std::string last = count > 0 ? selector.ItemTextA(count - 1) : std::string();
    if (console && last != "Console") {
        selector.AddItemA("Console");
        selector.Select(0);
    } else if (!console && last == "Console") {
        selector.DeleteItem(count - 1);
    }
}

void TerminalBar::UpdateButtons() {
    using namespace layout;
    const terminals::TTerminalButtonStates states = terminals::TerminalButtonStates(
        state_.TerminalList.size(), state_.Settings.UseConsoleApp, state_.Settings.ShowConsole);
    for (int id : {idBtnLaunchMT4s, idBtnCloseMT4s, idBtnShowAll, idBtnHideAll})
        controls_.Button(id).SetEnabled(states.AllTerminalButtons);
    for (int id : {idBtnShow, idBtnHide}) controls_.Button(id).SetEnabled(states.SelectorButtons);
    controls_.comboBox1.SetEnabled(states.SelectorButtons);
}

bool TerminalBar::ExitConfirmed() {
    const int hidden = terminals::CountHiddenTerminals(state_.TerminalList, terminals_);
    if (hidden == 0) return true;
    const std::wstring n = std::to_wstring(hidden);
    const std::wstring question = hidden == 1
                                      ? L"There is " + n + L" hidden MT4 terminal running. Exit anyway?"
                                      : L"There are " + n + L" hidden MT4 terminals running. Exit anyway?";
    return ui::ShowWarningChoice(question, MB_OKCANCEL, ui::BoxLayer::TopMost) == IDOK;
}

}  // namespace pelo::app
