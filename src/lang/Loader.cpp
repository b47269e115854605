#include "lang/Loader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>

#include "lang/Bytecode.h"
#include "lang/ForeignSignature.h"
#include "lang/Verifier.h"

namespace pelo::lang {

int Module::findProc(std::string_view name) const {
    std::string u = upperAscii(name);
    for (size_t k = 0; k < procs.size(); ++k)
        if (procs[k].name == u) return static_cast<int>(k);
    return -1;
}

int Module::findGlobal(std::string_view name) const {
    std::string u = upperAscii(name);
    for (size_t k = 0; k < globals.size(); ++k)
        if (globals[k].name == u) return static_cast<int>(k);
    return -1;
}

const OpInfo& opInfo(Op op) {
    static const OpInfo table[] = {
#define PELO_OP_INFO(name, operands, pops, pushes) {#name, operands, pops, pushes},
        PELO_OPCODES(PELO_OP_INFO)
#undef PELO_OP_INFO
    };
    return table[static_cast<size_t>(op)];
}

uint32_t crc32(std::string_view data) {
    static uint32_t table[256];
    static bool init = false;
    if (!init) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        init = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (char ch : data) crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

namespace {

constexpr char kMagic[4] = {'G', 'L', 'S', 'C'};
constexpr size_t kHeaderSize = 16;

class Writer {
public:
    void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u32(uint32_t v) {
        for (int k = 0; k < 4; ++k) out_.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void i64(int64_t v) {
        u32(static_cast<uint32_t>(static_cast<uint64_t>(v)));
        u32(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
    }
    void str(std::string_view s) {
        u32(static_cast<uint32_t>(s.size()));
        out_.append(s);
    }
    std::string& out() { return out_; }

private:
    std::string out_;
};

class Reader {
public:
    explicit Reader(std::string_view d) : d_(d) {}
    void need(size_t n) {
        if (d_.size() - pos_ < n) throw LoadError("compiled script is truncated");
    }
    uint8_t u8() {
        need(1);
        return static_cast<uint8_t>(d_[pos_++]);
    }
    uint32_t u32() {
        need(4);
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(static_cast<uint8_t>(d_[pos_ + static_cast<size_t>(k)])) << (8 * k);
        pos_ += 4;
        return v;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    int64_t i64() {
        uint64_t lo = u32();
        uint64_t hi = u32();
        return static_cast<int64_t>(lo | (hi << 32));
    }
    std::string str() {
        uint32_t n = u32();
        need(n);
        std::string s(d_.substr(pos_, n));
        pos_ += n;
        return s;
    }
    // A count of items that take at least `minSize` bytes each: never more than what remains.
    uint32_t count(size_t minSize) {
        uint32_t n = u32();
        if (minSize && n > (d_.size() - pos_) / minSize) throw LoadError("compiled script is malformed (bad count)");
        return n;
    }
    bool atEnd() const { return pos_ == d_.size(); }

private:
    std::string_view d_;
    size_t pos_ = 0;
};

[[noreturn]] void bad(const std::string& what) { throw LoadError("compiled script is malformed (" + what + ")"); }

}  // namespace

std::string serializeModule(const Module& m) {
    Writer w;
    w.u32(static_cast<uint32_t>(m.types.size()));
    for (const RtType& t : m.types) {
        w.u8(static_cast<uint8_t>(t.kind));
        w.i32(t.elem);
        w.i32(t.count);
        w.u32(static_cast<uint32_t>(t.fields.size()));
        for (int32_t f : t.fields) w.i32(f);
    }
    w.u32(static_cast<uint32_t>(m.constants.size()));
    for (const Value& c : m.constants) {
        if (c.tag == Tag::Str) {
            w.u8(1);
            w.str(c.str());
        } else if (c.xhi != 0) {  // a floating-point constant: all ten bytes
            w.u8(2);
            w.i64(c.i);
            w.u32(c.xhi);
        } else {
            w.u8(0);
            w.i64(c.i);
        }
    }
    w.u32(static_cast<uint32_t>(m.globals.size()));
    for (const Global& g : m.globals) {
        w.str(g.name);
        w.i32(g.type);
    }
    w.u32(static_cast<uint32_t>(m.imports.size()));
    for (const Import& im : m.imports) {
        w.str(im.name);
        w.str(im.signature);
        w.i32(im.argc);
        w.u8(im.hasResult ? 1 : 0);
        w.i32(im.resultType);
        w.u8(im.external ? 1 : 0);
        if (im.external) {
            w.str(im.target.entry);
            w.str(im.target.library);
            w.u8(static_cast<uint8_t>(im.target.convention));
            w.u8(static_cast<uint8_t>((im.target.delayLoad ? 1 : 0) | (im.target.alteredSearchPath ? 2 : 0)));
        }
    }
    w.u32(static_cast<uint32_t>(m.shapes.size()));
    for (const ProcShape& sh : m.shapes) {
        w.u32(static_cast<uint32_t>(sh.params.size()));
        for (const ProcParam& pp : sh.params) {
            w.i32(pp.type);
            w.u8(pp.byRef ? 1 : 0);
        }
        w.u8(sh.hasResult ? 1 : 0);
        w.i32(sh.resultType);
    }
    w.u32(static_cast<uint32_t>(m.procs.size()));
    for (const Proc& p : m.procs) {
        w.str(p.name);
        w.u32(static_cast<uint32_t>(p.params.size()));
        for (const ProcParam& pp : p.params) {
            w.i32(pp.type);
            w.u8(pp.byRef ? 1 : 0);
            w.str(pp.sig);
        }
        w.u8(p.hasResult ? 1 : 0);
        w.i32(p.resultType);
        w.str(p.resultSig);
        w.u32(static_cast<uint32_t>(p.localTypes.size()));
        for (int32_t t : p.localTypes) w.i32(t);
        w.u32(static_cast<uint32_t>(p.code.size()));
        for (int32_t c : p.code) w.i32(c);
        w.u32(static_cast<uint32_t>(p.lines.size()));
        for (const LineEntry& le : p.lines) {
            w.i32(le.pc);
            w.i32(le.line);
        }
    }
    w.i32(m.mainProc);
    std::string payload = std::move(w.out());
    Writer h;
    h.out().append(kMagic, 4);
    h.u32(kFileVersion);
    h.u32(static_cast<uint32_t>(payload.size()));
    h.u32(crc32(payload));
    return h.out() + payload;
}

Module deserializeModule(std::string_view bytes) {
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "IFPS", 4) == 0)
        throw LoadError("this file was compiled for another script engine; recompile it with Glossel");
    if (bytes.size() < kHeaderSize) throw LoadError("compiled script is truncated");
    if (std::memcmp(bytes.data(), kMagic, 4) != 0) throw LoadError("not a compiled script");
    Reader hr(bytes.substr(4, 12));
    uint32_t version = hr.u32();
    uint32_t len = hr.u32();
    uint32_t crc = hr.u32();
    if (version > kFileVersion)
        throw LoadError("compiled script has a newer format (version " + std::to_string(version) +
                        "); update the program or recompile it");
    if (version < 1) bad("version");
    if (version < kFileVersion)
        throw LoadError("compiled script has an older format (version " + std::to_string(version) +
                        "); recompile it with Glossel");
    std::string_view payload = bytes.substr(kHeaderSize);
    if (payload.size() < len) throw LoadError("compiled script is truncated");
    if (payload.size() > len) bad("trailing data");
    if (crc32(payload) != crc) throw LoadError("compiled script is damaged (checksum mismatch)");

    Reader r(payload);
    Module m;
    uint32_t n = r.count(13);
    m.types.resize(n);
    for (RtType& t : m.types) {
        uint8_t k = r.u8();
        if (k >= static_cast<uint8_t>(RtKind::Count_)) bad("type kind");
        t.kind = static_cast<RtKind>(k);
        t.elem = r.i32();
        t.count = r.i32();
        uint32_t nf = r.count(4);
        t.fields.resize(nf);
        for (int32_t& f : t.fields) f = r.i32();
    }
    n = r.count(5);
    m.constants.resize(n);
    for (Value& c : m.constants) {
        uint8_t tag = r.u8();
        if (tag == 1) c = Value::ofStr(r.str());
        else if (tag == 0) c = Value::ofInt(r.i64());
        else if (tag == 2) {
            c = Value::ofInt(r.i64());
            uint32_t hi = r.u32();
            if (hi > 0xFFFF) bad("constant");
            c.xhi = static_cast<uint16_t>(hi);
        } else bad("constant");
    }
    n = r.count(8);
    m.globals.resize(n);
    for (Global& g : m.globals) {
        g.name = r.str();
        g.type = r.i32();
    }
    n = r.count(18);
    m.imports.resize(n);
    for (Import& im : m.imports) {
        im.name = r.str();
        im.signature = r.str();
        im.argc = r.i32();
        im.hasResult = r.u8() != 0;
        im.resultType = r.i32();
        const uint8_t external = r.u8();
        if (external > 1) bad("import kind");
        im.external = external == 1;
        if (im.external) {
            im.target.entry = r.str();
            im.target.library = r.str();
            const uint8_t convention = r.u8();
            if (convention > static_cast<uint8_t>(CallConvention::Stdcall)) bad("calling convention");
            im.target.convention = static_cast<CallConvention>(convention);
            const uint8_t options = r.u8();
            if (options > 3) bad("external options");
            im.target.delayLoad = (options & 1) != 0;
            im.target.alteredSearchPath = (options & 2) != 0;
        }
    }
    n = r.count(9);
    m.shapes.resize(n);
    for (ProcShape& sh : m.shapes) {
        uint32_t np = r.count(5);
        sh.params.resize(np);
        for (ProcParam& pp : sh.params) {
            pp.type = r.i32();
            pp.byRef = r.u8() != 0;
        }
        sh.hasResult = r.u8() != 0;
        sh.resultType = r.i32();
    }
    n = r.count(25);
    m.procs.resize(n);
    for (Proc& p : m.procs) {
        p.name = r.str();
        uint32_t np = r.count(9);
        p.params.resize(np);
        for (ProcParam& pp : p.params) {
            pp.type = r.i32();
            pp.byRef = r.u8() != 0;
            pp.sig = r.str();
        }
        p.hasResult = r.u8() != 0;
        p.resultType = r.i32();
        p.resultSig = r.str();
        uint32_t nl = r.count(4);
        p.localTypes.resize(nl);
        for (int32_t& t : p.localTypes) t = r.i32();
        uint32_t nc = r.count(4);
        p.code.resize(nc);
        for (int32_t& c : p.code) c = r.i32();
        uint32_t nli = r.count(8);
        p.lines.resize(nli);
        for (LineEntry& le : p.lines) {
            le.pc = r.i32();
            le.line = r.i32();
        }
    }
    m.mainProc = r.i32();
    if (!r.atEnd()) bad("trailing data");
    return m;
}

namespace {

// What the code verifier checks a call of an external function against. Arguments of kinds no library can take
// (classes, variants, sets, dynamic arrays) are let through here and refused by the call itself, as the script
// language does.
ImportEntry externalEntry(const Import& im, const Module& m) {
    const std::optional<ForeignSignature> sig = parseForeignSignature(im.signature);
    if (!sig) bad("external signature");
    if (!im.name.starts_with("DLL:")) bad("external name");
    ImportEntry e;
    e.signature = im.signature;
    e.argc = static_cast<int>(sig->params.size());
    e.hasResult = sig->result.has_value();
    if (e.argc != im.argc || e.hasResult != im.hasResult) bad("external signature");
    auto kindOf = [](const ForeignType& t) {
        switch (t.kind) {
            case ForeignKind::String: return RtKind::Str;
            case ForeignKind::Record: return RtKind::Record;
            case ForeignKind::Array: return RtKind::StaticArr;
            default: return RtKind::Plain;
        }
    };
    for (const ForeignParam& p : sig->params) {
        ImportParam ip;
        ip.byRef = p.byRef;
        // The code verifier proves only the kind of a referenced variable, not the shape of a record or array
        // in it; the call checks the shape of what it reads and writes itself (src/ffi).
        ip.any = p.type.kind == ForeignKind::Other ||
                 (p.byRef && (p.type.kind == ForeignKind::Record || p.type.kind == ForeignKind::Array));
        ip.kind = kindOf(p.type);
        e.params.push_back(ip);
    }
    if (sig->result) {
        const RtKind prepared = m.types[static_cast<size_t>(im.resultType)].kind;
        if (sig->result->kind != ForeignKind::Other && prepared != kindOf(*sig->result)) bad("import result type");
        e.resultKind = prepared;
    }
    return e;
}

// Frame layout and sizes; the code is checked once every procedure's frame is known.
void verifyFrame(Module& m, Proc& p, size_t procIndex) {
    const size_t nTypes = m.types.size();
    auto typeOk = [&](int32_t t) { return t >= 0 && static_cast<size_t>(t) < nTypes; };
    std::string where = "procedure " + std::to_string(procIndex);
    for (const ProcParam& pp : p.params)
        if (!typeOk(pp.type) && pp.type != -1) bad(where + ": parameter type");  // -1: untyped
    if (p.hasResult && !typeOk(p.resultType)) bad(where + ": result type");
    for (int32_t t : p.localTypes)
        if (!typeOk(t)) bad(where + ": local type");
    if (p.params.size() > 10000 || p.localTypes.size() > 100000) bad(where + ": frame size");
    int64_t frameValues = 0;
    for (const ProcParam& pp : p.params)
        frameValues += pp.byRef || pp.type < 0 ? 1 : m.typeValues[static_cast<size_t>(pp.type)];
    if (p.hasResult) frameValues += m.typeValues[static_cast<size_t>(p.resultType)];
    for (int32_t t : p.localTypes) {
        frameValues += m.typeValues[static_cast<size_t>(t)];
        if (frameValues > kMaxValues) break;
    }
    if (frameValues > kMaxValues) bad(where + ": local variables too large");
}

}  // namespace

std::vector<BoundImport> verifyModule(Module& m, const ImportCatalog& catalog) {
    const size_t nTypes = m.types.size();
    // Component types come first, so a type never contains itself, and its size and nesting depth
    // follow from those of its components in one pass without recursion.
    std::vector<int64_t>& values = m.typeValues;
    std::vector<int> depth(nTypes, 1);
    values.assign(nTypes, 1);
    for (size_t k = 0; k < nTypes; ++k) {
        const RtType& t = m.types[k];
        auto inner = [&](int32_t e) { return e >= 0 && static_cast<size_t>(e) < k; };
        switch (t.kind) {
            case RtKind::DynArr:
                if (!inner(t.elem)) bad("array element type");
                depth[k] = depth[static_cast<size_t>(t.elem)] + 1;
                break;
            case RtKind::StaticArr: {
                if (!inner(t.elem) || t.count <= 0 || t.count > kMaxValues) bad("static array type");
                const size_t e = static_cast<size_t>(t.elem);
                depth[k] = depth[e] + 1;
                // both factors are at most kMaxValues: the product cannot overflow
                values[k] = 1 + values[e] * t.count;
                break;
            }
            case RtKind::Record:
                if (t.fields.size() > 100000) bad("record type");
                for (int32_t f : t.fields) {
                    if (!inner(f)) bad("record field type");
                    const size_t e = static_cast<size_t>(f);
                    depth[k] = std::max(depth[k], depth[e] + 1);
                    values[k] += values[e];
                }
                break;
            default: break;
        }
        if (depth[k] > kMaxTypeDepth) bad("type nested too deeply");
        if (values[k] > kMaxValues) values[k] = kMaxValues + 1;  // too large for any variable
    }
    auto tooLarge = [](int64_t v) { return v > kMaxValues; };
    int64_t globalValues = 0;
    for (const Global& g : m.globals) {
        if (g.type < 0 || static_cast<size_t>(g.type) >= nTypes) bad("global type");
        globalValues += values[static_cast<size_t>(g.type)];
        if (tooLarge(globalValues)) bad("global variables too large");
    }
    std::vector<BoundImport> bound;
    std::vector<const ImportEntry*> entries;
    std::deque<ImportEntry> externalEntries;  // stable addresses for `entries`
    for (const Import& im : m.imports) {
        if (im.external) {
            if (im.hasResult && (im.resultType < 0 || static_cast<size_t>(im.resultType) >= nTypes))
                bad("import result type");
            externalEntries.push_back(externalEntry(im, m));
            bound.push_back(BoundImport{nullptr, im.argc, im.hasResult, im.resultType, ImportEntry::Self::None});
            entries.push_back(&externalEntries.back());
            continue;
        }
        auto it = catalog.find(im.name);
        if (it == catalog.end()) throw LoadError("Cannot Import " + im.name);
        const ImportEntry& e = it->second;
        if (e.signature != im.signature || e.argc != im.argc || e.hasResult != im.hasResult)
            throw LoadError("Cannot Import " + im.name + " (declaration changed; recompile the script)");
        if (im.hasResult) {
            if (im.resultType < 0 || static_cast<size_t>(im.resultType) >= nTypes) bad("import result type");
            if (m.types[static_cast<size_t>(im.resultType)].kind != e.resultKind) bad("import result type");
        }
        bound.push_back(BoundImport{e.fn, im.argc, im.hasResult, im.resultType, e.self});
        entries.push_back(&e);
    }
    if (m.mainProc < 0 || static_cast<size_t>(m.mainProc) >= m.procs.size()) throw LoadError("no Main Proc");
    const Proc& mp = m.procs[static_cast<size_t>(m.mainProc)];
    if (!mp.params.empty() || mp.hasResult) bad("main block");
    for (size_t k = 0; k < m.procs.size(); ++k) verifyFrame(m, m.procs[k], k);
    for (const ProcShape& sh : m.shapes) {
        if (sh.params.size() > 10000) bad("procedure shape");
        for (const ProcParam& pp : sh.params)
            if (pp.type < -1 || pp.type >= static_cast<int32_t>(nTypes)) bad("procedure shape");
        if (sh.hasResult ? sh.resultType < 0 || sh.resultType >= static_cast<int32_t>(nTypes) : sh.resultType != -1)
            bad("procedure shape");
    }
    m.canonicalTypes = canonicalTypes(m);
    const std::vector<int32_t>& canonical = m.canonicalTypes;
    for (size_t k = 0; k < m.procs.size(); ++k) verifyProcCode(m, k, canonical, entries);
    return bound;
}

}  // namespace pelo::lang
