// Structure-aware fuzzing of the compiled-file loader and the VM behind it.
//
// Byte mutation of a compiled file almost never survives the checksum, and when it does the loader
// rejects it for a bad index long before the interesting checks. This mutator decodes the file into a
// Module, changes it the way a hostile or buggy compiler would (swapped opcodes, operands moved to
// nearby and edge values, instructions inserted, deleted and duplicated with jumps kept on target,
// retyped variables and parameters, huge and nested types, host calls bound to other routines), and
// writes it back with a valid header. What the loader accepts is run with a small step budget, so a
// type confusion the verifier lets through shows up under the sanitizers.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "CodeEdit.h"
#include "FuzzHost.h"
#include "lang/Bytecode.h"
#include "lang/Loader.h"
#include "lang/Vm.h"

using namespace pelo;
using lang::Module;
using lang::Op;
using lang::RtKind;
using lang::RtType;
using fuzz::Instr;
using fuzz::decodeCode;
using fuzz::encodeCode;
using fuzz::opcodeCount;
using fuzz::operandKinds;

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr size_t kHeader = 16;

void writeU32(uint8_t* p, uint32_t v) {
    for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
}

// Makes the header agree with whatever payload follows it: version, length and checksum.
void sealHeader(uint8_t* data, size_t size) {
    if (size < kHeader) return;
    std::memcpy(data, "GLSC", 4);
    writeU32(data + 4, lang::kFileVersion);
    writeU32(data + 8, static_cast<uint32_t>(size - kHeader));
    const std::string_view payload(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    writeU32(data + 12, lang::crc32(payload));
}

class Mutator {
public:
    Mutator(Module& m, unsigned seed) : m_(m), rng_(seed) {}

    void mutate() {
        const int rounds = 1 + pick(3);
        for (int r = 0; r < rounds; ++r) one();
    }

private:
    Module& m_;
    std::mt19937 rng_;

    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool chance(int inN) { return pick(inN) == 0; }
    template <class V>
    size_t index(const V& v) {
        return static_cast<size_t>(pick(static_cast<int>(v.size())));
    }

    // Two's-complement wrap: operands near the int32 limits must wrap, not overflow.
    static int32_t wrap(int64_t x) { return static_cast<int32_t>(static_cast<uint32_t>(x)); }

    int32_t edge(int32_t v, int32_t count) {
        switch (pick(12)) {
            case 0: return wrap(int64_t{v} + 1);
            case 1: return wrap(int64_t{v} - 1);
            case 2: return wrap(int64_t{v} + 1 + pick(4));
            case 3: return wrap(int64_t{v} - 1 - pick(4));
            case 4: return 0;
            case 5: return -1;
            case 6: return count;
            case 7: return wrap(int64_t{count} - 1);
            case 8: return INT32_MAX;
            case 9: return INT32_MIN;
            case 10: {
                static const int32_t kSpecial[] = {1, 2, 7, 8, 9, 15, 16, 31, 32, 63, 64, 127, 128, 255, 256,
                                                   32767, 32768, 65535, 65536, 10000000, 0x40000000};
                return kSpecial[pick(static_cast<int>(std::size(kSpecial)))];
            }
            default: return static_cast<int32_t>(rng_());
        }
    }

    int32_t sized(size_t n) { return static_cast<int32_t>(n); }

    // A plausible operand of the given kind for an instruction in `p`.
    int32_t operandFor(char kind, const lang::Proc& p) {
        switch (kind) {
            case 'l': return pick(std::max(1, p.frameSize()));
            case 'g': return pick(std::max<int>(1, sized(m_.globals.size())));
            case 'k': return pick(std::max<int>(1, sized(m_.constants.size())));
            case 't': return pick(std::max<int>(1, sized(m_.types.size())));
            case 'p': return pick(std::max<int>(1, sized(m_.procs.size())));
            case 'h': return pick(std::max<int>(1, sized(m_.imports.size())));
            case 'w': return pick(8);
            case 'j': return 0;
            default: return chance(2) ? pick(4) : edge(0, 10);
        }
    }

    lang::Proc* someProc() { return m_.procs.empty() ? nullptr : &m_.procs[index(m_.procs)]; }

    Instr makeInstr(int32_t op, const lang::Proc& p, size_t nIns) {
        Instr in;
        in.op = op;
        const char* kinds = operandKinds(op);
        for (size_t k = 0; kinds[k]; ++k) {
            in.operands.push_back(operandFor(kinds[k], p));
            in.target.push_back(kinds[k] == 'j' ? pick(sized(nIns) + 1) : -1);
        }
        return in;
    }

    static int netEffect(int32_t op) {
        const lang::OpInfo& i = lang::opInfo(static_cast<Op>(op));
        return i.pops < 0 ? 99 : i.pushes - i.pops;
    }

    // Opcodes with a fixed stack effect of `pops` -> `pushes` and no jump operand.
    std::vector<int32_t> opsShaped(int pops, int pushes) {
        std::vector<int32_t> v;
        for (int32_t o = 0; o < opcodeCount(); ++o) {
            const lang::OpInfo& i = lang::opInfo(static_cast<Op>(o));
            if (i.pops == pops && i.pushes == pushes && !std::strchr(i.operands, 'j')) v.push_back(o);
        }
        return v;
    }

    int32_t anyOf(const std::vector<int32_t>& v) { return v.empty() ? 0 : v[index(v)]; }

    static void shiftTargets(std::vector<Instr>& ins, int32_t from, int32_t by) {
        for (Instr& in : ins)
            for (int32_t& t : in.target)
                if (t >= from) t += by;
    }

    void insertAt(std::vector<Instr>& ins, size_t at, std::vector<Instr> seq) {
        shiftTargets(ins, static_cast<int32_t>(at) + (chance(4) ? 0 : 1), static_cast<int32_t>(seq.size()));
        ins.insert(ins.begin() + static_cast<std::ptrdiff_t>(at), seq.begin(), seq.end());
    }

    void mutateCode() {
        lang::Proc* p = someProc();
        if (!p) return;
        std::vector<Instr> ins = decodeCode(p->code);
        const size_t n = ins.size();
        const size_t at = n ? index(ins) : 0;
        switch (pick(11)) {
            case 0: {  // opcode swapped for one of the same shape: the verifier still agrees
                if (!n || ins[at].raw) break;
                const lang::OpInfo& i = lang::opInfo(static_cast<Op>(ins[at].op));
                std::vector<int32_t> same;
                for (int32_t o = 0; o < opcodeCount(); ++o) {
                    const lang::OpInfo& j = lang::opInfo(static_cast<Op>(o));
                    if (std::strcmp(i.operands, j.operands) == 0 && i.pops == j.pops && i.pushes == j.pushes) same.push_back(o);
                }
                ins[at].op = anyOf(same);
                break;
            }
            case 1: {  // any opcode, operands regenerated where their kind changed
                if (!n) break;
                Instr fresh = makeInstr(pick(opcodeCount()), *p, n);
                if (!ins[at].raw && std::strcmp(operandKinds(ins[at].op), operandKinds(fresh.op)) == 0) {
                    ins[at].op = fresh.op;
                } else {
                    ins[at] = fresh;
                }
                break;
            }
            case 2:
            case 3: {  // operand tweak
                if (!n || ins[at].raw || ins[at].operands.empty()) break;
                Instr& in = ins[at];
                const size_t k = index(in.operands);
                const char kind = operandKinds(in.op)[k];
                if (kind == 'j' && in.target[k] >= 0 && !chance(6)) {
                    in.target[k] = chance(2) ? pick(sized(n) + 1) : std::clamp(in.target[k] + (chance(2) ? 1 : -1), 0, sized(n));
                } else if (chance(2)) {
                    in.operands[k] = operandFor(kind, *p);
                    if (kind == 'j') in.target[k] = pick(sized(n) + 1);
                } else {
                    int32_t limit = 10;
                    switch (kind) {
                        case 'l': limit = p->frameSize(); break;
                        case 'g': limit = sized(m_.globals.size()); break;
                        case 'k': limit = sized(m_.constants.size()); break;
                        case 't': limit = sized(m_.types.size()); break;
                        case 'p': limit = sized(m_.procs.size()); break;
                        case 'h': limit = sized(m_.imports.size()); break;
                        case 'w': limit = 8; break;
                        default: break;
                    }
                    in.operands[k] = edge(in.operands[k], limit);
                    if (kind == 'j') in.target[k] = -1;
                }
                break;
            }
            case 4: {  // a stack-neutral insertion the verifier accepts: push + consumer, or push + binary op
                std::vector<Instr> seq;
                seq.push_back(makeInstr(anyOf(opsShaped(0, 1)), *p, n));
                switch (pick(3)) {
                    case 0: seq.push_back(makeInstr(anyOf(opsShaped(1, 0)), *p, n)); break;
                    case 1: seq.push_back(makeInstr(anyOf(opsShaped(2, 1)), *p, n)); break;
                    default:
                        seq.push_back(makeInstr(anyOf(opsShaped(1, 1)), *p, n));
                        seq.push_back(makeInstr(anyOf(opsShaped(1, 0)), *p, n));
                        break;
                }
                insertAt(ins, at, std::move(seq));
                break;
            }
            case 5: {  // a value-changing op after an instruction that pushes (keeps the depth)
                if (!n || ins[at].raw || netEffect(ins[at].op) < 1) break;
                insertAt(ins, at + 1, {makeInstr(anyOf(opsShaped(1, 1)), *p, n)});
                break;
            }
            case 6: insertAt(ins, at, {makeInstr(pick(opcodeCount()), *p, n)}); break;
            case 7: {  // delete
                if (!n) break;
                ins.erase(ins.begin() + static_cast<std::ptrdiff_t>(at));
                shiftTargets(ins, static_cast<int32_t>(at) + 1, -1);
                break;
            }
            case 8: {  // duplicate
                if (!n) break;
                Instr copy = ins[at];
                insertAt(ins, at + 1, {copy});
                break;
            }
            case 9: {  // a run of instructions copied from another procedure (operands kept as they are)
                const lang::Proc* src = someProc();
                std::vector<Instr> other = decodeCode(src->code);
                if (other.empty()) break;
                const size_t from = index(other);
                const size_t len = std::min<size_t>(other.size() - from, 1 + static_cast<size_t>(pick(6)));
                std::vector<Instr> seq(other.begin() + static_cast<std::ptrdiff_t>(from),
                                       other.begin() + static_cast<std::ptrdiff_t>(from + len));
                for (Instr& in : seq)
                    for (int32_t& t : in.target)
                        if (t >= 0) t = pick(sized(n) + 1);
                insertAt(ins, at, std::move(seq));
                break;
            }
            default: {  // a call pointed at another procedure or host routine
                std::vector<size_t> calls;
                for (size_t k = 0; k < n; ++k)
                    if (!ins[k].raw && (ins[k].op == static_cast<int32_t>(Op::Call) || ins[k].op == static_cast<int32_t>(Op::CallHost)))
                        calls.push_back(k);
                if (calls.empty()) break;
                Instr& in = ins[calls[index(calls)]];
                if (in.op == static_cast<int32_t>(Op::Call)) in.operands[0] = pick(sized(m_.procs.size()));
                else in.operands[0] = rebindHostCall(in.operands[0]);
                break;
            }
        }
        p->code = encodeCode(ins);
        if (p->code.empty()) p->code.push_back(static_cast<int32_t>(Op::Ret));
    }

    // Type index of a run-time type of `kind`, added when the module has none.
    int32_t typeOfKind(RtKind kind) {
        for (size_t k = 0; k < m_.types.size(); ++k)
            if (m_.types[k].kind == kind && !chance(4)) return sized(k);
        RtType t;
        t.kind = kind;
        if (kind == RtKind::DynArr || kind == RtKind::StaticArr) {
            RtType plain;
            m_.types.push_back(plain);
            t.elem = sized(m_.types.size()) - 1;
            t.count = 1 + pick(4);
        }
        m_.types.push_back(t);
        return sized(m_.types.size()) - 1;
    }

    // Binds a new import to a host routine taking the same stack slots as import `old`, so that the
    // call site still verifies but now passes its arguments to a routine that expects other kinds.
    int32_t rebindHostCall(int32_t old) {
        const auto& catalog = fuzz::fuzzImportCatalog();
        static const std::vector<const std::pair<const std::string, lang::ImportEntry>*> entries = [&] {
            std::vector<const std::pair<const std::string, lang::ImportEntry>*> v;
            for (const auto& e : catalog) v.push_back(&e);
            std::sort(v.begin(), v.end(), [](auto* a, auto* b) { return a->first < b->first; });
            return v;
        }();
        if (entries.empty()) return old;
        int argc = -1;
        bool hasResult = false;
        if (old >= 0 && static_cast<size_t>(old) < m_.imports.size()) {
            argc = m_.imports[static_cast<size_t>(old)].argc;
            hasResult = m_.imports[static_cast<size_t>(old)].hasResult;
        }
        std::vector<size_t> fit;
        for (size_t k = 0; k < entries.size(); ++k)
            if (argc < 0 || chance(16) || (entries[k]->second.argc == argc && entries[k]->second.hasResult == hasResult))
                fit.push_back(k);
        if (fit.empty()) return old;
        const auto& e = *entries[fit[index(fit)]];
        lang::Import im;
        im.name = e.first;
        im.signature = e.second.signature;
        im.argc = e.second.argc;
        im.hasResult = e.second.hasResult;
        im.resultType = im.hasResult ? typeOfKind(e.second.resultKind) : -1;
        m_.imports.push_back(im);
        return sized(m_.imports.size()) - 1;
    }

    void mutateTypes() {
        if (m_.types.empty() || chance(3)) {  // a new type on top: nesting and huge sizes
            RtType t;
            const int32_t below = sized(m_.types.size());
            switch (pick(4)) {
                case 0:
                    t.kind = RtKind::StaticArr;
                    t.elem = below ? pick(below) : 0;
                    t.count = chance(2) ? 1 + pick(16) : edge(10000000, 10000000);
                    break;
                case 1:
                    t.kind = RtKind::DynArr;
                    t.elem = below ? pick(below) : 0;
                    break;
                case 2: {
                    t.kind = RtKind::Record;
                    const int nf = pick(6);
                    for (int k = 0; k < nf; ++k) t.fields.push_back(below ? pick(below) : 0);
                    break;
                }
                default: t.kind = static_cast<RtKind>(pick(static_cast<int>(RtKind::Count_))); break;
            }
            m_.types.push_back(t);
            retarget(sized(m_.types.size()) - 1);
            return;
        }
        RtType& t = m_.types[index(m_.types)];
        switch (pick(5)) {
            case 0: t.kind = static_cast<RtKind>(pick(static_cast<int>(RtKind::Count_))); break;
            case 1: t.elem = edge(t.elem, sized(m_.types.size())); break;
            case 2: t.count = edge(t.count, 10000000); break;
            case 3:
                if (!t.fields.empty() && chance(2)) t.fields.erase(t.fields.begin() + static_cast<std::ptrdiff_t>(index(t.fields)));
                else t.fields.push_back(pick(sized(m_.types.size())));
                break;
            default:
                if (!t.fields.empty()) {
                    int32_t& f = t.fields[index(t.fields)];
                    f = edge(f, sized(m_.types.size()));
                }
                break;
        }
    }

    // Gives a variable, parameter, local or result the type `t`.
    void retarget(int32_t t) {
        lang::Proc* p = someProc();
        switch (pick(4)) {
            case 0:
                if (!m_.globals.empty()) m_.globals[index(m_.globals)].type = t;
                break;
            case 1:
                if (p && !p->localTypes.empty()) p->localTypes[index(p->localTypes)] = t;
                break;
            case 2:
                if (p && !p->params.empty()) p->params[index(p->params)].type = t;
                break;
            default:
                if (p && p->hasResult) p->resultType = t;
                break;
        }
    }

    void mutateProcTable() {
        lang::Proc* p = someProc();
        if (!p) return;
        const int32_t nTypes = sized(m_.types.size());
        switch (pick(9)) {
            case 0:
                if (!p->params.empty()) {
                    lang::ProcParam& pp = p->params[index(p->params)];
                    pp.byRef = !pp.byRef;
                }
                break;
            case 1:
                if (!p->params.empty()) p->params[index(p->params)].type = pick(nTypes);
                break;
            case 2:
                if (!p->localTypes.empty()) p->localTypes[index(p->localTypes)] = chance(4) ? edge(0, nTypes) : pick(nTypes);
                break;
            case 3: p->localTypes.push_back(pick(nTypes)); break;
            case 4:
                p->hasResult = !p->hasResult;
                if (p->hasResult && p->resultType < 0) p->resultType = pick(nTypes);
                break;
            case 5: p->resultType = pick(nTypes); break;
            case 6:
                if (!p->params.empty() && chance(2)) p->params.pop_back();
                else p->params.push_back({pick(nTypes), chance(2), chance(2) ? "string" : "s32"});
                break;
            case 7: {
                static const char* kSigs[] = {"string", "s32", "s64", "u8", "char", "bool", "double", "extended", "variant", ""};
                const char* s = kSigs[pick(static_cast<int>(std::size(kSigs)))];
                if (!p->params.empty() && chance(2)) p->params[index(p->params)].sig = s;
                else p->resultSig = s;
                break;
            }
            default:
                if (!p->lines.empty()) {
                    lang::LineEntry& le = p->lines[index(p->lines)];
                    le.pc = edge(le.pc, sized(p->code.size()));
                    if (chance(2)) le.line = edge(le.line, 1000);
                }
                break;
        }
    }

    void mutateImports() {
        if (m_.imports.empty() || chance(3)) {
            rebindHostCall(-1);
            return;
        }
        lang::Import& im = m_.imports[index(m_.imports)];
        switch (pick(4)) {
            case 0: im.argc = edge(im.argc, 4); break;
            case 1: im.hasResult = !im.hasResult; break;
            case 2: im.resultType = pick(sized(m_.types.size())); break;
            default: {  // the same declaration under another routine's name
                const size_t other = index(m_.imports);
                im.name = m_.imports[other].name;
                break;
            }
        }
    }

    void mutateData() {
        switch (pick(4)) {
            case 0:
                if (!m_.globals.empty()) m_.globals[index(m_.globals)].type = pick(sized(m_.types.size()));
                break;
            case 1: {
                lang::Global g;
                g.name = "G" + std::to_string(m_.globals.size());
                g.type = pick(sized(m_.types.size()));
                m_.globals.push_back(g);
                break;
            }
            case 2: {
                if (m_.constants.empty()) break;
                lang::Value& c = m_.constants[index(m_.constants)];
                if (c.tag == lang::Tag::Str) {
                    c = chance(2) ? lang::Value::ofInt(edge(0, 255)) : lang::Value::ofStr(std::string(static_cast<size_t>(pick(300)), 'x'));
                } else if (chance(2)) {
                    c = lang::Value::ofStr(std::to_string(c.i));
                } else {
                    c.i = chance(2) ? edge(static_cast<int32_t>(c.i), 256) : static_cast<int64_t>(rng_()) << 32 | rng_();
                    if (chance(3)) c.xhi = static_cast<uint16_t>(rng_());
                }
                break;
            }
            default: m_.mainProc = chance(2) ? pick(sized(m_.procs.size())) : edge(m_.mainProc, sized(m_.procs.size())); break;
        }
    }

    void one() {
        const int r = pick(20);
        if (r < 11) mutateCode();
        else if (r < 14) mutateTypes();
        else if (r < 17) mutateProcTable();
        else if (r < 19) mutateImports();
        else mutateData();
    }
};

bool decodeLenient(const uint8_t* data, size_t size, Module& out) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        out = lang::deserializeModule(bytes);
        return true;
    } catch (const lang::LoadError&) {
    }
    // A byte-mutated file whose header no longer matches: reseal it and try once more.
    if (size < kHeader || std::memcmp(data, "GLSC", 4) != 0) return false;
    sealHeader(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    try {
        out = lang::deserializeModule(bytes);
        return true;
    } catch (const lang::LoadError&) {
        return false;
    }
}

