// Feeds arbitrary bytes to the compiled-file loader; whatever it accepts is run under tight limits.
// Inputs starting with "SRC:" are compiled first, so the corpus can hold readable scripts whose
// compiled form is then damaged by the mutator through the ordinary byte path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzHost.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "lang/Vm.h"

using namespace pelo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const lang::HostTable& table = fuzz::fuzzHostTable();
    static lang::VmLimits limits = [] {
        lang::VmLimits l;
        l.maxFrames = 200;
        l.stackSlots = 8 * 1024;  // made anew with every load: a big one costs more than the run
        l.maxStringLength = 1 << 16;
        l.maxArrayLength = 1 << 16;
        l.maxLoopSteps = 5000;
        return l;
    }();
    static lang::Vm vm(table, lang::importCatalogFor(table), limits);  // reused: each load replaces what the last one left
    try {
        if (bytes.rfind("SRC:", 0) == 0) {
            lang::CompileResult r = lang::compileScript(bytes.substr(4), table);
            if (!r.ok) return 0;
            bytes = lang::serializeModule(r.module);
        }
        vm.loadFile(bytes);
    } catch (const lang::LoadError&) {
        return 0;
    }
    // Accepted code may loop forever: the step budget ends it.
    try {
        vm.runMain();
    } catch (const lang::ScriptError&) {
    }
    return 0;
}
