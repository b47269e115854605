#include "lang/Compiler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>

#include "lang/Bytecode.h"
#include "lang/Lexer.h"
#include "lang/Types.h"

namespace pelo::lang {

std::string CompileMessage::toString() const {
    return "[Error] (" + std::to_string(line) + ":" + std::to_string(col) + "): " + text;
}

namespace {

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

enum class EK : uint8_t { NoValue, Const, Stack, Local, LocalRef, Global, RefOnStack, StrCharRef, Property, TypeRef };

struct Ex {
    EK k = EK::NoValue;
    const Type* type = nullptr;
    Value cval;
    int slot = 0;
    int line = 0, col = 0;
    const MemberInfo* prop = nullptr;
    bool isLiteral = false;
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
TK floatResultKind(TK left, TK right) { return isFloatKind(left) ? left : right; }

// Rounds v to the precision of a real type; false when a finite value does not fit its range.
bool roundToFloatType(long double& v, TK k) {
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

class CompilerImpl {
public:
    CompilerImpl(const HostTable& host, const CompileOptions& opt) : host_(host), opt_(opt), lex_("") { initTypes(); }

    void declareHost();
    void compileProgram(std::string_view src);
    Module& module() { return mod_; }
    ImportCatalog catalog() const { return catalog_; }

private:
    // ---- tokens -----------------------------------------------------------------------------
    void next() {
        prev_ = tok_;
        tok_ = lex_.next();
    }
    [[noreturn]] void fail(const std::string& msg) { throw CompileError(tok_.line, tok_.col, msg); }
    [[noreturn]] void failAt(int l, int c, const std::string& msg) { throw CompileError(l, c, msg); }
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
    Type* newType(TK k, std::string name = {}) {
        types_.push_back(Type{k, std::move(name)});
        return &types_.back();
    }
    void initTypes();
    const Type* parseType(const std::string& declName = {});
    const Type* findType(const std::string& upper);
    int rtType(const Type* t);
    std::string typeSig(const Type* t);
    std::string sigText(const Sig& s, bool withSelf, const std::string& selfName);
    bool sameType(const Type* a, const Type* b);
    Width widthOf(const Type* t);

    // ---- declarations -----------------------------------------------------------------------
    void parseParams(Sig& sig);
    void parseHeader(bool isFunction, std::string& name, Sig& sig);
    void parseConstSection(std::unordered_map<std::string, Symbol>& scope);
    void parseTypeSection(std::unordered_map<std::string, Symbol>& scope);
    void parseVarSection(bool global);
    void parseProcedure(bool isFunction);
    void declareClass(const HostClass& hc);
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
    Ex callProc(const Sig& sig, int procIndex, const std::string& importName, int l, int c);
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
    Ex binary(Ex a, const std::string& op, size_t mark, Ex b, int l, int c);
    Ex unaryMinus(Ex a, int l, int c);
    Ex setConstructor();
    void load(Ex& e);
    void address(Ex& e, int l, int c);
    void coerce(Ex& e, const Type* to, int l, int c);
    bool convertConst(Ex& e, const Type* to);
    void emitConstValue(const Type* t, const Value& v);
    void toFloat(Ex& e, size_t mark);
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
            fail("Type mismatch");
        }
    }
    void coerceArg(Ex& a, const Type* to, int l, int c) {
        if (a.k == EK::TypeRef) fail("Type mismatch");
        if (!a.type || a.k == EK::NoValue) {
            noteArgMismatch();
            return;
        }
        try {
            coerce(a, to, l, c);
        } catch (const CompileError& e) {
            if (std::string_view(e.what()) != "Type mismatch") throw;
            noteArgMismatch();
        }
    }

    const HostTable& host_;
    CompileOptions opt_;
    Lexer lex_;
    Token tok_, prev_;
    Module mod_;
    std::deque<Type> types_;
    std::deque<ClassInfo> classes_;
    std::deque<ProcInfo> procs_;
    std::deque<Sig> hostSigs_;
    std::unordered_map<std::string, Symbol> hostScope_, globals_;
    ProcCtx* cur_ = nullptr;
    std::unique_ptr<ProcCtx> curOwner_;
    std::unordered_map<std::string, int> importIds_;
    ImportCatalog catalog_;
    std::unordered_map<std::string, const Type*> importResult_;
    std::unordered_map<int, int> intConsts_;

