#include "lang/Verifier.h"

#include <cstring>
#include <map>
#include <string>

#include "lang/Bytecode.h"
#include "lang/Loader.h"

namespace pelo::lang {

namespace {

[[noreturn]] void bad(const std::string& what) { throw LoadError("compiled script is malformed (" + what + ")"); }

// What a stack slot holds. Arrays, records and references carry the (canonical) type they are of
// or refer to. An untyped parameter holds a value of any kind (Any: it can only be passed on) or a
// reference to a variable of any type (AnyRef).
enum class VK : uint8_t { Plain, Str, Obj, Set, Variant, Array, Agg, Ref, AnyRef, Any };

struct Kind {
    VK k = VK::Plain;
    int32_t type = -1;
    bool operator==(const Kind& o) const { return k == o.k && type == o.type; }
    bool operator!=(const Kind& o) const { return !(*this == o); }
};

// Stored stack entries over all jump targets of one procedure: a file cannot make the verifier
// keep more than this (compiled code holds a few values at a jump at most).
constexpr size_t kMaxStoredKinds = 1 << 20;

class CodeVerifier {
public:
    CodeVerifier(Module& m, size_t index, const std::vector<int32_t>& canonical,
                 const std::vector<const ImportEntry*>& imports)
        : m_(m), p_(m.procs[index]), canon_(canonical), imports_(imports), code_(p_.code), n_(code_.size()),
          where_("procedure " + std::to_string(index)) {}

    void run() {
        if (n_ == 0) fail("empty code");
        decode();
        stateAt_.assign(n_, -1);
        enter(0, {});
        while (!work_.empty()) {
            size_t pc = work_.back();
            work_.pop_back();
            walk(pc);
        }
        p_.maxStack = maxDepth_;
        for (const LineEntry& le : p_.lines)
            if (le.pc < 0 || static_cast<size_t>(le.pc) > n_) fail("line table");
    }

private:
    [[noreturn]] void fail(const std::string& what) const { bad(where_ + ": " + what); }
    [[noreturn]] void failAt(size_t pc, const std::string& what) const {
        fail(what + " at " + std::to_string(pc));
    }

    Kind kindOf(int32_t type) const {
        const int32_t c = canon_[static_cast<size_t>(type)];
        switch (m_.types[static_cast<size_t>(type)].kind) {
            case RtKind::Str: return {VK::Str, -1};
            case RtKind::Obj: return {VK::Obj, -1};
            case RtKind::DynArr: return {VK::Array, c};
            case RtKind::Record:
            case RtKind::StaticArr: return {VK::Agg, c};
            case RtKind::Set: return {VK::Set, -1};
            case RtKind::Variant: return {VK::Variant, -1};
            default: return {VK::Plain, -1};
        }
    }
    Kind refTo(int32_t type) const { return {VK::Ref, canon_[static_cast<size_t>(type)]}; }
    const RtType& typeOf(const Kind& k) const { return m_.types[static_cast<size_t>(k.type)]; }

    // The kind of frame slot `slot`: parameters, the result, then the locals.
    Kind slotKind(int32_t slot) const {
        const size_t np = p_.params.size();
        size_t s = static_cast<size_t>(slot);
        if (s < np) {
            const ProcParam& pp = p_.params[s];
            if (pp.type < 0) return {pp.byRef ? VK::AnyRef : VK::Any, -1};
            return pp.byRef ? refTo(pp.type) : kindOf(pp.type);
        }
        s -= np;
        if (p_.hasResult) {
            if (s == 0) return kindOf(p_.resultType);
            --s;
        }
        return kindOf(p_.localTypes[s]);
    }
    bool isVarParam(int32_t slot) const {
        return static_cast<size_t>(slot) < p_.params.size() && p_.params[static_cast<size_t>(slot)].byRef;
    }

