#include "FuzzHost.h"

#include "lang/StdLib.h"

namespace pelo::fuzz {

const lang::HostTable& fuzzHostTable() {
    static lang::HostTable table = [] {
        lang::HostTable t;
        lang::registerStandardLibrary(t);
        lang::registerHostHelpers(t);
        t.function("procedure WriteLn(s: string)", [](lang::CallCtx&) {});
        t.function("procedure Buy", [](lang::CallCtx&) {});
        t.finish();
        return t;
    }();
    return table;
}

}  // namespace pelo::fuzz