    const Type *tU8{}, *tS8{}, *tU16{}, *tS16{}, *tU32{}, *tS32{}, *tS64{}, *tChar{}, *tBool{}, *tSingle{},
        *tDouble{}, *tExtended{}, *tCurrency{}, *tString{}, *tVariant{}, *tNil{}, *tAnyString{}, *tUntyped{},
        *tEmptySet{};
    std::unordered_map<std::string, const Type*> baseTypes_;
};

// ============================================================================================
// Types
// ============================================================================================

void CompilerImpl::initTypes() {
    auto base = [&](TK k, const char* name) {
        Type* t = newType(k, name);
        baseTypes_[upperAscii(name)] = t;
        return t;
    };
    tU8 = base(TK::U8, "Byte");
    tS8 = base(TK::S8, "ShortInt");
    tU16 = base(TK::U16, "Word");
    tS16 = base(TK::S16, "SmallInt");
    tU32 = base(TK::U32, "Cardinal");
    baseTypes_["LONGWORD"] = tU32;
    baseTypes_["DWORD"] = tU32;
    tS32 = base(TK::S32, "Integer");
    baseTypes_["LONGINT"] = tS32;
    tS64 = base(TK::S64, "Int64");
    tChar = base(TK::Char, "Char");
    baseTypes_["ANSICHAR"] = tChar;
    baseTypes_["WIDECHAR"] = tChar;
    tBool = base(TK::Bool, "Boolean");
    tSingle = base(TK::Single, "Single");
    tDouble = base(TK::Double, "Double");
    tExtended = base(TK::Extended, "Extended");
    baseTypes_["REAL"] = tDouble;
    tCurrency = base(TK::Currency, "Currency");
    tString = base(TK::String, "String");
    baseTypes_["ANSISTRING"] = tString;
    baseTypes_["WIDESTRING"] = tString;
    baseTypes_["UNICODESTRING"] = tString;
    baseTypes_["PCHAR"] = tString;
    tVariant = base(TK::Variant, "Variant");
    tNil = newType(TK::Nil, "nil");
    tAnyString = newType(TK::AnyString, "AnyString");
    baseTypes_["ANYSTRING"] = tAnyString;
    tUntyped = newType(TK::Untyped, "");
    Type* es = newType(TK::Set, "set");
    es->elem = nullptr;
    tEmptySet = es;
}

const Type* CompilerImpl::findType(const std::string& upper) {
    if (cur_) {
        auto it = cur_->locals.find(upper);
        if (it != cur_->locals.end()) return it->second.k == SK::Type ? it->second.type : nullptr;
    }
    auto g = globals_.find(upper);
    if (g != globals_.end()) return g->second.k == SK::Type ? g->second.type : nullptr;
    auto h = hostScope_.find(upper);
    if (h != hostScope_.end()) return h->second.k == SK::Type ? h->second.type : nullptr;
    auto b = baseTypes_.find(upper);
    return b != baseTypes_.end() ? b->second : nullptr;
}

Width CompilerImpl::widthOf(const Type* t) {
    switch (t->k) {
        case TK::U8: case TK::Char: case TK::Enum: return Width::U8;
        case TK::S8: return Width::S8;
        case TK::U16: return Width::U16;
        case TK::S16: return Width::S16;
        case TK::U32: return Width::U32;
        case TK::S32: return Width::S32;
        case TK::Bool: return Width::Bool;
        default: return Width::I64;
    }
}

const Type* CompilerImpl::parseType(const std::string& declName) {
    int l = tok_.line, c = tok_.col;
    if (tok_.is("(")) {  // enumeration
        next();
        Type* t = newType(TK::Enum, declName);
        std::vector<std::string> names;
        for (;;) {
            int el = tok_.line, ec = tok_.col;
            std::string n = expectIdent();
            std::string u = upperAscii(n);
            auto& scope = cur_ ? cur_->locals : globals_;
            if (scope.count(u)) failAt(el, ec, "Duplicate identifier '" + n + "'");
            Symbol s{SK::Const};
            s.type = t;
            s.cval = Value::ofInt(static_cast<int64_t>(names.size()));
            scope[u] = s;
            names.push_back(u);
            if (acceptSym(",")) continue;
            expectSym(")", "Closing parenthesis expected");
            break;
        }
        t->high = static_cast<int64_t>(names.size()) - 1;
        return t;
    }
    if (tok_.isKw("RECORD")) {
        next();
        Type* t = newType(TK::Record, declName);
        while (!tok_.isKw("END")) {
            std::vector<std::pair<std::string, Token>> names;
            for (;;) {
                Token nt = tok_;
                std::string n = expectIdent();
                names.push_back({upperAscii(n), nt});
                if (!acceptSym(",")) break;
            }
            expectSym(":", "colon (':') expected");
            const Type* ft = parseType();
            for (auto& [u, nt] : names) {
                for (auto& f : t->fields)
                    if (f.upper == u) failAt(nt.line, nt.col, "Duplicate identifier '" + nt.text + "'");
                t->fields.push_back({u, ft});
            }
            if (!acceptSym(";")) break;
        }
        expectKw("END", "'END' expected");
        return t;
    }
    if (tok_.isKw("ARRAY")) {
        next();
        if (acceptSym("[")) {
            std::vector<std::pair<int64_t, int64_t>> dims;
            for (;;) {
                Ex lo = expression();
                if (lo.k != EK::Const || !isOrdinal(lo.type->k)) fail("Type mismatch");
                expectSym("..", "Syntax error");
                Ex hi = expression();
                if (hi.k != EK::Const || !isOrdinal(hi.type->k)) fail("Type mismatch");
                if (hi.cval.i < lo.cval.i || hi.cval.i - lo.cval.i > 10000000) failAt(l, c, "Invalid Type");
                dims.push_back({lo.cval.i, hi.cval.i});
                if (!acceptSym(",")) break;
            }
            expectSym("]", "Closing square bracket (']') expected");
            expectKw("OF", "'OF' expected");
            const Type* elem = parseType();
            for (size_t k = dims.size(); k-- > 0;) {
                Type* t = newType(TK::StaticArray, k == 0 ? declName : std::string());
                t->low = dims[k].first;
                t->high = dims[k].second;
                t->elem = elem;
                elem = t;
            }
            return elem;
        }
        expectKw("OF", "'OF' expected");
        if (tok_.isKw("CONST")) {  // array of const: accepted as array of Variant
            next();
            Type* t = newType(TK::DynArray, declName);
            t->elem = tVariant;
            return t;
        }
        Type* t = newType(TK::DynArray, declName);
        t->elem = parseType();
        return t;
    }
    if (tok_.isKw("SET")) {
        next();
        expectKw("OF", "'OF' expected");
        const Type* e = parseType();
        if (!(e->k == TK::Enum || e->k == TK::Char || e->k == TK::U8 || e->k == TK::Bool))
            fail("Type mismatch");
        Type* t = newType(TK::Set, declName);
        t->elem = e;
        return t;
    }
    if (tok_.kind != Tok::Ident) fail("Identifier expected");
    std::string name = tok_.text;
    const Type* t = findType(tok_.upper);
    if (!t) fail("Unknown type '" + name + "'");
    next();
    if (t->k == TK::String && tok_.is("[")) {  // string[N]: treated as string
        next();
        expression();
        expectSym("]", "Closing square bracket (']') expected");
    }
    return t;
}

int CompilerImpl::rtType(const Type* t) {
    if (t->rt >= 0) return t->rt;
    RtType r;
    switch (t->k) {
        case TK::String: r.kind = RtKind::Str; break;
        case TK::Class: case TK::Nil: r.kind = RtKind::Obj; break;
        case TK::Variant: r.kind = RtKind::Variant; break;
        case TK::Set: r.kind = RtKind::Set; break;
        case TK::DynArray:
            r.kind = RtKind::DynArr;
            r.elem = rtType(t->elem);
            break;
        case TK::StaticArray:
            r.kind = RtKind::StaticArr;
            r.elem = rtType(t->elem);
            r.count = static_cast<int32_t>(t->high - t->low + 1);
            break;
        case TK::Record:
            r.kind = RtKind::Record;
            for (auto& f : t->fields) r.fields.push_back(rtType(f.type));
            break;
        case TK::AnyString: r.kind = RtKind::Str; break;
        default: r.kind = RtKind::Plain; break;
    }
    // Identical run-time shapes share one entry.
    for (size_t k = 0; k < mod_.types.size(); ++k) {
        const RtType& o = mod_.types[k];
        if (o.kind == r.kind && o.elem == r.elem && o.count == r.count && o.fields == r.fields) {
            t->rt = static_cast<int>(k);
            return t->rt;
        }
    }
    mod_.types.push_back(r);
    t->rt = static_cast<int>(mod_.types.size() - 1);
    return t->rt;
}

std::string CompilerImpl::typeSig(const Type* t) {
    if (!t) return "";
    switch (t->k) {
        case TK::U8: return "u8";
        case TK::S8: return "s8";
        case TK::U16: return "u16";
        case TK::S16: return "s16";
        case TK::U32: return "u32";
        case TK::S32: return "s32";
        case TK::S64: return "s64";
        case TK::Char: return "char";
        case TK::Bool: return "bool";
        case TK::Enum: return "enum" + std::to_string(t->high + 1);
        case TK::Single: return "single";
        case TK::Double: case TK::Extended: return "double";
        case TK::Currency: return "cur";
        case TK::String: return "string";
        case TK::Variant: return "variant";
        case TK::Record: {
            std::string s = "rec{";
            for (auto& f : t->fields) s += typeSig(f.type) + ";";
            return s + "}";
        }
        case TK::StaticArray:
            return "arr[" + std::to_string(t->low) + ".." + std::to_string(t->high) + "]" + typeSig(t->elem);
        case TK::DynArray: return "dyn " + typeSig(t->elem);
        case TK::Set: return "set";
        case TK::Class: return "class " + upperAscii(t->name);
        case TK::Nil: return "nil";
        case TK::AnyString: return "anystring";
        case TK::Untyped: return "any";
    }
    return "?";
}

std::string CompilerImpl::sigText(const Sig& s, bool withSelf, const std::string& selfName) {
    std::string r = "(";
    if (withSelf) r += "class " + upperAscii(selfName);
    for (size_t k = 0; k < s.params.size(); ++k) {
        if (k || withSelf) r += ",";
        if (s.params[k].mode == PMode::Var || s.params[k].mode == PMode::Out) r += "var ";
        r += typeSig(s.params[k].type);
    }
    r += ")";
    if (s.result) r += ":" + typeSig(s.result);
    return r;
}

bool CompilerImpl::sameType(const Type* a, const Type* b) {
    if (a == b) return true;
    if (a->k != b->k) return false;
    switch (a->k) {
        case TK::Enum: case TK::Record: return false;
        case TK::Class: return a->cls == b->cls;
        case TK::DynArray: return sameType(a->elem, b->elem);
        case TK::StaticArray: return a->low == b->low && a->high == b->high && sameType(a->elem, b->elem);
        case TK::Set:
            return !a->elem || !b->elem || sameType(a->elem, b->elem) ||
                   (isIntKind(a->elem->k) && isIntKind(b->elem->k));
        default: return true;
    }
}

// ============================================================================================
// Host declarations
// ============================================================================================

ClassInfo* CompilerImpl::classInfoFor(const HostClass* hc) {
    for (auto& c : classes_)
        if (c.host == hc) return &c;
    return nullptr;
}

void CompilerImpl::addImport(const std::string& name, const Sig& sig, bool withSelf, const std::string& selfName,
                             const HostFn* fn) {
    ImportEntry e;
    e.signature = sigText(sig, withSelf, selfName);
    e.fn = fn;
    e.argc = static_cast<int>(sig.params.size()) + (withSelf ? 1 : 0);
    e.hasResult = sig.result != nullptr;
    if (withSelf) e.params.push_back(ImportParam{false, false, RtKind::Obj});
    for (const Param& prm : sig.params) {
        ImportParam ip;
        ip.byRef = prm.mode == PMode::Var || prm.mode == PMode::Out;
        ip.any = prm.type->k == TK::Untyped;
        ip.kind = mod_.types[static_cast<size_t>(rtType(prm.type))].kind;
        e.params.push_back(ip);
    }
    if (sig.result) e.resultKind = mod_.types[static_cast<size_t>(rtType(sig.result))].kind;
    if (withSelf)
        e.self = name.size() > 4 && (name.ends_with(".GET") || name.ends_with(".SET")) ? ImportEntry::Self::Property
                                                                                       : ImportEntry::Self::Method;
    catalog_[name] = e;
    importResult_[name] = sig.result;
}

void CompilerImpl::declareClass(const HostClass& hc) {
    classes_.push_back(ClassInfo{});
    ClassInfo& ci = classes_.back();
    ci.name = hc.name();
    ci.host = &hc;
    const HostClass* parentHc = hc.parent() ? hc.parent() : (hc.parentName().empty() ? nullptr : host_.findClass(hc.parentName()));
    ci.parent = parentHc ? classInfoFor(parentHc) : nullptr;
    Type* t = newType(TK::Class, hc.name());
    t->cls = &ci;
    ci.type = t;
    Symbol s{SK::Type};
    s.type = t;
    hostScope_[upperAscii(hc.name())] = s;
    std::string cu = upperAscii(hc.name());
    for (const HostMember& m : hc.members()) {
        lex_ = Lexer(m.decl);
        next();
        MemberInfo mi;
        mi.kind = m.kind;
        mi.host = &m;
        if (m.kind == MemberKind::Property) {
            expectKw("PROPERTY", "Syntax error");
            std::string n = expectIdent();
            mi.upper = upperAscii(n);
            if (acceptSym("[")) {
                for (;;) {
                    std::vector<std::string> names;
                    for (;;) {
                        names.push_back(expectIdent());
                        if (!acceptSym(",")) break;
                    }
                    expectSym(":", "colon (':') expected");
                    const Type* pt = parseType();
                    for (auto& pn : names) mi.sig.params.push_back({pn, pt, PMode::Value});
                    if (!acceptSym(";")) break;
                }
                expectSym("]", "Closing square bracket (']') expected");
            }
            expectSym(":", "colon (':') expected");
            mi.sig.result = parseType();
            while (tok_.kind == Tok::Ident) {
                if (tok_.isKw("READ")) mi.canRead = true;
                else if (tok_.isKw("WRITE")) mi.canWrite = true;
                next();
            }
            if (!m.fn) mi.canRead = false;
            if (!m.setter) mi.canWrite = false;
            mi.importName = cu + "." + mi.upper + ".GET";
            mi.setterName = cu + "." + mi.upper + ".SET";
            if (mi.canRead) addImport(mi.importName, mi.sig, true, hc.name(), &m.fn);
            if (mi.canWrite) {
                Sig ss = mi.sig;
                ss.params.push_back({"Value", mi.sig.result, PMode::Value});
                ss.result = nullptr;
                addImport(mi.setterName, ss, true, hc.name(), &m.setter);
            }
        } else {
            bool isFunc = tok_.isKw("FUNCTION");
            if (m.kind == MemberKind::Constructor) expectKw("CONSTRUCTOR", "Syntax error");
            else if (!acceptKw("PROCEDURE") && !acceptKw("FUNCTION")) fail("Syntax error");
            std::string n = expectIdent();
            mi.upper = upperAscii(n);
            parseParams(mi.sig);
            if (isFunc) {
                expectSym(":", "colon (':') expected");
                mi.sig.result = parseType();
            }
            if (m.kind == MemberKind::Constructor) mi.sig.result = t;
            mi.importName = cu + "." + mi.upper;
            addImport(mi.importName, mi.sig, m.kind != MemberKind::Constructor, hc.name(), &m.fn);
            mi.canRead = true;
        }
        auto ins = ci.members.insert_or_assign(mi.upper, mi);
        if (m.isDefault) ci.defaultProp = &ins.first->second;
    }
}

void CompilerImpl::declareHost() {
    auto builtin = [&](const char* name, Builtin b) {
        Symbol s{SK::Builtin};
        s.builtin = b;
        hostScope_[name] = s;
    };
    builtin("LENGTH", Builtin::Length);
    builtin("SETLENGTH", Builtin::SetLength);
    builtin("HIGH", Builtin::High);
    builtin("LOW", Builtin::Low);
    builtin("INC", Builtin::Inc);
    builtin("DEC", Builtin::Dec);
    builtin("ORD", Builtin::Ord);
    builtin("CHR", Builtin::Chr);
    builtin("SUCC", Builtin::Succ);
    builtin("PRED", Builtin::Pred);
    builtin("ASSIGNED", Builtin::Assigned);
    builtin("BREAK", Builtin::Break);
    builtin("CONTINUE", Builtin::Continue);
    builtin("EXIT", Builtin::Exit);
    builtin("INCLUDE", Builtin::Include);
    builtin("EXCLUDE", Builtin::Exclude);
    builtin("GETARRAYLENGTH", Builtin::GetArrayLength);
    builtin("SETARRAYLENGTH", Builtin::SetArrayLength);
    builtin("SIZEOF", Builtin::SizeOf);
    builtin("HALT", Builtin::Halt);
    {
        Symbol t{SK::Const};
        t.type = tBool;
        t.cval = Value::ofInt(1);
        hostScope_["TRUE"] = t;
        t.cval = Value::ofInt(0);
        hostScope_["FALSE"] = t;
        Symbol mi{SK::Const};
        mi.type = tS32;
        mi.cval = Value::ofInt(2147483647);
        hostScope_["MAXINT"] = mi;
    }
    for (const std::string& d : host_.types()) {
        lex_ = Lexer(d);
        next();
        std::string n = expectIdent();
        expectSym("=", "is ('=') expected");
        const Type* t = parseType(n);
        // Enumeration names land in globals_ while declaring: move them to the host scope.
        for (auto it = globals_.begin(); it != globals_.end();) {
            hostScope_[it->first] = it->second;
            it = globals_.erase(it);
        }
        Symbol s{SK::Type};
        s.type = t;
        hostScope_[upperAscii(n)] = s;
    }
    for (const std::string& d : host_.constants()) {
        lex_ = Lexer(d);
        next();
        std::string n = expectIdent();
        expectSym("=", "is ('=') expected");
        Ex e = expression();
        if (e.k != EK::Const) fail("Constant Value Type Mismatch");
        Symbol s{SK::Const};
        s.type = e.type;
        s.cval = e.cval;
        hostScope_[upperAscii(n)] = s;
    }
    for (const auto& hc : host_.classes()) declareClass(*hc);
    for (const HostFunction& f : host_.functions()) {
        lex_ = Lexer(f.decl);
        next();
        bool isFunc = tok_.isKw("FUNCTION");
        if (!acceptKw("PROCEDURE") && !acceptKw("FUNCTION")) fail("Syntax error");
        std::string n = expectIdent();
        hostSigs_.push_back(Sig{});
        Sig& sig = hostSigs_.back();
        parseParams(sig);
        if (isFunc) {
            expectSym(":", "colon (':') expected");
            sig.result = parseType();
        }
        Symbol s{SK::HostFunc};
        s.sig = &sig;
        s.importName = upperAscii(n);
        hostScope_[s.importName] = s;
        addImport(s.importName, sig, false, "", &f.fn);
    }
    for (const HostVariable& v : host_.variables()) {
        const Type* t = findType(upperAscii(v.typeName));
        if (!t) throw CompileError(0, 0, "Unknown type '" + v.typeName + "'");
        Symbol s{SK::Global};
        s.type = t;
        s.index = static_cast<int>(mod_.globals.size());
        mod_.globals.push_back({upperAscii(v.name), rtType(t)});
        hostScope_[upperAscii(v.name)] = s;
    }
}

int CompilerImpl::importId(const std::string& name) {
    auto it = importIds_.find(name);
    if (it != importIds_.end()) return it->second;
    auto c = catalog_.find(name);
    Import imp;
    imp.name = name;
    imp.signature = c->second.signature;
    imp.argc = c->second.argc;
    imp.hasResult = c->second.hasResult;
    const Type* rt = importResult_[name];
    imp.resultType = rt ? rtType(rt) : -1;
    mod_.imports.push_back(imp);
    int id = static_cast<int>(mod_.imports.size() - 1);
    importIds_[name] = id;
    return id;
}

// ============================================================================================
// Declarations
// ============================================================================================

void CompilerImpl::parseParams(Sig& sig) {
    if (!acceptSym("(")) return;
    if (acceptSym(")")) return;
    for (;;) {
        PMode mode = PMode::Value;
        if (acceptKw("VAR")) mode = PMode::Var;
        else if (acceptKw("CONST")) mode = PMode::Const;
        else if (acceptKw("OUT")) mode = PMode::Out;
        std::vector<std::string> names;
        for (;;) {
            names.push_back(expectIdent());
            if (!acceptSym(",")) break;
        }
        const Type* t = tUntyped;
        if (acceptSym(":")) {
            if (tok_.isKw("ARRAY")) {
                next();
                expectKw("OF", "'OF' expected");
                Type* at = newType(TK::DynArray);
                if (acceptKw("CONST")) at->elem = tVariant;
                else at->elem = parseType();
                t = at;
            } else {
                t = parseType();
            }
        } else if (mode == PMode::Value) {
            fail("colon (':') expected");
        }
        for (auto& n : names) sig.params.push_back({n, t, mode});
        if (acceptSym(";")) continue;
        expectSym(")", "Closing parenthesis expected");
        break;
    }
}

void CompilerImpl::parseConstSection(std::unordered_map<std::string, Symbol>& scope) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        Token nt = tok_;
        std::string n = expectIdent();
        std::string u = upperAscii(n);
        if (scope.count(u)) failAt(nt.line, nt.col, "Duplicate identifier '" + n + "'");
        if (tok_.is(":")) fail("is ('=') expected");  // typed constants are not supported
        expectSym("=", "is ('=') expected");
        int l = tok_.line, c = tok_.col;
        Ex e = expression();
        if (e.k != EK::Const) failAt(l, c, "Constant Value Type Mismatch");
        Symbol s{SK::Const};
        s.type = e.type;
        s.cval = e.cval;
        scope[u] = s;
        expectSym(";", "Semicolon (';') expected");
    }
}