    // Instruction starts and every operand that does not depend on the stack.
    void decode() {
        const size_t nTypes = m_.types.size();
        const int32_t frame = p_.frameSize();
        auto typeOk = [&](int32_t t) { return t >= 0 && static_cast<size_t>(t) < nTypes; };
        isStart_.assign(n_, 0);
        isTarget_.assign(n_, 0);
        for (size_t pc = 0; pc < n_;) {
            int32_t o = code_[pc];
            if (o < 0 || o >= static_cast<int32_t>(Op::Count_)) fail("opcode at " + std::to_string(pc));
            const OpInfo& info = opInfo(static_cast<Op>(o));
            size_t len = 1 + std::strlen(info.operands);
            if (pc + len > n_) fail("truncated instruction");
            isStart_[pc] = 1;
            for (size_t k = 0; info.operands[k]; ++k) {
                int32_t v = code_[pc + 1 + k];
                switch (info.operands[k]) {
                    case 'l': if (v < 0 || v >= frame) fail("local index"); break;
                    case 'g': if (v < 0 || static_cast<size_t>(v) >= m_.globals.size()) fail("global index"); break;
                    case 'k': if (v < 0 || static_cast<size_t>(v) >= m_.constants.size()) fail("constant index"); break;
                    case 't': if (!typeOk(v)) fail("type index"); break;
                    case 'p': if (v < 0 || static_cast<size_t>(v) >= m_.procs.size() || v == m_.mainProc) fail("procedure index"); break;
                    case 'h': if (v < 0 || static_cast<size_t>(v) >= m_.imports.size()) fail("import index"); break;
                    case 's': if (v < 0 || static_cast<size_t>(v) >= m_.shapes.size()) fail("shape index"); break;
                    case 'w': if (v < 0 || v > static_cast<int32_t>(Width::Bool)) fail("width"); break;
                    default: break;
                }
            }
            Op op = static_cast<Op>(o);
            if (op == Op::SetBuild && (code_[pc + 1] < 0 || code_[pc + 1] > 256)) fail("set size");
            if (op == Op::VarOp && (code_[pc + 1] < 0 || code_[pc + 1] > 9)) fail("variant operator");
            if (op == Op::CurUnits &&
                (code_[pc + 1] < 0 || code_[pc + 1] >= static_cast<int32_t>(CurUnitsMode::Count_)))
                fail("currency scaling");
            if (op == Op::VarCmp && (code_[pc + 1] < 0 || code_[pc + 1] > 5)) fail("variant comparison");
            if (op == Op::Leave && code_[pc + 1] < 0) fail("leave depth");
            if (op == Op::SetLen && m_.types[static_cast<size_t>(code_[pc + 1])].kind != RtKind::DynArr) fail("array type");
            if ((op == Op::ToVariant || op == Op::FromVariant) &&
                (code_[pc + 1] < 0 || code_[pc + 1] > static_cast<int32_t>(VarType::Null)))
                fail("variant type");
            if ((op == Op::AddrIndexS || op == Op::LoadIndexS) && code_[pc + 2] < 0) fail("array bounds");
            pc += len;
        }
        // Where paths join: the stack is recorded there and compared.
        for (size_t pc = 0; pc < n_;) {
            Op op = static_cast<Op>(code_[pc]);
            size_t len = 1 + std::strlen(opInfo(op).operands);
            switch (op) {
                case Op::Jmp: case Op::JmpF: case Op::JmpT: case Op::TryExcept: case Op::TryFinally:
                    isTarget_[jumpTarget(pc + 1)] = 1;
                    break;
                case Op::Leave: isTarget_[jumpTarget(pc + 2)] = 1; break;
                default: break;
            }
            pc += len;
        }
    }

    size_t jumpTarget(size_t operandPos) const {
        int64_t t = static_cast<int64_t>(operandPos) + 1 + code_[operandPos];
        if (t < 0 || t >= static_cast<int64_t>(n_)) fail("jump target");
        if (!isStart_[static_cast<size_t>(t)]) fail("jump target");
        return static_cast<size_t>(t);
    }

    // A path reaches `target` with `stack`: the first one fixes the state there, later ones must
    // bring the same.
    void enter(size_t target, const std::vector<Kind>& stack) {
        if (target >= n_ || !isStart_[target]) fail("next target");
        if (stateAt_[target] < 0) {
            stored_ += stack.size();
            if (stored_ > kMaxStoredKinds) fail("code too complex to verify");
            stateAt_[target] = static_cast<int32_t>(states_.size());
            states_.push_back(stack);
            work_.push_back(target);
        } else if (states_[static_cast<size_t>(stateAt_[target])] != stack) {
            fail("inconsistent stack at " + std::to_string(target));
        }
    }

