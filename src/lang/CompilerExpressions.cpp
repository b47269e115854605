// Conversions, factors, designators and calls.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

namespace {

// Whether a cast T(x) may take a value of `from`'s kind at all. Characters stand apart from the other ordinal
// types (Char(66) and Integer(c) are refused: Chr and Ord convert), Variants go to and from anything, numbers
// become floating-point or Currency values, characters and strings become strings.
bool castJoinsKinds(const Type* to, const Type* from) {
    const auto ordinalNotChar = [](TK k) { return isOrdinal(k) && k != TK::Char; };
    if (to->k == TK::Variant || from->k == TK::Variant) return true;
    if (ordinalNotChar(to->k)) return ordinalNotChar(from->k);
    if (to->k == TK::Char) return from->k == TK::Char;
    if (isFloatKind(to->k) || to->k == TK::Currency)
        return isIntKind(from->k) || isFloatKind(from->k) || from->k == TK::Currency;
    if (to->k == TK::String) return from->k == TK::Char || from->k == TK::String;
    return true;  // classes, records, arrays: the conversion below decides
}

}  // namespace

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
        case EK::NoValue: failMismatch();
        case EK::TypeRef: failMismatch();
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
        int64_t scaled = 0;
        if (__builtin_mul_overflow(e.cval.i, int64_t{10000}, &scaled)) return false;
        e.cval.i = scaled;
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
    if (e.k == EK::NoValue || e.k == EK::TypeRef) failMismatch();
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
    } else if (from->k == TK::Nil && to->k == TK::ProcPtr) {
        emit(Op::Pop);
        emit(Op::PushInt, 0);
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
        else failMismatch();
        emit(Op::ToVariant, static_cast<int32_t>(vt));
    } else if (from->k == TK::Variant) {
        VarType vt;
        if (isIntKind(to->k) || to->k == TK::Enum) vt = VarType::Int;
        else if (isFloatKind(to->k)) vt = VarType::Float;
        else if (to->k == TK::Bool) vt = VarType::Bool;
        else if (to->k == TK::Char) vt = VarType::Char;
        else if (to->k == TK::String) vt = VarType::String;
        else if (to->k == TK::Currency) vt = VarType::Currency;
        else failMismatch();
        emit(Op::FromVariant, static_cast<int32_t>(vt));
        if (isIntKind(to->k) && widthOf(to) != Width::I64) emit(Op::Wrap, static_cast<int32_t>(widthOf(to)));
        if (to->k == TK::Single) emitRounding(to->k);  // a variant holds a Double
    } else {
        failMismatch();
    }
}

const Symbol* CompilerImpl::lookup(const std::string& upper) {
    if (cur_) {
        auto it = cur_->locals.find(upper);
        if (it != cur_->locals.end()) return &it->second;
    }
    auto g = globals_.find(upper);
    if (g != globals_.end()) return &g->second;
    auto h = hd_->scope.find(upper);
    if (h != hd_->scope.end()) return &h->second;
    return nullptr;
}

Ex CompilerImpl::expression() {
    NestingGuard guard(*this);
    int l = tok_.line, c = tok_.col;
    Ex a = simpleExpression();
    static const std::pair<const char*, BinOp> rel[] = {{"=", BinOp::Eq}, {"<>", BinOp::Ne}, {"<", BinOp::Lt},
                                                        {">", BinOp::Gt}, {"<=", BinOp::Le}, {">=", BinOp::Ge}};
    for (;;) {
        std::optional<BinOp> op;
        if (tok_.kind == Tok::Sym) {
            for (const auto& [text, o] : rel)
                if (tok_.text == text) op = o;
        } else if (tok_.isKw("IN")) {
            op = BinOp::In;
        } else if (tok_.isKw("IS")) {
            op = BinOp::Is;
        }
        if (!op) {
            if (a.refusedAtEnd) failMismatch();
            return a;
        }
        next();
        if (a.k != EK::Const) load(a);
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = simpleExpression();
        a = binary(std::move(a), *op, mark, std::move(b), rl, rc);
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
        const Type* operandType = a.type;
        const bool computed = a.k != EK::Const;
        a = unaryMinus(std::move(a), l, c);
        if (computed && operandType && (isIntKind(operandType->k) || isFloatKind(operandType->k))) {
            // the negation is the last instruction: NegI and its width, or NegF
            a.negationAt = static_cast<int64_t>(here()) - (isIntKind(operandType->k) ? 2 : 1);
            a.negatedType = operandType;
        }
    } else if (tok_.is("+")) {
        next();
        a = term();
    } else {
        a = term();
    }
    for (;;) {
        std::optional<BinOp> op;
        if (tok_.is("+")) op = BinOp::Add;
        else if (tok_.is("-")) op = BinOp::Sub;
        else if (tok_.isKw("OR")) op = BinOp::Or;
        else if (tok_.isKw("XOR")) op = BinOp::Xor;
        if (!op) return a;
        next();
        if (a.k != EK::Const) load(a);
        if (op == BinOp::Or && opt_.shortCircuit && a.type->k == TK::Bool) {
            if (a.k == EK::Const) load(a);
            emit(Op::Dup);
            size_t j = emitJump(Op::JmpT);
            emit(Op::Pop);
            Ex b = term();
            if (b.type == nullptr || b.type->k != TK::Bool) failMismatch();
            load(b);
            patchHere(j);
            a.k = EK::Stack;
            continue;
        }
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = term();
        a = binary(std::move(a), *op, mark, std::move(b), rl, rc);
    }
}

