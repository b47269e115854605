#pragma once
// Hands a reader's batch of new headlines to the script, the headline box, the log and
// the counter, in that order.
#include <functional>
#include <span>
#include <string>

#include "headlines/BufferedLogWriter.h"
#include "headlines/DupCache.h"
#include "headlines/Headline.h"
#include "headlines/HeadlineBox.h"
#include "headlines/HeadlineCounter.h"
#include "headlines/TimeStamps.h"

namespace pelo::headlines {

inline constexpr const char* StartFailedText =
    "Error executing procedure 'Start' in script. News processing stopped.";

// The attached script as the dispatch sees it.
class IScriptSink {
public:
    virtual ~IScriptSink() = default;
    // An attached script has a Start procedure that receives new headlines.
    virtual bool NewsProcessing() const = 0;
    virtual void SetNewsProcessing(bool on) = 0;
    // Runs the script's Start(text, source); its result is discarded. Any error the
    // script raises comes out of here as an exception.
    virtual void CallStart(const std::string& text, const std::string& source) = 0;
};

// Settings read afresh for every batch, so a change in the options dialog applies to the next one.
struct THeadlineSettings {
    bool DisplayHeadlines = true;
    bool NoDuplicates = false;
    bool LogHeadlines = true;
    bool AltTimeFormat = false;
};

// FormatBoxTime(t) + " " + source + ":  " + text
std::string MakeBoxLine(const TLocalTime& t, bool altTimeFormat, const std::string& source,
                        const std::string& text);
// FormatLogTime(t) + " (" + source + ")  " + text  (the writer adds CR LF)
std::string MakeLogLine(const TLocalTime& t, const std::string& source, const std::string& text);

// Start of news reading: forget the cached texts and restart the counter.
void ResetForNewsReading(TDupCache& cache, THeadlineCounter& counter);

class THeadlineDispatcher {
public:
    THeadlineDispatcher(IScriptSink& script, THeadlineBox& box, TBufferedLogWriter& log,
                        THeadlineCounter& counter, IClock& clock);
    THeadlineDispatcher(const THeadlineDispatcher&) = delete;
    THeadlineDispatcher& operator=(const THeadlineDispatcher&) = delete;

    // batch[0] is the newest headline. Headlines of a reader's first pass are only
    // displayed: not given to the script, not logged, not counted. Duplicates are not
    // displayed and not given to the script, but are logged and counted. The logged lines
    // (and whatever the script logged meanwhile) are written through before it returns.
    void DispatchHeadlines(std::span<const THeadline> batch, const std::string& source,
                           bool firstPass, const THeadlineSettings& settings);

    // A modal error box (error icon, OK); shown when Start raises.
    std::function<void(const std::string& text)> ShowErrorBox;

private:
    void RunScript(std::span<const THeadline> batch, const std::string& source);

    IScriptSink& Script;
    THeadlineBox& Box;
    TBufferedLogWriter& Log;
    THeadlineCounter& Counter;
    IClock& Clock;
};

}  // namespace pelo::headlines
