// Trade latency, end to end, through the real program: the simulated terminal lists a headline with a keyword, the
// program reads it, the attached script calls Buy, and the click reaches the simulated order window. Each trade is
// armed afresh (autoexecute ticked, which finds the two order windows), then one row is commanded.
//
//   trade_latency_bench.exe [--trades N] [--gap MS]
//
// Run it under Wine with a display, in a scratch prefix: it writes the program's settings and registry values
// there (and puts back what was there before). The time runs from just before the row is commanded (so it also
// holds the command's hop to the terminal) to the order window's time stamp of the button press; both read
// QueryPerformanceCounter, which under Wine is one clock for all processes. Beside the figures it prints the bare
// cross-process round trip of this run (SendMessage of WM_NULL to the terminal), the unit budgets are stated in.
// Prints p50, p99 and max; never fails on time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "script/ScriptInterface.h"
#include "script/StandInObjects.h"

namespace {

constexpr ULONG_PTR CmdStamp = 3;  // the simulated terminal's "stamp N" command
constexpr ULONG_PTR CmdCount = 5;
const wchar_t* const TerminalTitle = L"Bench Terminal 4711";
const wchar_t* const OrderClass = L"TOrderBench";
const wchar_t* const RegKey = L"Software\\Quorvel Software\\Pelorant";
constexpr WPARAM AttachW = 1982137;
constexpr LPARAM AttachL = 1819273;

double g_ticksPerMs = 10000.0;

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::wstring EnvPath(const wchar_t* name) {
    wchar_t buf[MAX_PATH] = {};
    GetEnvironmentVariableW(name, buf, MAX_PATH);
    return buf;
}

std::optional<std::string> ReadAll(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
    CloseHandle(f);
    return text;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(f);
    return ok;
}

std::string Utf16WithBom(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
    return bytes;
}

HANDLE Start(const std::wstring& exe, const std::wstring& args) {
    std::wstring commandLine = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

template <class F>
bool WaitFor(F f, DWORD timeoutMs, DWORD stepMs = 10) {
    const DWORD start = GetTickCount();
    while (!f()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(stepMs);
    }
    return true;
}

struct TopLevelSearch {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND w, LPARAM p) {
    auto* q = reinterpret_cast<TopLevelSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (owner != q->pid || wcscmp(name, q->cls) != 0) return TRUE;
    q->found = w;
    return FALSE;
}

HWND FindTopLevel(DWORD pid, const wchar_t* cls) {
    TopLevelSearch s{pid, cls, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct ChildSearch {
    const wchar_t* cls;
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM p) {
    auto* q = reinterpret_cast<ChildSearch*>(p);
    wchar_t name[64] = {}, caption[128] = {};
    GetClassNameW(w, name, 64);
    GetWindowTextW(w, caption, 128);
    if (_wcsicmp(name, q->cls) != 0 || wcscmp(caption, q->text) != 0) return TRUE;
    q->found = w;
    return FALSE;
}

HWND FindChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
    ChildSearch s{cls, text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Answers the program's first-start note about the logs folder, if it shows one.
void DismissStartNote(DWORD pid) {
    HWND box = FindTopLevel(pid, L"#32770");
    if (!box) return;
    if (HWND ok = FindChild(box, L"Button", L"OK")) PostMessageW(ok, BM_CLICK, 0, 0);
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5))];
}

// The press times (counter values) the order windows logged so far.
std::vector<long long> Presses(const std::wstring& log) {
    std::vector<long long> presses;
    std::istringstream in(ReadAll(log).value_or(""));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("click ", 0) != 0) continue;
        const size_t at = line.find(" qpc=");
        if (at != std::string::npos) presses.push_back(std::atoll(line.c_str() + at + 5));
    }
    return presses;
}

std::optional<std::string> ReadRegString(const wchar_t* value) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, RegKey, value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string narrow;
    for (const wchar_t* c = buf; *c; ++c) narrow += static_cast<char>(*c);
    return narrow;
}

