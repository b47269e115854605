// Compiler of the Pascal Script dialect into a Module.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/HostTable.h"
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

// A host routine's parameter as the loader checks the arguments of a call.
struct ImportParam {
    bool byRef = false;       // var / out
    bool any = false;         // untyped: any value, or a reference to any variable
    RtKind kind = RtKind::Plain;
};

// What a compiled file may import: every host function and class member, by upper-case name,
// with the signature the compiler would record for it.
struct ImportEntry {
    std::string signature;
    std::vector<ImportParam> params;  // Self first for class members
    const HostFn* fn = nullptr;
    int argc = 0;
    bool hasResult = false;
    RtKind resultKind = RtKind::Plain;
    enum class Self : uint8_t { None, Method, Property } self = Self::None;  // what a nil Self raises
};
using ImportCatalog = std::unordered_map<std::string, ImportEntry>;

// Builds the catalog; throws std::runtime_error when a declaration of the table does not parse.
ImportCatalog buildImportCatalog(const HostTable& host);

}  // namespace pelo::lang
