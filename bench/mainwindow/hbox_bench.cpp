// Feeds batches of 200 headlines through the dispatch into the real headline box control (a virtual owner-drawn
// list box on a visible window) and a log file on disk, and prints the time per batch, the time of the repaint
// that the 33 ms tick does, and how many repaints the box made. It measures and prints; it never fails on time.
//
// Run under Wine with a display: tools/wine/run build/win64/bench/hbox_bench.exe [batches]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "headlines/HeadlineCore.h"
#include "headlines/win/HeadlineListBox.h"
#include "headlines/win/WinClock.h"
#include "headlines/win/WinLogFileSystem.h"
#include "ui/win/Panel.h"

namespace {

using namespace pelo;
using namespace pelo::headlines;

class NoScript : public IScriptSink {
public:
    bool NewsProcessing() const override { return false; }
    void SetNewsProcessing(bool) override {}
    void CallStart(const std::string&, const std::string&) override {}
};

double Millis(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER freq) {
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct Stats {
    double p50, p99, mean, max;
};

Stats Summarize(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    const auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))]; };
    return {at(0.5), at(0.99), sum / static_cast<double>(v.size()), v.back()};
}

// A top-level window holding the box inside a panel, as on the main window.
class HostWindow : public ui::Window {
public:
    bool Open() {
        ui::WindowArgs args;
        args.className = L"PeloHBoxBench";
        args.title = L"Headline box benchmark";
        args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
        args.rect = {50, 50, 626, 300};
        return Create(args);
    }
};

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const int batches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    constexpr int kBatch = 200;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring logsDir = std::wstring(temp) + L"pelo-hbox-bench";
    CreateDirectoryW(logsDir.c_str(), nullptr);
    const std::wstring logPath = logsDir + L"\\newslog.txt";
    DeleteFileW(logPath.c_str());

    TWinLogFileSystem files;
    TWinClock clock;
    NoScript script;
    THeadlineCore core(files, script, clock, std::u16string(logsDir.begin(), logsDir.end()));
    core.HBox.AllocateHBox(1000);

    HostWindow host;
    if (!host.Open()) {
        std::printf("cannot create the window (no display?)\n");
        return 1;
    }
    RECT client;
    GetClientRect(host.hwnd(), &client);
    ui::Panel middle;
    middle.Create({host.hwnd(), host.hwnd(), {0, 61, client.right, client.bottom - 61 - 57}, GetSysColor(COLOR_WINDOW)});
    THeadlineListBox box(core.HBox);
    box.Create(middle.hwnd(), 1, 0, 0, client.right, client.bottom - 61 - 57);
    ui::FontSpec font;
    font.Name = L"Courier New";
    font.Height = -12;
    font.FixedPitch = true;
    font.Quality = NONANTIALIASED_QUALITY;
    box.ApplyFont(font, 0xFF000008u);
    UpdateWindow(host.hwnd());
    PumpMessages();

    if (!core.LogWriter.Open(std::u16string(logPath.begin(), logPath.end()))) {
        std::printf("cannot open %ls\n", logPath.c_str());
        return 1;
    }

    std::vector<THeadline> batch(kBatch);
    THeadlineSettings settings;  // display and log on, duplicates allowed
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);

    // Two arrival patterns: one batch per 33 ms tick, and four batches between two ticks.
    for (int perTick : {1, 4}) {
        std::vector<double> dispatchMs, tickMs;
        const std::uint64_t paintsBefore = box.PaintCount();
        int ticks = 0;
        for (int b = 0; b < batches; ++b) {
            for (int i = 0; i < kBatch; ++i)
                batch[i].Text = "Batch " + std::to_string(b) + " line " + std::to_string(i) +
                                ": US Nonfarm Payrolls (Mar) actual 228K, forecast 180K, previous 313K";
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            core.Dispatcher.DispatchHeadlines(batch, "EXM", false, settings);
            QueryPerformanceCounter(&t1);
            dispatchMs.push_back(Millis(t0, t1, freq));
            if ((b + 1) % perTick == 0 || b + 1 == batches) {
                QueryPerformanceCounter(&t0);
                core.HBox.Timer2Timer();  // what the 33 ms tick does
                PumpMessages();
                QueryPerformanceCounter(&t1);
                tickMs.push_back(Millis(t0, t1, freq));
                ++ticks;
            }
        }
        const Stats d = Summarize(dispatchMs);
        const Stats t = Summarize(tickMs);
        std::printf("%d batch(es) of %d per tick, %d batches, %d ticks\n", perTick, kBatch, batches, ticks);
        std::printf("  dispatch per batch (ring, log buffer, counter): p50 %.3f ms  p99 %.3f ms  mean %.3f ms  max %.3f ms\n",
                    d.p50, d.p99, d.mean, d.max);
        std::printf("  tick repaint of the box:                        p50 %.3f ms  p99 %.3f ms  mean %.3f ms  max %.3f ms\n",
                    t.p50, t.p99, t.mean, t.max);
        std::printf("  repaints of the box: %llu (%.2f per tick)\n",
                    static_cast<unsigned long long>(box.PaintCount() - paintsBefore),
                    static_cast<double>(box.PaintCount() - paintsBefore) / ticks);
    }
    core.LogWriter.Close();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(logPath.c_str(), GetFileExInfoStandard, &data);
    std::printf("log file: %lu bytes for %d headlines\n", static_cast<unsigned long>(data.nFileSizeLow),
                2 * batches * kBatch);
    DeleteFileW(logPath.c_str());
    RemoveDirectoryW(logsDir.c_str());
    return 0;
}
