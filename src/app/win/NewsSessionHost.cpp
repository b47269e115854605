#include "app/win/NewsSessionHost.h"

#include <string>

#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {

namespace {

// Window properties of the main window, readable from outside: how this session's passes read their rows.
// For support and the end-to-end tests; nothing in the program reads them back.
const wchar_t* const InTerminalPassesProperty = L"Pelorant.PassesReadInTerminal";
const wchar_t* const RemotePassesProperty = L"Pelorant.PassesReadFromOutside";

// The passes run inside may fail; what they read until then is still counted.
struct PublishedAfterwards {
    const NewsSessionHost& host;
    ~PublishedAfterwards() { host.PublishReadPaths(); }
};

}  // namespace

void NewsSessionHost::EndReaders()
{
    intake_.reset();
    if (window_.Window != nullptr) {
        RemovePropW(window_.Window, InTerminalPassesProperty);
        RemovePropW(window_.Window, RemotePassesProperty);
    }
}

void NewsSessionHost::PublishReadPaths() const
{
    if (!intake_ || window_.Window == nullptr)
        return;
    SetPropW(window_.Window, InTerminalPassesProperty,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(intake_->InTerminalPasses())));
    SetPropW(window_.Window, RemotePassesProperty,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(intake_->RemotePasses())));
}

void NewsSessionHost::OnNewsNotification(LPARAM listView)
{
    if (!intake_)
        return;
    const PublishedAfterwards publish{*this};
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
    const PublishedAfterwards publish{*this};
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
