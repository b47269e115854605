#include "headlines/HeadlineDispatch.h"

#include <vector>

namespace pelo::headlines {

std::string MakeBoxLine(const TLocalTime& t, bool altTimeFormat, const std::string& source,
                        const std::string& text)
{
    std::string line = FormatBoxTime(t, altTimeFormat);
    line.reserve(line.size() + source.size() + text.size() + 4);
    line += ' ';
    line += source;
    line += ":  ";
    line += text;
    return line;
}

std::string MakeLogLine(const TLocalTime& t, const std::string& source, const std::string& text)
{
    std::string line = FormatLogTime(t);
    line.reserve(line.size() + source.size() + text.size() + 5);
    line += " (";
    line += source;
    line += ")  ";
    line += text;
    return line;
}

void ResetForNewsReading(TDupCache& cache, THeadlineCounter& counter)
{
    cache.Clear();
    counter.Reset();
}

THeadlineDispatcher::THeadlineDispatcher(IScriptSink& script, THeadlineBox& box,
                                         TBufferedLogWriter& log, THeadlineCounter& counter,
                                         IClock& clock)
    : Script(script), Box(box), Log(log), Counter(counter), Clock(clock)
{
}

void THeadlineDispatcher::DispatchHeadlines(std::span<const THeadline> batch,
                                            const std::string& source, bool firstPass,
                                            const THeadlineSettings& settings)
{
    if (batch.empty())
        return;

    // Start may pump messages (a modal box, the script's own message processing), and a
    // reader notified meanwhile refills its batch. Working on a copy keeps this dispatch
    // consistent whatever happens to the reader's buffer.
    const std::vector<THeadline> headlines(batch.begin(), batch.end());
    const std::string sourceName = source;
    const int n = static_cast<int>(headlines.size());

    if (!firstPass)
        RunScript(headlines, sourceName);

    // One stamp for the whole batch, taken after the script has seen all of it.
    const TLocalTime now = Clock.LocalNow();

    // Every line of the batch starts the same way: build that part once.
    if (settings.DisplayHeadlines) {
        const std::string prefix = MakeBoxLine(now, settings.AltTimeFormat, sourceName, std::string());
        Box.BeginPendingUpdate();
        for (int i = n - 1; i >= 0; --i)
            if (!headlines[i].Duplicate)
                Box.StoreHBoxLine(prefix + headlines[i].Text);
    }

    if (firstPass)
        return;

    if (settings.LogHeadlines) {
        const std::string prefix = MakeLogLine(now, sourceName, std::string());
        std::string line;
        for (int i = n - 1; i >= 0; --i) {
            line.assign(prefix);
            line += headlines[i].Text;
            Log.WriteLogLine(line);
        }
    }

    Counter.Add(n);

    // The batch goes to disk now, in one write: a crash later loses none of it, and one write
    // per batch is nothing beside reading the batch from another process.
    if (settings.LogHeadlines)
        Log.Flush();
}

void THeadlineDispatcher::RunScript(std::span<const THeadline> batch, const std::string& source)
{
    for (int i = static_cast<int>(batch.size()) - 1; i >= 0; --i) {
        // Checked before every call, not once per batch: a script removed or reset while
        // Start was waiting in a dialog must not be called again.
        if (!Script.NewsProcessing())
            return;
        if (batch[i].Duplicate)
            continue;
        try {
            Script.CallStart(batch[i].Text, source);
        } catch (...) {
            Script.SetNewsProcessing(false);
            if (ShowErrorBox)
                ShowErrorBox(StartFailedText);
            return;
        }
    }
}

}  // namespace pelo::headlines
