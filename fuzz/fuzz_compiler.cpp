// Feeds arbitrary text to the compiler front end; a successful compile must also load.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzHost.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"

using namespace pelo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view src(reinterpret_cast<const char*>(data), size);
    const lang::HostTable& table = fuzz::fuzzHostTable();
    lang::CompileResult r = lang::compileScript(src, table);
    if (!r.ok) return 0;
    static const lang::ImportCatalog catalog = lang::buildImportCatalog(table);
    // What the compiler produces must always pass the loader's checks.
    std::string bytes = lang::serializeModule(r.module);
    lang::Module m = lang::deserializeModule(bytes);
    try {
        lang::verifyModule(m, catalog);
    } catch (const lang::LoadError&) {
        std::abort();
    }
    return 0;
}
