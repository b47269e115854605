#include "terminals/win/TerminalListHandlers.h"

#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::terminals {

TerminalListHandlers::TerminalListHandlers(TTerminalList& terminals, ITerminalSelector& selector,
                                           std::function<bool()> newsReadersRunning, FolderChooser chooseFolder)
    : broker_(std::move(chooseFolder)),
      host_(std::move(newsReadersRunning)),
      editor_(terminals, listBox3_, selector, broker_, host_)
{
    broker_.onAccept = [this](int mode, const TMT4TermInfo& terminal) { editor_.StoreTerminal(mode, terminal); };
}

void TerminalListHandlers::Attach(HWND optionsDialog, HWND listBox3)
{
    broker_.SetOptionsWindow(optionsDialog);
    listBox3_.SetWindow(listBox3);
    editor_.FillListBox();
}

void TerminalListHandlers::Host::ShowError(std::string_view text)
{
    ui::ShowErrorBox(ui::AnsiToWide(text));
}

bool TerminalListHandlers::Host::Confirm(std::string_view question)
{
    return ui::ShowConfirmBox(ui::AnsiToWide(question), MB_YESNO) == IDYES;
}

}  // namespace pelo::terminals
