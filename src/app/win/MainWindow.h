#pragma once
// TfrmPelorant, the program's one main window.
#include <string>

#include "app/ClockCaption.h"
#include "app/SettingsFile.h"
#include "app/win/AppState.h"
#include "ui/win/Window.h"

namespace pelo::app {

class AppWindow;

class TfrmPelorant : public ui::Window {
public:
    static constexpr int kClientWidth = 610;
    static constexpr int kClientHeight = 271;

    TfrmPelorant(AppWindow& appWindow, AppState& state);
    bool Create();

    // Settings that live in the window: the headline box font and the window's bounds.
    void ApplyLoadedSettings();
    HBoxFontDescription CurrentHBoxFont() const { return hboxFont_; }
    StoredWindowPositions PositionsForSave(const StoredWindowPositions& loaded) const;

    // Rewrites the caption from the clock; called by Timer1 and once before the window is shown.
    void Timer1Timer();
    void ResetShownSecond() { LastShownSecond = -1; }
    void SetCaptionBase(std::string base);

    bool ScriptAttached() const { return scriptAttached_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormClose();
    void OnPeloComm(WPARAM wp, LPARAM lp);

    AppWindow& appWindow_;
    AppState& state_;
    UINT peloCommMsg_;
    HBoxFontDescription hboxFont_;
    std::string CaptionBase;
    int LastShownSecond = -1;
    ClockAlignment clock_;
    bool scriptAttached_ = false;
};

}  // namespace pelo::app
