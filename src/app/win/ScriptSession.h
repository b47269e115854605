#pragma once
// The script's place in the program: the declaration table, the script host, the panels, the lifecycle and what
// the lifecycle needs of the program (the registry value AttachedScript, the test headline file, the boxes, the
// caption, the "Remove script" item, the editor).
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win/AppState.h"
#include "headlines/HeadlineCore.h"
#include "script/ScriptHost.h"
#include "script/ScriptLifecycle.h"
#include "script/ScriptState.h"
#include "script/win/ScriptPanels.h"
#include "script/win/WinScriptServices.h"
#include "script/win/WinScriptWindows.h"

namespace pelo::app {

class ScriptSession final : public script::IScriptLifecycleHost {
public:
    // What the session changes in the main window.
    struct WindowSide {
        HWND Window = nullptr;  // receives RunPendingMessage; owns ReadLn's dialog
        std::function<void(bool testing)> SetCaptionBase;
        std::function<void(bool enabled)> EnableRemoveScript;
        std::function<bool()> ReadingActive;
        // A script's Buy, StrongBuy, Sell, StrongSell (1 to 4): the clicks, before the signal shows.
        std::function<void(int signalCode)> ExecuteTradeClicks;
    };
    // Posted to the main window to carry out commands that waited for a script procedure.
    static constexpr UINT RunPendingMessage = WM_APP + 0x41;

    ScriptSession(AppState& state, headlines::THeadlineCore& core, script::TScriptState& scriptState);
    ~ScriptSession() override;

    // Once the main window's controls exist.
    void Connect(WindowSide window, const script::PanelControls& panels);

    script::TScriptLifecycle& Lifecycle() { return *lifecycle_; }
    script::TScriptPanels& Panels() { return *panels_; }

    // IScriptLifecycleHost
    bool OpenScriptKey() override;
    std::u16string AttachedScript() override;
    void SetAttachedScript(const std::u16string& path) override;
    bool IsFile(const std::u16string& path) override;
    std::optional<std::string> ReadCompiledScript(const std::u16string& path) override;
    bool TestHeadlinesExist() override;
    std::optional<std::vector<std::string>> ReadTestHeadlines() override;
    void DeleteTestHeadlines() override;
    void ShowErrorBox(const std::string& text) override;
    void ShowPlainBox(const std::string& text) override;
    void ShowStatusLine(const std::string& text) override { core_.HBox.ShowHBoxLine(text); }
    std::string BoxTimeNow() override;
    std::string ToAnsi(const std::u16string& text) override;
    void CountHeadline() override { core_.Counter.Add(1); }
    void ResetHeadlineCount() override { core_.Counter.Reset(); }
    bool ReadingActive() override { return window_.ReadingActive && window_.ReadingActive(); }
    void SetCaptionBase(bool testing) override { window_.SetCaptionBase(testing); }
    void EnableRemoveScript(bool enabled) override { window_.EnableRemoveScript(enabled); }
    void NotifyEditor(bool scriptAttached) override;
    void ResetPanels() override { panels_->ResetScriptPanels(); }
    void RequestPendingCommands() override { PostMessageW(window_.Window, RunPendingMessage, 0, 0); }

private:
    std::wstring TestHeadlinesPath() const;

    AppState& state_;
    headlines::THeadlineCore& core_;
    script::TScriptState& scriptState_;
    WindowSide window_;
    script::TWinScriptServices services_;
    std::unique_ptr<script::WinScriptWindows> scriptWindows_;
    lang::HostTable table_;
    script::ScriptClasses classes_;
    std::unique_ptr<script::TPSScriptWrapper> host_;
    std::unique_ptr<script::TScriptPanels> panels_;
    std::unique_ptr<script::TScriptLifecycle> lifecycle_;
    lang::Value application_, self_;  // our references to APPLICATION and SELF
};

}  // namespace pelo::app
