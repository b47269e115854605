#pragma once
// The system side of a news-reading session: the news readers (NewsIntake), the headline log and the status
// lines of Start and Stop, and the dispatch of each batch the readers take into the headline core.
#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>

#include "app/NewsSession.h"
#include "app/win/AppState.h"
#include "script/ScriptState.h"
#include "headlines/HeadlineCore.h"
#include "news/NewsReader.h"
#include "news/win/NewsIntake.h"

namespace pelo::app {

class NewsSessionHost final : public INewsSessionHost, public news::INewsDispatch {
public:
    // What the session changes in the main window.
    struct WindowSide {
        HWND Window = nullptr;  // owner of the readers' warning boxes
        std::function<void(std::string_view caption)> ShowCaption;
        std::function<void(int count)> ShowActiveSourceCount;
        std::function<void()> DisarmAutoExecute;
        std::function<void()> ResetSignalState;
    };

    NewsSessionHost(AppState& state, headlines::THeadlineCore& core, script::TScriptState& script, WindowSide window)
        : state_(state), core_(core), script_(script), window_(std::move(window))
    {
    }

    // PeloCommMsg with wParam NewsNotificationCode.
    void OnNewsNotification(LPARAM listView);
    // Every reader ends (their hooks removed) before the window goes.
    void EndReaders();
    // Shows on the main window how the passes so far read their rows (in the terminal, from outside).
    void PublishReadPaths() const;

    // INewsSessionHost
    void ShowNoSourcesError() override;
    bool OpenHeadlineLog() override;
    void ShowStatusLine(std::string_view text) override;
    void ShowStartStopCaption(std::string_view caption) override { window_.ShowCaption(caption); }
    void ResetCounters() override;
    void StartReaders(const terminals::TTerminalList& terminals) override;
    void ResetSignalState() override { window_.ResetSignalState(); }
    void DisarmAutoExecute() override { window_.DisarmAutoExecute(); }
    void StopReaders() override;
    void CloseHeadlineLog() override;

    // INewsDispatch: settings are read afresh for every batch, so a change in the options dialog applies to the
    // next one.
    int HistMT4HBuffer() override { return state_.Settings.HistMT4HBuffer; }
    bool NoDuplicates() override { return state_.Settings.NoDuplicates; }
    bool CheckDuplicate(const std::string& text) override { return core_.DupCache.CheckDuplicate(text); }
    void DispatchHeadlines(const news::TNewsReader& reader) override;

private:
    AppState& state_;
    headlines::THeadlineCore& core_;
    script::TScriptState& script_;
    WindowSide window_;
    std::unique_ptr<news::NewsIntake> intake_;
};

}  // namespace pelo::app
