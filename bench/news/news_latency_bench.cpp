// News intake latency under Wine: the time from the simulated terminal inserting a row to the row's headline
// being dispatched, and to the user script's Start procedure being entered with it, measured with the real hook
// library, the real reader, the real script host and the simulated terminal.
//
//   news_latency_bench.exe [--count N] [--gap MS] [--text-later] [--terminal PATH] [--dll PATH]
//
// The terminal stamps each row with QueryPerformanceCounter right before inserting it ("Bench <n> @<counter>");
// the dispatch reads the counter again when the batch arrives. Under Wine both read CLOCK_MONOTONIC_RAW, so the
// stamps of the two processes compare directly. A second thread commands one row at a time, MS to MS+4 ms apart
// (default 10); a burst of 200 rows follows. The terminal runs hidden: a visible list view under Wine and Xvfb spends
// tens of milliseconds redrawing after each insertion, which would be measured as the terminal's own time.
// Both ways of reading are measured in the same run: the rows read inside the terminal by the hook library (one
// round trip per pass) and read from outside row by row. Prints p50, p99 and max, how many rows arrived and how
// many passes took each way; never fails on time.
// Beside them it prints the bare cross-process round trip of this run (SendMessage of WM_NULL to the terminal's
// window), the unit in which the targets are stated.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "news/win/NewsIntake.h"
#include "script/ScriptHost.h"
#include "script/StandInObjects.h"

namespace {

constexpr WPARAM NewsNotification = 12345;
constexpr ULONG_PTR CmdStampListed = 10;  // the simulated terminal's "stamp N", answering when the last row was listed
constexpr ULONG_PTR CmdCount = 5;  // and its "count"
const char* const TerminalTitle = "Bench Terminal 4711";

double g_ticksPerMs = 10000.0;
// When the main loop took the notification that started the pass now running.
long long g_notifiedAt = 0;

long long Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

long long StampOf(const std::string& text)
{
    const std::size_t at = text.rfind(" @");
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + 2);
}

// The script's side: Start's first statement calls WriteLn with the headline, which notes the time.
class ScriptProbe final : public pelo::script::NullScriptServices {
public:
    void WriteLn(std::string_view text) override
    {
        const long long stamp = StampOf(std::string(text));
        if (stamp >= 0)
            startEntered.push_back(static_cast<double>(Now() - stamp) / g_ticksPerMs);
    }

    std::vector<double> startEntered;
};

// A typical news script: Start looks at the headline and may signal.
const char* const BenchScript =
    "procedure Start(Headline, Source: string); begin WriteLn(Headline);"
    " if Pos('rate cut', Headline) > 0 then Buy; end; begin end.";

class BenchDispatch final : public pelo::news::INewsDispatch {
public:
    explicit BenchDispatch(pelo::script::TPSScriptWrapper& script) : script_(script), start_(script.FindScriptProc("Start")) {}

    int HistMT4HBuffer() override { return 30; }
    bool NoDuplicates() override { return false; }
    bool CheckDuplicate(const std::string&) override { return false; }
    void DispatchHeadlines(const pelo::news::TNewsReader& reader) override
    {
        const long long now = Now();
        ++batches;
        if (reader.FirstPass()) {
            firstPassRows += reader.BatchCount();
            return;
        }
        for (const pelo::headlines::THeadline& h : reader.Batch()) {
            const std::size_t at = h.Text.rfind(" @");
            if (at == std::string::npos) {
                ++unstamped;
                continue;
            }
            const long long stamp = std::atoll(h.Text.c_str() + at + 2);
            if (!texts.insert(h.Text).second && ++repeated <= 3) {
                std::printf("  dispatched again: \"%s\" in a batch of", h.Text.substr(0, at).c_str());
                for (const pelo::headlines::THeadline& b : reader.Batch())
                    std::printf(" [%s]", b.Text.substr(0, b.Text.rfind(" @")).c_str());
                std::printf("\n");
            }
            latencies.push_back(static_cast<double>(now - stamp) / g_ticksPerMs);
            arrivals.push_back({stamp, now});
            if (g_notifiedAt > stamp) {
                toNotification.push_back(static_cast<double>(g_notifiedAt - stamp) / g_ticksPerMs);
                notificationToDispatch.push_back(static_cast<double>(now - g_notifiedAt) / g_ticksPerMs);
            }
        }
        // Dispatch calls Start once per headline, oldest first.
        for (int k = reader.BatchCount() - 1; k >= 0; --k)
            script_.CallScriptProcNo(start_, {reader.Batch()[static_cast<std::size_t>(k)].Text, "BENCH"});
        lastBatch = reader.BatchCount();
    }

