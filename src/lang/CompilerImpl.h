#pragma once
// The compiler's inside, shared by the files that hold its parts: the symbols, the expression record, the
// procedure context and CompilerImpl itself. The parts are one concern each:
//   CompilerTypes.cpp             the built-in types and type declarations
//   CompilerHostDeclarations.cpp  the host's functions, variables and classes as scripts see them
//   CompilerDeclarations.cpp      programs, routines, constants, variables
//   CompilerExpressions.cpp       conversions, factors, designators, calls
//   CompilerOperators.cpp         unary and binary operators, constant folding
//   CompilerBuiltins.cpp          the built-in routines (Length, Ord, Inc, ...)
//   CompilerStatements.cpp        statements and the code of loops and try blocks
// Nothing outside src/lang includes this file; the compiler's interface is lang/Compiler.h.
#include "lang/Compiler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>

#include "lang/Bytecode.h"
#include "lang/ForeignDeclaration.h"
#include "lang/ForeignSignature.h"
#include "lang/Lexer.h"
#include "lang/Types.h"


namespace pelo::lang::detail {


enum class SK : uint8_t { Const, Type, Global, Local, Proc, HostFunc, Builtin };

enum class Builtin : uint8_t {
    Length, SetLength, High, Low, Inc, Dec, Ord, Chr, Succ, Pred, Assigned, Break, Continue, Exit,
    Include, Exclude, GetArrayLength, SetArrayLength, SizeOf, Halt
};

struct ProcInfo {
    std::string name;
    Sig sig;
    int index = -1;
    bool defined = false;
    int line = 0, col = 0;
};

struct Symbol {
    SK k;
    const Type* type = nullptr;
    Value cval;
    int index = 0;
    bool byRef = false;
    const Sig* sig = nullptr;
    std::string importName;
    Builtin builtin = Builtin::Length;
};

// The binary operators, by precedence level: relational (and in, is), additive, multiplicative.
enum class BinOp : uint8_t { Eq, Ne, Lt, Gt, Le, Ge, In, Is, Add, Sub, Or, Xor, Mul, Slash, Div, Mod, And, Shl, Shr };

enum class EK : uint8_t { NoValue, Const, Stack, Local, LocalRef, Global, RefOnStack, StrCharRef, Property, TypeRef };

struct Ex {
    EK k = EK::NoValue;
    const Type* type = nullptr;
    Value cval;
    int slot = 0;
    int line = 0, col = 0;
    const MemberInfo* prop = nullptr;
    bool isLiteral = false;
    // Ord of a constant Boolean or enumeration value: operators carry it along, and the expression that holds it
    // is refused where it ends, as the reference engine does.
    bool refusedAtEnd = false;
    // The whole expression is a minus before a computed operand: where its code's last instruction (the negation)
    // starts, and the operand's type. An assignment negates in the destination's type instead.
    int64_t negationAt = -1;
    const Type* negatedType = nullptr;
};

struct LoopCtx {
    std::vector<size_t> breaks;     // positions of jump operands to patch to the loop end
    std::vector<size_t> continues;  // ... to the continue point
    int tryDepth;
};

struct WithCtx {
    Ex base;  // record variable (Local/Global/LocalRef) or a hidden local holding an object
    const Type* type;
    std::vector<int32_t> addrCode;  // record reached through a path: code that pushes its address
};

struct ProcCtx {
    Proc* proc = nullptr;
    ProcInfo* info = nullptr;
    std::unordered_map<std::string, Symbol> locals;
    std::vector<int32_t> code;
    std::vector<int32_t> lines;
    int nextSlot = 0;
    int resultSlot = -1;
    std::vector<LoopCtx> loops;
    std::vector<WithCtx> withs;
    int tryDepth = 0;
    std::vector<size_t> exits;
};

// Type of real arithmetic between two numbers, at least one of them real: the left operand's type
// when it is real, else the right one's.
inline TK floatResultKind(TK left, TK right) { return isFloatKind(left) ? left : right; }

// Rounds v to the precision of a real type; false when a finite value does not fit its range.
inline bool roundToFloatType(long double& v, TK k) {
    if (k == TK::Single) {
        float r = static_cast<float>(v);
        if (std::isinf(r) && std::isfinite(v)) return false;
        v = r;
    } else if (k == TK::Double) {
        double r = static_cast<double>(v);
        if (std::isinf(r) && std::isfinite(v)) return false;
        v = r;
    }
    return true;
}

// The types every script knows without declaring them.
struct BuiltinTypes {
    const Type *tU8{}, *tS8{}, *tU16{}, *tS16{}, *tU32{}, *tS32{}, *tS64{}, *tChar{}, *tBool{}, *tSingle{},
        *tDouble{}, *tExtended{}, *tCurrency{}, *tString{}, *tVariant{}, *tNil{}, *tAnyString{}, *tUntyped{},
        *tEmptySet{};
};

// What declaring a host table leaves behind: the built-in and host types, classes and signatures, the scope
// and import catalogue scripts see, and the run-time types and globals every module compiled against the
// table starts with. Made once per table and shared, read-only, by every compile against it: each type's
// run-time index is fixed here, so that no compile writes to it.
struct HostDeclarations {
    std::deque<Type> types;
    std::deque<ClassInfo> classes;
    std::deque<Sig> sigs;
    BuiltinTypes builtins;
    std::unordered_map<std::string, const Type*> baseTypes;
    std::unordered_map<std::string, Symbol> scope;
    ImportCatalog catalog;
    std::unordered_map<std::string, const Type*> importResult;
    std::vector<RtType> rtTypes;
    std::vector<Global> globals;
};

// The declarations of `host`, made at the first call and again after the table changes; throws CompileError
// when one of the table's declarations does not parse.
std::shared_ptr<const HostDeclarations> hostDeclarationsFor(const HostTable& host);

class CompilerImpl : private BuiltinTypes {
public:
    // Declares `host` into `into` (declareHost).
    CompilerImpl(const HostTable& host, HostDeclarations& into)
        : host_(host), lex_(""), hd_(&into), declaring_(&into) {
        initTypes();
    }
    // Compiles against declarations made before.
    CompilerImpl(const HostTable& host, const CompileOptions& opt, std::shared_ptr<const HostDeclarations> declared)
        : BuiltinTypes(declared->builtins), host_(host), opt_(opt), lex_(""), hd_(declared.get()),
          declared_(std::move(declared)) {
        mod_.types = hd_->rtTypes;
        mod_.globals = hd_->globals;
    }