    // Follows the code from a recorded state up to the end of its straight-line run.
    void walk(size_t pc) {
        std::vector<Kind> st = states_[static_cast<size_t>(stateAt_[pc])];
        for (;;) {
            size_t next = step(pc, st);
            if (next == kStop) return;
            if (next >= n_) fail("next target");
            if (isTarget_[next]) {
                enter(next, st);
                return;
            }
            pc = next;
        }
    }

    static constexpr size_t kStop = static_cast<size_t>(-1);

    // Interprets one instruction on the abstract stack; returns the next instruction or kStop.
    size_t step(size_t pc, std::vector<Kind>& st) {
        const Op op = static_cast<Op>(code_[pc]);
        const int32_t a1 = n_ > pc + 1 ? code_[pc + 1] : 0;
        const size_t next = pc + 1 + std::strlen(opInfo(op).operands);
        auto pop = [&]() -> Kind {
            if (st.empty()) failAt(pc, "stack underflow");
            Kind k = st.back();
            st.pop_back();
            return k;
        };
        auto push = [&](Kind k) {
            st.push_back(k);
            if (static_cast<int32_t>(st.size()) > maxDepth_) maxDepth_ = static_cast<int32_t>(st.size());
            if (maxDepth_ > kMaxOperandStack) fail("stack too deep");
        };
        auto want = [&](VK k) {
            Kind got = pop();
            if (got.k != k) failAt(pc, "operand of the wrong kind");
            return got;
        };
        auto wantKind = [&](const Kind& k) {
            if (pop() != k) failAt(pc, "operand of the wrong kind");
        };
        // The arguments of a call of a script procedure (or of a procedure value of that shape), last first.
        auto popArguments = [&](const std::vector<ProcParam>& params) {
            for (size_t k = params.size(); k-- > 0;) {
                const ProcParam& pp = params[k];
                Kind got = pop();
                bool ok;
                if (pp.type < 0) ok = pp.byRef ? got.k == VK::Ref || got.k == VK::AnyRef
                                               : got.k != VK::Ref && got.k != VK::AnyRef;
                else if (!pp.byRef) ok = got == kindOf(pp.type);
                else ok = got == refTo(pp.type);
                if (!ok) failAt(pc, "argument " + std::to_string(k + 1) + " of the wrong kind");
            }
        };
        // A reference whose variable is of one of the given run-time kinds.
        auto wantRef = [&](std::initializer_list<RtKind> kinds) -> const RtType& {
            Kind r = want(VK::Ref);
            const RtType& t = typeOf(r);
            for (RtKind k : kinds)
                if (t.kind == k) return t;
            failAt(pc, "reference of the wrong kind");
        };
        auto plain = [&](int pops) {
            for (int k = 0; k < pops; ++k) want(VK::Plain);
            push({VK::Plain, -1});
        };
        auto atFrameLevel = [&]() {
            if (!st.empty()) failAt(pc, "values left on the stack at a try block boundary");
        };
        switch (op) {
            case Op::PushInt: push({VK::Plain, -1}); break;
            case Op::PushConst:
                push({m_.constants[static_cast<size_t>(a1)].tag == Tag::Str ? VK::Str : VK::Plain, -1});
                break;
            case Op::PushDefault: push(kindOf(a1)); break;
            case Op::Pop: pop(); break;
            case Op::Dup: {
                Kind k = pop();
                push(k);
                push(k);
                break;
            }
            case Op::LoadL: push(slotKind(a1)); break;
            case Op::StoreL:
                if (isVarParam(a1) || slotKind(a1).k == VK::Any) failAt(pc, "store into a parameter's slot");
                wantKind(slotKind(a1));
                break;
            case Op::LoadG: push(kindOf(m_.globals[static_cast<size_t>(a1)].type)); break;
            case Op::StoreG: wantKind(kindOf(m_.globals[static_cast<size_t>(a1)].type)); break;
            case Op::LoadLRef:
            case Op::StoreLRef: {
                Kind r = slotKind(a1);
                if (r.k != VK::Ref) failAt(pc, "not a typed var parameter");
                if (op == Op::LoadLRef) push(kindOf(r.type));
                else wantKind(kindOf(r.type));
                break;
            }
            case Op::AddrL:
                if (isVarParam(a1) || slotKind(a1).k == VK::Any) failAt(pc, "address of a parameter's slot");
                push(refTo(slotType(a1)));
                break;
            case Op::AddrG: push(refTo(m_.globals[static_cast<size_t>(a1)].type)); break;
            case Op::LoadRef: push(kindOf(want(VK::Ref).type)); break;
            case Op::StoreRef: {
                Kind r = want(VK::Ref);
                wantKind(kindOf(r.type));
                break;
            }
            case Op::AddrField: {
                const RtType& t = wantRef({RtKind::Record});
                if (a1 < 0 || static_cast<size_t>(a1) >= t.fields.size()) failAt(pc, "field index");
                push(refTo(t.fields[static_cast<size_t>(a1)]));
                break;
            }
            case Op::AddrIndexS:
            case Op::AddrIndexD: {
                want(VK::Plain);
                const RtType& t = wantRef({op == Op::AddrIndexS ? RtKind::StaticArr : RtKind::DynArr});
                push(refTo(t.elem));
                break;
            }
            case Op::LoadField: {
                Kind g = want(VK::Agg);
                const RtType& t = typeOf(g);
                if (t.kind != RtKind::Record || a1 < 0 || static_cast<size_t>(a1) >= t.fields.size())
                    failAt(pc, "field index");
                push(kindOf(t.fields[static_cast<size_t>(a1)]));
                break;
            }
            case Op::LoadIndexS: {
                want(VK::Plain);
                const RtType& t = typeOf(want(VK::Agg));
                if (t.kind != RtKind::StaticArr) failAt(pc, "operand of the wrong kind");
                push(kindOf(t.elem));
                break;
            }
            case Op::LoadIndexD: {
                want(VK::Plain);
                push(kindOf(typeOf(want(VK::Array)).elem));
                break;
            }
            case Op::StrIndex:
                want(VK::Plain);
                want(VK::Str);
                push({VK::Plain, -1});
                break;
            case Op::StrIndexRef:
                want(VK::Plain);
                wantRef({RtKind::Str});
                push({VK::Plain, -1});
                break;
            case Op::StrSetChar:
                want(VK::Plain);
                wantRef({RtKind::Str});
                want(VK::Plain);
                break;
            case Op::Concat:
                want(VK::Str);
                want(VK::Str);
                push({VK::Str, -1});
                break;
            case Op::CharToStr:
                want(VK::Plain);
                push({VK::Str, -1});
                break;
            case Op::StrToChar:
                want(VK::Str);
                push({VK::Plain, -1});
                break;
            case Op::AddI: case Op::SubI: case Op::MulI: case Op::DivI: case Op::ModI:
            case Op::AndI: case Op::OrI: case Op::XorI: case Op::ShlI: case Op::ShrI:
            case Op::AddF: case Op::SubF: case Op::MulF: case Op::DivF:
            case Op::AddD: case Op::SubD: case Op::MulD: case Op::DivD:
            case Op::MulC: case Op::DivC: case Op::AddC: case Op::SubC:
            case Op::EqI: case Op::NeI: case Op::LtI: case Op::LeI: case Op::GtI: case Op::GeI:
            case Op::EqF: case Op::NeF: case Op::LtF: case Op::LeF: case Op::GtF: case Op::GeF:
                plain(2);
                break;
            case Op::NegI: case Op::NotI: case Op::Wrap: case Op::NotB: case Op::NegF:
            case Op::ToSingle: case Op::ToDouble: case Op::IntToFloat: case Op::IntToCur:
            case Op::FloatToCur: case Op::DoubleToCur: case Op::CurToFloat: case Op::ScaledToCur:
            case Op::CurUnits:
                plain(1);
                break;
            case Op::EqS: case Op::NeS: case Op::LtS: case Op::LeS: case Op::GtS: case Op::GeS:
                want(VK::Str);
                want(VK::Str);
                push({VK::Plain, -1});
                break;
            case Op::EqO:
            case Op::NeO:
                want(VK::Obj);
                want(VK::Obj);
                push({VK::Plain, -1});
                break;
            case Op::SetBuild:
                for (int32_t k = 0; k < a1; ++k) want(VK::Plain);
                push({VK::Set, -1});
                break;
            case Op::SetIn:
                want(VK::Set);
                want(VK::Plain);
                push({VK::Plain, -1});
                break;
            case Op::SetUnion: case Op::SetDiff: case Op::SetInter:
                want(VK::Set);
                want(VK::Set);
                push({VK::Set, -1});
                break;
            case Op::SetEq: case Op::SetNe: case Op::SetLe: case Op::SetGe:
                want(VK::Set);
                want(VK::Set);
                push({VK::Plain, -1});
                break;
            case Op::SetIncl:
            case Op::SetExcl:
                want(VK::Plain);
                wantRef({RtKind::Set});
                break;
            case Op::ToVariant: {
                // A variant's content type must describe what its payload is.
                const VarType vt = static_cast<VarType>(a1);
                want(vt == VarType::String ? VK::Str : vt == VarType::Object ? VK::Obj : VK::Plain);
                push({VK::Variant, -1});
                break;
            }
            case Op::FromVariant: {
                const VarType vt = static_cast<VarType>(a1);
                want(VK::Variant);
                push({vt == VarType::String ? VK::Str : vt == VarType::Object ? VK::Obj : VK::Plain, -1});
                break;
            }
            case Op::VarOp:
                want(VK::Variant);
                want(VK::Variant);
                push({VK::Variant, -1});
                break;
            case Op::VarCmp:
                want(VK::Variant);
                want(VK::Variant);
                push({VK::Plain, -1});
                break;
            case Op::Jmp: enter(jumpTarget(pc + 1), st); return kStop;
            case Op::JmpF:
            case Op::JmpT:
                want(VK::Plain);
                enter(jumpTarget(pc + 1), st);
                break;
            case Op::Call: {
                const Proc& c = m_.procs[static_cast<size_t>(a1)];
                popArguments(c.params);
                if (c.hasResult) push(kindOf(c.resultType));
                break;
            }
            case Op::CallVar: {
                const ProcShape& sh = m_.shapes[static_cast<size_t>(a1)];
                popArguments(sh.params);
                if (pop().k != VK::Plain) failAt(pc, "procedure value of the wrong kind");
                if (sh.hasResult) push(kindOf(sh.resultType));
                break;
            }
            case Op::CallHost: {
                const Import& im = m_.imports[static_cast<size_t>(a1)];
                const ImportEntry& e = *imports_[static_cast<size_t>(a1)];
                for (size_t k = e.params.size(); k-- > 0;) {
                    const ImportParam& hp = e.params[k];
                    Kind got = pop();
                    bool ok;
                    if (hp.byRef) {
                        ok = got.k == VK::AnyRef || got.k == VK::Ref;
                        // the host writes a value of its parameter's kind into the variable
                        if (!hp.any) ok = got.k == VK::Ref && refKindIs(got, hp.kind);
                    } else {
                        ok = hp.any || (got.k != VK::Ref && got.k != VK::AnyRef && valueKindIs(got, hp.kind));
                    }
                    if (!ok) failAt(pc, "argument " + std::to_string(k + 1) + " of the wrong kind");
                }
                if (im.hasResult) push(kindOf(im.resultType));
                break;
            }
            case Op::Ret:
            case Op::Halt: return kStop;
            case Op::TryExcept:
            case Op::TryFinally:
                atFrameLevel();
                enter(jumpTarget(pc + 1), st);
                break;
            case Op::PopTry:
            case Op::EndFinally: atFrameLevel(); break;
            case Op::EndExcept: break;
            case Op::Leave:
                atFrameLevel();
                enter(jumpTarget(pc + 2), st);
                return kStop;
            case Op::IncL:
                if (slotKind(a1).k != VK::Plain) failAt(pc, "operand of the wrong kind");
                break;
            case Op::IncG:
                if (kindOf(m_.globals[static_cast<size_t>(a1)].type).k != VK::Plain) failAt(pc, "operand of the wrong kind");
                break;
            case Op::IncRef: wantRef({RtKind::Plain}); break;
            case Op::Length: {
                Kind k = pop();
                if (k.k != VK::Str && k.k != VK::Array && k.k != VK::Agg) failAt(pc, "operand of the wrong kind");
                push({VK::Plain, -1});
                break;
            }
            case Op::SetLen: {
                want(VK::Plain);
                Kind r = want(VK::Ref);
                // the new elements are made for the array type the instruction names
                if (r.type != canon_[static_cast<size_t>(a1)]) failAt(pc, "reference of the wrong kind");
                break;
            }
            case Op::SetLenS:
                want(VK::Plain);
                wantRef({RtKind::Str});
                break;
            case Op::Assigned: {
                Kind k = pop();
                if (k.k != VK::Obj && k.k != VK::Array) failAt(pc, "operand of the wrong kind");
                push({VK::Plain, -1});
                break;
            }
            case Op::Count_: failAt(pc, "opcode");
        }
        return next;
    }