void WriteRegString(const wchar_t* value, const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RegKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
    int trades = 200;
    DWORD gapMs = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--trades" && i + 1 < argc) trades = std::max(1, std::atoi(argv[++i]));
        else if (a == "--gap" && i + 1 < argc) gapMs = static_cast<DWORD>(std::atoi(argv[++i]));
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;

    const std::wstring bin = ExeDir() + L"\\..\\bin";
    const std::wstring fixtures = ExeDir() + L"\\..\\tests\\fixtures";
    const std::wstring appData = EnvPath(L"LOCALAPPDATA") + L"\\Quorvel Software\\Pelorant";
    const std::wstring ini = appData + L"\\Pelorant.ini";
    const std::wstring script = EnvPath(L"TEMP") + L"\\trade_bench.exn";
    const std::wstring orderLog = EnvPath(L"TEMP") + L"\\trade_bench_orders.log";

    // What this run replaces, to put back at the end.
    const std::optional<std::string> oldIni = ReadAll(ini);
    const std::optional<std::string> oldAttached = ReadRegString(L"AttachedScript");

    CreateDirectoryW((EnvPath(L"LOCALAPPDATA") + L"\\Quorvel Software").c_str(), nullptr);
    CreateDirectoryW(appData.c_str(), nullptr);
    WriteAll(ini, Utf16WithBom(std::wstring(L"[Broker1]\r\nFullName=Bench broker\r\nShortName=BENCH\r\nPath=C:\\\r\n"
                                            L"WindowPattern=") + TerminalTitle +
                               L"\r\n\r\n[ButtonDiscovery]\r\nDiscoveryMethod=2\r\nCustomTitlePattern=Order\r\n"
                               L"CustomAllowOnlyExactMatch=0\r\nCustomClassName=" + OrderClass +
                               L"\r\nCustomBSInSameWindow=0\r\nCustomX1=55\r\nCustomY1=80\r\n\r\n[Misc]\r\n"
                               L"LogHeadlines=0\r\nDisplayHeadlines=1\r\n\r\n"));
    {
        pelo::script::NullScriptServices services;
        pelo::lang::HostTable table;
        pelo::script::RegisterScriptInterface(table, services);
        // A keyword rule, as traders write them.
        pelo::lang::CompileResult r = pelo::lang::compileScript(
            "procedure Start(Headline, Source: string); begin"
            " if Pos('rate cut', Headline) > 0 then Buy; end; begin end.",
            table);
        if (!r.ok || !WriteAll(script, pelo::lang::serializeModule(r.module))) {
            std::printf("cannot compile or write the bench script\n");
            return 1;
        }
    }
    WriteRegString(L"AttachedScript", script);
    DeleteFileW(orderLog.c_str());

    HANDLE orders = Start(fixtures + L"\\orderwin.exe", std::wstring(L"--class ") + OrderClass +
                                                            L" --title Order --log \"" + orderLog +
                                                            L"\" 700,100 950,100");
    HANDLE terminalProcess =
        Start(fixtures + L"\\terminal.exe", std::wstring(L"--title \"") + TerminalTitle +
                                                L"\" --rows 5 --prefix \"Fed rate cut\" --hidden");
    HANDLE program = Start(bin + L"\\Pelorant.exe", L"");
    if (!orders || !terminalProcess || !program) {
        std::printf("cannot start the order windows, the terminal or the program\n");
        return 1;
    }
    const DWORD pid = GetProcessId(program);
    HWND main = nullptr;
    WaitFor([&] {
        DismissStartNote(pid);
        main = FindTopLevel(pid, L"TfrmPelorant");
        return main && IsWindowVisible(main);
    }, 20000, 50);
    HWND terminal = nullptr;
    WaitFor([&] { return (terminal = FindWindowW(L"MetaQuotes::MetaTrader::4.00", TerminalTitle)) != nullptr; }, 10000);
    if (!main || !terminal || !WaitFor([&] { return ReadAll(orderLog).value_or("").find("ready") != std::string::npos; }, 10000)) {
        std::printf("the program, the terminal or the order windows did not come up\n");
        return 1;
    }
    COPYDATASTRUCT ask{CmdCount, 0, nullptr};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&ask), SMTO_NORMAL, 10000, &answer);

    const UINT peloComm = RegisterWindowMessageA("PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, peloComm, AttachW, AttachL, SMTO_NORMAL, 10000, &result);
    HWND startStop = FindChild(main, L"Button", L"Start");
    HWND autoExecute = FindChild(main, L"Button", L"autoexecute  ");
    if (!startStop || !autoExecute) {
        std::printf("the main window's Start button or autoexecute box is missing\n");
        return 1;
    }
    SendMessageTimeoutW(startStop, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);

    std::vector<double> roundTrips;
    for (int i = 0; i < 500; ++i) {
        const long long before = Now();
        SendMessageW(terminal, WM_NULL, 0, 0);
        roundTrips.push_back(static_cast<double>(Now() - before) / g_ticksPerMs);
    }
    const double roundTrip = Percentile(roundTrips, 0.5);
    std::printf("bare cross-process round trip (SendMessage WM_NULL): p50 %.3f ms  p99 %.3f ms\n", roundTrip,
                Percentile(roundTrips, 0.99));

    std::vector<double> latencies;
    int unarmed = 0, missed = 0;
    for (int t = 0; t < trades; ++t) {
        PostMessageW(autoExecute, BM_CLICK, 0, 0);
        if (!WaitFor([&] { return SendMessageW(autoExecute, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000, 1)) {
            ++unarmed;
            continue;
        }
        Sleep(gapMs);
        const size_t before = Presses(orderLog).size();
        const long long sent = Now();
        std::string one = "1";
        COPYDATASTRUCT stamp{CmdStamp, 1, one.data()};
        SendMessageTimeoutW(terminal, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&stamp), SMTO_NORMAL, 10000, &answer);
        std::vector<long long> presses;
        if (!WaitFor([&] { return (presses = Presses(orderLog)).size() > before; }, 3000, 1)) {
            ++missed;
            continue;
        }
        latencies.push_back(static_cast<double>(presses[before] - sent) / g_ticksPerMs);
        WaitFor([&] { return SendMessageW(autoExecute, BM_GETCHECK, 0, 0) != BST_CHECKED; }, 3000, 1);
    }
    std::printf("trades: %d asked, %zu clicked, %d could not be armed, %d armed but not clicked\n", trades,
                latencies.size(), unarmed, missed);
    std::printf("  row commanded -> order window pressed  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
                Percentile(latencies, 0.5), Percentile(latencies, 0.99), Percentile(latencies, 1.0));
    if (roundTrip > 0)
        std::printf("  in round trips      p50 %.1f  p99 %.1f  max %.1f\n", Percentile(latencies, 0.5) / roundTrip,
                    Percentile(latencies, 0.99) / roundTrip, Percentile(latencies, 1.0) / roundTrip);

    // Closing: the terminal first, so the program has no hidden terminal to ask about.
    PostMessageW(terminal, WM_CLOSE, 0, 0);
    WaitForSingleObject(terminalProcess, 10000);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program, 10000) != WAIT_OBJECT_0) TerminateProcess(program, 1);
    TerminateProcess(orders, 0);
    if (oldIni) WriteAll(ini, *oldIni);
    else DeleteFileW(ini.c_str());
    std::wstring attached;
    for (char c : oldAttached.value_or("")) attached += static_cast<wchar_t>(static_cast<unsigned char>(c));
    WriteRegString(L"AttachedScript", attached);
    DeleteFileW(script.c_str());
    return 0;
}