    void declareHost();
    void compileProgram(std::string_view src);
    Module& module() { return mod_; }

private:
    // ---- tokens -----------------------------------------------------------------------------
    void next() {
        prev_ = tok_;
        tok_ = lex_.next();
    }
    [[noreturn]] void fail(const std::string& msg) { throw CompileError(tok_.line, tok_.col, msg); }
    [[noreturn]] void failAt(int l, int c, const std::string& msg) { throw CompileError(l, c, msg); }
    // "Type mismatch", at the current token or at a given place.
    [[noreturn]] void failMismatch() { failMismatchAt(tok_.line, tok_.col); }
    [[noreturn]] void failMismatchAt(int l, int c) {
        throw CompileError(l, c, "Type mismatch", CompileErrorKind::TypeMismatch);
    }
    void expectSym(const char* sym, const char* msg) {
        if (!tok_.is(sym)) fail(msg);
        next();
    }
    void expectKw(const char* kw, const char* msg) {
        if (!tok_.isKw(kw)) fail(msg);
        next();
    }
    std::string expectIdent() {
        if (tok_.kind != Tok::Ident || isReservedWord(tok_.upper)) fail("Identifier expected");
        std::string s = tok_.text;
        next();
        return s;
    }
    bool acceptSym(const char* s) {
        if (tok_.is(s)) {
            next();
            return true;
        }
        return false;
    }
    bool acceptKw(const char* s) {
        if (tok_.isKw(s)) {
            next();
            return true;
        }
        return false;
    }

    // ---- types ------------------------------------------------------------------------------
    // While the host is declared, what is made belongs to its declarations.
    Type* newType(TK k, std::string name = {}) {
        std::deque<Type>& store = declaring_ ? declaring_->types : types_;
        store.push_back(Type{k, std::move(name)});
        return &store.back();
    }
    Sig& newSig(Sig sig = {}) {
        std::deque<Sig>& store = declaring_ ? declaring_->sigs : sigs_;
        store.push_back(std::move(sig));
        return store.back();
    }
    void initTypes();
    const Type* parseType(const std::string& declName = {});
    const Type* findType(const std::string& upper);
    int rtType(const Type* t);
    std::string typeSig(const Type* t);
    std::string sigText(const Sig& s, bool withSelf, const std::string& selfName);
    bool sameSig(const Sig& a, const Sig& b);
    int shapeOf(const Sig& sig);
    bool sameType(const Type* a, const Type* b);
    Width widthOf(const Type* t);