    int32_t slotType(int32_t slot) const {
        const size_t np = p_.params.size();
        size_t s = static_cast<size_t>(slot);
        if (s < np) return p_.params[s].type;
        s -= np;
        if (p_.hasResult) {
            if (s == 0) return p_.resultType;
            --s;
        }
        return p_.localTypes[s];
    }

    // Host parameters are described by run-time kind only; a var parameter must be of a kind the
    // host can write without knowing more (the standard library has no others).
    bool refKindIs(const Kind& r, RtKind want) const {
        const RtKind k = typeOf(r).kind;
        if (k != want) return false;
        return k == RtKind::Plain || k == RtKind::Str || k == RtKind::Obj || k == RtKind::Set || k == RtKind::Variant;
    }
    bool valueKindIs(const Kind& v, RtKind want) const {
        switch (v.k) {
            case VK::Plain: return want == RtKind::Plain;
            case VK::Str: return want == RtKind::Str;
            case VK::Obj: return want == RtKind::Obj;
            case VK::Set: return want == RtKind::Set;
            case VK::Variant: return want == RtKind::Variant;
            case VK::Array: return want == RtKind::DynArr;
            case VK::Agg: return want == typeOf(v).kind;
            default: return false;
        }
    }

    Module& m_;
    Proc& p_;
    const std::vector<int32_t>& canon_;
    const std::vector<const ImportEntry*>& imports_;
    const std::vector<int32_t>& code_;
    const size_t n_;
    const std::string where_;
    std::vector<uint8_t> isStart_, isTarget_;
    std::vector<int32_t> stateAt_;
    std::vector<std::vector<Kind>> states_;
    std::vector<size_t> work_;
    size_t stored_ = 0;
    int32_t maxDepth_ = 0;
};

}  // namespace

std::vector<int32_t> canonicalTypes(const Module& m) {
    std::vector<int32_t> canon(m.types.size());
    std::map<std::vector<int64_t>, int32_t> seen;
    for (size_t k = 0; k < m.types.size(); ++k) {
        const RtType& t = m.types[k];
        std::vector<int64_t> key{static_cast<int64_t>(t.kind)};
        switch (t.kind) {
            case RtKind::DynArr: key.push_back(canon[static_cast<size_t>(t.elem)]); break;
            case RtKind::StaticArr:
                key.push_back(canon[static_cast<size_t>(t.elem)]);
                key.push_back(t.count);
                break;
            case RtKind::Record:
                for (int32_t f : t.fields) key.push_back(canon[static_cast<size_t>(f)]);
                break;
            default: break;
        }
        canon[k] = seen.emplace(std::move(key), static_cast<int32_t>(k)).first->second;
    }
    return canon;
}

void verifyProcCode(Module& m, size_t index, const std::vector<int32_t>& canonical,
                    const std::vector<const ImportEntry*>& imports) {
    CodeVerifier(m, index, canonical, imports).run();
}

}  // namespace pelo::lang