void CompilerImpl::parseTypeSection(std::unordered_map<std::string, Symbol>& scope) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        Token nt = tok_;
        std::string n = expectIdent();
        std::string u = upperAscii(n);
        if (scope.count(u)) failAt(nt.line, nt.col, "Duplicate identifier '" + n + "'");
        expectSym("=", "is ('=') expected");
        const Type* t = parseType(n);
        Symbol s{SK::Type};
        s.type = t;
        scope[u] = s;
        expectSym(";", "Semicolon (';') expected");
    }
}

void CompilerImpl::parseVarSection(bool global) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        std::vector<Token> names;
        for (;;) {
            names.push_back(tok_);
            expectIdent();
            if (!acceptSym(",")) break;
        }
        expectSym(":", "colon (':') expected");
        const Type* t = parseType();
        if (tok_.is("=")) fail("Semicolon (';') expected");
        for (const Token& nt : names) {
            Symbol s{global ? SK::Global : SK::Local};
            s.type = t;
            auto& scope = global ? globals_ : cur_->locals;
            if (scope.count(nt.upper)) failAt(nt.line, nt.col, "Duplicate identifier '" + nt.text + "'");
            if (global) {
                s.index = static_cast<int>(mod_.globals.size());
                mod_.globals.push_back({nt.upper, rtType(t)});
            } else {
                s.index = newTemp(t);
            }
            scope[nt.upper] = s;
        }
        expectSym(";", "Semicolon (';') expected");
    }
}

int CompilerImpl::newTemp(const Type* t) {
    cur_->proc->localTypes.push_back(rtType(t));
    return cur_->nextSlot++;
}

void CompilerImpl::parseHeader(bool isFunction, std::string& name, Sig& sig) {
    name = expectIdent();
    parseParams(sig);
    if (isFunction) {
        expectSym(":", "colon (':') expected");
        sig.result = parseType();
    }
    expectSym(";", "Semicolon (';') expected");
}

void CompilerImpl::beginProc(ProcInfo* info) {
    Proc& p = mod_.procs[static_cast<size_t>(info->index)];
    curOwner_ = std::make_unique<ProcCtx>();
    cur_ = curOwner_.get();
    cur_->proc = &p;
    cur_->info = info;
    p.params.clear();
    p.localTypes.clear();
    for (auto& prm : info->sig.params) {
        bool byRef = prm.mode == PMode::Var || prm.mode == PMode::Out;
        // A var parameter records the type of the variable it refers to; an untyped one has none.
        const int32_t type = prm.type->k == TK::Untyped ? -1 : rtType(prm.type);
        p.params.push_back({type, byRef, typeSig(prm.type)});
        Symbol s{SK::Local};
        s.type = prm.type;
        s.byRef = byRef;
        s.index = cur_->nextSlot++;
        cur_->locals[upperAscii(prm.name)] = s;
    }
    if (info->sig.result) {
        p.hasResult = true;
        p.resultType = rtType(info->sig.result);
        p.resultSig = typeSig(info->sig.result);
        cur_->resultSlot = cur_->nextSlot++;
        Symbol s{SK::Local};
        s.type = info->sig.result;
        s.index = cur_->resultSlot;
        cur_->locals["RESULT"] = s;
    }
}

void CompilerImpl::endProc() {
    for (size_t pos : cur_->exits) patchHere(pos);
    emit(Op::Ret);
    Proc& p = *cur_->proc;
    p.code = std::move(cur_->code);
    p.lines.clear();
    for (size_t k = 0; k < cur_->lines.size(); ++k)
        if (p.lines.empty() || p.lines.back().line != cur_->lines[k])
            p.lines.push_back({static_cast<int32_t>(k), cur_->lines[k]});
    curOwner_.reset();
    cur_ = nullptr;
}

void CompilerImpl::parseProcedure(bool isFunction) {
    Token kwTok = tok_;
    next();
    Token nameTok = tok_;
    std::string name;
    Sig sig;
    parseHeader(isFunction, name, sig);
    std::string u = upperAscii(name);
    ProcInfo* info = nullptr;
    auto it = globals_.find(u);
    if (it != globals_.end()) {
        if (it->second.k != SK::Proc) failAt(nameTok.line, nameTok.col, "Duplicate identifier '" + name + "'");
        info = &procs_[static_cast<size_t>(it->second.index)];
        if (info->defined) failAt(nameTok.line, nameTok.col, "Duplicate identifier '" + name + "'");
        bool match = info->sig.params.size() == sig.params.size() &&
                     ((info->sig.result == nullptr) == (sig.result == nullptr)) &&
                     (!sig.result || sameType(sig.result, info->sig.result));
        for (size_t k = 0; match && k < sig.params.size(); ++k)
            match = sameType(sig.params[k].type, info->sig.params[k].type) &&
                    (sig.params[k].mode == PMode::Var) == (info->sig.params[k].mode == PMode::Var);
        if (!match) failAt(nameTok.line, nameTok.col, "Forward Parameter Mismatch");
        info->sig = sig;
    } else {
        procs_.push_back(ProcInfo{});
        info = &procs_.back();
        info->name = name;
        info->sig = sig;
        info->line = kwTok.line;
        info->col = kwTok.col;
        info->index = static_cast<int>(mod_.procs.size());
        mod_.procs.push_back(Proc{});
        mod_.procs.back().name = u;
        Symbol s{SK::Proc};
        s.index = static_cast<int>(procs_.size() - 1);
        s.sig = &info->sig;
        globals_[u] = s;
    }
    if (tok_.isKw("FORWARD")) {
        next();
        expectSym(";", "Semicolon (';') expected");
        return;
    }
    if (tok_.isKw("EXTERNAL")) fail("Syntax error");
    info->defined = true;
    beginProc(info);
    for (;;) {
        if (acceptKw("VAR")) parseVarSection(false);
        else if (acceptKw("CONST")) parseConstSection(cur_->locals);
        else if (acceptKw("TYPE")) parseTypeSection(cur_->locals);
        else break;
    }
    if (!tok_.isKw("BEGIN")) fail("'BEGIN' expected");
    next();
    statementList("END");
    expectKw("END", "'END' expected");
    expectSym(";", "Semicolon (';') expected");
    endProc();
}

void CompilerImpl::compileProgram(std::string_view src) {
    lex_ = Lexer(src);
    next();
    if (tok_.isKw("PROGRAM")) {
        next();
        expectIdent();
        expectSym(";", "Semicolon (';') expected");
    }
    if (tok_.isKw("USES")) {
        next();
        for (;;) {
            Token u = tok_;
            expectIdent();
            if (u.upper != "SYSTEM") failAt(u.line, u.col, "Unknown identifier '" + u.upper + "'");
            if (!acceptSym(",")) break;
        }
        expectSym(";", "Semicolon (';') expected");
    }
    for (;;) {
        if (acceptKw("VAR")) parseVarSection(true);
        else if (acceptKw("CONST")) parseConstSection(globals_);
        else if (acceptKw("TYPE")) parseTypeSection(globals_);
        else if (tok_.isKw("PROCEDURE")) parseProcedure(false);
        else if (tok_.isKw("FUNCTION")) parseProcedure(true);
        else break;
    }
    for (auto& p : procs_)
        if (!p.defined) failAt(p.line, p.col, "Unsatisfied Forward " + upperAscii(p.name));
    if (tok_.kind == Tok::Eof) fail("'BEGIN' expected");
    if (!tok_.isKw("BEGIN")) fail("'BEGIN' expected");
    next();
    procs_.push_back(ProcInfo{});
    ProcInfo* mainInfo = &procs_.back();
    mainInfo->name = "!MAIN";
    mainInfo->index = static_cast<int>(mod_.procs.size());
    mainInfo->defined = true;
    mod_.procs.push_back(Proc{});
    mod_.procs.back().name = "!MAIN";
    mod_.mainProc = mainInfo->index;
    beginProc(mainInfo);
    statementList("END");
    expectKw("END", "'END' expected");
    reportArgMismatch();
    if (!tok_.is(".")) fail("period ('.') expected");
    endProc();
}

// ============================================================================================
// Expressions
// ============================================================================================

int CompilerImpl::addConst(const Value& v) {
    for (size_t k = 0; k < mod_.constants.size(); ++k) {
        const Value& c = mod_.constants[k];
        if (c.tag == v.tag && (v.tag == Tag::Str ? c.str() == v.str() : c.i == v.i && c.xhi == v.xhi))
            return static_cast<int>(k);
    }
    mod_.constants.push_back(v);
    return static_cast<int>(mod_.constants.size() - 1);
}

void CompilerImpl::emitConstValue(const Type* t, const Value& v) {
    if (t->k == TK::String) {
        emit(Op::PushConst, addConst(v.tag == Tag::Str ? v : Value::emptyStr()));
    } else if (t->k == TK::Nil) {
        emit(Op::PushDefault, rtType(tNil));
    } else if (t->k == TK::Set) {
        // constant sets are built at run time from their elements
        std::vector<int> elems;
        int n = 0;
        if (v.tag == Tag::Set && v.set)
            for (int b = 0; b < 256; ++b)
                if (v.set->bits[b >> 6] >> (b & 63) & 1) {
                    emit(Op::PushInt, b);
                    ++n;
                }
        emit(Op::SetBuild, n);
    } else if (isFloatKind(t->k) || !(v.i >= INT32_MIN && v.i <= INT32_MAX)) {
        Value c = v;
        c.tag = Tag::Plain;
        emit(Op::PushConst, addConst(c));
    } else {
        emit(Op::PushInt, static_cast<int32_t>(v.i));
    }
}

void CompilerImpl::load(Ex& e) {
    switch (e.k) {
        case EK::Const: emitConstValue(e.type, e.cval); break;
        case EK::Local: emit(Op::LoadL, e.slot); break;
        case EK::LocalRef: emit(Op::LoadLRef, e.slot); break;
        case EK::Global: emit(Op::LoadG, e.slot); break;
        case EK::RefOnStack: emit(Op::LoadRef); break;
        case EK::StrCharRef: emit(Op::StrIndexRef); break;
        case EK::Property:
            if (!e.prop->canRead) failAt(e.line, e.col, "Write-only property");
            emit(Op::CallHost, importId(e.prop->importName));
            break;
        case EK::Stack: break;
        case EK::NoValue: fail("Type mismatch");
        case EK::TypeRef: fail("Type mismatch");
    }
    e.k = EK::Stack;
}

void CompilerImpl::address(Ex& e, int l, int c) {
    switch (e.k) {
        case EK::Local: emit(Op::AddrL, e.slot); break;
        case EK::LocalRef: emit(Op::LoadL, e.slot); break;
        case EK::Global: emit(Op::AddrG, e.slot); break;
        case EK::RefOnStack: break;
        default: failAt(l, c, "Variable Expected");
    }
    e.k = EK::RefOnStack;
}

bool CompilerImpl::convertConst(Ex& e, const Type* to) {
    const Type* from = e.type;
    if (sameType(from, to) && from->k != TK::Record) {
        e.type = to;
        return true;
    }
    if (isIntKind(from->k) && isIntKind(to->k)) {
        e.cval.i = wrapTo(e.cval.i, static_cast<int32_t>(widthOf(to)));
    } else if ((isIntKind(from->k) || isFloatKind(from->k)) && isFloatKind(to->k)) {
        long double v = isIntKind(from->k) ? static_cast<long double>(e.cval.i) : e.cval.f();
        // A constant beyond the target's range is left to the conversion at run time, which raises
        // the overflow there.
        if (!roundToFloatType(v, to->k)) return false;
        e.cval = Value::ofFloat(v);
    } else if (isIntKind(from->k) && to->k == TK::Currency) {
        e.cval.i = e.cval.i * 10000;
    } else if (isFloatKind(from->k) && to->k == TK::Currency) {
        long double scaled = from->k == TK::Extended ? e.cval.f() * 10000.0L
                                                     : static_cast<long double>(static_cast<double>(e.cval.f()) * 10000.0);
        if (!(std::fabs(scaled) < 9.2e18L)) return false;
        e.cval = Value::ofInt(static_cast<int64_t>(std::nearbyintl(scaled)));
    } else if (from->k == TK::Char && (to->k == TK::String || to->k == TK::AnyString)) {
        e.cval = strFromChar(static_cast<uint8_t>(e.cval.i));
    } else if (from->k == TK::Set && to->k == TK::Set && !from->elem) {
    } else {
        return false;
    }
    e.type = to;
    return true;
}

