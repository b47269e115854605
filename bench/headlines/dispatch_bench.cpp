// Feeds batches of 200 headlines through the dispatch into the headline box ring and a log
// writer over a real file, and prints the time per batch and the number of repaints the
// box asked for. It measures and prints; it never fails on time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "StdioLogFileSystem.h"
#include "headlines/BufferedLogWriter.h"
#include "headlines/DupCache.h"
#include "headlines/FastCriticalSection.h"
#include "headlines/HeadlineBox.h"
#include "headlines/HeadlineDispatch.h"

namespace {

using namespace pelo;
using namespace pelo::headlines;
using Clock = std::chrono::steady_clock;

class SystemClock : public IClock {
public:
    TLocalTime LocalNow() override
    {
        const auto now = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        const std::tm local = *std::localtime(&seconds);
        return TLocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec, static_cast<int>(ms)};
    }
};

// A Start procedure doing what a typical keyword filter does: look for a few words.
class KeywordScript : public IScriptSink {
public:
    bool NewsProcessing() const override { return Processing; }
    void SetNewsProcessing(bool on) override { Processing = on; }
    void CallStart(const std::string& text, const std::string&) override
    {
        ++Calls;
        for (const char* word : {"Payrolls", "Rate Decision", "CPI"})
            if (text.find(word) != std::string::npos)
                ++Signals;
    }
    bool Processing = true;
    long Calls = 0;
    long Signals = 0;
};

class CountingView : public IHBoxView {
public:
    void BeginUpdate() override { ++Begins; }
    void EndUpdate() override { ++Repaints; }
    void SetRowCount(int) override {}
    long Begins = 0;
    long Repaints = 0;
};

std::string MakeText(long serial)
{
    static const char* const topics[] = {
        "US Non-Farm Payrolls", "ECB Rate Decision", "UK CPI y/y", "Japan Tankan Large Manufacturers Index",
        "Canada Employment Change", "Swiss Trade Balance", "Australia Retail Sales m/m"};
    std::string text = topics[serial % 7];
    text += " actual ";
    text += std::to_string(serial % 977);
    text += "K, forecast 180K, previous 175K (#";
    text += std::to_string(serial);
    text += ")";
    return text;
}

// Fills a batch newest first, the way a reader does, marking duplicates through the cache.
// Every tenth row repeats a recent text, as a second terminal carrying the same feed would.
void FillBatch(std::vector<THeadline>& batch, long& serial, TDupCache& cache)
{
    for (THeadline& h : batch) {
        const long id = (serial % 10 == 9) ? serial - 3 : serial;
        ++serial;
        h.Text = MakeText(id);
        h.Duplicate = cache.CheckDuplicate(h.Text);
    }
}

struct Figures {
    std::vector<double> Micros;
    void Add(Clock::duration d) { Micros.push_back(std::chrono::duration<double, std::micro>(d).count()); }
    double Percentile(double p)
    {
        std::sort(Micros.begin(), Micros.end());
        const std::size_t i = std::min(Micros.size() - 1, static_cast<std::size_t>(p * (Micros.size() - 1) + 0.5));
        return Micros[i];
    }
    double Mean() const
    {
        double sum = 0;
        for (double m : Micros)
            sum += m;
        return sum / Micros.size();
    }
};

} // namespace

int main()
{
    constexpr int Batches = 500;

    const std::filesystem::path logPath =
        std::filesystem::temp_directory_path() / "pelo_dispatch_bench_log.txt";
    std::error_code ec;
    std::filesystem::remove(logPath, ec);

    bench::StdioLogFileSystem files;
    TBufferedLogWriter writer(files);
    if (!writer.Open(logPath.u16string())) {
        std::printf("cannot create %s\n", logPath.string().c_str());
        return 1;
    }

    CountingView view;
    THeadlineBox box(DefaultHeadlineCapacity);
    box.SetView(&view);
    TFastCriticalSection newsLock;
    TDupCache cache(newsLock, DefaultDupCacheSize);
    THeadlineCounter counter;
    SystemClock clock;
    KeywordScript script;
    THeadlineDispatcher dispatcher(script, box, writer, counter, clock);
    THeadlineSettings settings;
    settings.NoDuplicates = true;

    std::vector<THeadline> batch(MaxHeadlineBatch);
    long serial = 0;

    // One batch per timer tick: the box repaints once per batch.
    Figures dispatchTimes, markTimes;
    const long repaintsBefore = view.Repaints;
    for (int b = 0; b < Batches; ++b) {
        const auto t0 = Clock::now();
        FillBatch(batch, serial, cache);
        const auto t1 = Clock::now();
        dispatcher.DispatchHeadlines(batch, b % 2 ? "FXCM" : "Alpari", false, settings);
        const auto t2 = Clock::now();
        box.Timer2Timer();
        markTimes.Add(t1 - t0);
        dispatchTimes.Add(t2 - t1);
    }
    const long tickedRepaints = view.Repaints - repaintsBefore;

    // A burst: ten batches from two terminals arrive before the next tick.
    const long burstBefore = view.Repaints;
    const auto burstStart = Clock::now();
    for (int b = 0; b < 10; ++b) {
        FillBatch(batch, serial, cache);
        dispatcher.DispatchHeadlines(batch, b % 2 ? "FXCM" : "Alpari", false, settings);
    }
    const auto burstTime = Clock::now() - burstStart;
    box.Timer2Timer();
    const long burstRepaints = view.Repaints - burstBefore;

    writer.Close();
    const auto logSize = std::filesystem::file_size(logPath, ec);

    std::printf("dispatch_bench: %d batches of %d headlines (about 10%% duplicates), one tick per batch\n",
                Batches, MaxHeadlineBatch);
    std::printf("  dispatch per batch:   mean %8.1f us   p50 %8.1f us   p99 %8.1f us   max %8.1f us\n",
                dispatchTimes.Mean(), dispatchTimes.Percentile(0.5), dispatchTimes.Percentile(0.99),
                dispatchTimes.Percentile(1.0));
    std::printf("  duplicate marking:    mean %8.1f us   p50 %8.1f us   p99 %8.1f us   (cache %d)\n",
                markTimes.Mean(), markTimes.Percentile(0.5), markTimes.Percentile(0.99), cache.Size());
    std::printf("  repaint requests:     %ld for %d ticked batches\n", tickedRepaints, Batches);
    std::printf("  burst of 10 batches:  %.1f us in all, %ld repaint request(s) at the next tick\n",
                std::chrono::duration<double, std::micro>(burstTime).count(), burstRepaints);
    std::printf("  Start calls %ld, keyword hits %ld, counter now %d\n", script.Calls, script.Signals,
                counter.HeadlineCount());
    std::printf("  log: %llu bytes in %d write calls (%s)\n", static_cast<unsigned long long>(logSize),
                files.WriteCalls(), logPath.string().c_str());
    std::printf("  budget for reference: 200-row burst dispatched in <= 20 ms with one repaint\n");

    std::filesystem::remove(logPath, ec);
    return 0;
}
