#pragma once
// TfrmBroker, the terminal dialog ("Add MT4 terminal" / "Edit MT4 terminal"): the four fields of one configured
// terminal, checked by its OK. The object lives as long as the program; its window is made each time the dialog is
// shown, owned by the options dialog, and released when it closes. While it is open every other window of the
// program is disabled, which makes it behave as modal without stopping the main window's timers.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "terminals/TerminalListEditor.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/Panel.h"
#include "ui/win/TabKeys.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/Window.h"

namespace pelo::terminals {

// The system's folder chooser: `folder` in is the folder to preselect, out the chosen one; true when one was chosen.
using FolderChooser = std::function<bool(const std::wstring& title, std::wstring& folder, HWND owner)>;

class TfrmBroker final : public ui::Window, public ITerminalDialog {
public:
    explicit TfrmBroker(FolderChooser chooseFolder);
    ~TfrmBroker() override;

    // The options dialog's window: the dialog's owner and the window it is centred on. Set before each showing.
    void SetOptionsWindow(HWND options) { options_ = options; }
    // The entry of the OK that passed its checks, with the mode it was opened in (AddingTerminal or an index).
    std::function<void(int mode, const TMT4TermInfo& terminal)> onAccept;

    int Mode() const { return mode_; }  // the Tag

    // ITerminalDialog
    bool IsOpen() override;
    void ShowForAdd() override;
    void ShowForEdit(int index, const TMT4TermInfo& terminal) override;

    void btnOKClick();
    void btnCancelClick() { FormClose(); }
    void btnSelectTerminalPathClick();
    void btnShortNameHintClick();
    void btnTerminalPathHintClick();
    void btnWindowTitlePatternHintClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Controls;

    bool FormCreate();
    void FormClose();
    void ShowWithFields(int mode, std::string_view caption, const TMT4TermInfo& fields);
    TMT4TermInfo TypedFields() const;

    FolderChooser chooseFolder_;
    HWND options_ = nullptr;
    int mode_ = AddingTerminal;
    ui::Font dialogFont_, hintFont_;
    std::unique_ptr<Controls> c_;
    ui::TaskWindowsDisabled disabled_;
};

}  // namespace pelo::terminals