void CompilerImpl::coerce(Ex& e, const Type* to, int /*line*/, int /*col*/) {
    if (e.k == EK::NoValue || e.k == EK::TypeRef) fail("Type mismatch");
    if (to->k == TK::Untyped) {
        load(e);
        return;
    }
    const Type* from = e.type;
    if (e.k == EK::Const && convertConst(e, to)) {
        load(e);
        return;
    }
    load(e);
    if (sameType(from, to)) return;
    if (isIntKind(from->k) && isIntKind(to->k)) {
        if (widthOf(to) != Width::I64 && widthOf(to) != widthOf(from)) emit(Op::Wrap, static_cast<int32_t>(widthOf(to)));
    } else if (isIntKind(from->k) && isFloatKind(to->k)) {
        emit(Op::IntToFloat);
        // only 64-bit integers can hold more digits than a Double
        if (to->k == TK::Single || (to->k == TK::Double && from->k == TK::S64)) emitRounding(to->k);
    } else if (isFloatKind(from->k) && isFloatKind(to->k)) {
        if (to->k == TK::Single ? from->k != TK::Single : to->k == TK::Double && from->k == TK::Extended)
            emitRounding(to->k);
    } else if (isIntKind(from->k) && to->k == TK::Currency) {
        emit(Op::IntToCur);
    } else if (isFloatKind(from->k) && to->k == TK::Currency) {
        // a Double is scaled in double precision, an Extended at its own
        emit(from->k == TK::Extended ? Op::FloatToCur : Op::DoubleToCur);
    } else if (from->k == TK::Currency && isFloatKind(to->k)) {
        emit(Op::CurToFloat);
        emitRounding(to->k);
    } else if (from->k == TK::Char && (to->k == TK::String || to->k == TK::AnyString)) {
        emit(Op::CharToStr);
    } else if (from->k == TK::AnyString && to->k == TK::String) {
    } else if (from->k == TK::Nil && (to->k == TK::Class || to->k == TK::DynArray)) {
        emit(Op::Pop);
        emit(Op::PushDefault, rtType(to));
    } else if (from->k == TK::Class && to->k == TK::Class && from->cls->inheritsFrom(to->cls)) {
    } else if (to->k == TK::Variant) {
        VarType vt;
        if (isIntKind(from->k) || from->k == TK::Enum) vt = VarType::Int;
        else if (isFloatKind(from->k)) vt = VarType::Float;
        else if (from->k == TK::Bool) vt = VarType::Bool;
        else if (from->k == TK::Char) {
            emit(Op::CharToStr);  // a variant holds a one-character string
            vt = VarType::String;
        } else if (from->k == TK::String) vt = VarType::String;
        else if (from->k == TK::Currency) vt = VarType::Currency;
        else if (from->k == TK::Class || from->k == TK::Nil) vt = VarType::Object;
        else fail("Type mismatch");
        emit(Op::ToVariant, static_cast<int32_t>(vt));
    } else if (from->k == TK::Variant) {
        VarType vt;
        if (isIntKind(to->k) || to->k == TK::Enum) vt = VarType::Int;
        else if (isFloatKind(to->k)) vt = VarType::Float;
        else if (to->k == TK::Bool) vt = VarType::Bool;
        else if (to->k == TK::Char) vt = VarType::Char;
        else if (to->k == TK::String) vt = VarType::String;
        else if (to->k == TK::Currency) vt = VarType::Currency;
        else fail("Type mismatch");
        emit(Op::FromVariant, static_cast<int32_t>(vt));
        if (isIntKind(to->k) && widthOf(to) != Width::I64) emit(Op::Wrap, static_cast<int32_t>(widthOf(to)));
        if (to->k == TK::Single) emitRounding(to->k);  // a variant holds a Double
    } else {
        fail("Type mismatch");
    }
}

const Symbol* CompilerImpl::lookup(const std::string& upper) {
    if (cur_) {
        auto it = cur_->locals.find(upper);
        if (it != cur_->locals.end()) return &it->second;
    }
    auto g = globals_.find(upper);
    if (g != globals_.end()) return &g->second;
    auto h = hostScope_.find(upper);
    if (h != hostScope_.end()) return &h->second;
    return nullptr;
}

Ex CompilerImpl::expression() {
    NestingGuard guard(*this);
    int l = tok_.line, c = tok_.col;
    Ex a = simpleExpression();
    static const char* const rel[] = {"=", "<>", "<", ">", "<=", ">="};
    for (;;) {
        std::string op;
        if (tok_.kind == Tok::Sym) {
            for (const char* r : rel)
                if (tok_.text == r) op = r;
        } else if (tok_.isKw("IN")) {
            op = "IN";
        } else if (tok_.isKw("IS")) {
            op = "IS";
        }
        if (op.empty()) return a;
        next();
        if (a.k != EK::Const) load(a);
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = simpleExpression();
        a = binary(std::move(a), op, mark, std::move(b), rl, rc);
        (void)l;
        (void)c;
    }
}

Ex CompilerImpl::simpleExpression() {
    int l = tok_.line, c = tok_.col;
    Ex a;
    if (tok_.is("-")) {
        next();
        a = term();
        a = unaryMinus(std::move(a), l, c);
    } else if (tok_.is("+")) {
        next();
        a = term();
    } else {
        a = term();
    }
    for (;;) {
        std::string op;
        if (tok_.is("+") || tok_.is("-")) op = tok_.text;
        else if (tok_.isKw("OR")) op = "OR";
        else if (tok_.isKw("XOR")) op = "XOR";
        if (op.empty()) return a;
        next();
        if (a.k != EK::Const) load(a);
        if (op == "OR" && opt_.shortCircuit && a.type->k == TK::Bool) {
            if (a.k == EK::Const) load(a);
            emit(Op::Dup);
            size_t j = emitJump(Op::JmpT);
            emit(Op::Pop);
            Ex b = term();
            if (b.type == nullptr || b.type->k != TK::Bool) fail("Type mismatch");
            load(b);
            patchHere(j);
            a.k = EK::Stack;
            continue;
        }
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = term();
        a = binary(std::move(a), op, mark, std::move(b), rl, rc);
    }
}

Ex CompilerImpl::term() {
    Ex a = factor();
    for (;;) {
        std::string op;
        if (tok_.is("*") || tok_.is("/")) op = tok_.text;
        else if (tok_.isKw("DIV") || tok_.isKw("MOD") || tok_.isKw("AND") || tok_.isKw("SHL") || tok_.isKw("SHR"))
            op = tok_.upper;
        if (op.empty()) return a;
        next();
        if (a.k != EK::Const) load(a);
        if (op == "AND" && opt_.shortCircuit && a.type && a.type->k == TK::Bool) {
            if (a.k == EK::Const) load(a);
            emit(Op::Dup);
            size_t j = emitJump(Op::JmpF);
            emit(Op::Pop);
            Ex b = factor();
            if (b.type == nullptr || b.type->k != TK::Bool) fail("Type mismatch");
            load(b);
            patchHere(j);
            a.k = EK::Stack;
            continue;
        }
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = factor();
        a = binary(std::move(a), op, mark, std::move(b), rl, rc);
    }
}

Ex CompilerImpl::unaryMinus(Ex a, int /*line*/, int /*col*/) {
    if (!a.type) fail("Type mismatch");
    if (a.k == EK::Const) {
        if (isIntKind(a.type->k)) {
            a.cval.i = -a.cval.i;
            if (a.type->k == TK::S32 && (a.cval.i < INT32_MIN || a.cval.i > INT32_MAX)) a.type = tS64;
            return a;
        }
        if (isFloatKind(a.type->k)) {
            a.cval.setFloat(-a.cval.f());
            return a;
        }
        if (a.type->k == TK::Currency) {
            a.cval.i = -a.cval.i;
            return a;
        }
        fail("Type mismatch");
    }
    load(a);
    if (isIntKind(a.type->k)) emit(Op::NegI, static_cast<int32_t>(widthOf(a.type)));
    else if (isFloatKind(a.type->k)) emit(Op::NegF);
    else if (a.type->k == TK::Currency) emit(Op::NegI, 0);
    else fail("Type mismatch");
    return a;
}

Ex CompilerImpl::factor() {
    int l = tok_.line, c = tok_.col;
    Ex e;
    e.line = l;
    e.col = c;
    if (tok_.kind == Tok::Int) {
        e.k = EK::Const;
        e.cval = Value::ofInt(tok_.ival);
        e.type = (tok_.ival >= INT32_MIN && tok_.ival <= INT32_MAX) ? tS32 : tS64;
        e.isLiteral = true;
        next();
        return e;
    }
    if (tok_.kind == Tok::Float) {
        e.k = EK::Const;
        e.cval = Value::ofFloat(tok_.lval);
        e.type = tExtended;
        e.isLiteral = true;
        next();
        return e;
    }
    if (tok_.kind == Tok::String) {
        e.k = EK::Const;
        e.isLiteral = true;
        if (tok_.text.size() == 1) {
            e.type = tChar;
            e.cval = Value::ofInt(static_cast<uint8_t>(tok_.text[0]));
        } else {
            e.type = tString;
            e.cval = Value::ofStr(tok_.text);
        }
        next();
        return e;
    }
    if (tok_.is("(")) {
        next();
        e = expression();
        expectSym(")", "Closing parenthesis expected");
        e.isLiteral = false;
        if (e.k != EK::Const && e.k != EK::Stack && e.k != EK::NoValue && e.k != EK::TypeRef) load(e);
        return selectors(std::move(e));
    }
    if (tok_.is("[")) return setConstructor();
    if (tok_.isKw("NOT")) {
        next();
        Ex a = factor();
        if (!a.type) fail("Type mismatch");
        if (a.k == EK::Const) {
            if (a.type->k == TK::Bool) {
                a.cval.i = a.cval.i ? 0 : 1;
                return a;
            }
            if (isIntKind(a.type->k)) {
                a.cval.i = wrapTo(~a.cval.i, static_cast<int32_t>(widthOf(a.type)));
                return a;
            }
            fail("Type mismatch");
        }
        load(a);
        if (a.type->k == TK::Bool) emit(Op::NotB);
        else if (isIntKind(a.type->k)) emit(Op::NotI, static_cast<int32_t>(widthOf(a.type)));
        else if (a.type->k == TK::Variant) {
            emit(Op::FromVariant, static_cast<int32_t>(VarType::Bool));
            emit(Op::NotB);
            a.type = tBool;
        } else fail("Type mismatch");
        return a;
    }
    if (tok_.is("-")) {  // "-" inside a factor (e.g. after "*")
        next();
        Ex a = factor();
        return unaryMinus(std::move(a), l, c);
    }
    if (tok_.isKw("NIL")) {
        next();
        e.k = EK::Const;
        e.type = tNil;
        return e;
    }
    if (tok_.is("@")) fail("Syntax error");
    if (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) return designator(false);
    if (tok_.kind == Tok::Eof) fail("Unexpected end of file");
    fail("Syntax error");
}

Ex CompilerImpl::setConstructor() {
    int l = tok_.line, c = tok_.col;
    next();
    Ex e;
    e.line = l;
    e.col = c;
    std::vector<Ex> elems;
    const Type* elemType = nullptr;
    bool allConst = true;
    size_t start = here();
    if (!tok_.is("]")) {
        for (;;) {
            Ex x = expression();
            if (!x.type || !(x.type->k == TK::Enum || x.type->k == TK::Char || isIntKind(x.type->k) || x.type->k == TK::Bool))
                fail("Type mismatch");
            if (tok_.is("..")) fail("Closing square bracket (']') expected");  // no set ranges in this dialect
            if (!elemType) elemType = x.type;
            if (x.k != EK::Const) allConst = false;
            load(x);
            elems.push_back(std::move(x));
            if (!acceptSym(",")) break;
        }
    }
    expectSym("]", "Closing square bracket (']') expected");
    Type* st = newType(TK::Set);
    st->elem = elemType;
    e.type = st;
    if (allConst) {
        // Drop the pushes and keep a constant set.
        code().resize(start);
        cur_->lines.resize(start);
        e.k = EK::Const;
        e.cval.tag = Tag::Set;
        e.cval.set = new SetRep{1, {0, 0, 0, 0}};
        for (auto& x : elems) {
            int64_t v = x.cval.i;
            if (v >= 0 && v < 256) e.cval.set->bits[v >> 6] |= 1ull << (v & 63);
        }
        return e;
    }
    emit(Op::SetBuild, static_cast<int32_t>(elems.size()));
    e.k = EK::Stack;
    return e;
}

Ex CompilerImpl::designator(bool allowType) {
    Token id = tok_;
    next();
    Ex e = identifierExpr(id);
    e = selectors(std::move(e));
    if (e.k == EK::TypeRef && !allowType) {
        // a bare type name in an expression
        failAt(id.line, id.col, "Type mismatch");
    }
    return e;
}