    // ---- declarations -----------------------------------------------------------------------
    void parseParams(Sig& sig);
    void parseHeader(bool isFunction, std::string& name, Sig& sig);
    void parseExternal(const std::string& name, Sig sig);
    ForeignType foreignType(const Type* t);
    void parseConstSection(std::unordered_map<std::string, Symbol>& scope);
    void parseTypeSection(std::unordered_map<std::string, Symbol>& scope);
    void parseVarSection(bool global);
    void parseProcedure(bool isFunction);
    void declareClassName(const HostClass& hc);
    void declareClassMembers(const HostClass& hc);
    ClassInfo* classInfoFor(const HostClass* hc);
    void addImport(const std::string& name, const Sig& sig, bool withSelf, const std::string& selfName,
                   const HostFn* fn);
    int importId(const std::string& name);

    // ---- code -------------------------------------------------------------------------------
    std::vector<int32_t>& code() { return cur_->code; }
    size_t here() { return cur_ ? cur_->code.size() : 0; }
    void emit(Op op) {
        if (!cur_) fail("Constant Value Type Mismatch");
        cur_->code.push_back(static_cast<int32_t>(op));
        cur_->lines.push_back(prev_.line);
    }
    void emit(Op op, int32_t a) {
        emit(op);
        word(a);
    }
    void emit(Op op, int32_t a, int32_t b) {
        emit(op, a);
        word(b);
    }
    void emit(Op op, int32_t a, int32_t b, int32_t c) {
        emit(op, a, b);
        word(c);
    }
    void word(int32_t w) {
        cur_->code.push_back(w);
        cur_->lines.push_back(prev_.line);
    }
    size_t emitJump(Op op) {
        emit(op, 0);
        return here() - 1;
    }
    void patchTo(size_t operandPos, size_t target) {
        code()[operandPos] = static_cast<int32_t>(static_cast<int64_t>(target) - static_cast<int64_t>(operandPos + 1));
    }
    void patchHere(size_t operandPos) { patchTo(operandPos, here()); }
    void emitJumpTo(Op op, size_t target) {
        emit(op, 0);
        patchTo(here() - 1, target);
    }
    void insertCode(size_t at, const std::vector<int32_t>& words) {
        code().insert(code().begin() + static_cast<long>(at), words.begin(), words.end());
        int ln = at < cur_->lines.size() ? cur_->lines[at] : prev_.line;
        cur_->lines.insert(cur_->lines.begin() + static_cast<long>(at), words.size(), ln);
    }
    // Moves code [a, b) to the end.
    void moveToEnd(size_t a, size_t b) {
        std::rotate(code().begin() + static_cast<long>(a), code().begin() + static_cast<long>(b), code().end());
        std::rotate(cur_->lines.begin() + static_cast<long>(a), cur_->lines.begin() + static_cast<long>(b),
                    cur_->lines.end());
    }
    int addConst(const Value& v);
    int newTemp(const Type* t);

