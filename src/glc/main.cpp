// glc: compiles scripts to compiled files and runs them the way the reference runner does.
//
//   glc compile IN.pas OUT.exn               exit 1 on a compile error
//   glc run [options] FILE [LINES]           FILE is a script or a compiled file
//   glc bench N FILE LINES                   prints the reference runner's BENCH line
//
// Options: --short-circuit (lazy and/or); --allow-no-begin, --allow-no-end, --streams and --hints are
// accepted for compatibility with the reference runner's command line.
// Exit codes: 0 ok, 1 compile error, 2 run-time or load error, 3 usage or I/O error.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "glc/GlcHost.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "lang/Vm.h"

using namespace pelo;

namespace {

[[noreturn]] void usage() {
    std::fprintf(stderr,
                 "usage: glc compile IN.pas OUT.exn\n"
                 "       glc run [--short-circuit] FILE [LINES]\n"
                 "       glc bench N FILE LINES\n");
    std::exit(3);
}

bool readFile(const std::string& path, std::string& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream ss;
    ss << f.rdbuf();
    out = ss.str();
    return true;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, k = 0;
    while (k < text.size()) {
        char c = text[k];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, k - start));
            if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
            start = k + 1;
        }
        ++k;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool looksCompiled(const std::string& bytes) {
    return bytes.size() >= 4 && (std::memcmp(bytes.data(), "GLSC", 4) == 0 || std::memcmp(bytes.data(), "IFPS", 4) == 0);
}

int64_t nowMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Options {
    bool shortCircuit = false;
};

// Compiles or loads FILE into the VM; returns an exit code (0 when ready).
int prepare(lang::Vm& vm, const lang::HostTable& table, const std::string& path, const Options& opt,
            int64_t& compileUs) {
    std::string bytes;
    if (!readFile(path, bytes)) {
        std::fprintf(stderr, "glc: cannot read %s\n", path.c_str());
        return 3;
    }
    try {
        if (looksCompiled(bytes)) {
            vm.loadFile(bytes);
            compileUs = 0;
            return 0;
        }
        int64_t t0 = nowMicros();
        lang::CompileOptions co;
        co.shortCircuit = opt.shortCircuit;
        lang::CompileResult r = lang::compileScript(bytes, table, co);
        compileUs = nowMicros() - t0;
        if (!r.ok) {
            for (const auto& m : r.messages) std::printf("%s\n", m.toString().c_str());
            return 1;
        }
        vm.loadModule(std::move(r.module));
    } catch (const lang::LoadError& e) {
        std::printf("ERROR %s\n", e.what());
        return 2;
    }
    return 0;
}

int runtimeFail(const lang::ScriptError& e) {
    std::fflush(stdout);
    std::printf("ERROR %s\n", e.what());
    std::fflush(stdout);
    return 2;
}

int cmdCompile(int argc, char** argv) {
    if (argc != 4) usage();
    std::string src;
    if (!readFile(argv[2], src)) {
        std::fprintf(stderr, "glc: cannot read %s\n", argv[2]);
        return 3;
    }
    lang::HostTable table;
    glc::GlcHost host;
    host.registerAll(table);
    lang::CompileResult r = lang::compileScript(src, table);
    if (!r.ok) {
        for (const auto& m : r.messages) std::printf("%s\n", m.toString().c_str());
        return 1;
    }
    std::string bytes = lang::serializeModule(r.module);
    std::ofstream out(argv[3], std::ios::binary);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        std::fprintf(stderr, "glc: cannot write %s\n", argv[3]);
        return 3;
    }
    return 0;
}