Ex CompilerImpl::identifierExpr(const Token& id) {
    Ex e;
    e.line = id.line;
    e.col = id.col;
    // with-scopes first, innermost last in the list
    if (cur_) {
        for (size_t w = cur_->withs.size(); w-- > 0;) {
            WithCtx& wc = cur_->withs[w];
            if (wc.type->k == TK::Record) {
                for (size_t k = 0; k < wc.type->fields.size(); ++k) {
                    if (wc.type->fields[k].upper == id.upper) {
                        Ex base = wc.base;
                        if (!wc.addrCode.empty()) {
                            for (int32_t cw : wc.addrCode) word(cw);
                            base.k = EK::RefOnStack;
                        }
                        address(base, id.line, id.col);
                        emit(Op::AddrField, static_cast<int32_t>(k));
                        e.k = EK::RefOnStack;
                        e.type = wc.type->fields[k].type;
                        return e;
                    }
                }
            } else if (wc.type->k == TK::Class) {
                if (const MemberInfo* m = wc.type->cls->find(id.upper)) {
                    Ex base = wc.base;
                    load(base);
                    base.type = wc.type;
                    return memberAccess(std::move(base), m, id.line, id.col);
                }
            }
        }
    }
    const Symbol* s = lookup(id.upper);
    if (!s) {
        // The built-in types are no symbols, yet their names make casts: Double(i) / j, Integer(c).
        auto b = baseTypes_.find(id.upper);
        if (b != baseTypes_.end() && b->second->k != TK::AnyString) {
            e.k = EK::TypeRef;
            e.type = b->second;
            return e;
        }
        failAt(id.line, id.col, "Unknown identifier '" + id.text + "'");
    }
    switch (s->k) {
        case SK::Const:
            e.k = EK::Const;
            e.type = s->type;
            e.cval = s->cval;
            return e;
        case SK::Type:
            e.k = EK::TypeRef;
            e.type = s->type;
            return e;
        case SK::Global:
            e.k = EK::Global;
            e.slot = s->index;
            e.type = s->type;
            return e;
        case SK::Local:
            e.k = s->byRef ? EK::LocalRef : EK::Local;
            e.slot = s->index;
            e.type = s->type;
            return e;
        case SK::Proc: {
            const ProcInfo& pi = procs_[static_cast<size_t>(s->index)];
            return callProc(pi.sig, pi.index, "", id.line, id.col);
        }
        case SK::HostFunc: return callProc(*s->sig, -1, s->importName, id.line, id.col);
        case SK::Builtin: return builtinCall(s->builtin, id.line, id.col);
    }
    failAt(id.line, id.col, "Unknown identifier '" + id.text + "'");
}

void CompilerImpl::parseArgs(const Sig& sig, std::vector<const Type*>& anyTypes, bool parens,
                             std::vector<WriteBack>* writeBacks) {
    size_t n = 0;
    if (parens && !tok_.is(")")) {
        for (;;) {
            int l = tok_.line, c = tok_.col;
            if (n >= sig.params.size()) {
                // the count is reported after the whole argument list
                while (!tok_.is(")") && tok_.kind != Tok::Eof) next();
                next();
                fail("Invalid number of parameters");
            }
            const Param& p = sig.params[n];
            if (p.mode == PMode::Var || p.mode == PMode::Out) {
                size_t argStart = here();
                Ex a = expression();
                if (!isLvalue(a) || a.k == EK::StrCharRef) failAt(l, c, "Variable Expected");
                if (p.type->k != TK::Untyped && p.type->k != TK::AnyString && !sameType(a.type, p.type))
                    noteArgMismatch();
                if (p.type->k == TK::AnyString && a.type->k != TK::String) noteArgMismatch();
                if (writeBacks && a.k == EK::RefOnStack) {
                    WriteBack wb;
                    wb.addrCode.assign(code().begin() + static_cast<long>(argStart), code().end());
                    wb.temp = newTemp(a.type);
                    emit(Op::LoadRef);
                    emit(Op::StoreL, wb.temp);
                    emit(Op::AddrL, wb.temp);
                    writeBacks->push_back(std::move(wb));
                } else {
                    address(a, l, c);
                }
            } else {
                Ex a = expression();
                if (!a.type) {
                    noteArgMismatch();
                } else if (p.type->k == TK::AnyString) {
                    anyTypes.push_back(a.type);
                    if (a.type->k != TK::String && a.type->k != TK::Char && a.type->k != TK::Variant)
                        noteArgMismatch();
                    else
                        coerceArg(a, tString, l, c);
                } else if (p.type->k == TK::DynArray && a.k == EK::Const && a.type->k == TK::Set) {
                    // `[]` is an empty open array; a set with elements is no array.
                    if (a.type->elem) noteArgMismatch();
                    else emit(Op::PushDefault, rtType(p.type));
                } else {
                    coerceArg(a, p.type, l, c);
                }
            }
            ++n;
            if (acceptSym(",")) continue;
            if (!tok_.is(")")) fail("Closing parenthesis expected");
            break;
        }
    }
    if (parens) expectSym(")", "Closing parenthesis expected");
    if (n != sig.params.size()) fail("Invalid number of parameters");
}

Ex CompilerImpl::callProc(const Sig& sig, int procIndex, const std::string& importName, int l, int c) {
    Ex e;
    e.line = l;
    e.col = c;
    std::vector<const Type*> anyTypes;
    bool parens = acceptSym("(");
    std::vector<WriteBack> writeBacks;
    parseArgs(sig, anyTypes, parens, procIndex >= 0 ? &writeBacks : nullptr);
    if (procIndex >= 0) emit(Op::Call, procIndex);
    else emit(Op::CallHost, importId(importName));
    for (const WriteBack& wb : writeBacks) {
        emit(Op::LoadL, wb.temp);
        for (int32_t w : wb.addrCode) word(w);
        emit(Op::StoreRef);
    }
    if (sig.result) {
        e.k = EK::Stack;
        e.type = sig.result;
        if (sig.result->k == TK::AnyString) {
            if (!anyTypes.empty() && anyTypes[0]->k == TK::Char) {
                emit(Op::StrToChar);
                e.type = tChar;
            } else {
                e.type = tString;
            }
        }
    } else {
        e.k = EK::NoValue;
    }
    return e;
}

Ex CompilerImpl::memberAccess(Ex /*obj: already on the stack*/, const MemberInfo* m, int l, int c) {
    Ex e;
    e.line = l;
    e.col = c;
    if (m->kind == MemberKind::Property) {
        if (!m->sig.params.empty()) {
            expectSym("[", "Opening square brackets ('[') expected");
            for (size_t k = 0; k < m->sig.params.size(); ++k) {
                int al = tok_.line, ac = tok_.col;
                Ex a = expression();
                coerceArg(a, m->sig.params[k].type, al, ac);
                if (k + 1 < m->sig.params.size()) expectSym(",", "comma (',') expected");
            }
            expectSym("]", "Closing square bracket (']') expected");
        }
        e.k = EK::Property;
        e.type = m->sig.result;
        e.prop = m;
        return e;
    }
    if (m->kind == MemberKind::Constructor) fail("Type mismatch");
    std::vector<const Type*> anyTypes;
    bool parens = acceptSym("(");
    parseArgs(m->sig, anyTypes, parens);
    emit(Op::CallHost, importId(m->importName));
    if (m->sig.result) {
        e.k = EK::Stack;
        e.type = m->sig.result;
    } else {
        e.k = EK::NoValue;
    }
    return e;
}

Ex CompilerImpl::selectors(Ex e) {
    for (;;) {
        int l = tok_.line, c = tok_.col;
        if (tok_.is(".")) {
            next();
            Token mt = tok_;
            std::string mn = expectIdent();
            std::string mu = upperAscii(mn);
            if (e.k == EK::TypeRef) {
                if (e.type->k != TK::Class) failAt(mt.line, mt.col, "Unknown identifier '" + mn + "'");
                const MemberInfo* m = e.type->cls->find(mu);
                if (!m || m->kind != MemberKind::Constructor) failAt(mt.line, mt.col, "Unknown identifier '" + mn + "'");
                std::vector<const Type*> anyTypes;
                bool parens = acceptSym("(");
                parseArgs(m->sig, anyTypes, parens);
                emit(Op::CallHost, importId(m->importName));
                Ex r;
                r.k = EK::Stack;
                r.type = e.type;
                r.line = l;
                r.col = c;
                e = r;
                continue;
            }
            if (!e.type) fail("Type mismatch");
            if (e.type->k == TK::Record) {
                size_t k = 0;
                for (; k < e.type->fields.size(); ++k)
                    if (e.type->fields[k].upper == mu) break;
                if (k == e.type->fields.size()) failAt(mt.line, mt.col, "Unknown identifier '" + mn + "'");
                const Type* ft = e.type->fields[k].type;
                if (e.k == EK::Stack || e.k == EK::Property) {
                    load(e);
                    emit(Op::LoadField, static_cast<int32_t>(k));
                    e.k = EK::Stack;
                } else {
                    address(e, l, c);
                    emit(Op::AddrField, static_cast<int32_t>(k));
                }
                e.type = ft;
                continue;
            }
            if (e.type->k == TK::Class) {
                const MemberInfo* m = e.type->cls->find(mu);
                if (!m) failAt(mt.line, mt.col, "Unknown identifier '" + mn + "'");
                load(e);
                e = memberAccess(std::move(e), m, mt.line, mt.col);
                continue;
            }
            failAt(l, c, "Semicolon (';') expected");
        }
        if (tok_.is("[")) {
            if (!e.type || e.k == EK::TypeRef) fail("Type mismatch");
            if (e.type->k == TK::Class) {
                const MemberInfo* m = e.type->cls->findDefault();
                if (!m) fail("Type mismatch");
                load(e);
                e = memberAccess(std::move(e), m, l, c);
                continue;
            }
            next();
            for (;;) {
                int il = tok_.line, ic = tok_.col;
                if (e.type->k == TK::String) {
                    bool lv = isLvalue(e) && e.k != EK::StrCharRef;
                    if (lv) address(e, l, c);
                    else load(e);
                    Ex ix = expression();
                    if (!ix.type || !isIntKind(ix.type->k)) fail("Type mismatch");
                    coerce(ix, tS64, il, ic);
                    if (lv) {
                        e.k = EK::StrCharRef;
                    } else {
                        emit(Op::StrIndex);
                        e.k = EK::Stack;
                    }
                    e.type = tChar;
                } else if (e.type->k == TK::StaticArray || e.type->k == TK::DynArray) {
                    bool lv = isLvalue(e);
                    if (lv) address(e, l, c);
                    else load(e);
                    Ex ix = expression();
                    if (!ix.type || !isOrdinal(ix.type->k)) fail("Type mismatch");
                    coerce(ix, tS64, il, ic);
                    if (e.type->k == TK::StaticArray) {
                        int32_t lo = static_cast<int32_t>(e.type->low);
                        int32_t cnt = static_cast<int32_t>(e.type->high - e.type->low + 1);
                        emit(lv ? Op::AddrIndexS : Op::LoadIndexS, lo, cnt);
                    } else {
                        emit(lv ? Op::AddrIndexD : Op::LoadIndexD);
                    }
                    e.k = lv ? EK::RefOnStack : EK::Stack;
                    e.type = e.type->elem;
                } else {
                    fail("Type mismatch");
                }
                if (acceptSym(",")) continue;
                break;
            }
            expectSym("]", "Closing square bracket (']') expected");
            continue;
        }
        if (tok_.is("(") && e.k == EK::TypeRef) {  // type cast
            next();
            int al = tok_.line, ac = tok_.col;
            Ex a = expression();
            expectSym(")", "Closing parenthesis expected");
            const Type* to = e.type;
            if (!a.type) fail("Type mismatch");
            if (isOrdinal(to->k) && isOrdinal(a.type->k)) {
                if (a.k == EK::Const) {
                    a.cval.i = wrapTo(a.cval.i, static_cast<int32_t>(widthOf(to)));
                } else {
                    load(a);
                    if (widthOf(to) != Width::I64) emit(Op::Wrap, static_cast<int32_t>(widthOf(to)));
                }
                a.type = to;
            } else if (to->k == TK::Class && (a.type->k == TK::Class || a.type->k == TK::Nil)) {
                load(a);
                a.type = to;
            } else {
                coerce(a, to, al, ac);
                a.k = EK::Stack;
                a.type = to;  // the value on the stack is the target type's now
            }
            a.isLiteral = false;
            e = std::move(a);
            continue;
        }
        return e;
    }
}

void CompilerImpl::toFloat(Ex& e, size_t mark) {
    if (e.k == EK::Const) {
        if (isIntKind(e.type->k)) e.cval = Value::ofFloat(static_cast<long double>(e.cval.i));
        else if (e.type->k == TK::Currency) e.cval = Value::ofFloat(static_cast<long double>(e.cval.i) / 10000.0L);
        e.type = tExtended;
        return;
    }
    if (isIntKind(e.type->k)) insertCode(mark, {static_cast<int32_t>(Op::IntToFloat)});
    else if (e.type->k == TK::Currency) insertCode(mark, {static_cast<int32_t>(Op::CurToFloat)});
    e.type = tExtended;
}

