#pragma once
// A news-reading session as the Start/Stop button drives it: when Start is refused, what Start and Stop do and
// in which order, and whether reading runs. The window supplies the steps (INewsSessionHost); the state lives
// here, not in the button's caption.
#include <string>
#include <string_view>

#include "core/AppSettings.h"
#include "terminals/TerminalInfo.h"

namespace pelo::app {

inline constexpr std::string_view StartCaption = "Start";
inline constexpr std::string_view StopCaption = "Stop";
inline constexpr std::string_view NoNewsSourcesText = "No news sources are setup! Click 'Options'...";
inline constexpr std::string_view NewsReaderStartedText = "News reader started";
inline constexpr std::string_view NewsReaderStoppedText = "News reader stopped";

// Start is refused: no terminal and none of the custom sources usable (a console source needs its path).
bool NoNewsSourceAtStart(const terminals::TTerminalList& terminals, const AppSettings& settings);
// The welcome lines' test: no terminal and none of the custom sources switched on, path or not.
bool NoNewsSourceForWelcome(const terminals::TTerminalList& terminals, const AppSettings& settings);

// The steps of Start and Stop that touch windows, files and other processes.
class INewsSessionHost {
public:
    virtual ~INewsSessionHost() = default;
    virtual void ShowNoSourcesError() = 0;
    // Opens the headline log unless a script keeps its own; false when it failed (the host has said so).
    virtual bool OpenHeadlineLog() = 0;
    virtual void ShowStatusLine(std::string_view text) = 0;
    virtual void ShowStartStopCaption(std::string_view caption) = 0;
    // The duplicate cache, the headline counter and the active source count start afresh.
    virtual void ResetCounters() = 0;
    // One reader per terminal, in list order, each reading once before the next is made. A failure does not
    // stop the others; the first is thrown once all were tried.
    virtual void StartReaders(const terminals::TTerminalList& terminals) = 0;
    virtual void ResetSignalState() = 0;
    virtual void DisarmAutoExecute() = 0;
    virtual void StopReaders() = 0;
    // Flushes or closes the headline log, as the script state asks.
    virtual void CloseHeadlineLog() = 0;
};

class TNewsSession {
public:
    TNewsSession(const terminals::TTerminalList& terminals, const AppSettings& settings, INewsSessionHost& host)
        : terminals_(terminals), settings_(settings), host_(host)
    {
    }

    // Start when idle, Stop when started. Throws what starting the readers threw, after the session has started.
    void StartStop();
    void Stop();

    // Between a successful Start and the next Stop (the button shows "Stop").
    bool Started() const { return started_; }
    // The readers have been made and their first passes run.
    bool ReadingActive() const { return readingActive_; }
    std::string_view Caption() const { return started_ ? StopCaption : StartCaption; }

private:
    void Start();

    const terminals::TTerminalList& terminals_;
    const AppSettings& settings_;
    INewsSessionHost& host_;
    bool started_ = false;
    bool readingActive_ = false;
};

}  // namespace pelo::app
