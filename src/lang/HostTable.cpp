#include "lang/HostTable.h"

namespace pelo::lang {

std::string upperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return r;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        char x = a[k], y = b[k];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

std::string errorText(ErrorCode code, const std::string& param) {
    switch (code) {
        case ErrorCode::NoError: return "No Error";
        case ErrorCode::CannotImport: return "Cannot Import " + param;
        case ErrorCode::InvalidType: return "Invalid Type";
        case ErrorCode::InternalError: return "Internal error";
        case ErrorCode::InvalidHeader: return "Invalid Header";
        case ErrorCode::InvalidOpcode: return "Invalid Opcode";
        case ErrorCode::InvalidOpcodeParameter: return "Invalid Opcode Parameter";
        case ErrorCode::NoMainProc: return "no Main Proc";
        case ErrorCode::OutOfGlobalVarsRange: return "Out of Global Vars range";
        case ErrorCode::OutOfProcRange: return "Out of Proc Range";
        case ErrorCode::OutOfRange: return "Out Of Range";
        case ErrorCode::OutOfStackRange: return "Out Of Stack Range";
        case ErrorCode::TypeMismatch: return "Type Mismatch";
        case ErrorCode::UnexpectedEof: return "Unexpected End Of File";
        case ErrorCode::VersionError: return "Version error";
        case ErrorCode::DivideByZero: return "divide by Zero";
        case ErrorCode::MathError: return "Math error";
        case ErrorCode::CouldNotCallProc:
            return param.empty() ? "Could not call proc" : "Could not call proc (" + param + ")";
        case ErrorCode::OutOfRecordRange: return "Out of Record Fields Range";
        case ErrorCode::OutOfMemory: return "Out Of Memory";
        case ErrorCode::Exception: return "Exception: " + param;
        case ErrorCode::NullPointerException: return "Null Pointer Exception";
        case ErrorCode::NullVariantError: return "Null variant error";
        case ErrorCode::InterfaceNotSupported: return "Interface not supported";
        case ErrorCode::CustomError: return param;
    }
    return "Unknown error";
}

ScriptObject* CallCtx::self() {
    Value& v = arg(0);
    if (v.tag != Tag::Obj || !v.o || v.o->disposed()) throw ScriptError(ErrorCode::NullPointerException, "");
    return v.o;
}

bool HostClass::inheritsFrom(const HostClass* other) const {
    for (const HostClass* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

HostClass& HostClass::method(std::string decl, HostFn fn) {
    members_.push_back({MemberKind::Method, std::move(decl), std::move(fn), nullptr, false});
    if (table_) table_->changed();
    return *this;
}

HostClass& HostClass::constructor(std::string decl, HostFn fn) {
    members_.push_back({MemberKind::Constructor, std::move(decl), std::move(fn), nullptr, false});
    if (table_) table_->changed();
    return *this;
}

HostClass& HostClass::property(std::string decl, HostFn getter, HostFn setter, bool isDefault) {
    members_.push_back({MemberKind::Property, std::move(decl), std::move(getter), std::move(setter), isDefault});
    if (table_) table_->changed();
    return *this;
}

void HostTable::function(std::string decl, HostFn fn) {
    functions_.push_back({std::move(decl), std::move(fn)});
    changed();
}

HostClass& HostTable::addClass(std::string name, std::string parent) {
    classes_.push_back(std::make_unique<HostClass>(std::move(name), std::move(parent)));
    classes_.back()->table_ = this;
    changed();
    return *classes_.back();
}

void HostTable::type(std::string decl) {
    types_.push_back(std::move(decl));
    changed();
}
void HostTable::constant(std::string decl) {
    constants_.push_back(std::move(decl));
    changed();
}
void HostTable::variable(std::string name, std::string typeName) {
    variables_.push_back({std::move(name), std::move(typeName)});
    changed();
}

HostClass* HostTable::findClass(std::string_view name) {
    return const_cast<HostClass*>(static_cast<const HostTable&>(*this).findClass(name));
}

const HostClass* HostTable::findClass(std::string_view name) const {
    for (const auto& c : classes_)
        if (equalsNoCase(c->name(), name)) return c.get();
    return nullptr;
}

void HostTable::finish() {
    for (auto& c : classes_) c->parent_ = c->parentName_.empty() ? nullptr : findClass(c->parentName_);
    changed();
}

HostTable::Declarations HostTable::declarations(const std::function<Declarations()>& declare) const {
    std::lock_guard<std::mutex> lock(declaredLock_);
    if (!declared_ || declaredGeneration_ != generation_) {
        declared_ = declare();
        declaredGeneration_ = generation_;
    }
    return declared_;
}

}  // namespace pelo::lang
