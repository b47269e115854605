// A compiled script: what the compiler produces, what the compiled file stores and what the VM runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lang/ForeignDeclaration.h"
#include "lang/Value.h"

namespace pelo::lang {

// Storage kind of a type at run time; enough to create a variable's zero value.
enum class RtKind : uint8_t { Plain = 0, Str, Obj, DynArr, Record, StaticArr, Set, Variant, Count_ };

struct RtType {
    RtKind kind = RtKind::Plain;
    int32_t elem = -1;              // DynArr, StaticArr: element type
    int32_t count = 0;              // StaticArr: element count
    std::vector<int32_t> fields;    // Record: field types
};

struct ProcParam {
    int32_t type;   // RtType index
    bool byRef;     // var / out parameter
    // Signature text of the parameter's static type, e.g. "string", "s32" (host calls check it).
    std::string sig;
};

struct LineEntry {
    int32_t pc;
    int32_t line;
};

struct Proc {
    std::string name;               // upper case
    std::vector<ProcParam> params;
    bool hasResult = false;
    int32_t resultType = -1;
    std::string resultSig;
    std::vector<int32_t> localTypes;  // slots after result and params
    int32_t maxStack = 0;             // operand stack depth the loader computed/checked
    std::vector<int32_t> code;
    std::vector<LineEntry> lines;

    int32_t frameSize() const {
        return (hasResult ? 1 : 0) + static_cast<int32_t>(params.size()) + static_cast<int32_t>(localTypes.size());
    }
    int32_t argSlots() const { return (hasResult ? 1 : 0) + static_cast<int32_t>(params.size()); }
};

// A host function or class member that the code calls, bound by name and checked by signature; or a function of
// another library that the script declared `external`.
struct Import {
    std::string name;       // "POS", "TSTRINGLIST.ADD", "TSTRINGLIST.COUNT.GET"; "DLL:" + the routine's name
    std::string signature;  // canonical signature text; must equal the host table's. External: a foreign
                            // signature (lang/ForeignSignature.h)
    bool external = false;
    ForeignTarget target;   // external only
    int32_t argc = 0;       // stack slots taken (Self included)
    bool hasResult = false;
    int32_t resultType = -1;  // type of the result slot the VM prepares
};

// The parameters and result a call through a procedure value passes and expects; the procedure the value names
// must have the same (checked when the call is made, as the value is known only then).
struct ProcShape {
    std::vector<ProcParam> params;
    bool hasResult = false;
    int32_t resultType = -1;
};

struct Global {
    std::string name;  // upper case
    int32_t type;
};

struct Module {
    std::vector<RtType> types;
    std::vector<Value> constants;   // Plain (int64 or double bits) or Str
    std::vector<Global> globals;
    std::vector<Proc> procs;        // procs[mainProc] is the main block
    std::vector<Import> imports;
    std::vector<ProcShape> shapes;  // of the calls through procedure values
    int32_t mainProc = -1;
    // Filled by the loader, not stored: how many values one variable of each type holds, and the first type of the
    // same shape as each (procedure values are checked against it).
    std::vector<int64_t> typeValues;
    std::vector<int32_t> canonicalTypes;

    int findProc(std::string_view name) const;
    int findGlobal(std::string_view name) const;
};

}  // namespace pelo::lang
