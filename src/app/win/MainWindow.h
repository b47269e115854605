#pragma once
// TfrmPelorant, the program's one main window: the autoexecute switch, Start/Stop, the script's panels, the
// counters, the headline box and the terminal buttons, with the clock in its caption.
#include <functional>
#include <memory>
#include <string>

#include "app/ClockCaption.h"
#include "app/SettingsFile.h"
#include "app/win/AppState.h"
#include "app/win/MainWindowMenus.h"
#include "app/win/ScriptState.h"
#include "terminals/win/TerminalControl.h"
#include "headlines/HeadlineCore.h"
#include "headlines/win/HeadlineListBox.h"
#include "headlines/win/WinClock.h"
#include "headlines/win/WinLogFileSystem.h"
#include "news/NewsReaders.h"
#include "news/win/NewsIntake.h"
#include "ui/win/Panel.h"
#include "ui/win/Window.h"

namespace pelo::app {

class AppWindow;

class TfrmPelorant : public ui::Window, public INewsDispatch {
public:
    // Shift state bits passed with a key press.
    static constexpr UINT kShift = 1, kAlt = 2, kCtrl = 4;

    static constexpr int kClientWidth = 610;
    static constexpr int kClientHeight = 271;

    TfrmPelorant(AppWindow& appWindow, AppState& state);
    ~TfrmPelorant() override;

    // Creates the window and its controls (FormCreate); the window stays hidden.
    bool Create();

    // Settings that live in the window: the headline box font and the window's bounds.
    void ApplyLoadedSettings();
    HBoxFontDescription CurrentHBoxFont() const { return hboxFont_; }
    StoredWindowPositions PositionsForSave(const StoredWindowPositions& loaded) const;
    // The headline box font rules (non-anti-aliased when HBoxFontSmoothingDisabled, row height from "0"); the
    // options dialog calls this again when it is confirmed.
    void ApplyHBoxFont(const HBoxFontDescription& font);

    // Start-up, once the settings are loaded: ring and cache sizes, the terminal selector, the welcome lines and
    // which terminal buttons are enabled.
    void AllocateHeadlineStores();
    void FillTerminalSelector();
    void WriteWelcomeLines();
    void UpdateTerminalButtons();

    // Rewrites the caption from the clock; called by Timer1 and once before the window is shown.
    void Timer1Timer();
    void Timer2Timer();
    void ResetShownSecond() { LastShownSecond = -1; }
    void SetCaptionBase(std::string base);

    // Every key press in the window, seen before the focused control (the message loop calls this).
    void PreviewMessage(const MSG& msg);

    // Headline processing: the ring, cache, counter, log writer and dispatch.
    THeadlineCore& Headlines() { return *core_; }
    THeadlineListBox& HeadlineBoxControl() { return *listBox_; }
    TScriptState& Script() { return script_; }
    bool ScriptAttached() const { return script_.ScriptAttached; }
    bool ReadingActive() const { return ReadingActive_; }

    // The script's panels and labels, for the script host.
    ui::Panel& ResPanel() { return resPanel_; }
    ui::Panel& SignalPanel() { return signalPanel_; }
    HWND IndicatorLabel(int index) const { return lbl_[index]; }  // lbl1..lbl6 as 0..5
    HWND lblSignal() const { return lblSignal_; }
    HWND lblNoSignal() const { return lblNoSignal_; }
    // Re-lays out the top row after ResPanel changed size (ResPanelResize runs on its own for size changes).
    void ResPanelResize();

    // Counters of the top row.
    void ShowActiveSourceCount(int count);

    // Autoexecute: checks or unchecks the box, running its handler as a user's click does.
    void SetAutoExecute(bool checked);
    bool AutoExecuteChecked() const;

    // The news readers (NewsReaders); null until news reading is first started.
    news::NewsIntake* NewsIntake() { return newsIntake_.get(); }

    // Parts that other windows and subsystems supply. Unset members do nothing.
    struct Hooks {
        std::function<void(WPARAM key, UINT shift)> FormKeyDown;  // the coordinate dialog's key handler
        std::function<void()> ClearOrderWindows;                  // BuyWindow..StrongSellWindow := 0
        std::function<bool()> ManualCoordinatesSet;               // some ClickList entry has a complete pair
        std::function<bool(int& orderWindowCount)> FindOrderWindows;
        std::function<void()> ResetSignalState;                   // last signal none, not signalled
        std::function<void()> OpenScriptEditor;
        std::function<void()> ShowCoordsDialog;
        std::function<void()> ShowOptionsDialog;
        std::function<void()> RemoveScript;
        std::function<void()> ShowFromTray;
        std::function<void()> MinimizeToTray;
        std::function<void()> RestoreFromTray;
        std::function<void(WPARAM wp, LPARAM lp)> PeloCommand;    // PeloCommMsg codes other than news
    };
    Hooks hooks;

