#include "app/NewsSession.h"

#include <exception>

namespace pelo::app {

bool NoNewsSourceAtStart(const terminals::TTerminalList& terminals, const AppSettings& settings)
{
    const bool console = settings.UseConsoleApp && !settings.ConsoleAppPath.empty();
    return terminals.empty() && !settings.UseTCPClient && !console && !settings.AllowUsingDLL;
}

bool NoNewsSourceForWelcome(const terminals::TTerminalList& terminals, const AppSettings& settings)
{
    return terminals.empty() && !settings.UseTCPClient && !settings.UseConsoleApp && !settings.AllowUsingDLL;
}

void TNewsSession::StartStop()
{
    if (started_)
        Stop();
    else
        Start();
}

void TNewsSession::Start()
{
    if (NoNewsSourceAtStart(terminals_, settings_)) {
        host_.ShowNoSourcesError();
        return;
    }
    if (!host_.OpenHeadlineLog())
        return;
    host_.ShowStatusLine(NewsReaderStartedText);
    started_ = true;
    host_.ShowStartStopCaption(StopCaption);
    host_.ResetCounters();
    std::exception_ptr failure;
    try {
        host_.StartReaders(terminals_);
    } catch (...) {
        failure = std::current_exception();
    }
    host_.ResetSignalState();
    readingActive_ = true;
    if (failure)
        std::rethrow_exception(failure);
}

void TNewsSession::Stop()
{
    readingActive_ = false;
    host_.DisarmAutoExecute();
    host_.StopReaders();
    host_.CloseHeadlineLog();
    started_ = false;
    host_.ShowStartStopCaption(StartCaption);
    host_.ShowStatusLine(NewsReaderStoppedText);
}

}  // namespace pelo::app