Ex CompilerImpl::binary(Ex a, const std::string& op, size_t mark, Ex b, int l, int c) {
    if (!a.type || !b.type || a.k == EK::NoValue || b.k == EK::NoValue || a.k == EK::TypeRef || b.k == EK::TypeRef)
        fail("Type mismatch");
    bool aConst = a.k == EK::Const, bConst = b.k == EK::Const;
    TK ak = a.type->k, bk = b.type->k;
    bool isCmp = op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
    // Materializes a constant left operand below the right operand's code.
    auto materializeA = [&]() {
        if (a.k == EK::Const) {
            size_t before = here();
            emitConstValue(a.type, a.cval);
            std::vector<int32_t> words(code().begin() + static_cast<long>(before), code().end());
            code().resize(before);
            cur_->lines.resize(before);
            insertCode(mark, words);
            a.k = EK::Stack;
        }
    };
    auto finish = [&](Op o, const Type* rt, int32_t operand = -1) {
        materializeA();
        load(b);
        if (operand >= 0) emit(o, operand);
        else emit(o);
        Ex r;
        r.k = EK::Stack;
        r.type = rt;
        r.line = a.line;
        r.col = a.col;
        return r;
    };
    // ---- "in"
    if (op == "IN") {
        if (bk != TK::Set || !(isOrdinal(ak))) fail("Type mismatch");
        return finish(Op::SetIn, tBool);
    }
    if (op == "IS") fail("Type mismatch");
    // ---- a variant and a real (Currency included): a variant holds a Double, so the real is rounded to one and
    // the operation is the variant's (double precision, variant result); comparisons compare the Doubles
    const auto realKind = [](TK k) { return isFloatKind(k) || k == TK::Currency; };
    if ((ak == TK::Variant && realKind(bk)) || (bk == TK::Variant && realKind(ak))) {
        const int32_t fv = static_cast<int32_t>(VarType::Float);
        const int32_t curToFloat = static_cast<int32_t>(Op::CurToFloat);
        if (isCmp) {
            if (ak == TK::Variant) insertCode(mark, {static_cast<int32_t>(Op::FromVariant), fv});
            else if (ak == TK::Extended) insertCode(mark, {static_cast<int32_t>(Op::ToDouble)});
            else if (ak == TK::Currency) insertCode(mark, {curToFloat});
            load(b);
            if (bk == TK::Currency) emit(Op::CurToFloat);
            else emit(bk == TK::Variant ? Op::FromVariant : Op::ToDouble);
            if (bk == TK::Variant) word(fv);
            Op o = op == "=" ? Op::EqF : op == "<>" ? Op::NeF : op == "<" ? Op::LtF : op == ">" ? Op::GtF : op == "<=" ? Op::LeF : Op::GeF;
            return finish(o, tBool);
        }
        int32_t code = op == "+" ? 0 : op == "-" ? 1 : op == "*" ? 2 : op == "/" ? 3 : -1;
        if (code < 0) fail("Type mismatch");
        if (ak == TK::Currency) insertCode(mark, {curToFloat, static_cast<int32_t>(Op::ToVariant), fv});
        else if (ak != TK::Variant) insertCode(mark, {static_cast<int32_t>(Op::ToVariant), fv});
        load(b);
        if (bk == TK::Currency) emit(Op::CurToFloat);
        if (bk != TK::Variant) emit(Op::ToVariant, fv);
        return finish(Op::VarOp, tVariant, code);
    }
    // ---- variants: converted to the other side's type
    if (ak == TK::Variant && bk != TK::Variant) {
        const Type* to = b.type;
        if (to->k == TK::Char) to = tString;
        std::vector<int32_t> conv;
        VarType vt = isIntKind(to->k) ? VarType::Int : isFloatKind(to->k) ? VarType::Float : to->k == TK::Bool ? VarType::Bool : to->k == TK::String ? VarType::String : VarType::None;
        if (vt == VarType::None) fail("Type mismatch");
        insertCode(mark, {static_cast<int32_t>(Op::FromVariant), static_cast<int32_t>(vt)});
        a.type = to == tString ? tString : to;
        ak = a.type->k;
    }
    if (bk == TK::Variant && ak != TK::Variant) {
        load(b);
        const Type* to = a.type->k == TK::Char ? tString : a.type;
        VarType vt = isIntKind(to->k) ? VarType::Int : isFloatKind(to->k) ? VarType::Float : to->k == TK::Bool ? VarType::Bool : to->k == TK::String ? VarType::String : VarType::None;
        if (vt == VarType::None) fail("Type mismatch");
        emit(Op::FromVariant, static_cast<int32_t>(vt));
        b.type = to;
        bk = to->k;
    }
    if (ak == TK::Variant && bk == TK::Variant) {
        int32_t code = op == "+" ? 0 : op == "-" ? 1 : op == "*" ? 2 : op == "/" ? 3 : op == "DIV" ? 4 : op == "MOD" ? 5 : -1;
        if (code < 0) fail("Type mismatch");
        return finish(Op::VarOp, tVariant, code);
    }
    // ---- constant folding
    if (aConst && bConst) {
        Ex r;
        r.k = EK::Const;
        r.line = a.line;
        r.col = a.col;
        if ((ak == TK::String || ak == TK::Char) && (bk == TK::String || bk == TK::Char)) {
            std::string x = ak == TK::Char ? std::string(1, static_cast<char>(a.cval.i)) : a.cval.string();
            std::string y = bk == TK::Char ? std::string(1, static_cast<char>(b.cval.i)) : b.cval.string();
            // Constant texts compare for (in)equality only; ordering them is refused, as the reference does.
            if (op == "=" || op == "<>") {
                r.type = tBool;
                r.cval = Value::ofInt((x == y) == (op == "="));
                return r;
            }
            if (isCmp || op != "+") fail("Type mismatch");
            r.type = tString;
            r.cval = Value::ofStr(x + y);
            return r;
        }
        if (isIntKind(ak) && isIntKind(bk)) {
            int64_t x = a.cval.i, y = b.cval.i;
            int32_t w = static_cast<int32_t>(widthOf(a.type));
            r.type = a.type;
            if (op == "+") r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) + static_cast<uint64_t>(y)), w);
            else if (op == "-") r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) - static_cast<uint64_t>(y)), w);
            else if (op == "*") r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) * static_cast<uint64_t>(y)), w);
            else if (op == "/" || op == "DIV" || op == "MOD") {
                if (y == 0) fail("Divide by Zero");
                if (x == INT64_MIN && y == -1) r.cval.i = op == "MOD" ? 0 : x;
                else r.cval.i = wrapTo(op == "MOD" ? x % y : x / y, w);
            } else if (op == "AND") r.cval.i = x & y;
            else if (op == "OR") r.cval.i = x | y;
            else if (op == "XOR") r.cval.i = x ^ y;
            else if (op == "SHL" || op == "SHR") {
                bool wide = static_cast<Width>(w) == Width::I64;
                unsigned sh = static_cast<unsigned>(y) & (wide ? 63u : 31u);
                if (wide) {
                    uint64_t u = static_cast<uint64_t>(x);
                    r.cval.i = static_cast<int64_t>(op == "SHL" ? u << sh : u >> sh);
                } else {
                    uint32_t u = static_cast<uint32_t>(static_cast<uint64_t>(x));
                    uint32_t v = op == "SHL" ? u << sh : u >> sh;
                    r.cval.i = static_cast<Width>(w) == Width::U32 ? static_cast<int64_t>(v) : wrapTo(static_cast<int32_t>(v), w);
                }
            } else if (isCmp) {
                r.type = tBool;
                bool v = op == "=" ? x == y : op == "<>" ? x != y : op == "<" ? x < y : op == ">" ? x > y : op == "<=" ? x <= y : x >= y;
                r.cval = Value::ofInt(v);
            }
            return r;
        }
        if ((isIntKind(ak) || isFloatKind(ak)) && (isIntKind(bk) || isFloatKind(bk)) && (isFloatKind(ak) || isFloatKind(bk))) {
            long double x = isFloatKind(ak) ? a.cval.f() : static_cast<long double>(a.cval.i);
            long double y = isFloatKind(bk) ? b.cval.f() : static_cast<long double>(b.cval.i);
            if (isCmp) {
                r.type = tBool;
                bool v = op == "=" ? x == y : op == "<>" ? x != y : op == "<" ? x < y : op == ">" ? x > y : op == "<=" ? x <= y : x >= y;
                r.cval = Value::ofInt(v);
                return r;
            }
            if (op != "+" && op != "-" && op != "*" && op != "/") fail("Type mismatch");
            if (op == "/" && y == 0) fail("Divide by Zero");
            // folded exactly as the VM computes it (see the run-time case below)
            const TK rk = floatResultKind(ak, bk);
            long double v;
            if (rk == TK::Double && ak != TK::Extended && bk != TK::Extended) {
                double dx = static_cast<double>(x), dy = static_cast<double>(y);
                v = op == "+" ? dx + dy : op == "-" ? dx - dy : op == "*" ? dx * dy : dx / dy;
            } else {
                v = op == "+" ? x + y : op == "-" ? x - y : op == "*" ? x * y : x / y;
            }
            // an overflow is left to the run-time code, which raises it
            if (std::isfinite(v) && roundToFloatType(v, rk)) {
                r.type = floatType(rk);
                r.cval = Value::ofFloat(v);
                return r;
            }
        }
        if (ak == TK::Bool && bk == TK::Bool && (op == "AND" || op == "OR" || op == "XOR" || op == "=" || op == "<>")) {
            int64_t x = a.cval.i, y = b.cval.i;
            r.type = tBool;
            r.cval = Value::ofInt(op == "AND" ? (x & y) : op == "OR" ? (x | y) : op == "XOR" ? (x ^ y) : op == "=" ? x == y : x != y);
            return r;
        }
    }
    // ---- strings and chars
    if ((ak == TK::String || ak == TK::Char) && (bk == TK::String || bk == TK::Char)) {
        if (ak == TK::Char && bk == TK::Char) {
            if (isCmp) {
                Op o = op == "=" ? Op::EqI : op == "<>" ? Op::NeI : op == "<" ? Op::LtI : op == ">" ? Op::GtI : op == "<=" ? Op::LeI : Op::GeI;
                return finish(o, tBool);
            }
        }
        if (aConst && bConst && isCmp) fail("Type mismatch");
        if (ak == TK::Char) {
            if (a.k == EK::Const) {
                a.cval = strFromChar(static_cast<uint8_t>(a.cval.i));
                a.type = tString;
            } else {
                insertCode(mark, {static_cast<int32_t>(Op::CharToStr)});
            }
        }
        if (bk == TK::Char) coerce(b, tString, l, c);
        if (op == "+") return finish(Op::Concat, tString);
        if (isCmp) {
            Op o = op == "=" ? Op::EqS : op == "<>" ? Op::NeS : op == "<" ? Op::LtS : op == ">" ? Op::GtS : op == "<=" ? Op::LeS : Op::GeS;
            return finish(o, tBool);
        }
        fail("Type mismatch");
    }
    // ---- booleans
    if (ak == TK::Bool && bk == TK::Bool) {
        if (op == "AND") return finish(Op::AndI, tBool);
        if (op == "OR") return finish(Op::OrI, tBool);
        if (op == "XOR") return finish(Op::XorI, tBool);
        if (op == "=") return finish(Op::EqI, tBool);
        if (op == "<>") return finish(Op::NeI, tBool);
        fail("Type mismatch");
    }
    // ---- integers
    if (isIntKind(ak) && isIntKind(bk)) {
        int32_t w = static_cast<int32_t>(widthOf(a.type));
        if (op == "+") return finish(Op::AddI, a.type, w);
        if (op == "-") return finish(Op::SubI, a.type, w);
        if (op == "*") return finish(Op::MulI, a.type, w);
        if (op == "/" || op == "DIV") return finish(Op::DivI, a.type, w);
        if (op == "MOD") return finish(Op::ModI, a.type, w);
        if (op == "AND") return finish(Op::AndI, a.type);
        if (op == "OR") return finish(Op::OrI, a.type);
        if (op == "XOR") return finish(Op::XorI, a.type);
        if (op == "SHL") return finish(Op::ShlI, a.type, w);
        if (op == "SHR") return finish(Op::ShrI, a.type, w);
        Op o = op == "=" ? Op::EqI : op == "<>" ? Op::NeI : op == "<" ? Op::LtI : op == ">" ? Op::GtI : op == "<=" ? Op::LeI : Op::GeI;
        return finish(o, tBool);
    }
    // ---- currency
    if (ak == TK::Currency || bk == TK::Currency) {
        if ((ak == TK::Currency || isIntKind(ak)) && (bk == TK::Currency || isIntKind(bk))) {
            if (ak != TK::Currency) {
                if (a.k == EK::Const) a.cval.i *= 10000;
                else insertCode(mark, {static_cast<int32_t>(Op::IntToCur)});
                a.type = tCurrency;
            }
            if (bk != TK::Currency) coerce(b, tCurrency, l, c);
            const int32_t checked = static_cast<int32_t>(Width::Currency);
            if (op == "+") return finish(Op::AddI, tCurrency, checked);
            if (op == "-") return finish(Op::SubI, tCurrency, checked);
            if (op == "*") return finish(Op::MulC, tCurrency);
            if (op == "/") return finish(Op::DivC, tCurrency);
            if (isCmp) {
                Op o = op == "=" ? Op::EqI : op == "<>" ? Op::NeI : op == "<" ? Op::LtI : op == ">" ? Op::GtI : op == "<=" ? Op::LeI : Op::GeI;
                return finish(o, tBool);
            }
            fail("Type mismatch");
        }
    }
    // ---- floats
    if ((isIntKind(ak) || isFloatKind(ak) || ak == TK::Currency) && (isIntKind(bk) || isFloatKind(bk) || bk == TK::Currency)) {
        const bool arith = op == "+" || op == "-" || op == "*" || op == "/";
        if (!arith && !isCmp) fail("Type mismatch");
        // Both operands are widened to extended precision (exactly, but for Currency); comparisons
        // are exact. Arithmetic yields the type of the left operand when that is a real type, the
        // right operand's when the left is an integer, and Currency when the left one is Currency.
        // Two operands that fit a Double are combined in double precision, like the reference's
        // runtime does; with an Extended or Currency operand the result is computed at extended
        // precision and then rounded to the result type.
        const TK rk = ak == TK::Currency ? TK::Currency : floatResultKind(ak, bk);
        const bool wide = ak == TK::Extended || bk == TK::Extended || ak == TK::Currency || bk == TK::Currency;
        toFloat(a, mark);
        if (!isFloatKind(bk)) coerce(b, tExtended, l, c);
        if (isCmp) {
            Op o = op == "=" ? Op::EqF : op == "<>" ? Op::NeF : op == "<" ? Op::LtF : op == ">" ? Op::GtF : op == "<=" ? Op::LeF : Op::GeF;
            return finish(o, tBool);
        }
        const bool inDouble = rk == TK::Double && !wide;
        Op o;
        if (op == "+") o = inDouble ? Op::AddD : Op::AddF;
        else if (op == "-") o = inDouble ? Op::SubD : Op::SubF;
        else if (op == "*") o = inDouble ? Op::MulD : Op::MulF;
        else o = inDouble ? Op::DivD : Op::DivF;
        Ex r = finish(o, rk == TK::Currency ? tCurrency : floatType(rk));
        if (rk == TK::Currency) emit(Op::FloatToCur);
        else if (!inDouble) emitRounding(rk);
        return r;
    }
    // ---- enumerations: only equality
    if (ak == TK::Enum && bk == TK::Enum && sameType(a.type, b.type)) {
        if (op == "=") return finish(Op::EqI, tBool);
        if (op == "<>") return finish(Op::NeI, tBool);
        fail("Type mismatch");
    }
    // ---- objects and nil
    if ((ak == TK::Class || ak == TK::Nil) && (bk == TK::Class || bk == TK::Nil)) {
        if (op == "=") return finish(Op::EqO, tBool);
        if (op == "<>") return finish(Op::NeO, tBool);
        fail("Type mismatch");
    }
    // ---- sets
    if (ak == TK::Set && bk == TK::Set) {
        const Type* st = a.type->elem ? a.type : b.type;
        if (op == "+") return finish(Op::SetUnion, st);
        if (op == "-") return finish(Op::SetDiff, st);
        if (op == "*") return finish(Op::SetInter, st);
        if (op == "=") return finish(Op::SetEq, tBool);
        if (op == "<>") return finish(Op::SetNe, tBool);
        if ((op == "<=" || op == ">=") && bConst) fail("Type mismatch");
        if (op == "<=") return finish(Op::SetLe, tBool);
        if (op == ">=") return finish(Op::SetGe, tBool);
        fail("Type mismatch");
    }
    fail("Type mismatch");
}