    std::vector<double> latencies;
    std::vector<std::pair<long long, long long>> arrivals;  // stamp, dispatch
    // The same, split where the notification was taken from the message queue.
    std::vector<double> toNotification;
    std::vector<double> notificationToDispatch;
    std::set<std::string> texts;
    int batches = 0;
    int firstPassRows = 0;
    int unstamped = 0;
    int repeated = 0;  // rows dispatched more than once
    int lastBatch = 0;

private:
    pelo::script::TPSScriptWrapper& script_;
    int start_;
};

std::wstring Widen(const char* s)
{
    std::wstring w;
    for (; *s; ++s)
        w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return w;
}

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

HWND WaitForTerminal(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND w = FindWindowA("MetaQuotes::MetaTrader::4.00", nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            char title[256] = {};
            GetWindowTextA(w, title, sizeof title);
            if (std::string(title) == TerminalTitle)
                return w;
        }
        Sleep(20);
    }
    return nullptr;
}

// Inserts stamped rows; gives the ticks the terminal took from the last row's stamp to that row being in its list.
long long Stamp(HWND terminal, int rows)
{
    std::string n = std::to_string(rows);
    COPYDATASTRUCT data{CmdStampListed, static_cast<DWORD>(n.size()), n.data()};
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &answer);
    return static_cast<long long>(static_cast<LRESULT>(answer));
}

// Runs the message loop until `done` holds or `timeoutMs` passes; notifications go to the intake.
template <class Done>
void Pump(pelo::news::NewsIntake& intake, UINT peloComm, Done done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == peloComm && msg.wParam == NewsNotification) {
                g_notifiedAt = Now();
                intake.OnNewsNotification(msg.lParam);
            }
            else
                DispatchMessageA(&msg);
        }
    }
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

}  // namespace

