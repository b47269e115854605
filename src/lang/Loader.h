// The compiled-file format and its loader.
//
// Layout: "GLSC" magic, u32 format version, u32 payload length, u32 CRC-32 of the payload, payload.
// The payload lists types, constants, globals, imports and procedures with their code. Everything
// read is untrusted: the loader checks every size, index, jump target and import signature, bounds
// the size and nesting of types, and walks each procedure's code to prove that every instruction
// gets operands of the kinds it works on (see Verifier.h), before the VM sees it.
// Version 3: a var parameter records the type of the variable it refers to.
// Version 4: an import may be a function of another library (its name, library, convention and options); the
// shapes of calls through procedure values.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lang/ImportCatalog.h"
#include "lang/HostTable.h"
#include "lang/Module.h"

namespace pelo::lang {

inline constexpr uint32_t kFileVersion = 4;

// Bounds on what a compiled file may declare, so that loading it can neither exhaust memory nor
// recurse deeply: types nest at most kMaxTypeDepth levels, and one variable, all globals together
// and one procedure's frame each hold at most kMaxValues values.
inline constexpr int kMaxTypeDepth = 64;
inline constexpr int64_t kMaxValues = 4 * 1024 * 1024;

struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct BoundImport {
    const HostFn* fn = nullptr;
    int argc = 0;
    bool hasResult = false;
    int resultType = -1;
    ImportEntry::Self self = ImportEntry::Self::None;
};

std::string serializeModule(const Module& m);
// Throws LoadError.
Module deserializeModule(std::string_view bytes);
// Checks the module against the host table and binds its imports; throws LoadError.
std::vector<BoundImport> verifyModule(Module& m, const ImportCatalog& catalog);

uint32_t crc32(std::string_view data);

}  // namespace pelo::lang