Ex CompilerImpl::term() {
    Ex a = factor();
    for (;;) {
        std::optional<BinOp> op;
        if (tok_.is("*")) op = BinOp::Mul;
        else if (tok_.is("/")) op = BinOp::Slash;
        else if (tok_.isKw("DIV")) op = BinOp::Div;
        else if (tok_.isKw("MOD")) op = BinOp::Mod;
        else if (tok_.isKw("AND")) op = BinOp::And;
        else if (tok_.isKw("SHL")) op = BinOp::Shl;
        else if (tok_.isKw("SHR")) op = BinOp::Shr;
        if (!op) return a;
        next();
        if (a.k != EK::Const) load(a);
        if (op == BinOp::And && opt_.shortCircuit && a.type && a.type->k == TK::Bool) {
            if (a.k == EK::Const) load(a);
            emit(Op::Dup);
            size_t j = emitJump(Op::JmpF);
            emit(Op::Pop);
            Ex b = factor();
            if (b.type == nullptr || b.type->k != TK::Bool) failMismatch();
            load(b);
            patchHere(j);
            a.k = EK::Stack;
            continue;
        }
        size_t mark = here();
        int rl = tok_.line, rc = tok_.col;
        Ex b = factor();
        a = binary(std::move(a), *op, mark, std::move(b), rl, rc);
    }
}