Ex CompilerImpl::builtinCall(Builtin b, int l, int c) {
    Ex e;
    e.line = l;
    e.col = c;
    auto openParen = [&]() { expectSym("(", "opening parenthesis ('(')expected"); };
    auto closeParen = [&]() { expectSym(")", "Closing parenthesis expected"); };
    switch (b) {
        case Builtin::Break:
        case Builtin::Continue: {
            if (!cur_ || cur_->loops.empty()) failAt(l, c, "Not in a loop");
            LoopCtx& lc = cur_->loops.back();
            emitLeave(lc.tryDepth, b == Builtin::Break ? lc.breaks : lc.continues);
            return e;
        }
        case Builtin::Exit:
            emitLeave(0, cur_->exits);
            return e;
        case Builtin::Halt:
            if (acceptSym("(")) closeParen();
            emit(Op::Halt);
            return e;
        case Builtin::Length:
        case Builtin::GetArrayLength: {
            openParen();
            Ex a = expression();
            closeParen();
            if (!a.type) fail("Type mismatch");
            if (a.k == EK::Const && a.type->k == TK::String) {
                e.k = EK::Const;
                e.type = tS32;
                e.cval = Value::ofInt(static_cast<int64_t>(a.cval.str().size()));
                return e;
            }
            if (a.type->k == TK::StaticArray) {
                if (a.k == EK::Stack) emit(Op::Pop);
                e.k = EK::Const;
                e.type = tS32;
                e.cval = Value::ofInt(a.type->high - a.type->low + 1);
                return e;
            }
            if (a.type->k == TK::Char && a.k == EK::Const) {
                e.k = EK::Const;
                e.type = tS32;
                e.cval = Value::ofInt(1);
                return e;
            }
            if (a.type->k != TK::String && a.type->k != TK::DynArray) fail("Type mismatch");
            load(a);
            emit(Op::Length);
            e.k = EK::Stack;
            e.type = tS32;
            return e;
        }
        case Builtin::SetLength:
        case Builtin::SetArrayLength: {
            openParen();
            int al = tok_.line, ac = tok_.col;
            Ex a = expression();
            if (!isLvalue(a) || a.k == EK::StrCharRef) failAt(al, ac, "Variable Expected");
            if (a.type->k != TK::String && a.type->k != TK::DynArray) fail("Type mismatch");
            address(a, al, ac);
            expectSym(",", "comma (',') expected");
            int nl = tok_.line, nc = tok_.col;
            Ex n = expression();
            coerceArg(n, tS64, nl, nc);
            closeParen();
            if (a.type->k == TK::String) emit(Op::SetLenS);
            else emit(Op::SetLen, rtType(a.type));
            return e;
        }
        case Builtin::High:
        case Builtin::Low: {
            openParen();
            Ex a = designator(true);
            closeParen();
            const Type* t = a.type;
            if (!t) fail("Type mismatch");
            if (t->k == TK::StaticArray) {
                if (a.k == EK::Stack) emit(Op::Pop);
                if (a.k == EK::RefOnStack) emit(Op::Pop);
                e.k = EK::Const;
                e.type = tS32;
                e.cval = Value::ofInt(b == Builtin::High ? t->high : t->low);
                return e;
            }
            if (t->k == TK::DynArray || t->k == TK::String) {
                if (b == Builtin::Low) {
                    if (a.k == EK::Stack || a.k == EK::RefOnStack) emit(Op::Pop);
                    e.k = EK::Const;
                    e.type = tS32;
                    e.cval = Value::ofInt(t->k == TK::String ? 1 : 0);
                    return e;
                }
                load(a);
                emit(Op::Length);
                if (t->k == TK::DynArray) {
                    emit(Op::PushInt, 1);
                    emit(Op::SubI, static_cast<int32_t>(Width::S32));
                }
                e.k = EK::Stack;
                e.type = tS32;
                return e;
            }
            if (isOrdinal(t->k)) {
                if (a.k == EK::Stack || a.k == EK::RefOnStack || a.k == EK::StrCharRef) emit(Op::Pop);
                e.k = EK::Const;
                e.type = t;
                int64_t lo = 0, hi = 0;
                switch (t->k) {
                    case TK::U8: case TK::Char: hi = 255; break;
                    case TK::S8: lo = -128; hi = 127; break;
                    case TK::U16: hi = 65535; break;
                    case TK::S16: lo = -32768; hi = 32767; break;
                    case TK::U32: hi = 4294967295LL; break;
                    case TK::S32: lo = INT32_MIN; hi = INT32_MAX; break;
                    case TK::S64: lo = INT64_MIN; hi = INT64_MAX; break;
                    case TK::Bool: hi = 1; break;
                    case TK::Enum: hi = t->high; break;
                    default: break;
                }
                e.cval = Value::ofInt(b == Builtin::High ? hi : lo);
                return e;
            }
            fail("Type mismatch");
        }
        case Builtin::Inc:
        case Builtin::Dec: {
            openParen();
            int al = tok_.line, ac = tok_.col;
            Ex a = expression();
            if (!isLvalue(a) || a.k == EK::StrCharRef) failAt(al, ac, "Variable Expected");
            if (!a.type || !(isIntKind(a.type->k) || a.type->k == TK::Enum)) fail("Type mismatch");
            if (tok_.is(",")) {
                while (!tok_.is(")") && tok_.kind != Tok::Eof) next();
                next();
                fail("Invalid number of parameters");
            }
            closeParen();
            int32_t delta = b == Builtin::Inc ? 1 : -1;
            int32_t w = static_cast<int32_t>(widthOf(a.type));
            if (a.k == EK::Local) emit(Op::IncL, a.slot, delta, w);
            else if (a.k == EK::Global) emit(Op::IncG, a.slot, delta, w);
            else {
                address(a, al, ac);
                emit(Op::IncRef, delta, w);
            }
            return e;
        }
        case Builtin::Succ:
        case Builtin::Pred: {
            openParen();
            Ex a = expression();
            if (!a.type || !(isIntKind(a.type->k) || a.type->k == TK::Enum)) fail("Type mismatch");
            closeParen();
            load(a);
            emit(Op::PushInt, 1);
            emit(b == Builtin::Succ ? Op::AddI : Op::SubI, static_cast<int32_t>(widthOf(a.type)));
            e.k = EK::Stack;
            e.type = a.type;
            return e;
        }
        case Builtin::Ord: {
            openParen();
            Ex a = expression();
            // A value that is no ordinal is refused at the closing parenthesis, a constant Boolean or enumeration
            // value after it: where the reference reports them.
            if (!a.type || !isOrdinal(a.type->k)) fail("Type mismatch");
            closeParen();
            if (a.k == EK::Const && (a.type->k == TK::Bool || a.type->k == TK::Enum)) fail("Type mismatch");
            if (a.k == EK::Const) {
                e = a;
                e.type = a.type->k == TK::S64 ? tS64 : tS32;
                return e;
            }
            load(a);
            e.k = EK::Stack;
            e.type = a.type->k == TK::S64 ? tS64 : tS32;
            return e;
        }
        case Builtin::Chr: {
            openParen();
            Ex a = expression();
            closeParen();
            if (!a.type || !isIntKind(a.type->k)) fail("Type mismatch");
            if (a.k == EK::Const) {
                e = a;
                e.cval.i &= 255;
                e.type = tChar;
                e.isLiteral = false;
                return e;
            }
            load(a);
            emit(Op::Wrap, static_cast<int32_t>(Width::U8));
            e.k = EK::Stack;
            e.type = tChar;
            return e;
        }
        case Builtin::Assigned: {
            openParen();
            Ex a = expression();
            closeParen();
            if (!a.type || !(a.type->k == TK::Class || a.type->k == TK::Nil || a.type->k == TK::DynArray)) fail("Type mismatch");
            load(a);
            emit(Op::Assigned);
            e.k = EK::Stack;
            e.type = tBool;
            return e;
        }
        case Builtin::Include:
        case Builtin::Exclude: {
            openParen();
            int al = tok_.line, ac = tok_.col;
            Ex a = expression();
            if (!isLvalue(a) || a.type->k != TK::Set) failAt(al, ac, "Variable Expected");
            address(a, al, ac);
            expectSym(",", "comma (',') expected");
            Ex n = expression();
            if (!n.type || !isOrdinal(n.type->k)) fail("Type mismatch");
            load(n);
            closeParen();
            emit(b == Builtin::Include ? Op::SetIncl : Op::SetExcl);
            return e;
        }
        case Builtin::SizeOf: {
            openParen();
            Ex a = designator(true);
            closeParen();
            if (a.k == EK::Stack || a.k == EK::RefOnStack) emit(Op::Pop);
            int64_t sz = 4;
            if (a.type) switch (a.type->k) {
                    case TK::U8: case TK::S8: case TK::Char: case TK::Bool: case TK::Enum: sz = 1; break;
                    case TK::U16: case TK::S16: sz = 2; break;
                    case TK::S64: case TK::Double: case TK::Currency: sz = 8; break;
                    case TK::Extended: sz = 10; break;
                    case TK::Set:
                        sz = a.type->elem && a.type->elem->k == TK::Enum ? (a.type->elem->high + 8) / 8 : 32;
                        break;
                    default: sz = 4; break;
                }
            e.k = EK::Const;
            e.type = tS32;
            e.cval = Value::ofInt(sz);
            return e;
        }
    }
    return e;
}

// ============================================================================================
// Statements
// ============================================================================================

void CompilerImpl::emitLeave(int depth, std::vector<size_t>& list) {
    if (cur_->tryDepth > depth) {
        emit(Op::Leave, depth, 0);
        list.push_back(here() - 1);
    } else {
        list.push_back(emitJump(Op::Jmp));
    }
}

void CompilerImpl::statementList(const char* term1, const char* term2) {
    for (;;) {
        if (tok_.isKw(term1) || (term2 && tok_.isKw(term2))) return;
        if (tok_.kind == Tok::Eof) fail("Unexpected end of file");
        if (acceptSym(";")) continue;
        statement();
        if (tok_.isKw(term1) || (term2 && tok_.isKw(term2))) return;
        if (tok_.kind == Tok::Eof) fail("Unexpected end of file");
        // Semicolons between statements are optional in this dialect.
        acceptSym(";");
    }
}

void CompilerImpl::statement() {
    NestingGuard guard(*this);
    // The empty statement: before a semicolon, and before END or ELSE (`if x then end`, `case i of 3: else ...`).
    if (tok_.is(";") || tok_.isKw("END") || tok_.isKw("ELSE")) return;
    if (tok_.kind == Tok::Eof) fail("Unexpected end of file");
    if (tok_.kind != Tok::Ident) fail("Identifier expected");
    const std::string& u = tok_.upper;
    if (u == "BEGIN") {
        next();
        statementList("END");
        expectKw("END", "'END' expected");
    } else if (u == "IF") {
        ifStatement();
    } else if (u == "WHILE") {
        whileStatement();
    } else if (u == "REPEAT") {
        repeatStatement();
    } else if (u == "FOR") {
        forStatement();
    } else if (u == "CASE") {
        caseStatement();
    } else if (u == "TRY") {
        tryStatement();
    } else if (u == "WITH") {
        withStatement();
    } else if (u == "EXIT") {
        next();
        if (tok_.is("(")) {
            next();
            expression();
            expectSym(")", "Closing parenthesis expected");
            fail("Exit takes no value; assign Result and then call Exit");
        }
        emitLeave(0, cur_->exits);
    } else if (isReservedWord(u) && u != "NIL") {
        fail("Identifier expected");
    } else {
        assignmentOrCall();
    }
    reportArgMismatch();
}

