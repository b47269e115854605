// Static types the compiler works with.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "lang/HostTable.h"

namespace pelo::lang {

enum class TK : uint8_t {
    U8, S8, U16, S16, U32, S32, S64, Char, Bool, Enum,
    Single, Double, Extended, Currency,
    String, Variant, Record, StaticArray, DynArray, Set, Class, Nil,
    AnyString,  // pseudo type of routines that take and return either a string or a char
    Untyped,    // pseudo type: parameter of any type
    ProcPtr     // a procedure value: `procedure(Sender: TObject)`, held as the procedure's number + 1 (0: nil)
};

struct Type;
struct ClassInfo;
struct Sig;

struct Field {
    std::string upper;
    const Type* type;
};

struct Type {
    TK k;
    std::string name;
    int64_t low = 0, high = 0;       // StaticArray bounds; Enum: high = count - 1
    const Type* elem = nullptr;      // arrays, sets
    std::vector<Field> fields;       // Record
    const ClassInfo* cls = nullptr;  // Class
    const Sig* sig = nullptr;        // ProcPtr: the parameters and result
    mutable int rt = -1;             // run-time type index in the module being compiled
};

inline bool isIntKind(TK k) { return k <= TK::S64; }
inline bool isOrdinal(TK k) { return k <= TK::Enum; }
inline bool isFloatKind(TK k) { return k >= TK::Single && k <= TK::Extended; }

enum class PMode : uint8_t { Value, Const, Var, Out };

struct Param {
    std::string name;
    const Type* type;
    PMode mode;
};

struct Sig {
    std::vector<Param> params;
    const Type* result = nullptr;
};

struct MemberInfo {
    MemberKind kind;
    std::string upper;
    Sig sig;                 // methods/constructors; properties: index params and result = property type
    bool canRead = false, canWrite = false;
    std::string importName;  // method/constructor/getter
    std::string setterName;  // property setter
    const HostMember* host = nullptr;
};

struct ClassInfo {
    std::string name;
    const HostClass* host = nullptr;
    const ClassInfo* parent = nullptr;
    const Type* type = nullptr;
    std::unordered_map<std::string, MemberInfo> members;
    const MemberInfo* defaultProp = nullptr;

    const MemberInfo* find(const std::string& upper) const {
        for (const ClassInfo* c = this; c; c = c->parent) {
            auto it = c->members.find(upper);
            if (it != c->members.end()) return &it->second;
        }
        return nullptr;
    }
    const MemberInfo* findDefault() const {
        for (const ClassInfo* c = this; c; c = c->parent)
            if (c->defaultProp) return c->defaultProp;
        return nullptr;
    }
    bool inheritsFrom(const ClassInfo* o) const {
        for (const ClassInfo* c = this; c; c = c->parent)
            if (c == o) return true;
        return false;
    }
};

}  // namespace pelo::lang