Ex CompilerImpl::unaryMinus(Ex a, int /*line*/, int /*col*/) {
    if (!a.type) failMismatch();
    if (a.k == EK::Const) {
        // A constant negates as the same negation does at run time: the lowest Int64 stays itself.
        const auto negated = static_cast<int64_t>(0 - static_cast<uint64_t>(a.cval.i));
        if (isIntKind(a.type->k)) {
            a.cval.i = negated;
            // A literal that does not fit an Integer once negated is an Int64; a computed Integer wraps, as the
            // same negation does at run time (-(2147483647 shl 31) is -2147483648).
            if (a.type->k == TK::S32 && (a.cval.i < INT32_MIN || a.cval.i > INT32_MAX)) {
                if (a.isLiteral) a.type = tS64;
                else a.cval.i = wrapTo(a.cval.i, static_cast<int32_t>(Width::S32));
            }
            return a;
        }
        if (isFloatKind(a.type->k)) {
            a.cval.setFloat(-a.cval.f());
            return a;
        }
        if (a.type->k == TK::Currency) {
            a.cval.i = negated;
            return a;
        }
        failMismatch();
    }
    load(a);
    if (isIntKind(a.type->k)) emit(Op::NegI, static_cast<int32_t>(widthOf(a.type)));
    else if (isFloatKind(a.type->k)) emit(Op::NegF);
    else if (a.type->k == TK::Currency) emit(Op::NegI, 0);
    else failMismatch();
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
        if (!a.type) failMismatch();
        if (a.k == EK::Const) {
            if (a.type->k == TK::Bool) {
                a.cval.i = a.cval.i ? 0 : 1;
                return a;
            }
            if (isIntKind(a.type->k)) {
                a.cval.i = wrapTo(~a.cval.i, static_cast<int32_t>(widthOf(a.type)));
                return a;
            }
            failMismatch();
        }
        load(a);
        if (a.type->k == TK::Bool) emit(Op::NotB);
        else if (isIntKind(a.type->k)) emit(Op::NotI, static_cast<int32_t>(widthOf(a.type)));
        else if (a.type->k == TK::Variant) {
            emit(Op::FromVariant, static_cast<int32_t>(VarType::Bool));
            emit(Op::NotB);
            a.type = tBool;
        } else failMismatch();
        return a;
    }
    if (tok_.is("-")) {  // "-" inside a term (after "*", "div", ...)
        // It negates the rest of the term, as the reference engine reads it: a * -b * c is a * -(b * c).
        next();
        Ex a = term();
        return unaryMinus(std::move(a), l, c);
    }
    if (tok_.isKw("NIL")) {
        next();
        e.k = EK::Const;
        e.type = tNil;
        return e;
    }
    if (tok_.is("@")) {  // a procedure's value
        next();
        Token id = tok_;
        expectIdent();
        const Symbol* s = lookup(id.upper);
        if (!s) failAt(id.line, id.col, "Unknown identifier '" + id.text + "'");
        if (s->k != SK::Proc) failMismatch();
        const ProcInfo& pi = procs_[static_cast<size_t>(s->index)];
        Type* t = newType(TK::ProcPtr);
        t->sig = &pi.sig;
        e.k = EK::Const;
        e.type = t;
        e.cval = Value::ofInt(pi.index + 1);
        return e;
    }
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
                failMismatch();
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
        // Drop the pushes and keep a constant set (outside a routine there is no code to drop).
        if (cur_) {
            code().resize(start);
            cur_->lines.resize(start);
        }
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
        failMismatchAt(id.line, id.col);
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
        auto b = hd_->baseTypes.find(id.upper);
        if (b != hd_->baseTypes.end() && b->second->k != TK::AnyString) {
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
                    negateInDestinationType(a, p.type);
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

Ex CompilerImpl::callProc(const Sig& sig, int procIndex, const std::string& importName, int l, int c, int shape) {
    Ex e;
    e.line = l;
    e.col = c;
    std::vector<const Type*> anyTypes;
    bool parens = acceptSym("(");
    std::vector<WriteBack> writeBacks;
    parseArgs(sig, anyTypes, parens, procIndex >= 0 || shape >= 0 ? &writeBacks : nullptr);
    if (shape >= 0) emit(Op::CallVar, shape);
    else if (procIndex >= 0) emit(Op::Call, procIndex);
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
    if (m->kind == MemberKind::Constructor) failMismatch();
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
        if (tok_.is("(") && e.type && e.type->k == TK::ProcPtr && e.k != EK::TypeRef && e.k != EK::Const) {
            // A call through a procedure value: the value goes below the arguments.
            load(e);
            e = callProc(*e.type->sig, -1, "", l, c, shapeOf(*e.type->sig));
            continue;
        }
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
            if (!e.type) failMismatch();
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
            if (!e.type || e.k == EK::TypeRef) failMismatch();
            if (e.type->k == TK::Class) {
                const MemberInfo* m = e.type->cls->findDefault();
                if (!m) failMismatch();
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
                    if (!ix.type || !isIntKind(ix.type->k)) failMismatch();
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
                    if (!ix.type || !isOrdinal(ix.type->k)) failMismatch();
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
                    failMismatch();
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
            const int closeLine = tok_.line, closeCol = tok_.col;
            expectSym(")", "Closing parenthesis expected");
            const Type* to = e.type;
            if (!a.type) failMismatch();
            // Kinds a cast cannot join are refused at the closing parenthesis; a constant of a joinable kind is
            // refused after it unless it is an integer made another integer type or a character kept a Char.
            if (!castJoinsKinds(to, a.type)) failMismatchAt(closeLine, closeCol);
            if (a.k == EK::Const && !(isIntKind(to->k) && isIntKind(a.type->k)) &&
                !(to->k == TK::Char && a.type->k == TK::Char))
                failMismatch();
            if (isOrdinal(to->k) && isOrdinal(a.type->k)) {
                // A Boolean is a byte: the cast keeps the low byte, and any nonzero byte counts as true.
                const Width width = to->k == TK::Bool ? Width::U8 : widthOf(to);
                if (a.k == EK::Const) {
                    a.cval.i = wrapTo(a.cval.i, static_cast<int32_t>(width));
                } else {
                    load(a);
                    if (width != Width::I64) emit(Op::Wrap, static_cast<int32_t>(width));
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

}  // namespace pelo::lang::detail
