// Modules written by hand, instruction by instruction, for the cases a compiler never produces but a
// crafted file can contain.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ScriptHarness.h"
#include "lang/Bytecode.h"

namespace pelo::lang::test {

inline int32_t op(Op o) { return static_cast<int32_t>(o); }

// Type indexes every hand-built module starts with.
enum : int32_t { kPlain = 0, kStr = 1, kObj = 2, kVariant = 3, kSet = 4, kIntArray = 5, kIntRecord = 6, kStrArray = 7 };

inline Module handBuiltModule() {
    Module m;
    auto simple = [&](RtKind k) {
        RtType t;
        t.kind = k;
        m.types.push_back(t);
    };
    simple(RtKind::Plain);
    simple(RtKind::Str);
    simple(RtKind::Obj);
    simple(RtKind::Variant);
    simple(RtKind::Set);
    RtType arr;
    arr.kind = RtKind::DynArr;
    arr.elem = kPlain;
    m.types.push_back(arr);
    RtType rec;
    rec.kind = RtKind::Record;
    rec.fields = {kPlain, kPlain};
    m.types.push_back(rec);
    RtType sarr;
    sarr.kind = RtKind::DynArr;
    sarr.elem = kStr;
    m.types.push_back(sarr);
    m.constants.push_back(Value::ofInt(1));
    m.constants.push_back(Value::ofStr("some text"));
    return m;
}

// Adds the main block with the given local variables and code.
inline void setMain(Module& m, std::vector<int32_t> localTypes, std::vector<int32_t> code) {
    Proc p;
    p.name = "!MAIN";
    p.localTypes = std::move(localTypes);
    p.code = std::move(code);
    m.procs.push_back(std::move(p));
    m.mainProc = static_cast<int32_t>(m.procs.size() - 1);
}

// Adds an import of a host routine of the harness's table, as the compiler records it.
inline int32_t addImport(Module& m, ScriptHarness& h, const std::string& name) {
    ImportCatalog catalog = buildImportCatalog(h.table);
    const ImportEntry& e = catalog.at(name);
    Import im;
    im.name = name;
    im.signature = e.signature;
    im.argc = e.argc;
    im.hasResult = e.hasResult;
    if (e.hasResult)
        for (size_t k = 0; k < m.types.size(); ++k)
            if (m.types[k].kind == e.resultKind) {
                im.resultType = static_cast<int32_t>(k);
                break;
            }
    m.imports.push_back(im);
    return static_cast<int32_t>(m.imports.size() - 1);
}

// The loader's verdict on a module: "" when it is accepted.
inline std::string loadVerdict(ScriptHarness& h, const Module& m) {
    try {
        h.vm->loadFile(serializeModule(m));
    } catch (const LoadError& e) {
        return e.what();
    }
    return "";
}

}  // namespace pelo::lang::test
