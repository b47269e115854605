// Unary and binary operators, with constant folding.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

namespace {

// Division and comparisons take the right operand in the left one's signedness, as its 32-bit pattern: an
// unsigned left operand makes a signed right one unsigned (Word 80 mod Integer -7 is 80), a signed 32-bit or
// smaller left one makes a Cardinal signed (Integer 100 div Cardinal 4294967295 is -100).
std::optional<Width> rightOperandAs(TK ak, TK bk) {
    const bool unsignedLeft = ak == TK::U8 || ak == TK::U16 || ak == TK::U32;
    const bool signedRight = bk == TK::S8 || bk == TK::S16 || bk == TK::S32;
    const bool signedLeft = ak == TK::S8 || ak == TK::S16 || ak == TK::S32;
    if (unsignedLeft && signedRight) return Width::U32;
    if (signedLeft && bk == TK::U32) return Width::S32;
    return std::nullopt;
}

}  // namespace

Ex CompilerImpl::binary(Ex a, BinOp op, size_t mark, Ex b, int l, int c) {
    const bool refused = a.refusedAtEnd || b.refusedAtEnd;
    Ex r = binaryOperation(std::move(a), op, mark, std::move(b), l, c);
    r.refusedAtEnd = refused;
    return r;
}

Ex CompilerImpl::binaryOperation(Ex a, BinOp op, size_t mark, Ex b, int l, int c) {
    if (!a.type || !b.type || a.k == EK::NoValue || b.k == EK::NoValue || a.k == EK::TypeRef || b.k == EK::TypeRef)
        failMismatch();
    bool aConst = a.k == EK::Const, bConst = b.k == EK::Const;
    TK ak = a.type->k, bk = b.type->k;
    bool isCmp = op == BinOp::Eq || op == BinOp::Ne || op == BinOp::Lt || op == BinOp::Gt || op == BinOp::Le || op == BinOp::Ge;
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
    // `rightAs`: the right operand is first cut to that width (a constant one already is).
    auto finish = [&](Op o, const Type* rt, int32_t operand = -1, std::optional<Width> rightAs = std::nullopt) {
        materializeA();
        load(b);
        if (rightAs) emit(Op::Wrap, static_cast<int32_t>(*rightAs));
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
    if (op == BinOp::In) {
        if (bk != TK::Set || !(isOrdinal(ak))) failMismatch();
        return finish(Op::SetIn, tBool);
    }
    if (op == BinOp::Is) failMismatch();
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
            Op o = op == BinOp::Eq ? Op::EqF : op == BinOp::Ne ? Op::NeF : op == BinOp::Lt ? Op::LtF : op == BinOp::Gt ? Op::GtF : op == BinOp::Le ? Op::LeF : Op::GeF;
            return finish(o, tBool);
        }
        int32_t code = op == BinOp::Add ? 0 : op == BinOp::Sub ? 1 : op == BinOp::Mul ? 2 : op == BinOp::Slash ? 3 : -1;
        if (code < 0) failMismatch();
        if (ak == TK::Currency) insertCode(mark, {curToFloat, static_cast<int32_t>(Op::ToVariant), fv});
        else if (ak != TK::Variant) insertCode(mark, {static_cast<int32_t>(Op::ToVariant), fv});
        load(b);
        if (bk == TK::Currency) emit(Op::CurToFloat);
        if (bk != TK::Variant) emit(Op::ToVariant, fv);
        return finish(Op::VarOp, tVariant, code);
    }
    // ---- arithmetic between a variant and an integer or a text: the other side becomes a variant and the
    // variant's arithmetic decides (64-bit integers, texts joined or read as numbers)
    if (!isCmp && ((ak == TK::Variant) != (bk == TK::Variant))) {
        const TK other = ak == TK::Variant ? bk : ak;
        int32_t code = op == BinOp::Add ? 0 : op == BinOp::Sub ? 1 : op == BinOp::Mul ? 2 : op == BinOp::Slash ? 3 : op == BinOp::Div ? 4 : op == BinOp::Mod ? 5 : -1;
        const bool text = other == TK::String || other == TK::Char;
        if (code >= 0 && (isIntKind(other) || text)) {
            const int32_t vt = static_cast<int32_t>(text ? VarType::String : VarType::Int);
            if (ak != TK::Variant) {
                if (ak == TK::Char) insertCode(mark, {static_cast<int32_t>(Op::CharToStr), static_cast<int32_t>(Op::ToVariant), vt});
                else insertCode(mark, {static_cast<int32_t>(Op::ToVariant), vt});
            }
            load(b);
            if (bk == TK::Char) emit(Op::CharToStr);
            if (bk != TK::Variant) emit(Op::ToVariant, vt);
            return finish(Op::VarOp, tVariant, code);
        }
    }
    // ---- variants: converted to the other side's type
    if (ak == TK::Variant && bk != TK::Variant) {
        const Type* to = b.type;
        if (to->k == TK::Char) to = tString;
        std::vector<int32_t> conv;
        VarType vt = isIntKind(to->k) ? VarType::Int : isFloatKind(to->k) ? VarType::Float : to->k == TK::Bool ? VarType::Bool : to->k == TK::String ? VarType::String : VarType::None;
        if (vt == VarType::None) failMismatch();
        insertCode(mark, {static_cast<int32_t>(Op::FromVariant), static_cast<int32_t>(vt)});
        a.type = to == tString ? tString : to;
        ak = a.type->k;
    }
    if (bk == TK::Variant && ak != TK::Variant) {
        load(b);
        const Type* to = a.type->k == TK::Char ? tString : a.type;
        VarType vt = isIntKind(to->k) ? VarType::Int : isFloatKind(to->k) ? VarType::Float : to->k == TK::Bool ? VarType::Bool : to->k == TK::String ? VarType::String : VarType::None;
        if (vt == VarType::None) failMismatch();
        emit(Op::FromVariant, static_cast<int32_t>(vt));
        b.type = to;
        bk = to->k;
    }
    if (ak == TK::Variant && bk == TK::Variant) {
        if (isCmp) {
            const int32_t cmp = op == BinOp::Eq ? 0 : op == BinOp::Ne ? 1 : op == BinOp::Lt ? 2 : op == BinOp::Gt ? 3 : op == BinOp::Le ? 4 : 5;
            return finish(Op::VarCmp, tBool, cmp);
        }
        int32_t code = op == BinOp::Add ? 0 : op == BinOp::Sub ? 1 : op == BinOp::Mul ? 2 : op == BinOp::Slash ? 3 : op == BinOp::Div ? 4 : op == BinOp::Mod ? 5 : -1;
        if (code < 0) failMismatch();
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
            if (op == BinOp::Eq || op == BinOp::Ne) {
                r.type = tBool;
                r.cval = Value::ofInt((x == y) == (op == BinOp::Eq));
                return r;
            }
            if (isCmp || op != BinOp::Add) failMismatch();
            r.type = tString;
            r.cval = Value::ofStr(x + y);
            return r;
        }
        if (isIntKind(ak) && isIntKind(bk)) {
            int64_t x = a.cval.i, y = b.cval.i;
            int32_t w = static_cast<int32_t>(widthOf(a.type));
            const bool dividesOrCompares = op == BinOp::Slash || op == BinOp::Div || op == BinOp::Mod || isCmp;
            if (const auto as = rightOperandAs(ak, bk); as && dividesOrCompares)
                y = wrapTo(y, static_cast<int32_t>(*as));
            r.type = a.type;
            if (op == BinOp::Add) r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) + static_cast<uint64_t>(y)), w);
            else if (op == BinOp::Sub) r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) - static_cast<uint64_t>(y)), w);
            else if (op == BinOp::Mul) r.cval.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(x) * static_cast<uint64_t>(y)), w);
            else if (op == BinOp::Slash || op == BinOp::Div || op == BinOp::Mod) {
                if (y == 0) fail("Divide by Zero");
                if (x == INT64_MIN && y == -1) r.cval.i = op == BinOp::Mod ? 0 : x;
                else r.cval.i = wrapTo(op == BinOp::Mod ? x % y : x / y, w);
            } else if (op == BinOp::And) r.cval.i = wrapTo(x & y, w);
            else if (op == BinOp::Or) r.cval.i = wrapTo(x | y, w);
            else if (op == BinOp::Xor) r.cval.i = wrapTo(x ^ y, w);
            else if (op == BinOp::Shl || op == BinOp::Shr) {
                bool wide = static_cast<Width>(w) == Width::I64;
                unsigned sh = static_cast<unsigned>(y) & (wide ? 63u : 31u);
                if (wide) {
                    uint64_t u = static_cast<uint64_t>(x);
                    r.cval.i = static_cast<int64_t>(op == BinOp::Shl ? u << sh : u >> sh);
                } else {
                    uint32_t u = static_cast<uint32_t>(static_cast<uint64_t>(x));
                    uint32_t v = op == BinOp::Shl ? u << sh : u >> sh;
                    r.cval.i = static_cast<Width>(w) == Width::U32 ? static_cast<int64_t>(v) : wrapTo(static_cast<int32_t>(v), w);
                }
            } else if (isCmp) {
                r.type = tBool;
                bool v = op == BinOp::Eq ? x == y : op == BinOp::Ne ? x != y : op == BinOp::Lt ? x < y : op == BinOp::Gt ? x > y : op == BinOp::Le ? x <= y : x >= y;
                r.cval = Value::ofInt(v);
            }
            return r;
        }
        if ((isIntKind(ak) || isFloatKind(ak)) && (isIntKind(bk) || isFloatKind(bk)) && (isFloatKind(ak) || isFloatKind(bk))) {
            long double x = isFloatKind(ak) ? a.cval.f() : static_cast<long double>(a.cval.i);
            long double y = isFloatKind(bk) ? b.cval.f() : static_cast<long double>(b.cval.i);
            if (isCmp) {
                r.type = tBool;
                bool v = op == BinOp::Eq ? x == y : op == BinOp::Ne ? x != y : op == BinOp::Lt ? x < y : op == BinOp::Gt ? x > y : op == BinOp::Le ? x <= y : x >= y;
                r.cval = Value::ofInt(v);
                return r;
            }
            if (op != BinOp::Add && op != BinOp::Sub && op != BinOp::Mul && op != BinOp::Slash) failMismatch();
            if (op == BinOp::Slash && y == 0) fail("Divide by Zero");
            // folded exactly as the VM computes it (see the run-time case below)
            const TK rk = floatResultKind(ak, bk);
            long double v;
            if (rk == TK::Double && ak != TK::Extended && bk != TK::Extended) {
                double dx = static_cast<double>(x), dy = static_cast<double>(y);
                v = op == BinOp::Add ? dx + dy : op == BinOp::Sub ? dx - dy : op == BinOp::Mul ? dx * dy : dx / dy;
            } else {
                v = op == BinOp::Add ? x + y : op == BinOp::Sub ? x - y : op == BinOp::Mul ? x * y : x / y;
            }
            // an overflow is left to the run-time code, which raises it
            if (std::isfinite(v) && roundToFloatType(v, rk)) {
                r.type = floatType(rk);
                r.cval = Value::ofFloat(v);
                return r;
            }
        }
        if (ak == TK::Bool && bk == TK::Bool && (op == BinOp::And || op == BinOp::Or || op == BinOp::Xor || op == BinOp::Eq || op == BinOp::Ne)) {
            int64_t x = a.cval.i, y = b.cval.i;
            r.type = tBool;
            r.cval = Value::ofInt(op == BinOp::And ? (x & y) : op == BinOp::Or ? (x | y) : op == BinOp::Xor ? (x ^ y) : op == BinOp::Eq ? x == y : x != y);
            return r;
        }
    }
    // ---- strings and chars
    if ((ak == TK::String || ak == TK::Char) && (bk == TK::String || bk == TK::Char)) {
        if (ak == TK::Char && bk == TK::Char) {
            if (isCmp) {
                Op o = op == BinOp::Eq ? Op::EqI : op == BinOp::Ne ? Op::NeI : op == BinOp::Lt ? Op::LtI : op == BinOp::Gt ? Op::GtI : op == BinOp::Le ? Op::LeI : Op::GeI;
                return finish(o, tBool);
            }
        }
        if (aConst && bConst && isCmp) failMismatch();
        if (ak == TK::Char) {
            if (a.k == EK::Const) {
                a.cval = strFromChar(static_cast<uint8_t>(a.cval.i));
                a.type = tString;
            } else {
                insertCode(mark, {static_cast<int32_t>(Op::CharToStr)});
            }
        }
        if (bk == TK::Char) coerce(b, tString, l, c);
        if (op == BinOp::Add) return finish(Op::Concat, tString);
        if (isCmp) {
            Op o = op == BinOp::Eq ? Op::EqS : op == BinOp::Ne ? Op::NeS : op == BinOp::Lt ? Op::LtS : op == BinOp::Gt ? Op::GtS : op == BinOp::Le ? Op::LeS : Op::GeS;
            return finish(o, tBool);
        }
        failMismatch();
    }
    // ---- booleans
    if (ak == TK::Bool && bk == TK::Bool) {
        if (op == BinOp::And) return finish(Op::AndI, tBool);
        if (op == BinOp::Or) return finish(Op::OrI, tBool);
        if (op == BinOp::Xor) return finish(Op::XorI, tBool);
        if (op == BinOp::Eq) return finish(Op::EqI, tBool);
        if (op == BinOp::Ne) return finish(Op::NeI, tBool);
        failMismatch();
    }
    // ---- integers
    if (isIntKind(ak) && isIntKind(bk)) {
        int32_t w = static_cast<int32_t>(widthOf(a.type));
        if (op == BinOp::Add) return finish(Op::AddI, a.type, w);
        if (op == BinOp::Sub) return finish(Op::SubI, a.type, w);
        if (op == BinOp::Mul) return finish(Op::MulI, a.type, w);
        const std::optional<Width> rightAs = rightOperandAs(ak, bk);
        const auto finishRightAs = [&](Op o, const Type* rt, int32_t operand) {
            if (rightAs && b.k == EK::Const) {
                b.cval.i = wrapTo(b.cval.i, static_cast<int32_t>(*rightAs));
                return finish(o, rt, operand);
            }
            return finish(o, rt, operand, rightAs);
        };
        if (op == BinOp::Slash || op == BinOp::Div) return finishRightAs(Op::DivI, a.type, w);
        if (op == BinOp::Mod) return finishRightAs(Op::ModI, a.type, w);
        if (op == BinOp::And || op == BinOp::Or || op == BinOp::Xor) {
            // The left operand's type holds the result: a wider right operand's bits are cut to it.
            Ex r = finish(op == BinOp::And ? Op::AndI : op == BinOp::Or ? Op::OrI : Op::XorI, a.type);
            if (static_cast<Width>(w) != Width::I64) emit(Op::Wrap, w);
            return r;
        }
        if (op == BinOp::Shl) return finish(Op::ShlI, a.type, w);
        if (op == BinOp::Shr) return finish(Op::ShrI, a.type, w);
        Op o = op == BinOp::Eq ? Op::EqI : op == BinOp::Ne ? Op::NeI : op == BinOp::Lt ? Op::LtI : op == BinOp::Gt ? Op::GtI : op == BinOp::Le ? Op::LeI : Op::GeI;
        return finishRightAs(o, tBool, -1);
    }
    // ---- currency
    if (ak == TK::Currency || bk == TK::Currency) {
        if ((ak == TK::Currency || isIntKind(ak)) && (bk == TK::Currency || isIntKind(bk))) {
            if (ak != TK::Currency) {
                int64_t scaled = 0;
                if (a.k == EK::Const && !__builtin_mul_overflow(a.cval.i, int64_t{10000}, &scaled)) {
                    a.cval.i = scaled;
                } else if (a.k == EK::Const) {
                    // beyond Currency's range: converted when the statement runs, which raises the math error
                    insertCode(mark, {static_cast<int32_t>(Op::PushConst), addConst(a.cval), static_cast<int32_t>(Op::IntToCur)});
                    a.k = EK::Stack;
                } else {
                    insertCode(mark, {static_cast<int32_t>(Op::IntToCur)});
                }
                a.type = tCurrency;
            }
            if (bk != TK::Currency) coerce(b, tCurrency, l, c);
            if (op == BinOp::Add) return finish(Op::AddC, tCurrency);
            if (op == BinOp::Sub) return finish(Op::SubC, tCurrency);
            if (op == BinOp::Mul) return finish(Op::MulC, tCurrency);
            if (op == BinOp::Slash) return finish(Op::DivC, tCurrency);
            if (isCmp) {
                Op o = op == BinOp::Eq ? Op::EqI : op == BinOp::Ne ? Op::NeI : op == BinOp::Lt ? Op::LtI : op == BinOp::Gt ? Op::GtI : op == BinOp::Le ? Op::LeI : Op::GeI;
                return finish(o, tBool);
            }
            failMismatch();
        }
    }
    // ---- floats
    if ((isIntKind(ak) || isFloatKind(ak) || ak == TK::Currency) && (isIntKind(bk) || isFloatKind(bk) || bk == TK::Currency)) {
        const bool arith = op == BinOp::Add || op == BinOp::Sub || op == BinOp::Mul || op == BinOp::Slash;
        if (!arith && !isCmp) failMismatch();
        // Both operands are widened to extended precision (exactly, but for Currency); comparisons
        // are exact. Arithmetic yields the type of the left operand when that is a real type, the
        // right operand's when the left is an integer, and Currency when the left one is Currency.
        // Two operands that fit a Double are combined in double precision, like the reference's
        // runtime does; with an Extended or Currency operand the result is computed at extended
        // precision and then rounded to the result type.
        const TK rk = ak == TK::Currency ? TK::Currency : floatResultKind(ak, bk);
        const bool wide = ak == TK::Extended || bk == TK::Extended || ak == TK::Currency || bk == TK::Currency;
        if (arith && ((ak == TK::Currency && isFloatKind(bk)) || (isFloatKind(ak) && bk == TK::Currency)))
            return currencyWithReal(std::move(a), op, mark, std::move(b));
        // In arithmetic with a Single, an integer operand becomes a Single first (16777217 + 0.5 is 16777216.5
        // before the sum is rounded); comparisons take it exactly.
        const bool integerToSingle = rk == TK::Single && !isCmp;
        if (integerToSingle && isIntKind(ak)) {
            if (a.k == EK::Const) {
                long double v = static_cast<long double>(a.cval.i);
                roundToFloatType(v, TK::Single);
                a.cval = Value::ofFloat(v);
            } else {
                insertCode(mark, {static_cast<int32_t>(Op::IntToFloat), static_cast<int32_t>(Op::ToSingle)});
            }
            a.type = tSingle;
        }
        toFloat(a, mark);
        if (!isFloatKind(bk)) coerce(b, integerToSingle ? tSingle : tExtended, l, c);
        if (isCmp) {
            Op o = op == BinOp::Eq ? Op::EqF : op == BinOp::Ne ? Op::NeF : op == BinOp::Lt ? Op::LtF : op == BinOp::Gt ? Op::GtF : op == BinOp::Le ? Op::LeF : Op::GeF;
            return finish(o, tBool);
        }
        const bool inDouble = rk == TK::Double && !wide;
        Op o;
        if (op == BinOp::Add) o = inDouble ? Op::AddD : Op::AddF;
        else if (op == BinOp::Sub) o = inDouble ? Op::SubD : Op::SubF;
        else if (op == BinOp::Mul) o = inDouble ? Op::MulD : Op::MulF;
        else o = inDouble ? Op::DivD : Op::DivF;
        Ex r = finish(o, rk == TK::Currency ? tCurrency : floatType(rk));
        if (rk == TK::Currency) emit(Op::FloatToCur);
        else if (!inDouble) emitRounding(rk);
        return r;
    }
    // ---- enumerations: only equality
    if (ak == TK::Enum && bk == TK::Enum && sameType(a.type, b.type)) {
        if (op == BinOp::Eq) return finish(Op::EqI, tBool);
        if (op == BinOp::Ne) return finish(Op::NeI, tBool);
        failMismatch();
    }
    // ---- procedure values: equal or not, nil being no procedure
    if ((ak == TK::ProcPtr || bk == TK::ProcPtr) && (ak == TK::ProcPtr || ak == TK::Nil) &&
        (bk == TK::ProcPtr || bk == TK::Nil)) {
        if (op != BinOp::Eq && op != BinOp::Ne) failMismatch();
        // only variables compare: a procedure's own value (@P) does not, as in the reference
        if ((ak == TK::ProcPtr && aConst) || (bk == TK::ProcPtr && bConst)) failMismatch();
        if (ak == TK::ProcPtr && bk == TK::ProcPtr && !sameType(a.type, b.type)) failMismatch();
        if (ak == TK::Nil) {
            a.cval = Value::ofInt(0);
            a.type = b.type;
        }
        if (bk == TK::Nil) {
            b.cval = Value::ofInt(0);
            b.type = a.type;
        }
        return finish(op == BinOp::Eq ? Op::EqI : Op::NeI, tBool);
    }
    // ---- objects and nil
    if ((ak == TK::Class || ak == TK::Nil) && (bk == TK::Class || bk == TK::Nil)) {
        if (op == BinOp::Eq) return finish(Op::EqO, tBool);
        if (op == BinOp::Ne) return finish(Op::NeO, tBool);
        failMismatch();
    }
    // ---- sets
    if (ak == TK::Set && bk == TK::Set) {
        const Type* st = a.type->elem ? a.type : b.type;
        if (op == BinOp::Add) return finish(Op::SetUnion, st);
        if (op == BinOp::Sub) return finish(Op::SetDiff, st);
        if (op == BinOp::Mul) return finish(Op::SetInter, st);
        if (op == BinOp::Eq) return finish(Op::SetEq, tBool);
        if (op == BinOp::Ne) return finish(Op::SetNe, tBool);
        if ((op == BinOp::Le || op == BinOp::Ge) && bConst) failMismatch();
        if (op == BinOp::Le) return finish(Op::SetLe, tBool);
        if (op == BinOp::Ge) return finish(Op::SetGe, tBool);
        failMismatch();
    }
    failMismatch();
}

