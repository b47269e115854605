#include "lang/Vm.h"

#include <cmath>
#include <cstring>
#include <new>

#include "lang/Bytecode.h"
#include "lang/VmErrorTexts.h"
#include "lang/rtl/DoubleRounding.h"

namespace pelo::lang {

namespace {

[[noreturn]] void fail(ErrorCode c, std::string p = {}) { throw ScriptError(c, std::move(p)); }

inline Value* deref(const Value& v) {
    Value* t = v.target();
    if (!t) fail(ErrorCode::NullPointerException);
    return t;
}

// Takes a reference off the stack slot and keeps it (and with it the storage of an element it
// designates) until the end of the instruction that writes through it.
inline Value takeRef(Value& slot) { return std::move(slot); }

inline int compareStr(const Value& a, const Value& b) {
    std::string_view x = a.str(), y = b.str();
    size_t n = std::min(x.size(), y.size());
    int c = n ? std::memcmp(x.data(), y.data(), n) : 0;
    if (c) return c;
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

SetRep* newSet() { return new SetRep{1, {0, 0, 0, 0}}; }

inline bool setHas(const Value& s, int64_t e) {
    if (s.tag != Tag::Set || !s.set || e < 0 || e > 255) return false;
    return (s.set->bits[e >> 6] >> (e & 63)) & 1;
}

Value setFromBits(const uint64_t b[4]) {
    Value r;
    r.tag = Tag::Set;
    r.set = newSet();
    std::memcpy(r.set->bits, b, sizeof r.set->bits);
    return r;
}

void setBits(const Value& v, uint64_t out[4]) {
    if (v.tag == Tag::Set && v.set) std::memcpy(out, v.set->bits, 4 * sizeof(uint64_t));
    else std::memset(out, 0, 4 * sizeof(uint64_t));
}

// Rounds an extended value to Double precision for storage; a finite value beyond the Double range
// is an overflow, as when the FPU stores it with exceptions enabled.
inline long double roundToDouble(long double v) {
    double r = static_cast<double>(v);
    if (std::isinf(r) && std::isfinite(v)) fail(ErrorCode::MathError);
    return r;
}


}  // namespace


Vm::Vm(const HostTable& host, std::shared_ptr<const ImportCatalog> catalog, VmLimits limits)
    : host_(host), catalog_(std::move(catalog)), limits_(limits) {}

Vm::~Vm() { clear(); }

void Vm::clear() {
    if (depth_ > 0) return;  // never while running
    globals_.clear();
    if (stack_) clearRange(stack_.get(), highWater_);
    stack_.reset();
    // What the script's objects still hold of each other now (rings no count frees) goes with its code.
    ScriptObject::releaseHeldByObjectsOf(this);
    frames_.clear();
    handlers_.clear();
    imports_.clear();
    externalFns_.clear();
    module_ = Module{};
    loaded_ = false;
    ++loadGeneration_;
}

void Vm::loadFile(std::string_view bytes) { loadModule(deserializeModule(bytes)); }

void Vm::loadModule(Module module) {
    if (depth_ > 0) throw LoadError("Script engine already running");
    clear();
    std::vector<BoundImport> imports = verifyModule(module, *catalog_);
    for (size_t k = 0; k < imports.size(); ++k) {
        const Import& im = module.imports[k];
        if (!im.external) continue;
        std::shared_ptr<ForeignFunction> fn;
        // the verifier has read this signature already
        if (foreign_) fn = foreign_->bind(im.target, *parseForeignSignature(im.signature));
        externalFns_.push_back(std::make_unique<HostFn>([fn](CallCtx& c) {
            if (!fn) throw ScriptError(ErrorCode::CouldNotCallProc, "");
            fn->call(c);
        }));
        imports[k].fn = externalFns_.back().get();
    }
    module_ = std::move(module);
    imports_ = std::move(imports);
    globals_.clear();
    globals_.reserve(module_.globals.size());
    for (const Global& g : module_.globals) globals_.push_back(makeDefault(g.type));
    stack_.reset(new Value[limits_.stackSlots]);
    frames_.reserve(static_cast<size_t>(limits_.maxFrames) + 1);
    sp_ = stack_.get();
    highWater_ = sp_;
    loaded_ = true;
    ++loadGeneration_;
    stopRequested_ = false;
}

Value Vm::makeDefault(int typeId) const {
    Value v;
    if (typeId < 0 || static_cast<size_t>(typeId) >= module_.types.size()) return v;
    const RtType& t = module_.types[static_cast<size_t>(typeId)];
    switch (t.kind) {
        case RtKind::Plain: break;
        case RtKind::Str: v.tag = Tag::Str; break;
        case RtKind::Obj: v.tag = Tag::Obj; break;
        case RtKind::DynArr: v.tag = Tag::Arr; break;
        case RtKind::Set: v.tag = Tag::Set; break;
        case RtKind::Variant: v.vt = VarType::Empty; break;
        case RtKind::Record:
        case RtKind::StaticArr: {
            auto* a = new ArrayRep{1, typeId, new std::vector<Value>()};
            v.tag = Tag::Agg;
            v.a = a;
            valuesMade_ += t.kind == RtKind::Record ? static_cast<int64_t>(t.fields.size()) : t.count;
            if (t.kind == RtKind::Record) {
                a->items->reserve(t.fields.size());
                for (int32_t f : t.fields) a->items->push_back(makeDefault(f));
            } else {
                a->items->reserve(static_cast<size_t>(t.count));
                for (int32_t k = 0; k < t.count; ++k) a->items->push_back(makeDefault(t.elem));
            }
            break;
        }
        case RtKind::Count_: break;
    }
    return v;
}

Value Vm::cloneAgg(const Value& v) const {
    Value r;
    r.tag = Tag::Agg;
    r.a = new ArrayRep{1, v.a->typeId, new std::vector<Value>(*v.a->items)};
    valuesMade_ += static_cast<int64_t>(v.a->items->size());
    for (Value& item : *r.a->items)
        if (item.tag == Tag::Agg && item.a) item = cloneAgg(item);
    return r;
}

void Vm::clearRange(Value* from, Value* to) {
    for (Value* p = from; p < to; ++p) p->clear();
}

int Vm::findProc(std::string_view name) const {
    if (!loaded_) return -1;
    std::string u = upperAscii(name);
    for (size_t k = 0; k < module_.procs.size(); ++k)
        if (static_cast<int>(k) != module_.mainProc && module_.procs[k].name == u) return static_cast<int>(k);
    return -1;
}

const Proc* Vm::proc(int index) const {
    if (!loaded_ || index < 0 || static_cast<size_t>(index) >= module_.procs.size()) return nullptr;
    return &module_.procs[static_cast<size_t>(index)];
}

Value* Vm::global(std::string_view name) {
    int k = module_.findGlobal(name);
    return k < 0 ? nullptr : &globals_[static_cast<size_t>(k)];
}

void Vm::runMain() {
    if (!loaded_) fail(ErrorCode::NoMainProc);
    if (depth_ > 0) throw ScriptError(ErrorCode::CustomError, "Script engine already running");
    execute(module_.mainProc, nullptr, 0, nullptr);
}

Value Vm::call(int procIndex, const std::vector<Value>& args, std::vector<Value>* varOut) {
    const Proc* p = proc(procIndex);
    if (!p) throw ScriptError(ErrorCode::CustomError, "Unknown procedure");
    if (args.size() < p->params.size()) throw ScriptError(ErrorCode::CustomError, "Not enough parameters");
    if (args.size() > p->params.size()) throw ScriptError(ErrorCode::CustomError, "Too many parameters");
    std::vector<Value> conv;
    conv.reserve(args.size());
    std::vector<Value> refTargets(args.size());
    for (size_t k = 0; k < args.size(); ++k) {
        const ProcParam& pp = p->params[k];
        const Value& a = args[k];
        const std::string& sig = pp.sig;
        bool strParam = sig == "string";
        bool isInt = sig == "u8" || sig == "s8" || sig == "u16" || sig == "s16" || sig == "u32" || sig == "s32" ||
                     sig == "s64" || sig == "bool" || sig == "char";
        bool isFloat = sig == "double" || sig == "single";
        Value v;
        if (a.isRef()) throw ScriptError(ErrorCode::CustomError, "Invalid parameter");
        if (pp.type < 0) v = a;  // untyped
        else if (strParam && (a.tag == Tag::Str)) v = a;
        else if (isInt && a.tag == Tag::Plain && a.vt != VarType::Float) v = Value::ofInt(a.i);
        else if (isFloat && a.tag == Tag::Plain) v = a.vt == VarType::Int ? Value::ofFloat(static_cast<long double>(a.i)) : a;
        else if (makeDefault(pp.type).tag == a.tag) v = a;
        else throw ScriptError(ErrorCode::CustomError, "Invalid parameter");
        if (pp.byRef) {
            // the script reads and writes the variable as its declared type
            refTargets[k] = std::move(v);
            conv.push_back(Value::variableRef(&refTargets[k]));
        } else {
            conv.push_back(std::move(v));
        }
    }
    Value result;
    if (p->hasResult) result = makeDefault(p->resultType);
    execute(procIndex, conv.data(), static_cast<int>(conv.size()), p->hasResult ? &result : nullptr);
    if (varOut) {
        varOut->assign(args.size(), Value());
        for (size_t k = 0; k < args.size(); ++k)
            if (p->params[k].byRef) (*varOut)[k] = std::move(refTargets[k]);
    }
    return result;
}

void Vm::execute(int procIndex, Value* args, int nargs, Value* result) {
    if (!loaded_) fail(ErrorCode::NoMainProc);
    const Proc& p = module_.procs[static_cast<size_t>(procIndex)];
    Value* entrySp = sp_;
    if (sp_ + nargs + p.frameSize() + p.maxStack + 1 > stack_.get() + limits_.stackSlots) fail(ErrorCode::OutOfStackRange);
    for (int k = 0; k < nargs; ++k) *sp_++ = args[k];
    size_t stopFrames = frames_.size();
    size_t handlerMark = handlers_.size();
    if (depth_ == 0) {
        stopRequested_ = false;
        loopSteps_ = 0;
        valuesMade_ = 0;
        stringValues_ = 0;
        stringBytesAtStart_ = stringBytesMade();
    }
    ScriptObject::MakerScope maker(this);
    ++depth_;
    try {
        enterProc(procIndex, sp_ - nargs);
        run(stopFrames);
    } catch (...) {
        --depth_;
        frames_.resize(stopFrames);
        // A fatal error leaves without unwinding the handlers of the frames it ends.
        if (handlers_.size() > handlerMark) handlers_.resize(handlerMark);
        clearRange(entrySp, highWater_);
        sp_ = entrySp;
        throw;
    }
    --depth_;
    // The callee left its result (if any) at entrySp.
    if (p.hasResult && result) *result = std::move(*entrySp);
    clearRange(entrySp, sp_);
    sp_ = entrySp;
}

bool Vm::fitsShape(const Proc& p, const ProcShape& shape) const {
    const std::vector<int32_t>& canon = module_.canonicalTypes;
    auto same = [&canon](int32_t a, int32_t b) { return a < 0 || b < 0 ? a == b : canon[static_cast<size_t>(a)] == canon[static_cast<size_t>(b)]; };
    if (p.params.size() != shape.params.size() || p.hasResult != shape.hasResult) return false;
    for (size_t k = 0; k < p.params.size(); ++k)
        if (p.params[k].byRef != shape.params[k].byRef || !same(p.params[k].type, shape.params[k].type)) return false;
    return !p.hasResult || same(p.resultType, shape.resultType);
}

void Vm::enterProc(int procIndex, Value* argsBase) {
    const Proc& p = module_.procs[static_cast<size_t>(procIndex)];
    if (static_cast<int>(frames_.size()) >= limits_.maxFrames) fail(ErrorCode::OutOfStackRange);
    Value* end = argsBase + p.frameSize() + p.maxStack;
    if (end + 1 > stack_.get() + limits_.stackSlots) fail(ErrorCode::OutOfStackRange);
    // Value parameters of record type get their own copy.
    for (size_t k = 0; k < p.params.size(); ++k) {
        Value& a = argsBase[k];
        if (a.tag == Tag::Agg && a.a && a.a->refs > 1 && !p.params[k].byRef) a = cloneAgg(a);
        if (p.params[k].byRef && !a.isRef()) fail(ErrorCode::TypeMismatch);
    }
    Value* slot = argsBase + p.params.size();
    if (p.hasResult) *slot++ = makeDefault(p.resultType);
    for (int32_t t : p.localTypes) *slot++ = makeDefault(t);
    sp_ = slot;
    if (end > highWater_) highWater_ = end;
    frames_.push_back(Frame{&p, p.code.data(), p.code.data(), argsBase, handlers_.size()});
}

void Vm::run(size_t stopFrames) {
    for (;;) {
        try {
            interpret(stopFrames);
            return;
        } catch (const ScriptError& e) {
            if (!handle(e, stopFrames)) throw;
        } catch (const std::bad_alloc&) {
            ScriptError e(ErrorCode::OutOfMemory, "");
            if (!handle(e, stopFrames)) throw e;
        } catch (const LoadError&) {
            throw;
        } catch (const std::exception& ex) {
            ScriptError e(ErrorCode::Exception, ex.what());
            if (!handle(e, stopFrames)) throw e;
        }
    }
}

ErrorCode Vm::lastErrorCode() const {
    if (handlers_.empty() || handlers_.back().kind != Handler::Catching) return ErrorCode::NoError;
    return handlers_.back().code;
}

const std::string& Vm::lastErrorParam() const {
    static const std::string none;
    if (handlers_.empty()) return lastParam_;
    return handlers_.back().kind == Handler::Catching ? handlers_.back().param : none;
}

bool Vm::stepSpent() {
    // Making a value costs about what one instruction does; a step is a round of a loop.
    constexpr int64_t kValuesPerStep = 1024;
    if (stopRequested_) return true;
    if (!limits_.maxLoopSteps) return false;
    // The strings made are read every 64 steps only: on Windows a thread-local counter costs a call.
    if ((++loopSteps_ & 63) == 0)
        stringValues_ = static_cast<int64_t>((stringBytesMade() - stringBytesAtStart_) / sizeof(Value));
    return loopSteps_ + (valuesMade_ + stringValues_) / kValuesPerStep > limits_.maxLoopSteps;
}

bool Vm::handle(const ScriptError& e, size_t stopFrames) {
    lastParam_ = e.param;
    if (e.fatal) return false;
    // Code can go round through its handlers without a backward jump or a call, so a handled error
    // counts as a step and sees a stop request like one.
    if (stepSpent()) throw ScriptError(ErrorCode::CustomError, "Script stopped", true);
    size_t handlerFloor = stopFrames < frames_.size() ? frames_[stopFrames].handlerBase : handlers_.size();
    while (handlers_.size() > handlerFloor) {
        Handler& h = handlers_.back();
        // A finally part or an except part that raises gives up its entry.
        if (h.kind == Handler::Running || h.kind == Handler::Catching) {
            handlers_.pop_back();
            continue;
        }
        frames_.resize(h.frame + 1);
        clearRange(h.sp, highWater_);
        sp_ = h.sp;
        frames_.back().pc = h.pc;
        if (h.kind == Handler::Except) {
            // The entry stays while the except part runs: ExceptionType and ExceptionParam read it there.
            h.kind = Handler::Catching;
            h.code = e.code;
            h.param = e.param;
        } else {
            h.kind = Handler::Running;
            h.then = Handler::Reraise;
            h.code = e.code;
            h.param = e.param;
        }
        return true;
    }
    return false;
}

// Stores where the value may need a copy (records), may not be stored at all (references) or is
// a set; everything else is a plain move.
void Vm::storeSlow(Value& dst, Value& src) {
    if (src.isRef()) fail(ErrorCode::TypeMismatch);
    if (src.tag == Tag::Agg && src.a && src.a->refs > 1) {
        dst = cloneAgg(src);
        src.clear();
    } else {
        dst = std::move(src);
    }
}

#define READ() (*pc++)
// Typed opcodes trust the compiler, but a damaged file must not make them overwrite a pointer:
// operands that should be plain numbers are checked (one byte compare each).
#define NEED_PLAIN1()                                            \
    if (sp[-1].tag != Tag::Plain) {                              \
        sync();                                                  \
        fail(ErrorCode::TypeMismatch);                           \
    }
#define NEED_PLAIN2()                                            \
    if ((sp[-1].tag != Tag::Plain) | (sp[-2].tag != Tag::Plain)) { \
        sync();                                                  \
        fail(ErrorCode::TypeMismatch);                           \
    }

void Vm::interpret(size_t stopFrames) {
    Frame* fr = &frames_.back();
    const int32_t* pc = fr->pc;
    Value* base = fr->base;
    Value* sp = sp_;
    const Value* consts = module_.constants.data();
    Value* globals = globals_.data();

    // Keeps the VM state consistent before anything that can throw or re-enter.
    auto sync = [&]() {
        sp_ = sp;
        fr->pc = pc;
    };
    auto checkStop = [&]() {
        if (stepSpent()) {
            sync();
            throw ScriptError(ErrorCode::CustomError, "Script stopped", true);
        }
    };

    // Moves the operand stack to a depth the loader checked; slots in between are cleared.
    auto setDepth = [&](Value* to) {
        if (to > sp) clearRange(sp, to);
        else clearRange(to, sp);
        sp = to;
    };
    // Leaves try blocks of this frame down to try level `depth`: except blocks and finally parts
    // being run are dropped, the first finally block met runs first and continues the leave.
    // A finally part, or the target, may lie before the instruction that leaves: code can go round that
    // way without a backward jump, so such a transfer counts as a step.
    auto leave = [&](int32_t depth, const int32_t* target, Value* targetSp) {
        const int32_t* from = pc;
        size_t floor = fr->handlerBase + static_cast<size_t>(depth);
        while (handlers_.size() > floor) {
            Handler& h = handlers_.back();
            if (h.kind == Handler::Finally) {
                pc = h.pc;
                setDepth(h.sp);
                h.kind = Handler::Running;
                h.then = Handler::Leave;
                h.leaveDepth = depth;
                h.pc = target;
                h.sp = targetSp;
                if (pc <= from) checkStop();
                return;
            }
            handlers_.pop_back();
        }
        pc = target;
        setDepth(targetSp);
        if (pc <= from) checkStop();
    };
    // The innermost handler, when it belongs to this frame and has the wanted state; damaged code
    // that reaches for another frame's entry ends the run.
    auto ownHandler = [&](bool running) -> Handler& {
        if (handlers_.size() <= fr->handlerBase || handlers_.back().frame != frames_.size() - 1 ||
            (handlers_.back().kind == Handler::Running) != running) {
            sync();
            throw ScriptError(ErrorCode::InvalidOpcode, "", true);
        }
        return handlers_.back();
    };

    for (;;) {
        Op op = static_cast<Op>(READ());
        switch (op) {
            case Op::PushInt: {
                Value& v = *sp++;
                if (v.tag != Tag::Plain) v.clear();  // only after damaged code left a value behind
                v.i = READ();
                break;
            }
            case Op::PushConst: *sp++ = consts[READ()]; break;
            case Op::PushDefault: *sp++ = makeDefault(READ()); break;
            case Op::Pop: (--sp)->clear(); break;
            case Op::Dup: *sp = sp[-1]; ++sp; break;
            case Op::LoadL: *sp++ = base[READ()]; break;
            case Op::StoreL: {
                sync();
                Value& dst = base[READ()];
                --sp;
                if (sp->tag >= Tag::Agg) storeSlow(dst, *sp);
                else dst = std::move(*sp);
                break;
            }
            case Op::LoadG: *sp++ = globals[READ()]; break;
            case Op::StoreG: {
                sync();
                Value& dst = globals[READ()];
                --sp;
                if (sp->tag >= Tag::Agg) storeSlow(dst, *sp);
                else dst = std::move(*sp);
                break;
            }
            case Op::LoadLRef: {
                sync();
                *sp = *deref(base[READ()]);
                ++sp;
                break;
            }
            case Op::StoreLRef: {
                sync();
                Value* dst = deref(base[READ()]);
                --sp;
                if (sp->tag >= Tag::Agg) storeSlow(*dst, *sp);
                else *dst = std::move(*sp);
                break;
            }
            case Op::AddrL: {
                Value& v = *sp++;
                v.clear();
                v.tag = Tag::Ref;
                v.ref = &base[READ()];
                break;
            }
            case Op::AddrG: {
                Value& v = *sp++;
                v.clear();
                v.tag = Tag::Ref;
                v.ref = &globals[READ()];
                break;
            }
            case Op::LoadRef: {
                sync();
                Value* r = deref(sp[-1]);
                sp[-1] = *r;
                break;
            }
            case Op::StoreRef: {
                sync();
                Value held = takeRef(sp[-1]);
                Value* r = deref(held);
                sp -= 2;
                if (sp->tag >= Tag::Agg) storeSlow(*r, *sp);
                else *r = std::move(*sp);
                break;
            }
            case Op::AddrField: {
                sync();
                int32_t k = READ();
                Value* r = deref(sp[-1]);
                if (r->tag != Tag::Agg || !r->a || k < 0 || static_cast<size_t>(k) >= r->a->items->size())
                    fail(ErrorCode::OutOfRecordRange);
                sp[-1] = Value::elementRef(r->a, static_cast<uint32_t>(k));
                break;
            }
            case Op::AddrIndexS: {
                sync();
                int32_t low = READ(), count = READ();
                // Wraps rather than overflows: an index far below the low bound lands far above the count.
                const int64_t ix = static_cast<int64_t>(static_cast<uint64_t>(sp[-1].i) - static_cast<uint64_t>(static_cast<int64_t>(low)));
                --sp;
                Value* r = deref(sp[-1]);
                if (r->tag != Tag::Agg || !r->a) fail(ErrorCode::NullPointerException);
                if (ix < 0 || ix >= count || static_cast<size_t>(ix) >= r->a->items->size()) fail(ErrorCode::OutOfRange);
                sp[-1] = Value::elementRef(r->a, static_cast<uint32_t>(ix));
                break;
            }
            case Op::AddrIndexD: {
                sync();
                int64_t ix = sp[-1].i;
                --sp;
                Value* r = deref(sp[-1]);
                if (r->tag != Tag::Arr) fail(ErrorCode::TypeMismatch);
                if (!r->a || ix < 0 || static_cast<size_t>(ix) >= r->a->items->size() ||
                    ix > Value::kMaxElementIndex)
                    fail(ErrorCode::OutOfRange);
                sp[-1] = Value::elementRef(r->a, static_cast<uint32_t>(ix));
                break;
            }
            case Op::LoadField: {
                sync();
                int32_t k = READ();
                Value& v = sp[-1];
                if (v.tag != Tag::Agg || !v.a || k < 0 || static_cast<size_t>(k) >= v.a->items->size())
                    fail(ErrorCode::OutOfRecordRange);
                Value f = (*v.a->items)[static_cast<size_t>(k)];
                v = std::move(f);
                break;
            }
            case Op::LoadIndexS: {
                sync();
                int32_t low = READ(), count = READ();
                // Wraps rather than overflows: an index far below the low bound lands far above the count.
                const int64_t ix = static_cast<int64_t>(static_cast<uint64_t>(sp[-1].i) - static_cast<uint64_t>(static_cast<int64_t>(low)));
                --sp;
                Value& v = sp[-1];
                if (v.tag != Tag::Agg || !v.a) fail(ErrorCode::NullPointerException);
                if (ix < 0 || ix >= count || static_cast<size_t>(ix) >= v.a->items->size()) fail(ErrorCode::OutOfRange);
                Value f = (*v.a->items)[static_cast<size_t>(ix)];
                v = std::move(f);
                break;
            }
            case Op::LoadIndexD: {
                sync();
                int64_t ix = sp[-1].i;
                --sp;
                Value& v = sp[-1];
                if (v.tag != Tag::Arr) fail(ErrorCode::TypeMismatch);
                if (!v.a || ix < 0 || static_cast<size_t>(ix) >= v.a->items->size()) fail(ErrorCode::OutOfRange);
                Value f = (*v.a->items)[static_cast<size_t>(ix)];
                v = std::move(f);
                break;
            }
            case Op::StrIndex: {
                sync();
                int64_t ix = sp[-1].i;
                --sp;
                std::string_view s = sp[-1].str();
                if (ix < 1 || ix > static_cast<int64_t>(s.size())) fail(ErrorCode::CustomError, "Out of string range");
                uint8_t ch = static_cast<uint8_t>(s[static_cast<size_t>(ix - 1)]);
                sp[-1].clear();
                sp[-1].i = ch;
                break;
            }
            case Op::StrIndexRef: {
                sync();
                int64_t ix = sp[-1].i;
                --sp;
                Value* r = deref(sp[-1]);
                std::string_view s = r->str();
                if (ix < 1 || ix > static_cast<int64_t>(s.size())) fail(ErrorCode::CustomError, "Out of string range");
                const uint8_t ch = static_cast<uint8_t>(s[static_cast<size_t>(ix - 1)]);
                sp[-1].clear();
                sp[-1].i = ch;
                break;
            }
            case Op::StrSetChar: {
                sync();
                int64_t ix = sp[-1].i;
                Value held = takeRef(sp[-2]);
                Value* r = deref(held);
                uint8_t ch = static_cast<uint8_t>(sp[-3].i);
                sp -= 3;
                if (r->tag != Tag::Str) fail(ErrorCode::TypeMismatch);
                if (ix < 1 || !r->s || ix > r->s->len) fail(ErrorCode::CustomError, "Out of string range");
                strUnique(r->s)->data[ix - 1] = static_cast<char>(ch);
                break;
            }
            case Op::Concat: {
                sync();
                Value& a = sp[-2];
                Value& b = sp[-1];
                std::string_view y = b.str();
                if (!y.empty()) {
                    std::string_view x = a.str();
                    if (static_cast<int64_t>(x.size() + y.size()) > limits_.maxStringLength) fail(ErrorCode::OutOfMemory);
                    if (x.empty()) {
                        a = std::move(b);
                    } else {
                        StrRep* s = strAlloc(x.size() + y.size());
                        std::memcpy(s->data, x.data(), x.size());
                        std::memcpy(s->data + x.size(), y.data(), y.size());
                        a.release();
                        a.s = s;
                        a.tag = Tag::Str;
                    }
                }
                b.clear();
                --sp;
                break;
            }
            case Op::CharToStr: {
                uint8_t c = static_cast<uint8_t>(sp[-1].i);
                sp[-1] = strFromChar(c);
                break;
            }
            case Op::StrToChar: {
                std::string_view s = sp[-1].str();
                uint8_t c = s.empty() ? 0 : static_cast<uint8_t>(s[0]);
                sp[-1].clear();
                sp[-1].i = c;
                break;
            }
            case Op::AddI: {
                int32_t w = READ();
                NEED_PLAIN2();
                --sp;
                sp[-1].i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(sp[-1].i) + static_cast<uint64_t>(sp->i)), w);
                break;
            }
            case Op::SubI: {
                int32_t w = READ();
                NEED_PLAIN2();
                --sp;
                sp[-1].i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(sp[-1].i) - static_cast<uint64_t>(sp->i)), w);
                break;
            }
            case Op::MulI: {
                int32_t w = READ();
                NEED_PLAIN2();
                --sp;
                sp[-1].i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(sp[-1].i) * static_cast<uint64_t>(sp->i)), w);
                break;
            }
            case Op::DivI:
            case Op::ModI: {
                int32_t w = READ();
                NEED_PLAIN2();
                --sp;
                int64_t a = sp[-1].i, b = sp->i;
                if (b == 0) {
                    sync();
                    fail(ErrorCode::DivideByZero, kIntDivByZeroText);
                }
                int64_t r;
                if (a == INT64_MIN && b == -1) r = op == Op::DivI ? a : 0;
                else r = op == Op::DivI ? a / b : a % b;
                sp[-1].i = wrapTo(r, w);
                break;
            }
            case Op::NegI: {
                int32_t w = READ();
                NEED_PLAIN1();
                sp[-1].i = wrapTo(static_cast<int64_t>(0 - static_cast<uint64_t>(sp[-1].i)), w);
                break;
            }
            case Op::NotI: {
                int32_t w = READ();
                NEED_PLAIN1();
                sp[-1].i = wrapTo(~sp[-1].i, w);
                break;
            }
            case Op::AndI: NEED_PLAIN2(); --sp; sp[-1].i &= sp->i; break;
            case Op::OrI: NEED_PLAIN2(); --sp; sp[-1].i |= sp->i; break;
            case Op::XorI: NEED_PLAIN2(); --sp; sp[-1].i ^= sp->i; break;
            case Op::ShlI:
            case Op::ShrI: {
                int32_t w = READ();
                NEED_PLAIN2();
                --sp;
                int64_t a = sp[-1].i;
                int64_t n = sp->i;
                bool wide = static_cast<Width>(w) == Width::I64;
                unsigned sh = static_cast<unsigned>(n) & (wide ? 63u : 31u);
                if (wide) {
                    uint64_t u = static_cast<uint64_t>(a);
                    sp[-1].i = static_cast<int64_t>(op == Op::ShlI ? u << sh : u >> sh);
                } else {
                    uint32_t u = static_cast<uint32_t>(static_cast<uint64_t>(a));
                    uint32_t r = op == Op::ShlI ? u << sh : u >> sh;
                    sp[-1].i = wrapTo(static_cast<int64_t>(static_cast<int32_t>(r)), w);
                    if (static_cast<Width>(w) == Width::U32) sp[-1].i = r;
                }
                break;
            }
            case Op::Wrap: {
                int32_t w = READ();
                NEED_PLAIN1();
                sp[-1].i = wrapTo(sp[-1].i, w);
                break;
            }
            case Op::NotB: NEED_PLAIN1(); sp[-1].i = sp[-1].i ? 0 : 1; break;
            case Op::AddF:
            case Op::SubF:
            case Op::MulF: {
                NEED_PLAIN2();
                --sp;
                long double a = sp[-1].f(), b = sp->f();
                long double r = op == Op::AddF ? a + b : op == Op::SubF ? a - b : a * b;
                // Overflow to infinity is an error, as on an FPU with exceptions enabled.
                if (!std::isfinite(r) && std::isfinite(a) && std::isfinite(b)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(r);
                break;
            }
            case Op::DivF: {
                NEED_PLAIN2();
                --sp;
                long double a = sp[-1].f(), b = sp->f();
                if (b == 0) {
                    sync();
                    if (a == 0 || std::isnan(a)) fail(ErrorCode::MathError, kInvalidFloatOpText);
                    fail(ErrorCode::DivideByZero, kFloatDivByZeroText);
                }
                long double q = a / b;
                if (!std::isfinite(q) && std::isfinite(a)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(q);
                break;
            }
            // Double operations round once, in double precision: going through the extended result
            // would round twice and can miss the nearest double.
            case Op::AddD:
            case Op::SubD:
            case Op::MulD: {
                NEED_PLAIN2();
                --sp;
                double a = static_cast<double>(sp[-1].f()), b = static_cast<double>(sp->f());
                double r = op == Op::AddD ? a + b : op == Op::SubD ? a - b : a * b;
                if (!std::isfinite(r) && std::isfinite(a) && std::isfinite(b)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(r);
                break;
            }
            case Op::DivD: {
                NEED_PLAIN2();
                --sp;
                double a = static_cast<double>(sp[-1].f()), b = static_cast<double>(sp->f());
                if (b == 0) {
                    sync();
                    if (a == 0 || std::isnan(a)) fail(ErrorCode::MathError, kInvalidFloatOpText);
                    fail(ErrorCode::DivideByZero, kFloatDivByZeroText);
                }
                double q = a / b;
                if (!std::isfinite(q) && std::isfinite(a)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(q);
                break;
            }
            case Op::NegF: NEED_PLAIN1(); sp[-1].setFloat(-sp[-1].f()); break;
            case Op::ToSingle: {
                NEED_PLAIN1();
                long double v = sp[-1].f();
                float r = static_cast<float>(v);
                if (std::isinf(r) && std::isfinite(v)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(r);
                break;
            }
            case Op::ToDouble: {
                NEED_PLAIN1();
                long double v = sp[-1].f();
                double r = static_cast<double>(v);
                if (std::isinf(r) && std::isfinite(v)) {
                    sync();
                    fail(ErrorCode::MathError);
                }
                sp[-1].setFloat(r);
                break;
            }
            case Op::AddC:
            case Op::SubC: {
                NEED_PLAIN2();
                --sp;
                const bool over = op == Op::AddC ? __builtin_add_overflow(sp[-1].i, sp->i, &sp[-1].i)
                                                 : __builtin_sub_overflow(sp[-1].i, sp->i, &sp[-1].i);
                if (over) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                break;
            }
            case Op::MulC: {
                NEED_PLAIN2();
                --sp;
                long double r = static_cast<long double>(sp[-1].i) * static_cast<long double>(sp->i) / 10000.0L;
                if (!(std::fabs(r) < kCurrencyLimit)) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                sp[-1].i = static_cast<int64_t>(std::nearbyint(r));
                break;
            }
            case Op::DivC: {
                NEED_PLAIN2();
                --sp;
                if (sp->i == 0) {
                    sync();
                    fail(ErrorCode::DivideByZero, kFloatDivByZeroText);
                }
                // the quotient first, then the scale, as the reference's runtime computes it
                const long double q = static_cast<long double>(sp[-1].i) / static_cast<long double>(sp->i);
                long double r = q * 10000.0L;
                if (!(std::fabs(r) < kCurrencyLimit)) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                sp[-1].i = static_cast<int64_t>(std::nearbyint(r));
                break;
            }
            case Op::IntToFloat: NEED_PLAIN1(); sp[-1].setFloat(static_cast<long double>(sp[-1].i)); break;
            case Op::IntToCur:
                NEED_PLAIN1();
                if (__builtin_mul_overflow(sp[-1].i, int64_t{10000}, &sp[-1].i)) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                break;
            case Op::ScaledToCur: {
                // A product or quotient of a Currency's scaled value: rounded half to even, as the FPU does.
                NEED_PLAIN1();
                const long double c = std::nearbyint(sp[-1].f());
                if (!(c >= -kCurrencyLimit && c < kCurrencyLimit)) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                sp[-1].i = static_cast<int64_t>(c);
                sp[-1].xhi = 0;
                break;
            }
            case Op::FloatToCur: {
                NEED_PLAIN1();
                long double c = std::nearbyint(sp[-1].f() * 10000.0L);
                if (!(c >= -kCurrencyLimit && c < kCurrencyLimit)) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                sp[-1].i = static_cast<int64_t>(std::nearbyint(c));
                sp[-1].xhi = 0;
                break;
            }
            case Op::DoubleToCur: {
                NEED_PLAIN1();
                double c = std::nearbyint(static_cast<double>(sp[-1].f()) * 10000.0);
                if (!(c >= -static_cast<double>(kCurrencyLimit) && c < static_cast<double>(kCurrencyLimit))) {
                    sync();
                    fail(ErrorCode::MathError, kInvalidFloatOpText);
                }
                sp[-1].i = static_cast<int64_t>(std::nearbyint(c));
                sp[-1].xhi = 0;
                break;
            }
            case Op::CurUnits: {
                const auto mode = static_cast<CurUnitsMode>(READ());
                NEED_PLAIN1();
                const long double v = sp[-1].f();
                long double r;
                switch (mode) {
                    case CurUnitsMode::ScaleDouble: r = rtl::asDouble(static_cast<double>(v) * 10000.0); break;
                    case CurUnitsMode::Unscale: r = v / 10000.0L; break;
                    default: r = v * 10000.0L; break;
                }
                sp[-1].setFloat(r);
                break;
            }
            case Op::CurToFloat: NEED_PLAIN1(); sp[-1].setFloat(static_cast<long double>(sp[-1].i) / 10000.0L); break;
#define CMP_I(name, expr) \
    case Op::name: NEED_PLAIN2(); --sp; sp[-1].i = (sp[-1].i expr sp->i) ? 1 : 0; break;
                CMP_I(EqI, ==) CMP_I(NeI, !=) CMP_I(LtI, <) CMP_I(LeI, <=) CMP_I(GtI, >) CMP_I(GeI, >=)
#undef CMP_I
#define CMP_F(name, expr) \
    case Op::name: NEED_PLAIN2(); --sp; sp[-1].i = (sp[-1].f() expr sp->f()) ? 1 : 0; break;
                CMP_F(EqF, ==) CMP_F(NeF, !=) CMP_F(LtF, <) CMP_F(LeF, <=) CMP_F(GtF, >) CMP_F(GeF, >=)
#undef CMP_F
#define CMP_S(name, expr)                          \
    case Op::name: {                               \
        int c = compareStr(sp[-2], sp[-1]);        \
        sp[-1].clear();                            \
        --sp;                                      \
        sp[-1].clear();                            \
        sp[-1].i = (c expr 0) ? 1 : 0;             \
        break;                                     \
    }
                CMP_S(EqS, ==) CMP_S(NeS, !=) CMP_S(LtS, <) CMP_S(LeS, <=) CMP_S(GtS, >) CMP_S(GeS, >=)
#undef CMP_S
            case Op::EqO:
            case Op::NeO: {
                bool eq = sp[-2].i == sp[-1].i;
                sp[-1].clear();
                --sp;
                sp[-1].clear();
                sp[-1].i = (op == Op::EqO) == eq ? 1 : 0;
                break;
            }
            case Op::SetBuild: {
                int32_t n = READ();
                uint64_t bits[4] = {0, 0, 0, 0};
                for (int32_t k = 0; k < n; ++k) {
                    NEED_PLAIN1();
                    int64_t e = (--sp)->i;
                    if (e >= 0 && e < 256) bits[e >> 6] |= 1ull << (e & 63);
                }
                *sp++ = setFromBits(bits);
                break;
            }
            case Op::SetIn: {
                if (sp[-2].tag != Tag::Plain) {
                    sync();
                    fail(ErrorCode::TypeMismatch);
                }
                bool in = setHas(sp[-1], sp[-2].i);
                sp[-1].clear();
                --sp;
                sp[-1].i = in ? 1 : 0;
                break;
            }
            case Op::SetUnion:
            case Op::SetDiff:
            case Op::SetInter:
            case Op::SetEq:
            case Op::SetNe:
            case Op::SetLe:
            case Op::SetGe: {
                uint64_t a[4], b[4], r[4];
                setBits(sp[-2], a);
                setBits(sp[-1], b);
                sp[-1].clear();
                --sp;
                sp[-1].clear();
                bool cmp = false, isCmp = true;
                switch (op) {
                    case Op::SetUnion: for (int k = 0; k < 4; ++k) r[k] = a[k] | b[k]; isCmp = false; break;
                    case Op::SetDiff: for (int k = 0; k < 4; ++k) r[k] = a[k] & ~b[k]; isCmp = false; break;
                    case Op::SetInter: for (int k = 0; k < 4; ++k) r[k] = a[k] & b[k]; isCmp = false; break;
                    case Op::SetEq: cmp = std::memcmp(a, b, sizeof a) == 0; break;
                    case Op::SetNe: cmp = std::memcmp(a, b, sizeof a) != 0; break;
                    case Op::SetLe: cmp = true; for (int k = 0; k < 4; ++k) cmp = cmp && (a[k] & ~b[k]) == 0; break;
                    default: cmp = true; for (int k = 0; k < 4; ++k) cmp = cmp && (b[k] & ~a[k]) == 0; break;
                }
                if (isCmp) sp[-1].i = cmp ? 1 : 0;
                else sp[-1] = setFromBits(r);
                break;
            }
            case Op::SetIncl:
            case Op::SetExcl: {
                sync();
                int64_t e = sp[-1].i;
                Value held = takeRef(sp[-2]);
                Value* r = deref(held);
                sp -= 2;
                if (r->tag != Tag::Set) fail(ErrorCode::TypeMismatch);
                uint64_t bits[4];
                setBits(*r, bits);
                if (e >= 0 && e < 256) {
                    if (op == Op::SetIncl) bits[e >> 6] |= 1ull << (e & 63);
                    else bits[e >> 6] &= ~(1ull << (e & 63));
                }
                *r = setFromBits(bits);
                break;
            }
            case Op::ToVariant: {
                VarType vt = static_cast<VarType>(READ());
                // a variant holds a Double
                if (vt == VarType::Float) {
                    sync();
                    sp[-1].setFloat(roundToDouble(sp[-1].f()));
                }
                sp[-1].vt = vt;
                break;
            }
            case Op::FromVariant: {
                sync();
                VarType want = static_cast<VarType>(READ());
                convertVariant(sp[-1], want);
                break;
            }
            case Op::VarOp: {
                sync();
                int32_t code = READ();
                variantOp(sp[-2], sp[-1], code);
                (--sp)->clear();
                break;
            }
            case Op::VarCmp: {
                sync();
                const int32_t code = READ();
                const bool result = variantCompare(sp[-2], sp[-1], code);
                (--sp)->clear();
                sp[-1].clear();
                sp[-1].i = result ? 1 : 0;
                break;
            }
            case Op::Jmp: {
                int32_t off = READ();
                pc += off;
                if (off < 0) {
                    sync();
                    checkStop();
                }
                break;
            }
            case Op::JmpF: {
                int32_t off = READ();
                NEED_PLAIN1();
                --sp;
                if (!sp->i) {
                    pc += off;
                    if (off < 0) {
                        sync();
                        checkStop();
                    }
                }
                break;
            }
            case Op::JmpT: {
                int32_t off = READ();
                NEED_PLAIN1();
                --sp;
                if (sp->i) {
                    pc += off;
                    if (off < 0) {
                        sync();
                        checkStop();
                    }
                }
                break;
            }
            case Op::Call: {
                int32_t p = READ();
                sync();
                checkStop();
                const Proc& callee = module_.procs[static_cast<size_t>(p)];
                enterProc(p, sp - callee.params.size());
                fr = &frames_.back();
                pc = fr->pc;
                base = fr->base;
                sp = sp_;
                break;
            }
            case Op::CallVar: {
                const ProcShape& shape = module_.shapes[static_cast<size_t>(READ())];
                sync();
                checkStop();
                Value* args = sp - shape.params.size();
                const int64_t number = args[-1].i;  // 0 is no procedure
                const int64_t target = number > 0 ? number - 1 : -1;
                if (target < 0 || target >= static_cast<int64_t>(module_.procs.size()) || target == module_.mainProc ||
                    !fitsShape(module_.procs[static_cast<size_t>(target)], shape))
                    fail(ErrorCode::OutOfProcRange);
                // the procedure value goes; the arguments take its place
                for (Value* a = args - 1; a + 1 < sp; ++a) *a = std::move(a[1]);
                --sp;
                sp_ = sp;
                enterProc(static_cast<int>(target), args - 1);
                fr = &frames_.back();
                pc = fr->pc;
                base = fr->base;
                sp = sp_;
                break;
            }
            case Op::CallHost: {
                const BoundImport& im = imports_[static_cast<size_t>(READ())];
                sync();
                Value result;
                if (im.hasResult) result = makeDefault(im.resultType);
                Value* args = sp - im.argc;
                if (im.self != ImportEntry::Self::None) {
                    // The engine reports a nil object differently for methods and properties.
                    const Value& self = args[0];
                    if (self.tag != Tag::Obj || !self.o || self.o->disposed())
                        fail(im.self == ImportEntry::Self::Property ? ErrorCode::CouldNotCallProc
                                                                    : ErrorCode::NullPointerException);
                }
                CallCtx ctx{*this, args, im.hasResult ? &result : nullptr, im.argc};
                (*im.fn)(ctx);
                fr = &frames_.back();  // a host function may have run script code
                for (Value* a = args; a < sp; ++a) a->clear();
                sp = args;
                if (im.hasResult) *sp++ = std::move(result);
                break;
            }
            case Op::Ret: {
                const Proc& p = *fr->proc;
                Value* b = base;
                // Handlers of this frame are gone once it returns.
                handlers_.resize(fr->handlerBase);
                if (p.hasResult) {
                    Value r = std::move(b[p.params.size()]);
                    clearRange(b, sp);
                    b[0] = std::move(r);
                    sp = b + 1;
                } else {
                    clearRange(b, sp);
                    sp = b;
                }
                frames_.pop_back();
                sp_ = sp;
                if (frames_.size() <= stopFrames) return;
                fr = &frames_.back();
                pc = fr->pc;
                base = fr->base;
                break;
            }
            case Op::TryExcept:
            case Op::TryFinally: {
                int32_t off = READ();
                handlers_.push_back(Handler{op == Op::TryFinally ? Handler::Finally : Handler::Except, Handler::Continue,
                                            0, frames_.size() - 1, pc + off, sp, ErrorCode::NoError, {}});
                break;
            }
            case Op::PopTry: {
                Handler& h = ownHandler(false);
                if (h.kind == Handler::Except) {
                    handlers_.pop_back();
                } else {
                    h.kind = Handler::Running;  // the finally part follows
                    h.then = Handler::Continue;
                }
                break;
            }
            case Op::EndExcept: {
                // Files of an older compiler may end an except part that holds no entry of its own.
                if (handlers_.size() > fr->handlerBase && handlers_.back().frame == frames_.size() - 1 &&
                    handlers_.back().kind == Handler::Catching)
                    handlers_.pop_back();
                break;
            }
            case Op::EndFinally: {
                Handler& h = ownHandler(true);
                if (h.then == Handler::Continue) {
                    handlers_.pop_back();
                } else if (h.then == Handler::Reraise) {
                    ScriptError e(h.code, std::move(h.param));
                    handlers_.pop_back();
                    sync();
                    throw e;
                } else {
                    int32_t depth = h.leaveDepth;
                    const int32_t* target = h.pc;
                    Value* targetSp = h.sp;
                    handlers_.pop_back();
                    leave(depth, target, targetSp);
                }
                break;
            }
            case Op::Leave: {
                int32_t depth = READ();
                int32_t off = READ();
                if (off < 0) {  // Continue out of a try statement goes round the loop this way
                    sync();
                    checkStop();
                }
                leave(depth, pc + off, sp);
                break;
            }
            case Op::IncL: {
                int32_t n = READ(), d = READ(), w = READ();
                Value& v = base[n];
                if (v.tag != Tag::Plain) {
                    sync();
                    fail(ErrorCode::TypeMismatch);
                }
                v.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(v.i) + static_cast<uint64_t>(static_cast<int64_t>(d))), w);
                break;
            }
            case Op::IncG: {
                int32_t n = READ(), d = READ(), w = READ();
                Value& v = globals[n];
                if (v.tag != Tag::Plain) {
                    sync();
                    fail(ErrorCode::TypeMismatch);
                }
                v.i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(v.i) + static_cast<uint64_t>(static_cast<int64_t>(d))), w);
                break;
            }
            case Op::IncRef: {
                int32_t d = READ(), w = READ();
                sync();
                Value held = takeRef(sp[-1]);
                Value* r = deref(held);
                --sp;
                if (r->tag != Tag::Plain) fail(ErrorCode::TypeMismatch);
                r->i = wrapTo(static_cast<int64_t>(static_cast<uint64_t>(r->i) + static_cast<uint64_t>(static_cast<int64_t>(d))), w);
                break;
            }
            case Op::Length: {
                Value& v = sp[-1];
                int64_t n = 0;
                if (v.tag == Tag::Str) n = v.s ? v.s->len : 0;
                else if (v.tag == Tag::Arr || v.tag == Tag::Agg) n = v.a ? static_cast<int64_t>(v.a->items->size()) : 0;
                v.clear();
                v.i = n;
                break;
            }
            case Op::SetLen: {
                int32_t t = READ();
                sync();
                int64_t n = sp[-1].i;
                Value held = takeRef(sp[-2]);
                Value* r = deref(held);
                sp -= 2;
                if (r->tag != Tag::Arr) fail(ErrorCode::TypeMismatch);
                if (n < 0) n = 0;
                const RtType& at = module_.types[static_cast<size_t>(t)];
                // elements that are records or static arrays count with all the values they hold
                const int64_t perElement = module_.typeValues[static_cast<size_t>(at.elem)];
                if (n > limits_.maxArrayLength / perElement) fail(ErrorCode::OutOfMemory);
                if (n == 0) {
                    r->clear();
                    r->tag = Tag::Arr;
                    break;
                }
                if (!r->a) {
                    r->a = new ArrayRep{1, t, new std::vector<Value>()};
                } else if (r->a->refs > 1) {
                    ArrayRep* c = new ArrayRep{1, t, new std::vector<Value>(*r->a->items)};
                    valuesMade_ += static_cast<int64_t>(c->items->size());
                    r->release();
                    r->a = c;
                    r->tag = Tag::Arr;
                }
                std::vector<Value>& items = *r->a->items;
                size_t old = items.size();
                valuesMade_ += std::max<int64_t>(n - static_cast<int64_t>(old), 0);
                if (static_cast<size_t>(n) < old) items.resize(static_cast<size_t>(n));
                else
                    for (size_t k = old; k < static_cast<size_t>(n); ++k) items.push_back(makeDefault(at.elem));
                break;
            }
            case Op::SetLenS: {
                sync();
                int64_t n = sp[-1].i;
                Value held = takeRef(sp[-2]);
                Value* r = deref(held);
                sp -= 2;
                if (r->tag != Tag::Str) fail(ErrorCode::TypeMismatch);
                if (n < 0) n = 0;
                if (n > limits_.maxStringLength) fail(ErrorCode::OutOfMemory);
                std::string_view old = r->str();
                if (n == 0) {
                    r->clear();
                    r->tag = Tag::Str;
                    break;
                }
                StrRep* s = strAlloc(static_cast<size_t>(n));
                size_t keep = std::min(old.size(), static_cast<size_t>(n));
                if (keep) std::memcpy(s->data, old.data(), keep);
                std::memset(s->data + keep, 0, static_cast<size_t>(n) - keep);
                r->release();
                r->s = s;
                break;
            }
            case Op::Assigned: {
                bool a = sp[-1].i != 0 && (sp[-1].tag != Tag::Obj || !sp[-1].o->disposed());
                sp[-1].clear();
                sp[-1].i = a ? 1 : 0;
                break;
            }
            case Op::Halt: {
                sync();
                throw ScriptError(ErrorCode::CustomError, "Script stopped", true);
            }
            default: sync(); fail(ErrorCode::InvalidOpcode);
        }
    }
}

}  // namespace pelo::lang
