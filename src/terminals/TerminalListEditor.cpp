#include "terminals/TerminalListEditor.h"

#include <utility>

#include "terminals/TerminalRules.h"

namespace pelo::terminals {
namespace {

// The settings reader trims every line of the file, and with it every byte up to the blank.
bool OnlyBlanks(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

bool ValidIndex(IItemList& list, int index)
{
    return index >= 0 && index < list.Count();
}

// A list control replaces an item by deleting it and inserting the new text, which loses the selection when the
// item was the selected one: it is put back.
void ReplaceItem(IItemList& list, int index, const std::string& text)
{
    if (!ValidIndex(list, index))
        return;
    const int selected = list.Selected();
    list.DeleteItem(index);
    list.InsertItem(index, text);
    if (selected >= 0 && list.Selected() != selected)
        list.Select(selected);
}

void MoveItem(IItemList& list, int from, int to)
{
    if (!ValidIndex(list, from) || !ValidIndex(list, to))
        return;
    const std::string text = list.ItemText(from);
    list.DeleteItem(from);
    list.InsertItem(to, text);
}

void SelectFirst(IItemList& list)
{
    if (list.Count() > 0)
        list.Select(0);
}

}  // namespace

std::string RemoveQuestionText(std::string_view fullName)
{
    std::string text = "Remove \"";
    text += fullName;
    text += "\"?";
    return text;
}

std::optional<std::string_view> CheckTerminalFields(const TMT4TermInfo& typed)
{
    if (OnlyBlanks(typed.FullName))
        return FullNameMissingText;
    if (typed.ShortName.empty())
        return ShortNameMissingText;
    if (typed.ShortName == ConsoleItemText)
        return ShortNameReservedText;
    if (typed.Path.empty())
        return PathMissingText;
    if (typed.WindowPattern.empty())
        return PatternMissingText;
    return std::nullopt;
}

TMT4TermInfo AcceptedTerminal(const TMT4TermInfo& typed)
{
    TMT4TermInfo accepted = typed;
    accepted.Path = CleanTerminalPath(typed.Path);
    return accepted;
}

void SelectorTerminalAdded(ITerminalSelector& selector, const std::string& shortName)
{
    const int count = selector.Count();
    const bool consoleLast = count > 0 && selector.ItemText(count - 1) == ConsoleItemText;
    selector.InsertItem(consoleLast ? count - 1 : count, shortName);
    if (selector.Selected() < 0)
        SelectFirst(selector);
    selector.UpdateButtons();
}

void SelectorTerminalEdited(ITerminalSelector& selector, int index, const std::string& shortName)
{
    ReplaceItem(selector, index, shortName);
}

void SelectorTerminalRemoved(ITerminalSelector& selector, int index)
{
    if (ValidIndex(selector, index))
        selector.DeleteItem(index);
    SelectFirst(selector);
    selector.UpdateButtons();
}

void SelectorTerminalMoved(ITerminalSelector& selector, int from, int to)
{
    MoveItem(selector, from, to);
    SelectFirst(selector);
}

void TTerminalListEditor::FillListBox()
{
    while (listBox3_.Count() > 0)
        listBox3_.DeleteItem(listBox3_.Count() - 1);
    for (const TMT4TermInfo& terminal : terminals_)
        listBox3_.InsertItem(listBox3_.Count(), terminal.FullName);
}

std::optional<std::size_t> TTerminalListEditor::SelectedEntry()
{
    const int selected = listBox3_.Selected();
    if (selected < 0 || static_cast<std::size_t>(selected) >= terminals_.size())
        return std::nullopt;
    return static_cast<std::size_t>(selected);
}

void TTerminalListEditor::btnAddBrokerClick()
{
    if (host_.NewsReadersRunning()) {
        host_.ShowError(ReaderActiveText);
        return;
    }
    dialog_.ShowForAdd();
}

void TTerminalListEditor::btnEditBrokerClick()
{
    if (host_.NewsReadersRunning()) {
        host_.ShowError(ReaderActiveText);
        return;
    }
    const std::optional<std::size_t> selected = SelectedEntry();
    if (!selected) {
        host_.ShowError(EditNotSelectedText);
        return;
    }
    dialog_.ShowForEdit(static_cast<int>(*selected), terminals_[*selected]);
}

void TTerminalListEditor::btnRemoveBrokerClick()
{
    if (host_.NewsReadersRunning()) {
        host_.ShowError(ReaderActiveText);
        return;
    }
    const std::optional<std::size_t> selected = SelectedEntry();
    if (!selected) {
        host_.ShowError(RemoveNotSelectedText);
        return;
    }
    if (dialog_.IsOpen()) {
        host_.ShowError(RemoveWhileDialogOpenText);
        return;
    }
    if (!host_.Confirm(RemoveQuestionText(terminals_[*selected].FullName)))
        return;
    const int index = static_cast<int>(*selected);
    listBox3_.DeleteItem(index);
    terminals_.erase(terminals_.begin() + static_cast<std::ptrdiff_t>(*selected));
    SelectorTerminalRemoved(selector_, index);
}

void TTerminalListEditor::MoveSelected(int step)
{
    if (dialog_.IsOpen()) {
        host_.ShowError(MoveWhileDialogOpenText);
        return;
    }
    if (host_.NewsReadersRunning()) {
        host_.ShowError(ReaderActiveText);
        return;
    }
    const std::optional<std::size_t> selected = SelectedEntry();
    if (!selected)
        return;
    const int from = static_cast<int>(*selected);
    const int to = from + step;
    if (to < 0 || static_cast<std::size_t>(to) >= terminals_.size())
        return;
    MoveItem(listBox3_, from, to);
    listBox3_.Select(to);
    SelectorTerminalMoved(selector_, from, to);
    std::swap(terminals_[static_cast<std::size_t>(from)], terminals_[static_cast<std::size_t>(to)]);
}

void TTerminalListEditor::StoreTerminal(int mode, const TMT4TermInfo& terminal)
{
    if (mode == AddingTerminal) {
        terminals_.push_back(terminal);
        listBox3_.InsertItem(listBox3_.Count(), terminal.FullName);
        SelectorTerminalAdded(selector_, terminal.ShortName);
        return;
    }
    // The list cannot change while the dialog is open (Remove and the move buttons refuse), so the index still
    // names the entry that was opened; one that does not exist is left alone.
    if (mode < 0 || static_cast<std::size_t>(mode) >= terminals_.size())
        return;
    terminals_[static_cast<std::size_t>(mode)] = terminal;
    ReplaceItem(listBox3_, mode, terminal.FullName);
    SelectorTerminalEdited(selector_, mode, terminal.ShortName);
}

}  // namespace pelo::terminals
