#include "app/win/NewsSessionHost.h"

#include <string>

#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {

void NewsSessionHost::OnNewsNotification(LPARAM listView)
{
    if (intake_)
        intake_->OnNewsNotification(listView);
}

void NewsSessionHost::ShowNoSourcesError()
{
    ui::ShowErrorBox(ui::AnsiToWide(NoNewsSourcesText), ui::BoxLayer::TopMost);
}

bool NewsSessionHost::OpenHeadlineLog()
{
    return core_.Log.StartNewsReading(script_.ScriptAttached, script_.ScriptTestMode);
}

void NewsSessionHost::ShowStatusLine(std::string_view text) { core_.HBox.ShowHBoxLine(std::string(text)); }

void NewsSessionHost::ResetCounters()
{
    headlines::ResetForNewsReading(core_.DupCache, core_.Counter);
    window_.ShowActiveSourceCount(0);
}

void NewsSessionHost::StartReaders(const terminals::TTerminalList& terminals)
{
    // Made at the first start: the hook library is loaded only after the window exists.
    if (!intake_) {
        intake_ = std::make_unique<news::NewsIntake>(
            *this, news::NewsIntakeConfig{window_.Window, state_.PeloCommMsg, state_.Hook.module,
                                          state_.Hook.hookProc});
        intake_->OnActiveSourceCount = window_.ShowActiveSourceCount;
    }
    intake_->StartReading(terminals);
}

void NewsSessionHost::StopReaders()
{
    if (intake_)
        intake_->StopReading();
}

void NewsSessionHost::CloseHeadlineLog()
{
    core_.Log.StopNewsReading(script_.ScriptAttached, script_.ScriptTestMode);
}

void NewsSessionHost::DispatchHeadlines(const news::TNewsReader& reader)
{
    const AppSettings& s = state_.Settings;
    headlines::THeadlineSettings h;
    h.DisplayHeadlines = s.DisplayHeadlines;
    h.NoDuplicates = s.NoDuplicates;
    h.LogHeadlines = s.LogHeadlines;
    h.AltTimeFormat = s.AltTimeFormat;
    core_.Dispatcher.DispatchHeadlines(reader.Batch(), reader.ShortName(), reader.FirstPass(), h);
}

}  // namespace pelo::app