    // Menus (the tray icon uses PopupMenu1; the script lifecycle enables "Remove script").
    TMainWindowMenus& Menus() { return menus_; }

    // Handlers, public so that tests and the other parts can run them as a click does.
    void btnStartStopClick();
    void Clear1Click();
    void Copy1Click();
    void FormClose();
    std::string StartStopCaption() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // INewsDispatch: what the news readers ask of the main window.
    int HistMT4HBuffer() override;
    bool NoDuplicates() override;
    bool CheckDuplicate(const std::string& text) override;
    void DispatchHeadlines(const TNewsReader& reader) override;

private:

    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    void CreateTopPanel();
    void CreateBottomPanel();
    void AdjustForScreenResolution();
    void FormResize();
    void LayoutPanels();
    void OnCommand(int id, int code, HWND control);
    void OnContextMenu(HWND control, POINT screen);
    bool OnSysCommand(WPARAM command);
    void chbAutoExecuteClick();
    void StartNewsReaders();
    void StopNewsReading();
    void ActOnSelectedTerminal(TTerminalAction action);
    void SetLabelText(HWND label, const std::wstring& text);
    THeadlineSettings CurrentHeadlineSettings() const;
    bool CloseConfirmed();

    AppWindow& appWindow_;
    AppState& state_;
    UINT peloCommMsg_;

    TWinLogFileSystem logFiles_;
    TWinClock localClock_;
    TScriptState script_;
    std::unique_ptr<THeadlineCore> core_;
    std::unique_ptr<THeadlineListBox> listBox_;
    std::unique_ptr<news::NewsIntake> newsIntake_;
    terminals::WinTerminalControl terminals_{ui::BoxLayer::TopMost};
    TMainWindowMenus menus_;

    HBoxFontDescription hboxFont_;
    std::string CaptionBase;
    int LastShownSecond = -1;
    ClockAlignment clock_;
    bool ReadingActive_ = false;
    bool closing_ = false;
    int minWidth_ = 610;
    int minHeight_ = 151;
    int topPanelHeight_ = 61;

    // Panels
    ui::Panel topPanel_, middlePanel_, bottomPanel_, autoExecPanel_, resPanel_, signalPanel_;

    // Controls
    HWND chbAutoExecute_ = nullptr, btnCoords_ = nullptr, btnStartStop_ = nullptr;
    HWND label5_ = nullptr, lblActiveNewsSourceCount_ = nullptr, label1_ = nullptr, lblHeadlineCount_ = nullptr;
    HWND lbl_[6] = {};
    HWND lblSignal_ = nullptr, lblNoSignal_ = nullptr;
    HWND listBox1_ = nullptr;
    HWND btnScriptEditor_ = nullptr, btnLaunchMT4s_ = nullptr, btnCloseMT4s_ = nullptr, btnShowAll_ = nullptr;
    HWND btnHideAll_ = nullptr, comboBox1_ = nullptr, btnShow_ = nullptr, btnHide_ = nullptr;
    HWND btnShowOptions_ = nullptr;
    HWND tooltips_ = nullptr;

    // Fonts owned by the window
    HFONT fontDefault_ = nullptr;     // Tahoma -12
    HFONT fontTopPanel_ = nullptr;    // MS Sans Serif -15
    HFONT fontAutoExecute_ = nullptr; // Microsoft Sans Serif -13 (Tahoma -15 at 144 dpi and more)
    HFONT fontCounters_ = nullptr;    // Tahoma -13
    HFONT fontSmallButtons_ = nullptr;  // Tahoma -11
    HFONT fontIndicators_ = nullptr;  // Microsoft Sans Serif bold fixed -16, not anti-aliased
    HFONT fontSignal_ = nullptr;      // Microsoft Sans Serif bold -16, not anti-aliased
    HFONT fontNoSignal_ = nullptr;    // Microsoft Sans Serif -13
};

}  // namespace pelo::app