size_t byteMutateSealed(uint8_t* data, size_t size, size_t maxSize) {
    if (size < kHeader || maxSize <= kHeader || std::memcmp(data, "GLSC", 4) != 0) return LLVMFuzzerMutate(data, size, maxSize);
    const size_t n = LLVMFuzzerMutate(data + kHeader, size - kHeader, maxSize - kHeader);
    sealHeader(data, kHeader + n);
    return kHeader + n;
}

// The codec the mutator relies on must not lose anything it can express.
void checkRoundTrip(std::string_view bytes) {
    Module m;
    try {
        m = lang::deserializeModule(bytes);
    } catch (const lang::LoadError&) {
        return;
    }
    const std::string once = lang::serializeModule(m);
    const std::string twice = lang::serializeModule(lang::deserializeModule(once));
    if (once != twice) std::abort();
    for (const lang::Proc& p : m.procs)
        if (fuzz::encodeCode(fuzz::decodeCode(p.code)) != p.code) std::abort();
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    Module m;
    if ((seed & 15) == 0 || !decodeLenient(data, size, m)) return byteMutateSealed(data, size, maxSize);
    Mutator(m, seed).mutate();
    const std::string out = lang::serializeModule(m);
    if (out.size() > maxSize) return byteMutateSealed(data, size, maxSize);
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

extern "C" size_t LLVMFuzzerCustomCrossOver(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                            uint8_t* out, size_t maxOutSize, unsigned int seed) {
    // One procedure of the second file takes the place of one of the first.
    Module a, b;
    if (!decodeLenient(data1, size1, a) || !decodeLenient(data2, size2, b) || a.procs.empty() || b.procs.empty()) {
        const size_t n = std::min(size1, maxOutSize);
        std::memcpy(out, data1, n);
        return n;
    }
    std::mt19937 rng(seed);
    a.procs[rng() % a.procs.size()] = b.procs[rng() % b.procs.size()];
    const std::string bytes = lang::serializeModule(a);
    if (bytes.size() > maxOutSize) {
        const size_t n = std::min(size1, maxOutSize);
        std::memcpy(out, data1, n);
        return n;
    }
    std::memcpy(out, bytes.data(), bytes.size());
    return bytes.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkRoundTrip(bytes);
    static lang::VmLimits limits = [] {
        lang::VmLimits l;
        l.maxFrames = 200;
        l.stackSlots = 8 * 1024;  // made anew with every load: a big one costs more than the run
        l.maxStringLength = 1 << 16;
        l.maxArrayLength = 1 << 14;
        l.maxLoopSteps = 5000;  // per top-level call: accepted code may loop forever
        return l;
    }();
    static lang::Vm vm(fuzz::fuzzHostTable(), lang::importCatalogFor(fuzz::fuzzHostTable()), limits);  // reused: each load replaces what the last one left
    try {
        vm.loadFile(bytes);
    } catch (const lang::LoadError&) {
        return 0;
    }
    // The entry points the program calls, in its order; any of them may fail on its own.
    auto run = [](auto&& f) {
        try {
            f();
        } catch (const lang::ScriptError&) {
        }
    };
    run([] { vm.runMain(); });
    const int init = vm.findProc("Init"), start = vm.findProc("Start"), deinit = vm.findProc("DeInit");
    if (init >= 0) run([&] { vm.call(init, {}); });
    if (start >= 0) {
        const std::vector<lang::Value> args = {lang::Value::ofStr("EUR/USD rises 0.5%"), lang::Value::ofStr("TEST")};
        run([&] { vm.call(start, args); });
        run([&] { vm.call(start, {lang::Value::ofStr(""), lang::Value::ofStr("")}); });
    }
    if (deinit >= 0) run([&] { vm.call(deinit, {}); });
    return 0;
}