void CompilerImpl::store(Ex& t, int l, int c) {
    switch (t.k) {
        case EK::Local: emit(Op::StoreL, t.slot); break;
        case EK::LocalRef: emit(Op::StoreLRef, t.slot); break;
        case EK::Global: emit(Op::StoreG, t.slot); break;
        case EK::RefOnStack: emit(Op::StoreRef); break;
        case EK::StrCharRef: emit(Op::StrSetChar); break;
        default: failAt(l, c, "Variable Expected");
    }
}

void CompilerImpl::assignmentOrCall() {
    int l = tok_.line, c = tok_.col;
    Token startTok = tok_;
    size_t start = here();
    Ex target = designator(false);
    if ((tok_.is("+") || tok_.is("-") || tok_.is("*") || tok_.is("/")) && target.k != EK::NoValue &&
        target.k != EK::Stack) {
        next();  // "x += 1" and the like: the reference stops at the "="
        fail("Syntax error");
    }
    if (tok_.is(":=")) {
        next();
        if (target.k == EK::Property) {
            if (!target.prop->canWrite) failAt(l, c, "Read-only property");
            int rl = tok_.line, rc = tok_.col;
            Ex v = expression();
            reportArgMismatch();
            coerce(v, target.prop->sig.result, rl, rc);
            emit(Op::CallHost, importId(target.prop->setterName));
            return;
        }
        if (target.k == EK::Const)
            failAt(prev_.line, prev_.col, "Constant '" + std::string(startTok.text) + "' cannot be assigned to");
        if (!isLvalue(target)) failAt(l, c, "Assignment expected");
        size_t mid = here();
        int rl = tok_.line, rc = tok_.col;
        Ex v = expression();
        reportArgMismatch();
        coerce(v, target.type, rl, rc);
        if (mid > start) moveToEnd(start, mid);
        store(target, l, c);
        return;
    }
    reportArgMismatch();
    if (tok_.is("=")) fail("Assignment expected");
    if (target.k == EK::Stack) {
        emit(Op::Pop);
    } else if (target.k != EK::NoValue) {
        if (tok_.kind == Tok::Eof) fail("Unexpected end of file");
        fail("Assignment expected");
    }
}

void CompilerImpl::ifStatement() {
    next();
    int l = tok_.line, c = tok_.col;
    Ex cond = expression();
    reportArgMismatch();
    if (!cond.type || (cond.type->k != TK::Bool && cond.type->k != TK::Variant)) fail("Type mismatch");
    coerce(cond, tBool, l, c);
    expectKw("THEN", "'THEN' expected");
    size_t jf = emitJump(Op::JmpF);
    if (!tok_.isKw("ELSE")) statement();
    if (tok_.isKw("ELSE")) {
        next();
        size_t jend = emitJump(Op::Jmp);
        patchHere(jf);
        statement();
        patchHere(jend);
    } else {
        patchHere(jf);
    }
}

void CompilerImpl::whileStatement() {
    next();
    size_t top = here();
    int l = tok_.line, c = tok_.col;
    Ex cond = expression();
    reportArgMismatch();
    if (!cond.type || cond.type->k != TK::Bool) fail("Type mismatch");
    coerce(cond, tBool, l, c);
    expectKw("DO", "'DO' expected");
    size_t jf = emitJump(Op::JmpF);
    cur_->loops.push_back(LoopCtx{{}, {}, cur_->tryDepth});
    statement();
    LoopCtx lc = std::move(cur_->loops.back());
    cur_->loops.pop_back();
    for (size_t p : lc.continues) patchTo(p, top);
    emitJumpTo(Op::Jmp, top);
    patchHere(jf);
    for (size_t p : lc.breaks) patchHere(p);
}

void CompilerImpl::repeatStatement() {
    next();
    size_t top = here();
    cur_->loops.push_back(LoopCtx{{}, {}, cur_->tryDepth});
    statementList("UNTIL");
    expectKw("UNTIL", "'UNTIL' expected");
    LoopCtx lc = std::move(cur_->loops.back());
    cur_->loops.pop_back();
    for (size_t p : lc.continues) patchHere(p);
    int l = tok_.line, c = tok_.col;
    Ex cond = expression();
    reportArgMismatch();
    if (!cond.type || cond.type->k != TK::Bool) fail("Type mismatch");
    coerce(cond, tBool, l, c);
    emitJumpTo(Op::JmpF, top);
    for (size_t p : lc.breaks) patchHere(p);
}

void CompilerImpl::forStatement() {
    next();
    int l = tok_.line, c = tok_.col;
    Token vt = tok_;
    expectIdent();
    Ex var = identifierExpr(vt);
    if (!(var.k == EK::Local || var.k == EK::Global || var.k == EK::LocalRef)) failAt(l, c, "Variable Expected");
    if (!var.type || !(isIntKind(var.type->k) || var.type->k == TK::Enum)) fail("Type mismatch");
    expectSym(":=", "Assignment expected");
    int sl = tok_.line, sc = tok_.col;
    Ex start = expression();
    coerce(start, var.type, sl, sc);
    store(var, l, c);
    bool down;
    if (acceptKw("TO")) down = false;
    else if (acceptKw("DOWNTO")) down = true;
    else fail("'TO' expected");
    size_t top = here();
    Ex cur = var;
    load(cur);
    int el = tok_.line, ec = tok_.col;
    Ex lim = expression();
    if (!lim.type || !(isIntKind(lim.type->k) || lim.type->k == TK::Enum)) fail("Type mismatch");
    if (isIntKind(lim.type->k)) coerce(lim, tS64, el, ec);
    else load(lim);
    emit(down ? Op::LtI : Op::GtI);
    size_t jexit = emitJump(Op::JmpT);
    expectKw("DO", "'DO' expected");
    reportArgMismatch();
    cur_->loops.push_back(LoopCtx{{}, {}, cur_->tryDepth});
    statement();
    LoopCtx lc = std::move(cur_->loops.back());
    cur_->loops.pop_back();
    for (size_t p : lc.continues) patchHere(p);
    int32_t delta = down ? -1 : 1;
    int32_t w = static_cast<int32_t>(widthOf(var.type));
    if (var.k == EK::Local) emit(Op::IncL, var.slot, delta, w);
    else if (var.k == EK::Global) emit(Op::IncG, var.slot, delta, w);
    else {
        emit(Op::LoadL, var.slot);
        emit(Op::IncRef, delta, w);
    }
    emitJumpTo(Op::Jmp, top);
    patchHere(jexit);
    for (size_t p : lc.breaks) patchHere(p);
}

void CompilerImpl::caseStatement() {
    next();
    int l = tok_.line, c = tok_.col;
    Ex sel = expression();
    if (!sel.type || !(isOrdinal(sel.type->k) || sel.type->k == TK::String)) fail("Type mismatch");
    const Type* st = sel.type->k == TK::String ? tString : sel.type;
    bool isStr = st->k == TK::String;
    int tmp = newTemp(isStr ? tString : tS64);
    coerce(sel, isStr ? tString : (isIntKind(st->k) ? tS64 : st), l, c);
    emit(Op::StoreL, tmp);
    expectKw("OF", "'OF' expected");
    reportArgMismatch();
    std::vector<size_t> ends;
    while (!tok_.isKw("ELSE") && !tok_.isKw("END")) {
        // A case list cut off by the end of the file is a syntax error, not the end of a statement list.
        if (tok_.kind == Tok::Eof) fail("Syntax error");
        std::vector<size_t> hits;
        for (;;) {
            int vl = tok_.line, vc = tok_.col;
            Ex v = expression();
            if (v.k != EK::Const) failAt(vl, vc, "Constant Value Type Mismatch");
            if (isStr) {
                if (v.type->k == TK::Char) convertConst(v, tString);
                if (v.type->k != TK::String) fail("Type mismatch");
            } else if (!(isOrdinal(v.type->k) && (isIntKind(v.type->k) == isIntKind(st->k)))) {
                fail("Type mismatch");
            }
            if (acceptSym("..")) {
                Ex hi = expression();
                if (hi.k != EK::Const || isStr) fail("Type mismatch");
                // The upper bound obeys the label rules too: a string there would be compared as a pointer.
                if (!(isOrdinal(hi.type->k) && (isIntKind(hi.type->k) == isIntKind(st->k)))) fail("Type mismatch");
                emit(Op::LoadL, tmp);
                emitConstValue(tS64, v.cval);
                emit(Op::GeI);
                emit(Op::LoadL, tmp);
                emitConstValue(tS64, hi.cval);
                emit(Op::LeI);
                emit(Op::AndI);
            } else {
                emit(Op::LoadL, tmp);
                if (isStr) {
                    emitConstValue(tString, v.cval);
                    emit(Op::EqS);
                } else {
                    emitConstValue(tS64, v.cval);
                    emit(Op::EqI);
                }
            }
            hits.push_back(emitJump(Op::JmpT));
            if (!acceptSym(",")) break;
        }
        expectSym(":", "colon (':') expected");
        size_t skip = emitJump(Op::Jmp);
        for (size_t h : hits) patchHere(h);
        statement();
        ends.push_back(emitJump(Op::Jmp));
        patchHere(skip);
        if (!acceptSym(";")) break;
    }
    if (acceptKw("ELSE")) {
        statementList("END");
    }
    expectKw("END", "'END' expected");
    for (size_t e : ends) patchHere(e);
}

void CompilerImpl::tryStatement() {
    next();
    size_t tj = here();
    emit(Op::TryExcept, 0);  // kind fixed below when the handler is known
    cur_->tryDepth++;
    statementList("EXCEPT", "FINALLY");
    cur_->tryDepth--;
    if (acceptKw("FINALLY")) {
        code()[tj] = static_cast<int32_t>(Op::TryFinally);
        emit(Op::PopTry);
        patchHere(tj + 1);
        // The finally part keeps its try level: the VM holds the action to resume with there, and
        // Exit, Break or Continue out of the finally part must leave (and drop) it.
        cur_->tryDepth++;
        statementList("END");
        expectKw("END", "'END' expected");
        cur_->tryDepth--;
        emit(Op::EndFinally);
        return;
    }
    expectKw("EXCEPT", "'EXCEPT' expected");
    emit(Op::PopTry);
    size_t jend = emitJump(Op::Jmp);
    patchHere(tj + 1);
    if (tok_.isKw("ON")) fail("Syntax error");
    // The except part has a try level of its own: the VM keeps the caught error there until EndExcept, and
    // Exit, Break or Continue out of it must leave (and drop) it.
    cur_->tryDepth++;
    statementList("END");
    expectKw("END", "'END' expected");
    cur_->tryDepth--;
    emit(Op::EndExcept);
    patchHere(jend);
}

void CompilerImpl::withStatement() {
    next();
    size_t n = 0;
    for (;;) {
        size_t start = here();
        Ex e = expression();
        if (!e.type) fail("Type mismatch");
        WithCtx w;
        w.type = e.type;
        if (e.type->k == TK::Record && (e.k == EK::Local || e.k == EK::Global || e.k == EK::LocalRef)) {
            w.base = e;
        } else if (e.type->k == TK::Record && e.k == EK::RefOnStack) {
            // The path is evaluated again at each use of a field.
            w.addrCode.assign(code().begin() + static_cast<long>(start), code().end());
            code().resize(start);
            cur_->lines.resize(start);
            w.base = e;
        } else if (e.type->k == TK::Class) {
            int tmp = newTemp(e.type);
            load(e);
            emit(Op::StoreL, tmp);
            w.base.k = EK::Local;
            w.base.slot = tmp;
            w.base.type = e.type;
        } else {
            fail("Type mismatch");
        }
        cur_->withs.push_back(w);
        ++n;
        if (!acceptSym(",")) break;
    }
    expectKw("DO", "'DO' expected");
    reportArgMismatch();
    statement();
    cur_->withs.resize(cur_->withs.size() - n);
}

}  // namespace

CompileResult compileScript(std::string_view source, const HostTable& host, const CompileOptions& options) {
    CompileResult r;
    CompilerImpl ci(host, options);
    try {
        ci.declareHost();
    } catch (const CompileError& e) {
        r.messages.push_back({0, 0, std::string("host declarations: ") + e.what()});
        return r;
    }
    try {
        ci.compileProgram(source);
        r.module = std::move(ci.module());
        r.ok = true;
    } catch (const CompileError& e) {
        r.messages.push_back({e.line, e.col, e.what()});
    }
    return r;
}

ImportCatalog buildImportCatalog(const HostTable& host) {
    CompilerImpl ci(host, {});
    try {
        ci.declareHost();
    } catch (const CompileError& e) {
        throw std::runtime_error(std::string("host declarations: ") + e.what());
    }
    return ci.catalog();
}

}  // namespace pelo::lang