    // ---- expressions ------------------------------------------------------------------------
    Ex expression();
    Ex simpleExpression();
    Ex term();
    Ex factor();
    Ex designator(bool allowType);
    Ex identifierExpr(const Token& id);
    Ex selectors(Ex e);
    Ex callProc(const Sig& sig, int procIndex, const std::string& importName, int l, int c, int shape = -1);
    // A var argument that is an element or field (not a whole variable) is passed to script
    // procedures through a temporary and written back after the call, so that the callee can
    // resize or replace the container without leaving a dangling reference.
    struct WriteBack {
        std::vector<int32_t> addrCode;
        int temp;
    };
    void parseArgs(const Sig& sig, std::vector<const Type*>& anyTypes, bool parens,
                   std::vector<WriteBack>* writeBacks = nullptr);
    Ex builtinCall(Builtin b, int l, int c);
    Ex memberAccess(Ex obj, const MemberInfo* m, int l, int c);
    Ex binary(Ex a, BinOp op, size_t mark, Ex b, int l, int c);
    Ex binaryOperation(Ex a, BinOp op, size_t mark, Ex b, int l, int c);
    Ex unaryMinus(Ex a, int l, int c);
    Ex setConstructor();
    void load(Ex& e);
    void address(Ex& e, int l, int c);
    void coerce(Ex& e, const Type* to, int l, int c);
    bool convertConst(Ex& e, const Type* to);
    void emitConstValue(const Type* t, const Value& v);
    void toFloat(Ex& e, size_t mark);
    Ex currencyWithReal(Ex a, BinOp op, size_t mark, Ex b);
    const Type* floatType(TK k) const { return k == TK::Single ? tSingle : k == TK::Double ? tDouble : tExtended; }
    // Code that rounds an extended value on the stack to a Single or Double.
    void emitRounding(TK k) {
        if (k == TK::Single) emit(Op::ToSingle);
        else if (k == TK::Double) emit(Op::ToDouble);
    }
    void toStringValue(Ex& e, size_t mark);
    bool isLvalue(const Ex& e) const {
        return e.k == EK::Local || e.k == EK::LocalRef || e.k == EK::Global || e.k == EK::RefOnStack ||
               e.k == EK::StrCharRef;
    }
    void store(Ex& target, int l, int c);
    const Symbol* lookup(const std::string& upper);

    // ---- statements -------------------------------------------------------------------------
    void block();
    void statementList(const char* terminator1, const char* terminator2 = nullptr);
    void statement();
    void assignmentOrCall();
    void negateInDestinationType(Ex& v, const Type* to);
    void ifStatement();
    void whileStatement();
    void repeatStatement();
    void forStatement();
    void caseStatement();
    void tryStatement();
    void withStatement();
    void emitLeave(int depth, std::vector<size_t>& list);
    void beginProc(ProcInfo* info);
    void endProc();

    // Bounds the recursion of the parser so that absurdly nested input fails to compile instead of
    // exhausting the native stack.
    struct NestingGuard {
        explicit NestingGuard(CompilerImpl& ci) : c(ci) {
            if (++c.nesting_ > 400) c.fail("Syntax error");
        }
        ~NestingGuard() { --c.nesting_; }
        CompilerImpl& c;
    };
    int nesting_ = 0;

    // An argument whose type does not fit its parameter is not reported where it stands: the
    // reference engine checks call arguments only once the statement's expression is complete, so
    // the message points at the token after it (after THEN, DO, OF ... for the statements that
    // carry one). Parsing goes on meanwhile, so a plain syntax or operator error further on still
    // comes first; the code generated after the mismatch is never used.
    bool argMismatch_ = false;
    void noteArgMismatch() { argMismatch_ = true; }
    void reportArgMismatch() {
        if (argMismatch_) {
            argMismatch_ = false;
            failMismatch();
        }
    }
    void coerceArg(Ex& a, const Type* to, int l, int c) {
        if (a.k == EK::TypeRef) failMismatch();
        if (!a.type || a.k == EK::NoValue) {
            noteArgMismatch();
            return;
        }
        try {
            coerce(a, to, l, c);
        } catch (const CompileError& e) {
            if (e.kind != CompileErrorKind::TypeMismatch) throw;
            noteArgMismatch();
        }
    }

    const HostTable& host_;
    CompileOptions opt_;
    Lexer lex_;
    Token tok_, prev_;
    Module mod_;
    const HostDeclarations* hd_;
    HostDeclarations* declaring_ = nullptr;               // only while declaring the host
    std::shared_ptr<const HostDeclarations> declared_;  // keeps hd_ while compiling
    std::deque<Type> types_;
    std::deque<ProcInfo> procs_;
    std::deque<Sig> sigs_;
    std::unordered_map<std::string, Symbol> globals_;
    ProcCtx* cur_ = nullptr;
    std::unique_ptr<ProcCtx> curOwner_;
    std::unordered_map<std::string, int> importIds_;
    // The script's own external functions; the host's are in hd_->catalog.
    ImportCatalog catalog_;
    std::unordered_map<std::string, const Type*> importResult_;
    std::unordered_map<std::string, ForeignTarget> externals_;  // by import name ("DLL:...")
    std::unordered_map<int, int> intConsts_;
};

}  // namespace pelo::lang::detail
