// Instruction set of the script VM: a stack machine whose arithmetic opcodes are typed by the
// compiler. Code is a sequence of 32-bit words: an opcode followed by its fixed number of operands.
// Jump offsets are relative to the word after the instruction, so a block of code can be moved as a
// whole (the compiler evaluates the right side of an assignment before the target's address).
#pragma once

#include <cstdint>

namespace pelo::lang {

// Operand kinds, used by the loader to check every operand:
//   l local slot, g global slot, k constant, j jump offset, p script proc, h host import,
//   t type, w integer width, n plain number (count, field, bound, ...)
// Stack effect: pops, pushes (-1 = depends on the callee, checked separately).
#define PELO_OPCODES(X)                                                      \
    X(PushInt, "n", 0, 1)        /* 32-bit immediate */                      \
    X(PushConst, "k", 0, 1)                                                  \
    X(PushDefault, "t", 0, 1)    /* zero value of a type */                  \
    X(Pop, "", 1, 0)                                                         \
    X(Dup, "", 1, 2)                                                         \
    X(LoadL, "l", 0, 1)                                                      \
    X(StoreL, "l", 1, 0)                                                     \
    X(LoadG, "g", 0, 1)                                                      \
    X(StoreG, "g", 1, 0)                                                     \
    X(LoadLRef, "l", 0, 1)       /* read through a var parameter */          \
    X(StoreLRef, "l", 1, 0)                                                  \
    X(AddrL, "l", 0, 1)          /* address of a local (var param: its ref) */ \
    X(AddrG, "g", 0, 1)                                                      \
    X(LoadRef, "", 1, 1)                                                     \
    X(StoreRef, "", 2, 0)        /* value, ref */                            \
    X(AddrField, "n", 1, 1)      /* ref to record -> ref to field */         \
    X(AddrIndexS, "nn", 2, 1)    /* ref, index -> ref; operands low, count */ \
    X(AddrIndexD, "", 2, 1)      /* ref to dyn array, index -> ref */        \
    X(LoadField, "n", 1, 1)      /* record value -> field value */           \
    X(LoadIndexS, "nn", 2, 1)                                                \
    X(LoadIndexD, "", 2, 1)                                                  \
    X(StrIndex, "", 2, 1)        /* string, index -> char */                 \
    X(StrIndexRef, "", 2, 1)     /* ref to string, index -> char */          \
    X(StrSetChar, "", 3, 0)      /* char, ref to string, index */            \
    X(Concat, "", 2, 1)                                                      \
    X(CharToStr, "", 1, 1)                                                   \
    X(StrToChar, "", 1, 1)       /* first char or #0 */                      \
    X(AddI, "w", 2, 1)                                                       \
    X(SubI, "w", 2, 1)                                                       \
    X(MulI, "w", 2, 1)                                                       \
    X(DivI, "w", 2, 1)                                                       \
    X(ModI, "w", 2, 1)                                                       \
    X(NegI, "w", 1, 1)                                                       \
    X(NotI, "w", 1, 1)                                                       \
    X(AndI, "", 2, 1)                                                        \
    X(OrI, "", 2, 1)                                                         \
    X(XorI, "", 2, 1)                                                        \
    X(ShlI, "w", 2, 1)                                                       \
    X(ShrI, "w", 2, 1)                                                       \
    X(Wrap, "w", 1, 1)                                                       \
    X(NotB, "", 1, 1)                                                        \
    X(AddF, "", 2, 1)            /* floats: extended precision */            \
    X(SubF, "", 2, 1)                                                        \
    X(MulF, "", 2, 1)                                                        \
    X(DivF, "", 2, 1)                                                        \
    X(AddD, "", 2, 1)            /* floats: double precision */              \
    X(SubD, "", 2, 1)                                                        \
    X(MulD, "", 2, 1)                                                        \
    X(DivD, "", 2, 1)                                                        \
    X(NegF, "", 1, 1)                                                        \
    X(ToSingle, "", 1, 1)        /* round to Single precision */             \
    X(ToDouble, "", 1, 1)        /* round to Double precision */             \
    X(MulC, "", 2, 1)                                                        \
    X(DivC, "", 2, 1)                                                        \
    X(IntToFloat, "", 1, 1)                                                  \
    X(IntToCur, "", 1, 1)                                                    \
    X(FloatToCur, "", 1, 1)                                                  \
    X(DoubleToCur, "", 1, 1)     /* scales in double precision */            \
    X(CurToFloat, "", 1, 1)                                                  \
    X(EqI, "", 2, 1) X(NeI, "", 2, 1) X(LtI, "", 2, 1)                       \
    X(LeI, "", 2, 1) X(GtI, "", 2, 1) X(GeI, "", 2, 1)                       \
    X(EqF, "", 2, 1) X(NeF, "", 2, 1) X(LtF, "", 2, 1)                       \
    X(LeF, "", 2, 1) X(GtF, "", 2, 1) X(GeF, "", 2, 1)                       \
    X(EqS, "", 2, 1) X(NeS, "", 2, 1) X(LtS, "", 2, 1)                       \
    X(LeS, "", 2, 1) X(GtS, "", 2, 1) X(GeS, "", 2, 1)                       \
    X(EqO, "", 2, 1) X(NeO, "", 2, 1)                                        \
    X(SetBuild, "n", -1, 1)      /* n elements -> set */                     \
    X(SetIn, "", 2, 1)           /* element, set -> bool */                  \
    X(SetUnion, "", 2, 1) X(SetDiff, "", 2, 1) X(SetInter, "", 2, 1)         \
    X(SetEq, "", 2, 1) X(SetNe, "", 2, 1) X(SetLe, "", 2, 1) X(SetGe, "", 2, 1) \
    X(SetIncl, "", 2, 0)         /* ref, element */                          \
    X(SetExcl, "", 2, 0)                                                     \
    X(ToVariant, "n", 1, 1)      /* operand: VarType of the typed value */   \
    X(FromVariant, "n", 1, 1)    /* operand: VarType wanted */               \
    X(VarOp, "n", 2, 1)          /* operand: operator code */                \
    X(Jmp, "j", 0, 0)                                                        \
    X(JmpF, "j", 1, 0)                                                       \
    X(JmpT, "j", 1, 0)                                                       \
    X(Call, "p", -1, -1)                                                     \
    X(CallHost, "h", -1, -1)                                                 \
    X(Ret, "", 0, 0)                                                         \
    X(TryExcept, "j", 0, 0)      /* handler at target */                     \
    X(TryFinally, "j", 0, 0)     /* finally part at target */                \
    X(PopTry, "", 0, 0)          /* leave a try..except body normally */     \
    X(EndExcept, "", 0, 0)       /* end of an except handler */              \
    X(EndFinally, "", 0, 0)                                                  \
    X(Leave, "nj", 0, 0)         /* jump out of try blocks down to depth n */ \
    X(IncL, "lnw", 0, 0)         /* local += n, wrapped */                   \
    X(IncG, "gnw", 0, 0)                                                     \
    X(IncRef, "nw", 1, 0)                                                    \
    X(Length, "", 1, 1)          /* string or dyn array */                   \
    X(SetLen, "t", 2, 0)         /* ref to dyn array, length; operand: array type */ \
    X(SetLenS, "", 2, 0)         /* ref to string, length */                 \
    X(Assigned, "", 1, 1)                                                    \
    X(Halt, "", 0, 0)                                                        \
    X(AddC, "", 2, 1)            /* Currency sum: beyond 64 bits a math error */ \
    X(SubC, "", 2, 1)                                                        \
    X(VarCmp, "n", 2, 1)         /* two variants compared: = <> < > <= >= */ \
    X(ScaledToCur, "", 1, 1)     /* a Currency's scaled value, rounded */ \
    X(CallVar, "s", -1, -1)      /* a call through a procedure value, below its arguments */ \
    X(CurUnits, "n", 1, 1)       /* a real to or from ten-thousandths: CurUnitsMode */

enum class Op : int32_t {
#define PELO_OP_ENUM(name, operands, pops, pushes) name,
    PELO_OPCODES(PELO_OP_ENUM)
#undef PELO_OP_ENUM
        Count_
};

struct OpInfo {
    const char* name;
    const char* operands;
    int pops;
    int pushes;
};

const OpInfo& opInfo(Op op);

// How CurUnits moves a real between units and ten-thousandths (Currency's scale): at extended precision, in double
// precision (a Double operand of Currency arithmetic), or back to units.
enum class CurUnitsMode : int32_t { ScaleExtended = 0, ScaleDouble, Unscale, Count_ };

// Integer widths for wrapping arithmetic results to the static type.
enum class Width : int32_t { I64 = 0, S32, U32, S16, U16, S8, U8, Bool };

inline int64_t wrapTo(int64_t v, int32_t w) {
    switch (static_cast<Width>(w)) {
        case Width::I64: return v;
        case Width::S32: return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
        case Width::U32: return static_cast<uint32_t>(static_cast<uint64_t>(v));
        case Width::S16: return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v)));
        case Width::U16: return static_cast<uint16_t>(static_cast<uint64_t>(v));
        case Width::S8: return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint64_t>(v)));
        case Width::U8: return static_cast<uint8_t>(static_cast<uint64_t>(v));
        case Width::Bool: return v & 1;
    }
    return v;
}

}  // namespace pelo::lang
