// The built-in types, type declarations and the run-time form of types.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

void CompilerImpl::initTypes() {
    auto base = [&](TK k, const char* name) {
        Type* t = newType(k, name);
        declaring_->baseTypes[upperAscii(name)] = t;
        return t;
    };
    tU8 = base(TK::U8, "Byte");
    tS8 = base(TK::S8, "ShortInt");
    tU16 = base(TK::U16, "Word");
    tS16 = base(TK::S16, "SmallInt");
    tU32 = base(TK::U32, "Cardinal");
    declaring_->baseTypes["LONGWORD"] = tU32;
    declaring_->baseTypes["DWORD"] = tU32;
    tS32 = base(TK::S32, "Integer");
    declaring_->baseTypes["LONGINT"] = tS32;
    tS64 = base(TK::S64, "Int64");
    tChar = base(TK::Char, "Char");
    declaring_->baseTypes["ANSICHAR"] = tChar;
    declaring_->baseTypes["WIDECHAR"] = tChar;
    tBool = base(TK::Bool, "Boolean");
    tSingle = base(TK::Single, "Single");
    tDouble = base(TK::Double, "Double");
    tExtended = base(TK::Extended, "Extended");
    declaring_->baseTypes["REAL"] = tDouble;
    tCurrency = base(TK::Currency, "Currency");
    tString = base(TK::String, "String");
    declaring_->baseTypes["ANSISTRING"] = tString;
    declaring_->baseTypes["WIDESTRING"] = tString;
    declaring_->baseTypes["UNICODESTRING"] = tString;
    declaring_->baseTypes["PCHAR"] = tString;
    tVariant = base(TK::Variant, "Variant");
    tNil = newType(TK::Nil, "nil");
    tAnyString = newType(TK::AnyString, "AnyString");
    declaring_->baseTypes["ANYSTRING"] = tAnyString;
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
    auto h = hd_->scope.find(upper);
    if (h != hd_->scope.end()) return h->second.k == SK::Type ? h->second.type : nullptr;
    auto b = hd_->baseTypes.find(upper);
    return b != hd_->baseTypes.end() ? b->second : nullptr;
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
    if (tok_.isKw("PROCEDURE") || tok_.isKw("FUNCTION")) {  // a procedure type
        const bool isFunction = tok_.isKw("FUNCTION");
        next();
        Sig& sig = newSig();
        parseParams(sig);
        if (isFunction) {
            expectSym(":", "colon (':') expected");
            sig.result = parseType();
        }
        if (acceptKw("OF")) expectKw("OBJECT", "Syntax error");
        Type* t = newType(TK::ProcPtr, declName);
        t->sig = &sig;
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
                if (lo.k != EK::Const || !isOrdinal(lo.type->k)) failMismatch();
                expectSym("..", "Syntax error");
                Ex hi = expression();
                if (hi.k != EK::Const || !isOrdinal(hi.type->k)) failMismatch();
                int64_t span = 0;
                if (hi.cval.i < lo.cval.i || __builtin_sub_overflow(hi.cval.i, lo.cval.i, &span) || span > 10000000)
                    failAt(l, c, "Invalid Type");
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
            failMismatch();
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
        case TK::ProcPtr: return "proc" + sigText(*t->sig, false, "");
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

// Two procedure types are the same when their parameters (types and modes) and results are.
bool CompilerImpl::sameSig(const Sig& a, const Sig& b) {
    if (a.params.size() != b.params.size() || (a.result == nullptr) != (b.result == nullptr)) return false;
    for (size_t k = 0; k < a.params.size(); ++k) {
        const bool aVar = a.params[k].mode == PMode::Var || a.params[k].mode == PMode::Out;
        const bool bVar = b.params[k].mode == PMode::Var || b.params[k].mode == PMode::Out;
        if (aVar != bVar || !sameType(a.params[k].type, b.params[k].type)) return false;
    }
    return !a.result || sameType(a.result, b.result);
}

int CompilerImpl::shapeOf(const Sig& sig) {
    ProcShape sh;
    for (const Param& prm : sig.params) {
        const bool byRef = prm.mode == PMode::Var || prm.mode == PMode::Out;
        sh.params.push_back({prm.type->k == TK::Untyped ? -1 : rtType(prm.type), byRef, ""});
    }
    sh.hasResult = sig.result != nullptr;
    sh.resultType = sig.result ? rtType(sig.result) : -1;
    for (size_t k = 0; k < mod_.shapes.size(); ++k) {
        const ProcShape& o = mod_.shapes[k];
        bool same = o.hasResult == sh.hasResult && o.resultType == sh.resultType && o.params.size() == sh.params.size();
        for (size_t j = 0; same && j < o.params.size(); ++j)
            same = o.params[j].type == sh.params[j].type && o.params[j].byRef == sh.params[j].byRef;
        if (same) return static_cast<int>(k);
    }
    mod_.shapes.push_back(std::move(sh));
    return static_cast<int>(mod_.shapes.size() - 1);
}

bool CompilerImpl::sameType(const Type* a, const Type* b) {
    if (a == b) return true;
    if (a->k != b->k) return false;
    switch (a->k) {
        case TK::Enum: case TK::Record: return false;
        case TK::ProcPtr: return sameSig(*a->sig, *b->sig);
        case TK::Class: return a->cls == b->cls;
        case TK::DynArray: return sameType(a->elem, b->elem);
        case TK::StaticArray: return a->low == b->low && a->high == b->high && sameType(a->elem, b->elem);
        case TK::Set:
            return !a->elem || !b->elem || sameType(a->elem, b->elem) ||
                   (isIntKind(a->elem->k) && isIntKind(b->elem->k));
        default: return true;
    }
}

}  // namespace pelo::lang::detail
