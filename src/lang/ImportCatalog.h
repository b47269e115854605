// What a compiled file may import from the host: the signature the compiler records for each host function and
// class member, and what the loader checks a call against. The compiler builds it from the declaration table
// (buildImportCatalog, Compiler.h); the loader and the VM only read it, so the run-time side needs no compiler.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "lang/HostTable.h"
#include "lang/Module.h"

namespace pelo::lang {

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

}  // namespace pelo::lang
