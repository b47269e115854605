// Compiler of the Pascal Script dialect into a Module.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/HostTable.h"
#include "lang/ImportCatalog.h"
#include "lang/Module.h"

namespace pelo::lang {

struct CompileMessage {
    int line = 0;
    int col = 0;
    std::string text;
    // "[Error] (line:col): text"
    std::string toString() const;
};

struct CompileOptions {
    bool shortCircuit = false;  // evaluate `and`/`or` lazily (the engine's default is full evaluation)
};

struct CompileResult {
    bool ok = false;
    Module module;
    std::vector<CompileMessage> messages;
};

CompileResult compileScript(std::string_view source, const HostTable& host, const CompileOptions& options = {});


// Builds the catalog of what compiled files may import from `host`, as the compiler declares it; throws
// std::runtime_error when a declaration of the table does not parse. The VM takes it ready-made.
ImportCatalog buildImportCatalog(const HostTable& host);
std::shared_ptr<const ImportCatalog> importCatalogFor(const HostTable& host);

}  // namespace pelo::lang