// Arithmetic between Currency and a real is done in ten-thousandths at extended precision, a Double scaled in double
// precision first, as the reference's runtime does: a product is scaled back once, a quotient scaled up again, so
// that 1.2345 * (11/6) is 2.2633 and 0.0003 * (1/6) is 0. With the real on the left the result is that real's type,
// scaled back once more. A Single is scaled at extended precision: the reference's single-precision scaling loses
// digits the Single holds, and a Single becomes a Currency here without that loss.
Ex CompilerImpl::currencyWithReal(Ex a, BinOp op, size_t mark, Ex b) {
    const auto scaling = [](TK k) {
        return static_cast<int32_t>(k == TK::Double ? CurUnitsMode::ScaleDouble : CurUnitsMode::ScaleExtended);
    };
    const auto scaleConstant = [](long double v, TK k) -> long double {
        if (k == TK::Double) return static_cast<double>(v) * 10000.0;
        return v * 10000.0L;
    };
    const int32_t curUnits = static_cast<int32_t>(Op::CurUnits);
    const bool currencyLeft = a.type->k == TK::Currency;
    const TK realKind = currencyLeft ? b.type->k : a.type->k;
    // the left operand in ten-thousandths
    if (a.k == EK::Const) {
        a.cval = Value::ofFloat(currencyLeft ? static_cast<long double>(a.cval.i) : scaleConstant(a.cval.f(), realKind));
        a.type = tExtended;
        const size_t before = here();
        emitConstValue(a.type, a.cval);
        std::vector<int32_t> words(code().begin() + static_cast<long>(before), code().end());
        code().resize(before);
        cur_->lines.resize(before);
        insertCode(mark, words);
    } else if (currencyLeft) {
        insertCode(mark, {static_cast<int32_t>(Op::IntToFloat)});
    } else {
        insertCode(mark, {curUnits, scaling(realKind)});
    }
    // the right one
    if (b.k == EK::Const) {
        b.cval = Value::ofFloat(currencyLeft ? scaleConstant(b.cval.f(), realKind) : static_cast<long double>(b.cval.i));
        b.type = tExtended;
        load(b);
    } else {
        load(b);
        if (currencyLeft) emit(Op::CurUnits, scaling(realKind));
        else emit(Op::IntToFloat);
    }
    emit(op == BinOp::Add ? Op::AddF : op == BinOp::Sub ? Op::SubF : op == BinOp::Mul ? Op::MulF : Op::DivF);
    const int32_t unscale = static_cast<int32_t>(CurUnitsMode::Unscale);
    if (op == BinOp::Mul) emit(Op::CurUnits, unscale);
    if (op == BinOp::Slash) emit(Op::CurUnits, static_cast<int32_t>(CurUnitsMode::ScaleExtended));
    if (currencyLeft) {
        emit(Op::ScaledToCur);
    } else {
        emit(Op::CurUnits, unscale);
        emitRounding(realKind);
    }
    Ex r;
    r.k = EK::Stack;
    r.type = currencyLeft ? tCurrency : floatType(realKind);
    r.line = a.line;
    r.col = a.col;
    return r;
}

}  // namespace pelo::lang::detail
