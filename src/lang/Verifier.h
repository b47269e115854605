// The code verifier of the loader: proves, before the VM runs a procedure, that every instruction
// finds operands of the kinds it works on (numbers, strings, objects, variants, sets, arrays and
// records of a given type, references to variables of a given type) on every path that reaches it.
//
// The VM keeps a value's payload and its tag together, and the opcodes trust the compiler about
// what the payload is; a file that pushed an integer where an address belongs, relabelled a string
// as a number, or joined two paths with different stacks would otherwise make the VM read or write
// memory it does not own.
#pragma once

#include <cstdint>
#include <vector>

#include "lang/ImportCatalog.h"
#include "lang/Module.h"

namespace pelo::lang {

// Operand stack values a procedure may hold at once.
inline constexpr int32_t kMaxOperandStack = 4096;

// Checks the code of procedure `index` (types, globals and imports already checked; `imports[k]` is
// the host entry import k is bound to) and records its operand stack depth in Proc::maxStack.
// `canonical[t]` is the first type index with the same shape as type t. Throws LoadError.
void verifyProcCode(Module& m, size_t index, const std::vector<int32_t>& canonical,
                    const std::vector<const ImportEntry*>& imports);

// First type index of the same shape, for each type (components must precede the types using them).
std::vector<int32_t> canonicalTypes(const Module& m);

}  // namespace pelo::lang
