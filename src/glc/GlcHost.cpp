#include "glc/GlcHost.h"

#include <cstdio>

#include "lang/StdLib.h"

namespace pelo::glc {

void GlcHost::emit(const std::string& line) {
    if (quiet) {
        ++emitCount;
        emitBytes += static_cast<int64_t>(line.size());
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void GlcHost::registerAll(lang::HostTable& t) {
    lang::StdLibOptions opt;
    opt.lineBreak = "\n";  // the reference runner is a Linux program
    lang::registerStandardLibrary(t, opt);
    auto sig = [this](int code, const char* name) {
        return [this, code, name](lang::CallCtx&) {
            signal = code;
            emit(std::string("SIGNAL ") + name);
        };
    };
    t.function("procedure Buy", sig(1, "BUY"));
    t.function("procedure StrongBuy", sig(2, "BUY+"));
    t.function("procedure Sell", sig(3, "SELL"));
    t.function("procedure StrongSell", sig(4, "SELL+"));
    t.function("procedure NoTrade", sig(5, "NOTRADE"));
    t.function("procedure CancelTrade", sig(6, "CANCEL"));
    t.function("procedure WriteLn(s: string)", [this](lang::CallCtx& c) { emit("LINE " + std::string(c.s(0))); });
    t.function("procedure WriteLnLog(s: string)", [this](lang::CallCtx& c) { emit("LOG " + std::string(c.s(0))); });
    lang::registerHostHelpers(t);
    t.function("function Signaled: Boolean", [this](lang::CallCtx& c) { c.retBool(signal != 0); });
    t.function("function LastSignal: Integer", [this](lang::CallCtx& c) { c.retInt(signal); });
    t.finish();
}

}  // namespace pelo::glc
