#pragma once
// Editing the configured terminals: the options dialog's list (ListBox3 with "Add...", "Edit...", "Remove" and the
// two move buttons), the checks of the terminal dialog, and how the main window's terminal selector follows every
// change. The controls, the terminal dialog and the message boxes sit behind small interfaces, so the rules hold
// whatever draws them; terminals/win/TerminalListHandlers.h puts the Win32 pieces together.
//
// Every change reaches TerminalList at once: the options dialog's OK, Apply and Cancel do not touch it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "terminals/TerminalInfo.h"

namespace pelo::terminals {

// Two lines: the box breaks at the lone CR.
inline constexpr std::string_view ReaderActiveText =
    "Sorry, can't do this while the news reader is active.\rClick 'Stop' in the main window first.";
inline constexpr std::string_view EditNotSelectedText = "Error: terminal to edit not selected!";
inline constexpr std::string_view RemoveNotSelectedText = "Error: terminal to remove not selected!";
inline constexpr std::string_view RemoveWhileDialogOpenText =
    "Error: can't remove while add/edit terminal window is open!";
inline constexpr std::string_view MoveWhileDialogOpenText =
    "Error: can't change position while add/edit broker window is open!";

inline constexpr std::string_view FullNameMissingText = "Error: broker full name not entered!";
inline constexpr std::string_view ShortNameMissingText = "Error: broker short name not entered!";
inline constexpr std::string_view ShortNameReservedText =
    "Sorry, broker short name 'Console' is reserved! Please choose another name.";
inline constexpr std::string_view PathMissingText = "Error: path to terminal.exe not entered!";
inline constexpr std::string_view PatternMissingText = "Error: window title pattern not entered!";

// The selector's last item while the console news source is shown; never a terminal's short name.
inline constexpr std::string_view ConsoleItemText = "Console";

inline constexpr std::string_view AddTerminalCaption = "Add MT4 terminal";
inline constexpr std::string_view EditTerminalCaption = "Edit MT4 terminal";

// The terminal dialog's mode (its Tag): adding, or the index of the entry being edited.
inline constexpr int AddingTerminal = -1;

// "Remove "<full name>"?"
std::string RemoveQuestionText(std::string_view fullName);

// The first of the terminal dialog's complaints about the four edits as typed, or nothing when they may be stored.
// Only emptiness counts (a lone blank is a name), except for the full name: one made of blanks only would read back
// from the settings file as empty and end the terminal list there, dropping every later terminal.
std::optional<std::string_view> CheckTerminalFields(const TMT4TermInfo& typed);
// The entry the dialog stores for checked fields: the path reduced to the terminal's folder (CleanTerminalPath).
TMT4TermInfo AcceptedTerminal(const TMT4TermInfo& typed);

// A list control that holds one item per terminal, at the terminal's index: the options dialog's ListBox3 (full
// names) and the main window's ComboBox1 (short names, maybe followed by "Console"). Item texts are 8-bit.
class IItemList {
public:
    virtual ~IItemList() = default;
    virtual int Count() = 0;
    virtual std::string ItemText(int index) = 0;
    // index == Count() appends.
    virtual void InsertItem(int index, const std::string& text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual int Selected() = 0;  // -1: none
    virtual void Select(int index) = 0;
};

// The main window's terminal selector and, with it, the terminal buttons.
class ITerminalSelector : public IItemList {
public:
    // Enables the terminal buttons and the selector by TerminalButtonStates for the list as it is now.
    virtual void UpdateButtons() = 0;
};

// How the selector follows the list. Each keeps the selector's items at the terminals' indexes; the main window
// may call them for changes of its own.
void SelectorTerminalAdded(ITerminalSelector& selector, const std::string& shortName);
void SelectorTerminalEdited(ITerminalSelector& selector, int index, const std::string& shortName);
void SelectorTerminalRemoved(ITerminalSelector& selector, int index);
void SelectorTerminalMoved(ITerminalSelector& selector, int from, int to);

// The terminal dialog as the list handlers see it. Shown, it keeps every other window of the program disabled
// until it closes.
class ITerminalDialog {
public:
    virtual ~ITerminalDialog() = default;
    virtual bool IsOpen() = 0;
    // Caption AddTerminalCaption, empty edits, mode AddingTerminal.
    virtual void ShowForAdd() = 0;
    // Caption EditTerminalCaption, the entry's four fields, mode `index`.
    virtual void ShowForEdit(int index, const TMT4TermInfo& terminal) = 0;
};

// What the list handlers ask of the program around them.
class ITerminalListHost {
public:
    virtual ~ITerminalListHost() = default;
    // Start was pressed and the news readers, made from the list, run.
    virtual bool NewsReadersRunning() = 0;
    virtual void ShowError(std::string_view text) = 0;
    // Yes/No question; true for Yes.
    virtual bool Confirm(std::string_view question) = 0;
};

// The five handlers of the options dialog's terminal list, and the store of the terminal dialog's OK. The tests
// before each change come in an order of their own per handler: Add and Edit ask about the readers first, Remove
// about the readers, the selection and then the open dialog, the move buttons about the open dialog first.
class TTerminalListEditor {
public:
    TTerminalListEditor(TTerminalList& terminals, IItemList& listBox3, ITerminalSelector& selector,
                        ITerminalDialog& dialog, ITerminalListHost& host)
        : terminals_(terminals), listBox3_(listBox3), selector_(selector), dialog_(dialog), host_(host)
    {
    }

    // ListBox3 afresh from the list, as each opening of the options dialog shows it.
    void FillListBox();

    void btnAddBrokerClick();
    void btnEditBrokerClick();
    void btnRemoveBrokerClick();
    void SpeedButton1Click() { MoveSelected(-1); }  // "Move up"
    void SpeedButton2Click() { MoveSelected(+1); }  // "Move down"

    // The terminal dialog's OK after its checks: `mode` AddingTerminal appends, an index overwrites that entry.
    void StoreTerminal(int mode, const TMT4TermInfo& terminal);

private:
    std::optional<std::size_t> SelectedEntry();
    void MoveSelected(int step);

    TTerminalList& terminals_;
    IItemList& listBox3_;
    ITerminalSelector& selector_;
    ITerminalDialog& dialog_;
    ITerminalListHost& host_;
};

}  // namespace pelo::terminals
