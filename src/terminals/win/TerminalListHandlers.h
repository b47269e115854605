#pragma once
// The options dialog's terminal list in one piece: ListBox3's items, the five handlers of its buttons, the terminal
// dialog TfrmBroker, and the boxes they show. The options dialog makes one for the program's life and wires it:
//
//   TerminalListHandlers terminals(state.TerminalList, mainWindowSelector,
//                                  [&] { return newsReadersRunning(); }, dialogs::BrowseForFolder);
//   // each time the options dialog's window is made and opened:
//   terminals.Attach(hwnd(), ListBox3.hwnd());      // fills ListBox3 from the list
//   btnAddBroker.onClick = [&] { terminals.btnAddBrokerClick(); };   // likewise Edit, Remove, SpeedButton1/2
//
// `mainWindowSelector` is the main window's ComboBox1 with its button rule (WinTerminalSelector), so added, edited,
// removed and moved terminals show in the main window at once.
#include <windows.h>

#include <functional>

#include "terminals/TerminalListEditor.h"
#include "terminals/win/BrokerDialog.h"
#include "terminals/win/TerminalListControls.h"

namespace pelo::terminals {

class TerminalListHandlers {
public:
    TerminalListHandlers(TTerminalList& terminals, ITerminalSelector& selector,
                         std::function<bool()> newsReadersRunning, FolderChooser chooseFolder);

    // The options dialog's window (owner of the terminal dialog, which is centred on it) and its ListBox3, which is
    // filled from the list.
    void Attach(HWND optionsDialog, HWND listBox3);
    // ListBox3's item selected, or -1: the controller buttons' "selected" terminal.
    int SelectedIndex() { return listBox3_.Selected(); }

    void btnAddBrokerClick() { editor_.btnAddBrokerClick(); }
    void btnEditBrokerClick() { editor_.btnEditBrokerClick(); }
    void btnRemoveBrokerClick() { editor_.btnRemoveBrokerClick(); }
    void SpeedButton1Click() { editor_.SpeedButton1Click(); }
    void SpeedButton2Click() { editor_.SpeedButton2Click(); }

    TfrmBroker& BrokerDialog() { return broker_; }

private:
    class Host final : public ITerminalListHost {
    public:
        explicit Host(std::function<bool()> readersRunning) : readersRunning_(std::move(readersRunning)) {}
        bool NewsReadersRunning() override { return readersRunning_ && readersRunning_(); }
        void ShowError(std::string_view text) override;
        bool Confirm(std::string_view question) override;

    private:
        std::function<bool()> readersRunning_;
    };

    ListBoxItems listBox3_;
    TfrmBroker broker_;
    Host host_;
    TTerminalListEditor editor_;
};

}  // namespace pelo::terminals
