#pragma once
// TfrmOptions, "Options": every setting on three tabs ("News Sources", "Clicker", "Misc Options"), applied by OK
// and Apply, which also save the settings file. While it is open every other window of the program is disabled.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clicker/OrderExecution.h"
#include "core/AppSettings.h"
#include "dialogs/OptionsForm.h"
#include "terminals/TerminalInfo.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/Panel.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/Window.h"

namespace pelo::dialogs {

// What the dialog changes outside itself.
struct OptionsHost {
    HWND Owner = nullptr;         // the application window
    HWND MainWindow = nullptr;
    HWND CoordsDialog = nullptr;  // follows the main window's top-most state
    std::wstring ProgramDir;      // where the help file is looked for
    std::wstring AboutText;       // title, version and links, made by the program at run time
    std::function<void()> DisarmAutoExecute;
    std::function<void(int capacity)> ResizeHBox;
    std::function<void(int size)> ResizeDupCache;
    std::function<void()> UpdateMainWindowButtons;
    // The headline box font: read when the dialog opens and for the font dialog, set by OK and Apply.
    // Colours in the settings' encoding (00BBGGRR, or FF0000nn for system colour nn).
    std::function<LOGFONTW()> HBoxFont;
    std::function<uint32_t()> HBoxFontColor;
    std::function<void(const LOGFONTW& font, uint32_t color)> ApplyHBoxFont;
    std::function<void()> SaveSettings;
};

class TfrmOptions final : public ui::Window {
public:
    TfrmOptions(AppSettings& settings, terminals::TTerminalList& terminals, clicker::TOrderExecution& orders,
                OptionsHost host);
    ~TfrmOptions() override;

    // Once at start-up; the dialog stays hidden.
    bool Create();
    // The main window's "Options" button.
    void Open();
    bool IsOpen() const { return hwnd() && IsWindowVisible(hwnd()); }
    // The coordinate dialog is made after this one; it follows the main window's top-most state.
    void SetCoordsDialog(HWND coords) { host_.CoordsDialog = coords; }

    // The terminal list buttons ("Add...", "Edit...", "Remove", "Move up", "Move down") with ListBox3's
    // selection; the terminal dialog's owner sets them.
    std::function<void(int selected)> onAddBroker, onEditBroker, onRemoveBroker, onMoveUp, onMoveDown;
    // "Show visible window titles and classnames".
    std::function<void()> onShowVisibleWindows;
    // Fills ListBox3 from the terminal list and selects `selected` (-1: none).
    void FillTerminalList(int selected);
    HWND TerminalListBox() const;

    void btnOKClick();
    void btnCancelClick() { CloseDialog(); }
    void btnApplyClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Controls;

    void FormCreate();
    void CreateNewsSourcesTab(ui::Panel& page);
    void CreateClickerTab(ui::Panel& page);
    void CreateMiscTab(ui::Panel& page);
    void ShowPage(int index);

    void FillControls();
    OptionsFields ReadControls() const;
    void ApplySettings();
    void CloseDialog();
    void EnableApply() { SetApplyEnabled(true); }
    void SetApplyEnabled(bool enabled);
    void ValidateNumber(ui::Edit& edit, ui::Panel& page, NumericEdit kind);
    void UpdateDependentControls();
    void SelectFont();
    void SelectConsoleApp();
    void ShowHelp();
    void ShowAbout();
    void TestClicks(clicker::TradeKind kind);

    AppSettings& settings_;
    terminals::TTerminalList& terminals_;
    clicker::TOrderExecution& orders_;
    OptionsHost host_;
    std::unique_ptr<Controls> c_;
    ui::Font font_;
    int dpi_ = 96;
    LOGFONTW PendingFont{};
    uint32_t pendingColor_ = 0;
    ui::TaskWindowsDisabled SavedTaskWindows;
    int lastPage_ = 0;
};

}  // namespace pelo::dialogs
