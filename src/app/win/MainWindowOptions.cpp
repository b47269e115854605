// The options dialog as the main window makes and opens it, and what it changes in the main window.
#include "app/StartupRules.h"
#include "app/win/MainWindow.h"
#include "app/win/AppWindow.h"
#include "app/win/SettingsStore.h"
#include "dialogs/win/BrowseForFolder.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

LOGFONTW ToLogFont(const HBoxFontDescription& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.Height;
    lf.lfWeight = font.Style.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Style.Italic;
    lf.lfUnderline = font.Style.Underline;
    lf.lfStrikeOut = font.Style.Strikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring name = ui::ToWide(font.Name);
    wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    return lf;
}

HBoxFontDescription FromLogFont(const LOGFONTW& lf, uint32_t color) {
    HBoxFontDescription font;
    font.Name = ui::ToU16(lf.lfFaceName);
    font.Height = lf.lfHeight;
    font.Style.Bold = lf.lfWeight >= FW_BOLD;
    font.Style.Italic = lf.lfItalic != 0;
    font.Style.Underline = lf.lfUnderline != 0;
    font.Style.Strikeout = lf.lfStrikeOut != 0;
    font.Color = color;
    return font;
}

}  // namespace

bool TfrmPelorant::CreateOptionsDialog() {
    dialogs::OptionsHost host;
    host.Owner = appWindow_.hwnd();
    host.MainWindow = hwnd();
    host.ProgramDir = state_.ProgramDir;
    host.AboutText = ui::AnsiToWide(std::string(ProgramTitle) + std::string(ProgramVersion)) +
                     L"\n\nNews trading for MetaTrader 4 terminals: every headline the moment it is listed, your "
                     L"script's rules, and the order buttons pressed for you.";
    host.DisarmAutoExecute = [this] { SetAutoExecute(false); };
    host.ResizeHBox = [this](int capacity) { core_->HBox.ResizeHBox(capacity); };
    host.ResizeDupCache = [this](int size) { core_->DupCache.ResizeDupCache(size); };
    host.UpdateMainWindowButtons = [this] { terminalBar_.UpdateButtons(); };
    host.HBoxFont = [this] { return ToLogFont(hboxFont_); };
    host.HBoxFontColor = [this] { return hboxFont_.Color; };
    host.ApplyHBoxFont = [this](const LOGFONTW& font, uint32_t color) { ApplyHBoxFont(FromLogFont(font, color)); };
    host.SaveSettings = [this] {
        const SettingsSaveResult saved = SaveSettings(state_, *this);
        if (saved.Result == SettingsSaveResult::Outcome::Failed) ui::ShowErrorBox(ui::ToWide(saved.Error));
    };
    options_ = std::make_unique<dialogs::TfrmOptions>(state_.Settings, state_.TerminalList, orderDesk_->Orders(),
                                                      std::move(host));
    if (!options_->Create()) return false;

    terminalSelector_ = std::make_unique<terminals::WinTerminalSelector>(controls_.comboBox1.hwnd(),
                                                                         [this] { terminalBar_.UpdateButtons(); });
    terminalHandlers_ = std::make_unique<terminals::TerminalListHandlers>(
        state_.TerminalList, *terminalSelector_, [this] { return session_->ReadingActive(); }, dialogs::BrowseForFolder);
    terminalHandlers_->Attach(options_->hwnd(), options_->TerminalListBox());
    terminals::TerminalListHandlers& list = *terminalHandlers_;
    options_->onAddBroker = [&list](int) { list.btnAddBrokerClick(); };
    options_->onEditBroker = [&list](int) { list.btnEditBrokerClick(); };
    options_->onRemoveBroker = [&list](int) { list.btnRemoveBrokerClick(); };
    options_->onMoveUp = [&list](int) { list.SpeedButton1Click(); };
    options_->onMoveDown = [&list](int) { list.SpeedButton2Click(); };
    visibleWindows_ = std::make_unique<dialogs::TfrmVisibleWindows>();
    options_->onShowVisibleWindows = [this] { visibleWindows_->ShowVisibleWindows(options_->hwnd()); };
    return true;
}

void TfrmPelorant::ShowOptions() {
    SetAutoExecute(false);
    options_->SetCoordsDialog(orderDesk_->CoordsDialog().hwnd());
    options_->Open();
}

}  // namespace pelo::app
