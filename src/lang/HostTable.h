// The one declaration table of everything the host offers scripts: functions, classes with their
// members, types, constants and predefined variables. The compiler compiles scripts against it and
// the loader binds compiled files to it, so both always see the same names and signatures.
//
// Entries are Pascal declaration strings ("function Pos(SubStr, S: string): Integer") bound to C++
// callbacks. A callback receives the arguments in script order; a var/out parameter arrives as a
// reference value (use CallCtx::ref).
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "lang/Value.h"

namespace pelo::lang {

class Vm;

// Error codes of the script engine; their order is the one scripts see in TIFException.
enum class ErrorCode : int32_t {
    NoError = 0, CannotImport, InvalidType, InternalError, InvalidHeader, InvalidOpcode,
    InvalidOpcodeParameter, NoMainProc, OutOfGlobalVarsRange, OutOfProcRange, OutOfRange,
    OutOfStackRange, TypeMismatch, UnexpectedEof, VersionError, DivideByZero, MathError,
    CouldNotCallProc, OutOfRecordRange, OutOfMemory, Exception, NullPointerException,
    NullVariantError, InterfaceNotSupported, CustomError
};

// Text the engine shows for an error code and its parameter.
std::string errorText(ErrorCode code, const std::string& param);

// A run-time error inside the script (thrown by the VM and by host callbacks).
struct ScriptError : std::runtime_error {
    ScriptError(ErrorCode c, std::string p, bool isFatal = false)
        : std::runtime_error(errorText(c, p)), code(c), param(std::move(p)), fatal(isFatal) {}
    ErrorCode code;
    std::string param;
    bool fatal;  // not catchable by the script (a stop request)
};

// An error raised by host code with an RTL message: scripts see "Exception: <message>".
inline ScriptError hostException(std::string msg) { return ScriptError(ErrorCode::Exception, std::move(msg)); }

struct CallCtx {
    Vm& vm;
    Value* args;    // args[0..n) in declaration order; for methods args[0] is Self
    Value* result;  // nullptr for procedures
    int argc;

    Value& arg(int k) { return args[k].isRef() ? ref(k) : args[k]; }
    Value& ref(int k) {
        Value* t = args[k].target();
        if (!t) throw ScriptError(ErrorCode::NullPointerException, "");
        return *t;
    }
    int64_t i(int k) { return arg(k).i; }
    // Floating-point arguments: f() at the extended precision the value has, d() for parameters
    // of type Double or Single, whose values are exact doubles.
    long double f(int k) { return arg(k).f(); }
    double d(int k) { return static_cast<double>(arg(k).f()); }
    std::string_view s(int k) { return arg(k).str(); }
    bool b(int k) { return arg(k).i != 0; }
    ScriptObject* self();  // args[0] as an object; raises Null Pointer Exception on nil

    void retInt(int64_t v) { result->i = v; }
    void retFloat(long double v) { result->setFloat(v); }
    void retBool(bool v) { result->i = v ? 1 : 0; }
    void retStr(std::string_view v) { *result = Value::ofStr(v); }
    void retValue(Value v) { *result = std::move(v); }
};

using HostFn = std::function<void(CallCtx&)>;

struct HostFunction {
    std::string decl;
    HostFn fn;
};

enum class MemberKind : uint8_t { Method, Constructor, Property };

struct HostMember {
    MemberKind kind;
    std::string decl;  // "function Add(S: string): Integer", "constructor Create",
                       // "property Strings[Index: Integer]: string read write"
    HostFn fn;         // method / constructor / property getter
    HostFn setter;     // property setter: args = Self, indexes..., value
    bool isDefault = false;  // default array property (L[i])
};

class HostTable;
namespace detail {
struct HostDeclarations;
}

class HostClass {
public:
    HostClass(std::string name, std::string parent) : name_(std::move(name)), parentName_(std::move(parent)) {}
    const std::string& name() const { return name_; }
    const std::string& parentName() const { return parentName_; }
    const HostClass* parent() const { return parent_; }
    bool inheritsFrom(const HostClass* other) const;

    HostClass& method(std::string decl, HostFn fn);
    HostClass& constructor(std::string decl, HostFn fn);
    HostClass& property(std::string decl, HostFn getter, HostFn setter = nullptr, bool isDefault = false);
    const std::vector<HostMember>& members() const { return members_; }

private:
    friend class HostTable;
    std::string name_, parentName_;
    const HostClass* parent_ = nullptr;
    std::vector<HostMember> members_;
    HostTable* table_ = nullptr;  // told of every new member
};

struct HostVariable {
    std::string name;
    std::string typeName;
};

class HostTable {
public:
    void function(std::string decl, HostFn fn);
    HostClass& addClass(std::string name, std::string parent);
    // "TDateTime = Double", "TIFException = (erNoError, ...)"
    void type(std::string decl);
    // "MaxInt = 2147483647", "varEmpty: Word = 0" is not supported: constants are typed by value.
    void constant(std::string decl);
    void variable(std::string name, std::string typeName);

    const std::vector<HostFunction>& functions() const { return functions_; }
    const std::vector<std::unique_ptr<HostClass>>& classes() const { return classes_; }
    const std::vector<std::string>& types() const { return types_; }
    const std::vector<std::string>& constants() const { return constants_; }
    const std::vector<HostVariable>& variables() const { return variables_; }
    const HostClass* findClass(std::string_view name) const;
    HostClass* findClass(std::string_view name);

    // Links class parents; call after the last registration.
    void finish();

    // The compiler's reading of this table, made by `declare` at the first compile and again once the table
    // has changed; every compile against the table shares it instead of parsing every declaration anew.
    using Declarations = std::shared_ptr<const detail::HostDeclarations>;
    Declarations declarations(const std::function<Declarations()>& declare) const;

private:
    friend class HostClass;
    void changed() { ++generation_; }
    uint64_t generation_ = 0;
    mutable std::mutex declaredLock_;
    mutable Declarations declared_;
    mutable uint64_t declaredGeneration_ = 0;

    std::vector<HostFunction> functions_;
    std::vector<std::unique_ptr<HostClass>> classes_;
    std::vector<std::string> types_;
    std::vector<std::string> constants_;
    std::vector<HostVariable> variables_;
};

// ASCII upper case (identifiers are matched without regard to ASCII case only).
std::string upperAscii(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace pelo::lang