int main(int argc, char** argv)
{
    int count = 500;
    DWORD gapMs = 10;
    bool textLater = false;
    std::wstring terminalExe = ExeDir() + L"\\..\\tests\\fixtures\\terminal.exe";
    std::wstring dll = ExeDir() + L"\\..\\bin\\Pelorant.dll";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--count" && i + 1 < argc)
            count = std::atoi(argv[++i]);
        else if (a == "--gap" && i + 1 < argc)
            gapMs = static_cast<DWORD>(std::atoi(argv[++i]));
        else if (a == "--text-later")
            textLater = true;
        else if (a == "--terminal" && i + 1 < argc)
            terminalExe = Widen(argv[++i]);
        else if (a == "--dll" && i + 1 < argc)
            dll = Widen(argv[++i]);
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;

    const UINT peloComm = RegisterWindowMessageA("PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27");
    HWND target = CreateWindowExA(0, "STATIC", "bench target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HMODULE hookLibrary = LoadLibraryW(dll.c_str());
    if (hookLibrary == nullptr) {
        std::printf("cannot load the hook library\n");
        return 1;
    }
    using RegisterFn = void(WINAPI*)(HWND);
    const auto registerHandle =
        reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "RegisterPeloHandle")));
    registerHandle(target);

    std::wstring commandLine = L"terminal.exe --title \"" + Widen(TerminalTitle) + L"\" --rows 40 --prefix Bench --hidden";
    if (textLater)
        commandLine += L" --text-later";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(terminalExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("cannot start the simulated terminal\n");
        return 1;
    }
    HWND terminal = WaitForTerminal(10000);
    if (terminal == nullptr) {
        std::printf("the simulated terminal did not appear\n");
        return 1;
    }
    // Its main window exists before its lists do; a command is answered only once it is fully set up.
    COPYDATASTRUCT ask{CmdCount, 0, nullptr};
    DWORD_PTR rows = 0;
    SendMessageTimeoutA(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&ask), SMTO_NORMAL, 10000, &rows);

    // The bare round trip to another process's window, measured before reading starts.
    std::vector<double> roundTrips;
    for (int i = 0; i < 500; ++i) {
        const long long before = Now();
        SendMessageA(terminal, WM_NULL, 0, 0);
        roundTrips.push_back(static_cast<double>(Now() - before) / g_ticksPerMs);
    }
    const double roundTrip = Percentile(roundTrips, 0.5);
    std::printf("bare cross-process round trip (SendMessage WM_NULL): p50 %.3f ms  p99 %.3f ms\n", roundTrip,
                Percentile(roundTrips, 0.99));

    // The terminal's own cost of listing one row, before any hook watches it.
    std::vector<double> unhooked;
    for (int i = 0; i < 50; ++i) {
        unhooked.push_back(static_cast<double>(Stamp(terminal, 1)) / g_ticksPerMs);
        Sleep(2);
    }
    const double unhookedInsert = Percentile(unhooked, 0.5);

    ScriptProbe probe;
    pelo::lang::HostTable table;
    const pelo::script::ScriptClasses classes = pelo::script::RegisterScriptInterface(table, probe);
    pelo::script::TPSScriptWrapper script(table, classes);
    pelo::lang::CompileResult compiled = pelo::lang::compileScript(BenchScript, table);
    if (!compiled.ok) {
        std::printf("the bench script does not compile\n");
        return 1;
    }
    script.LoadScriptCode(pelo::lang::serializeModule(compiled.module));
    script.RunScriptMain();
    // Each way of reading in turn, against the same terminal: inside it through the hook library, and from
    // outside row by row (what a terminal with an older library gets).
    for (const bool inTerminal : {true, false}) {
        std::printf("\n== rows read %s\n", inTerminal ? "inside the terminal (one round trip per pass)"
                                                      : "from outside (round trips per row)");
        BenchDispatch dispatch(script);
        pelo::news::NewsIntakeConfig config{target, peloComm, hookLibrary,
                                            GetProcAddress(hookLibrary, "SysListView32HookProc")};
        config.ReadRowsInTerminal = inTerminal;
        pelo::news::NewsIntake intake(dispatch, config);
        intake.StartReading({{"Bench broker", "BENCH", "", "bench terminal"}});
        std::printf("active sources: %d, first pass rows: %d (of the newest listed, 30 wanted)\n",
                    intake.ActiveSourceCount(), dispatch.firstPassRows);
        probe.startEntered.clear();
        {
            // The same round trip now that the hook library watches the terminal's thread.
            std::vector<double> hooked;
            for (int i = 0; i < 500; ++i) {
                const long long before = Now();
                SendMessageA(terminal, WM_NULL, 0, 0);
                hooked.push_back(static_cast<double>(Now() - before) / g_ticksPerMs);
            }
            std::printf("round trip to the hooked terminal: p50 %.3f ms\n", Percentile(hooked, 0.5));
        }

        // Single rows, a few ms apart, as news arrives.
        std::atomic<bool> sent{false};
        struct Command {
            long long sent, answered, listedTicks;
        };
        std::vector<Command> commands;  // each row's insert command
        std::thread driver([&] {
            for (int i = 0; i < count; ++i) {
                const long long before = Now();
                const long long listedTicks = Stamp(terminal, 1);
                commands.push_back({before, Now(), listedTicks});
                Sleep(gapMs + static_cast<DWORD>(i % 5));
            }
            sent = true;
        });
        Pump(intake, peloComm, [&] { return sent && dispatch.latencies.size() >= static_cast<std::size_t>(count); },
             60000);
        driver.join();
        Pump(intake, peloComm, [] { return false; }, 300);
        const std::vector<double> single = dispatch.latencies;
        const std::vector<double> started = probe.startEntered;
        std::printf("single rows: %zu of %d dispatched, %zu distinct, %d dispatched again, %d without stamp\n",
                    single.size(), count, dispatch.texts.size(), dispatch.repeated, dispatch.unstamped);
        std::printf("  passes read inside the terminal: %d, from outside: %d\n", intake.InTerminalPasses(),
                    intake.RemotePasses());
        // Latency counts from the moment the row is in the terminal's list: what comes before is the terminal's own
        // work of listing it (with our hook watching its thread: under Wine each message it sends then costs
        // server round trips, which the figure below shows apart).
        std::vector<double> listing, afterListed;
        for (const Command& command : commands)
            listing.push_back(static_cast<double>(command.listedTicks) / g_ticksPerMs);
        for (const auto& [stamp, dispatched] : dispatch.arrivals) {
            for (const Command& command : commands)
                if (command.sent <= stamp && stamp <= command.answered)
                    afterListed.push_back(static_cast<double>(dispatched - stamp - command.listedTicks) / g_ticksPerMs);
        }
        std::printf("  the terminal listing one row: p50 %.3f ms (without the hook: %.3f ms)\n",
                    Percentile(listing, 0.5), unhookedInsert);
        std::printf("  row listed -> dispatch  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", Percentile(afterListed, 0.5),
                    Percentile(afterListed, 0.99), Percentile(afterListed, 1.0));
        if (roundTrip > 0)
            std::printf("  in round trips          p50 %.1f  p99 %.1f%s\n", Percentile(afterListed, 0.5) / roundTrip,
                        Percentile(afterListed, 0.99) / roundTrip, inTerminal ? "  (budget: p50 <= 3, p99 <= 8)" : "");
        std::printf("  stamp before listing -> dispatch  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
                    Percentile(single, 0.5), Percentile(single, 0.99), Percentile(single, 1.0));
        std::printf("    of which insert -> notification taken p50 %.3f ms, notification -> dispatch p50 %.3f ms\n",
                    Percentile(dispatch.toNotification, 0.5), Percentile(dispatch.notificationToDispatch, 0.5));
        std::printf("  insert -> Start entered (%zu headlines)  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
                    started.size(), Percentile(started, 0.5), Percentile(started, 0.99), Percentile(started, 1.0));
        if (roundTrip > 0)
            std::printf("  in round trips      p50 %.1f  p99 %.1f\n", Percentile(started, 0.5) / roundTrip,
                        Percentile(started, 0.99) / roundTrip);

        // A burst of 200 rows inserted in one go.
        dispatch.latencies.clear();
        dispatch.arrivals.clear();
        const int batchesBefore = dispatch.batches;
        const int passesBefore = intake.InTerminalPasses() + intake.RemotePasses();
        long long lastListedTicks = 0;
        std::thread burst([&] { lastListedTicks = Stamp(terminal, 200); });
        Pump(intake, peloComm, [&] { return dispatch.latencies.size() >= 200; }, 20000);
        burst.join();
        Pump(intake, peloComm, [] { return false; }, 300);
        long long newestStamp = 0, lastDispatch = 0;
        for (const auto& [stamp, dispatched] : dispatch.arrivals) {
            newestStamp = std::max(newestStamp, stamp);
            lastDispatch = std::max(lastDispatch, dispatched);
        }
        const double allAfterListed =
            static_cast<double>(lastDispatch - newestStamp - lastListedTicks) / g_ticksPerMs;
        std::printf("burst of 200: %zu dispatched in %d batch(es) by %d pass(es); newest row listed -> all 200 "
                    "dispatched %.3f ms (%.1f round trips%s)\n",
                    dispatch.latencies.size(), dispatch.batches - batchesBefore,
                    intake.InTerminalPasses() + intake.RemotePasses() - passesBefore, allAfterListed,
                    roundTrip > 0 ? allAfterListed / roundTrip : 0.0, inTerminal ? "; budget <= 10" : "");
        std::printf("  stamp before listing -> dispatch: newest row %.3f ms, oldest row %.3f ms\n",
                    Percentile(dispatch.latencies, 0.0), Percentile(dispatch.latencies, 1.0));
        intake.StopReading();
    }

    PostMessageA(terminal, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    FreeLibrary(hookLibrary);
    return 0;
}
