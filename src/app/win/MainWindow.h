#pragma once
// TfrmPelorant, the program's one main window: the autoexecute switch, Start/Stop, the script's panels, the
// counters, the headline box and the terminal buttons, with the clock in its caption. It lays out its controls
// from MainWindowLayout.h and wires each to its handler; the session rules are TNewsSession's.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/ClockCaption.h"
#include "app/NewsSession.h"
#include "app/StartupRules.h"
#include "app/SettingsFile.h"
#include "app/win/AppEx.h"
#include "app/win/AppState.h"
#include "app/win/MainWindowControls.h"
#include "app/win/MainWindowLayout.h"
#include "app/win/MainWindowMenus.h"
#include "app/win/NewsSessionHost.h"
#include "app/win/ScriptSession.h"
#include "script/ScriptState.h"
#include "app/win/TerminalBar.h"
#include "clicker/win/OrderDesk.h"
#include "dialogs/win/OptionsDialog.h"
#include "dialogs/win/VisibleWindowsDialog.h"
#include "terminals/win/TerminalListHandlers.h"
#include "headlines/HeadlineCore.h"
#include "headlines/win/HeadlineListBox.h"
#include "headlines/win/WinClock.h"
#include "headlines/win/WinLogFileSystem.h"
#include "ui/win/TrayIcon.h"
#include "ui/win/Window.h"

namespace pelo::app {

class AppWindow;

class TfrmPelorant : public ui::Window {
public:
    TfrmPelorant(AppWindow& appWindow, AppState& state);
    ~TfrmPelorant() override;

    // Creates the window and its controls (FormCreate); the window stays hidden.
    bool Create();

    // Settings that live in the window: the headline box font and the window's bounds.
    void ApplyLoadedSettings();
    HBoxFontDescription CurrentHBoxFont() const { return hboxFont_; }
    StoredWindowPositions PositionsForSave() const;
    // The headline box font rules (non-anti-aliased when HBoxFontSmoothingDisabled, row height from "0"); the
    // options dialog calls this again when it is confirmed.
    void ApplyHBoxFont(const HBoxFontDescription& font);

    // Start-up, once the settings are loaded: ring and cache sizes, the terminal selector, the welcome lines and
    // which terminal buttons are enabled.
    void AllocateHeadlineStores();
    void WriteWelcomeLines();
    TerminalBar& Terminals() { return terminalBar_; }

    // Rewrites the caption from the clock; called by Timer1 and once before the window is shown.
    void Timer1Timer();
    void Timer2Timer();
    void ResetShownSecond() { LastShownSecond = -1; }
    void SetCaptionBase(std::string base);

    headlines::THeadlineCore& Headlines() { return *core_; }
    headlines::THeadlineListBox& HeadlineBoxControl() { return *listBox_; }
    script::TScriptState& Script() { return script_; }
    bool ScriptAttached() const { return script_.ScriptAttached; }
    const TNewsSession& Session() const { return *session_; }

    // The script's panels and labels, for the script host.
    ui::Panel& ResPanel() { return controls_.resPanel; }
    ui::Panel& SignalPanel() { return controls_.signalPanel; }
    ui::Label& IndicatorLabel(int index) { return controls_.Label(layout::idLbl1 + index); }  // lbl1..lbl6 as 0..5
    ui::Label& lblSignal() { return controls_.lblSignal; }
    ui::Label& lblNoSignal() { return controls_.Label(layout::idLblNoSignal); }
    // Re-lays out the top row after ResPanel changed size.
    void ResPanelResize() { controls_.ResPanelResize(); }

    // Autoexecute: checks or unchecks the box, running its handler as a user's click does.
    void SetAutoExecute(bool checked);
    bool AutoExecuteChecked() const { return controls_.chbAutoExecute.IsChecked(); }
    clicker::TOrderDesk& Orders() { return *orderDesk_; }
    dialogs::TfrmOptions& Options() { return *options_; }
    // btnShowOptionsClick
    void ShowOptions();
    // Key preview of this window and the coordinate dialog: every key press in them, before its control sees it.
    void PreviewKeyDown(HWND target, int key);

    TMainWindowMenus& Menus() { return menus_; }
    ScriptSession& Scripts() { return *scriptSession_; }
    // Start-up: the command of the first argument, or the automatic attach.
    void RunStartupCommand(StartupCommand command);
    // btnScriptEditorClick
    void OpenScriptEditor();

    // Start-up, once this window exists: its taskbar button and minimize rules.
    void InstallAppEx(TAppEx& appEx);
    // The notification area: the window hides behind the icon and comes back from it.
    void MinimizeToTray();
    void RestoreFromTray();
    void ShowFromTray();
    bool InTray() const { return TrayIcon1.Active(); }

    // Handlers, public so that the other parts can run them as a click does.
    void btnStartStopClick() { session_->StartStop(); }
    void Clear1Click();
    void Copy1Click();
    void FormClose();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    bool CreateOptionsDialog();
    void WireControls();
    void OnContextMenu(HWND control, POINT screen);
    void chbAutoExecuteClick();
    void OnPeloComm(WPARAM wp, LPARAM lp);
    void Activate();

    AppWindow& appWindow_;
    AppState& state_;
    UINT peloCommMsg_;

    headlines::TWinLogFileSystem logFiles_;
    headlines::TWinClock localClock_;
    script::TScriptState script_;
    std::unique_ptr<headlines::THeadlineCore> core_;
    std::unique_ptr<headlines::THeadlineListBox> listBox_;
    std::unique_ptr<NewsSessionHost> newsHost_;
    std::unique_ptr<TNewsSession> session_;
    std::unique_ptr<ScriptSession> scriptSession_;
    std::unique_ptr<clicker::TOrderDesk> orderDesk_;
    std::unique_ptr<dialogs::TfrmOptions> options_;
    // The options dialog's terminal list: the terminal dialog and the list handlers, mirrored in ComboBox1.
    std::unique_ptr<terminals::WinTerminalSelector> terminalSelector_;
    std::unique_ptr<terminals::TerminalListHandlers> terminalHandlers_;
    std::unique_ptr<dialogs::TfrmVisibleWindows> visibleWindows_;
    MainWindowControls controls_;
    TerminalBar terminalBar_{state_, controls_};
    TMainWindowMenus menus_;
    // Menu items and what they run; a new item needs no case in the message handling.
    std::map<int, std::function<void()>> menuCommands_;

    HBoxFontDescription hboxFont_;
    std::string CaptionBase;
    int LastShownSecond = -1;
    ClockAlignment clock_;
    bool closing_ = false;

    TAppEx* appEx_ = nullptr;
    ui::TrayIcon TrayIcon1;
    // Dialogs hidden with this window in the notification area, to show again with it.
    bool coordsHiddenForTray_ = false;
    bool optionsHiddenForTray_ = false;
};

}  // namespace pelo::app
