// The built-in routines: Length, SetLength, High, Low, Inc, Dec, Ord, Chr, ...
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

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
            if (!a.type) failMismatch();
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
            if (a.type->k == TK::Char) {
                // A Char is one character long, whatever it holds (its expression still runs).
                if (a.k != EK::Const) {
                    load(a);
                    emit(Op::Pop);
                }
                e.k = EK::Const;
                e.type = tS32;
                e.cval = Value::ofInt(1);
                return e;
            }
            if (a.type->k != TK::String && a.type->k != TK::DynArray) failMismatch();
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
            if (a.type->k != TK::String && a.type->k != TK::DynArray) failMismatch();
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
            if (!t) failMismatch();
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
            failMismatch();
        }
        case Builtin::Inc:
        case Builtin::Dec: {
            openParen();
            int al = tok_.line, ac = tok_.col;
            Ex a = expression();
            if (!isLvalue(a) || a.k == EK::StrCharRef) failAt(al, ac, "Variable Expected");
            if (!a.type || !(isIntKind(a.type->k) || a.type->k == TK::Enum)) failMismatch();
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
            if (!a.type || !(isIntKind(a.type->k) || a.type->k == TK::Enum)) failMismatch();
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
            // A value that is no ordinal is refused at the closing parenthesis; Ord of a constant Boolean or
            // enumeration value is refused where the expression holding it ends (Ex::refusedAtEnd).
            if (!a.type || !isOrdinal(a.type->k)) failMismatch();
            closeParen();
            const bool refused = a.k == EK::Const && (a.type->k == TK::Bool || a.type->k == TK::Enum);
            // Ord passes a variable's value on unchanged but typed Cardinal, so arithmetic on it is done in
            // Cardinal (Ord(c) - 200 is 4294967209 for 'q'); a constant becomes a Cardinal constant.
            if (a.k == EK::Const) {
                e = a;
                e.cval.i = wrapTo(a.cval.i, static_cast<int32_t>(Width::U32));
                e.type = tU32;
                e.refusedAtEnd = refused;
                return e;
            }
            load(a);
            e.k = EK::Stack;
            e.type = tU32;
            return e;
        }
        case Builtin::Chr: {
            openParen();
            Ex a = expression();
            closeParen();
            if (!a.type || !isIntKind(a.type->k)) failMismatch();
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
            // refused at the closing parenthesis, as the reference does
            if (!a.type || !(a.type->k == TK::Class || a.type->k == TK::Nil || a.type->k == TK::DynArray)) failMismatch();
            closeParen();
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
            if (!n.type || !isOrdinal(n.type->k)) failMismatch();
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

}  // namespace pelo::lang::detail