int cmdRun(int argc, char** argv, int benchN) {
    Options opt;
    std::string file, linesFile;
    for (int k = benchN > 0 ? 3 : 2; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--short-circuit") opt.shortCircuit = true;
        else if (a == "--allow-no-begin" || a == "--allow-no-end" || a == "--streams" || a == "--hints") continue;
        else if (!a.empty() && a[0] == '-') usage();
        else if (file.empty()) file = a;
        else if (linesFile.empty()) linesFile = a;
        else usage();
    }
    if (file.empty() || (benchN > 0 && linesFile.empty())) usage();
    std::vector<std::string> lines;
    if (!linesFile.empty()) {
        std::string text;
        if (!readFile(linesFile, text)) {
            std::fprintf(stderr, "glc: cannot read %s\n", linesFile.c_str());
            return 3;
        }
        lines = splitLines(text);
    }
    lang::HostTable table;
    glc::GlcHost host;
    host.registerAll(table);
    lang::Vm vm(table, lang::importCatalogFor(table));
    int64_t compileUs = 0;
    if (int rc = prepare(vm, table, file, opt, compileUs)) return rc;

    int pInit = vm.findProc("Init"), pStart = vm.findProc("Start"), pDeInit = vm.findProc("DeInit");
    if (pInit >= 0 && !vm.proc(pInit)->params.empty()) {
        std::printf("ERROR Init must not take parameters\n");
        return 3;
    }
    if (pDeInit >= 0 && !vm.proc(pDeInit)->params.empty()) {
        std::printf("ERROR DeInit must not take parameters\n");
        return 3;
    }
    if (pStart >= 0 && vm.proc(pStart)->params.size() != 2) {
        std::printf("ERROR Start must take 2 parameters\n");
        return 3;
    }
    try {
        host.signal = 0;
        host.bindVariables(vm);
        vm.runMain();
        if (pInit >= 0) vm.call(pInit, {});
        std::vector<lang::Value> args(2);
        args[1] = lang::Value::ofStr("TEST");
        if (benchN == 0) {
            if (pStart >= 0)
                for (const std::string& l : lines) {
                    host.signal = 0;
                    args[0] = lang::Value::ofStr(l);
                    vm.call(pStart, args);
                }
        } else {
            if (pStart < 0) {
                std::printf("ERROR --bench needs a Start procedure\n");
                return 3;
            }
            std::fflush(stdout);
            host.quiet = true;
            std::vector<lang::Value> lineValues;
            for (const std::string& l : lines) lineValues.push_back(lang::Value::ofStr(l));
            for (const lang::Value& l : lineValues) {
                host.signal = 0;
                args[0] = l;
                vm.call(pStart, args);
            }
            host.emitCount = 0;
            host.emitBytes = 0;
            int64_t t0 = nowMicros();
            for (int r = 0; r < benchN; ++r)
                for (const lang::Value& l : lineValues) {
                    host.signal = 0;
                    args[0] = l;
                    vm.call(pStart, args);
                }
            int64_t t1 = nowMicros();
            host.quiet = false;
            int64_t calls = static_cast<int64_t>(benchN) * static_cast<int64_t>(lines.size());
            std::printf("BENCH calls=%lld total_us=%lld us_per_call=%.3f host_lines=%lld host_bytes=%lld compile_us=%lld\n",
                        static_cast<long long>(calls), static_cast<long long>(t1 - t0),
                        calls ? static_cast<double>(t1 - t0) / static_cast<double>(calls) : 0.0,
                        static_cast<long long>(host.emitCount), static_cast<long long>(host.emitBytes),
                        static_cast<long long>(compileUs));
        }
        if (pDeInit >= 0) {
            host.signal = 0;
            vm.call(pDeInit, {});
        }
    } catch (const lang::ScriptError& e) {
        return runtimeFail(e);
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) usage();
    std::string cmd = argv[1];
    if (cmd == "compile") return cmdCompile(argc, argv);
    if (cmd == "run") return cmdRun(argc, argv, 0);
    if (cmd == "bench") {
        if (argc < 5) usage();
        int n = std::atoi(argv[2]);
        if (n < 1) usage();
        return cmdRun(argc, argv, n);
    }
    usage();
}
