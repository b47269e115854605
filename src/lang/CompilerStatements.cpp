// Statements, and the code of loops, case and try blocks.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

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
        // END or ELSE where this list ends otherwise (`try x; end`): the empty statement would stop on it forever;
        // what the caller expects next names what is missing.
        if (tok_.isKw("END") || tok_.isKw("ELSE")) return;
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

// `x := -y`, and `-y` passed as an argument, negate y as the destination's type, as the reference does: an
// Integer's -(-2147483648) is 2147483648 in an Int64, and a Cardinal's -5 is -5 there.
void CompilerImpl::negateInDestinationType(Ex& v, const Type* to) {
    if (v.negationAt < 0 || !v.negatedType || v.k != EK::Stack || !to) return;
    const TK from = v.negatedType->k, dest = to->k;
    const bool numeric = (isIntKind(from) || isFloatKind(from)) && (isIntKind(dest) || isFloatKind(dest));
    if (!numeric || sameType(v.negatedType, to)) return;
    // back to the operand alone (dropping the negation, the last instruction), then to the destination's type, then
    // the negation there
    const size_t negation = static_cast<size_t>(v.negationAt);
    if (negation > code().size()) return;
    code().resize(negation);
    cur_->lines.resize(negation);
    v.type = v.negatedType;
    v.negationAt = -1;
    Ex operand = v;
    coerce(operand, to, v.line, v.col);
    if (isIntKind(dest)) emit(Op::NegI, static_cast<int32_t>(widthOf(to)));
    else emit(Op::NegF);
    v = operand;
    v.type = to;
    v.k = EK::Stack;
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
        negateInDestinationType(v, target.type);
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
    if (!cond.type || (cond.type->k != TK::Bool && cond.type->k != TK::Variant)) failMismatch();
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
    if (!cond.type || cond.type->k != TK::Bool) failMismatch();
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
    if (!cond.type || cond.type->k != TK::Bool) failMismatch();
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
    if (!var.type || !(isIntKind(var.type->k) || var.type->k == TK::Enum)) failMismatch();
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
    if (!lim.type || !(isIntKind(lim.type->k) || lim.type->k == TK::Enum)) failMismatch();
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
    if (!sel.type || !(isOrdinal(sel.type->k) || sel.type->k == TK::String)) failMismatch();
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
                if (v.type->k != TK::String) failMismatch();
            } else if (!(isOrdinal(v.type->k) && (isIntKind(v.type->k) == isIntKind(st->k)))) {
                failMismatch();
            }
            if (acceptSym("..")) {
                Ex hi = expression();
                if (hi.k != EK::Const || isStr) failMismatch();
                // The upper bound obeys the label rules too: a string there would be compared as a pointer.
                if (!(isOrdinal(hi.type->k) && (isIntKind(hi.type->k) == isIntKind(st->k)))) failMismatch();
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
        if (!e.type) failMismatch();
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
            failMismatch();
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

}  // namespace pelo::lang::detail
