#include "ffi/ForeignCall.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <string>
#include <type_traits>

namespace pelo::ffi {

using lang::CallConvention;
using lang::ErrorCode;
using lang::ForeignKind;
using lang::ForeignParam;
using lang::ForeignType;
using lang::ScriptError;
using lang::Tag;
using lang::Value;

namespace {

#if defined(__i386__)
using CExtended = long double;
constexpr bool kCurrencyResultInFpu = true;
#else
using CExtended = double;
constexpr bool kCurrencyResultInFpu = false;
#endif

[[noreturn]] void cannotCall() { throw ScriptError(ErrorCode::CouldNotCallProc, ""); }

bool isAggregate(ForeignKind k) { return k == ForeignKind::Record || k == ForeignKind::Array; }

ffi_type* scalarType(ForeignKind k) {
    switch (k) {
        case ForeignKind::U8:
        case ForeignKind::Char:
        case ForeignKind::Bool: return &ffi_type_uint8;
        case ForeignKind::S8: return &ffi_type_sint8;
        case ForeignKind::U16: return &ffi_type_uint16;
        case ForeignKind::S16: return &ffi_type_sint16;
        case ForeignKind::U32: return &ffi_type_uint32;
        case ForeignKind::S32: return &ffi_type_sint32;
        case ForeignKind::S64:
        case ForeignKind::Currency: return &ffi_type_sint64;
        case ForeignKind::Single: return &ffi_type_float;
        case ForeignKind::Double: return &ffi_type_double;
        case ForeignKind::Extended:
            return std::is_same_v<CExtended, long double> ? &ffi_type_longdouble : &ffi_type_double;
        case ForeignKind::String: return &ffi_type_pointer;
        default: return nullptr;
    }
}

ffi_abi abiFor(CallConvention convention) {
#if defined(__i386__) && defined(_WIN32)
    switch (convention) {
        case CallConvention::Register: return FFI_REGISTER;
        case CallConvention::Pascal: return FFI_PASCAL;
        case CallConvention::Cdecl: return FFI_MS_CDECL;
        case CallConvention::Stdcall: return FFI_STDCALL;
    }
#endif
    (void)convention;  // one convention on the other machines
    return FFI_DEFAULT_ABI;
}

struct Layout {
    size_t size = 0;
    size_t align = 1;
};

Layout scalarLayout(ForeignKind k) {
    switch (k) {
        case ForeignKind::U16:
        case ForeignKind::S16: return {2, alignof(uint16_t)};
        case ForeignKind::U32:
        case ForeignKind::S32: return {4, alignof(uint32_t)};
        case ForeignKind::S64:
        case ForeignKind::Currency: return {8, alignof(int64_t)};
        case ForeignKind::Single: return {sizeof(float), alignof(float)};
        case ForeignKind::Double: return {sizeof(double), alignof(double)};
        case ForeignKind::Extended: return {sizeof(CExtended), alignof(CExtended)};
        case ForeignKind::String: return {sizeof(char*), alignof(char*)};
        default: return {1, 1};
    }
}

size_t roundUp(size_t n, size_t align) { return (n + align - 1) / align * align; }

// The C layout of a value: fields at their natural alignment, the whole rounded up to the largest.
Layout layoutOf(const ForeignType& t) {
    if (t.kind == ForeignKind::Array) {
        const Layout e = layoutOf(t.fields.at(0));
        return {e.size * static_cast<size_t>(t.count), e.align};
    }
    if (t.kind != ForeignKind::Record) return scalarLayout(t.kind);
    Layout r;
    for (const ForeignType& f : t.fields) {
        const Layout l = layoutOf(f);
        r.size = roundUp(r.size, l.align) + l.size;
        r.align = std::max(r.align, l.align);
    }
    r.size = roundUp(r.size, r.align);
    return r;
}

// Everything a call lends the function: string copies and the blocks of aggregates and var parameters. A deque
// keeps what it holds in place as it grows.
struct Loans {
    std::deque<std::string> strings;
    std::deque<std::vector<unsigned char>> blocks;

    unsigned char* block(size_t size) {
        blocks.emplace_back(std::max<size_t>(size, 16), static_cast<unsigned char>(0));
        return blocks.back().data();
    }
    char* string(std::string_view s) {
        strings.emplace_back(s);
        return strings.back().data();
    }
};

template <class T>
void put(unsigned char* dst, T v) {
    std::memcpy(dst, &v, sizeof v);
}
template <class T>
T get(const unsigned char* src) {
    T v;
    std::memcpy(&v, src, sizeof v);
    return v;
}

void writeScalar(ForeignKind k, const Value& v, unsigned char* dst, Loans& loans) {
    if (k == ForeignKind::String) {
        if (v.tag != Tag::Str) cannotCall();
        put(dst, loans.string(v.str()));
        return;
    }
    if (v.tag != Tag::Plain) cannotCall();
    switch (k) {
        case ForeignKind::U8:
        case ForeignKind::S8:
        case ForeignKind::Char:
        case ForeignKind::Bool: put(dst, static_cast<uint8_t>(v.i)); break;
        case ForeignKind::U16:
        case ForeignKind::S16: put(dst, static_cast<uint16_t>(v.i)); break;
        case ForeignKind::U32:
        case ForeignKind::S32: put(dst, static_cast<uint32_t>(v.i)); break;
        case ForeignKind::S64:
        case ForeignKind::Currency: put(dst, v.i); break;
        case ForeignKind::Single: put(dst, static_cast<float>(v.f())); break;
        case ForeignKind::Double: put(dst, static_cast<double>(v.f())); break;
        case ForeignKind::Extended: put(dst, static_cast<CExtended>(v.f())); break;
        default: cannotCall();
    }
}

// A number read back from C; strings are not (their memory belongs to the function).
Value readNumber(ForeignKind k, const unsigned char* src) {
    switch (k) {
        case ForeignKind::U8:
        case ForeignKind::Char:
        case ForeignKind::Bool: return Value::ofInt(get<uint8_t>(src));
        case ForeignKind::S8: return Value::ofInt(get<int8_t>(src));
        case ForeignKind::U16: return Value::ofInt(get<uint16_t>(src));
        case ForeignKind::S16: return Value::ofInt(get<int16_t>(src));
        case ForeignKind::U32: return Value::ofInt(get<uint32_t>(src));
        case ForeignKind::S32: return Value::ofInt(get<int32_t>(src));
        case ForeignKind::S64:
        case ForeignKind::Currency: return Value::ofInt(get<int64_t>(src));
        case ForeignKind::Single: return Value::ofFloat(get<float>(src));
        case ForeignKind::Double: return Value::ofFloat(get<double>(src));
        case ForeignKind::Extended: return Value::ofFloat(get<CExtended>(src));
        default: cannotCall();
    }
}

const std::vector<Value>& itemsOf(const ForeignType& t, const Value& v) {
    if (v.tag != Tag::Agg || !v.a || !v.a->items) cannotCall();
    const size_t want = t.kind == ForeignKind::Record ? t.fields.size() : static_cast<size_t>(t.count);
    if (v.a->items->size() != want) cannotCall();
    return *v.a->items;
}

const ForeignType& itemType(const ForeignType& t, size_t k) {
    return t.kind == ForeignKind::Record ? t.fields[k] : t.fields[0];
}

// Visits the items of a record or array value with the offset of each in the C layout.
template <class F>
void eachItem(const ForeignType& t, const Value& v, F&& f) {
    const std::vector<Value>& items = itemsOf(t, v);
    size_t offset = 0;
    for (size_t k = 0; k < items.size(); ++k) {
        const ForeignType& it = itemType(t, k);
        const Layout l = layoutOf(it);
        offset = roundUp(offset, l.align);
        f(it, items[k], offset);
        offset += l.size;
    }
}

void pack(const ForeignType& t, const Value& v, unsigned char* dst, Loans& loans) {
    if (!isAggregate(t.kind)) {
        writeScalar(t.kind, v, dst, loans);
        return;
    }
    eachItem(t, v, [&](const ForeignType& it, const Value& item, size_t off) { pack(it, item, dst + off, loans); });
}

void unpack(const ForeignType& t, const unsigned char* src, Value& v) {
    if (t.kind == ForeignKind::String) return;  // string fields go in only
    if (!isAggregate(t.kind)) {
        if (v.tag != Tag::Plain) cannotCall();
        v = readNumber(t.kind, src);
        return;
    }
    eachItem(t, v, [&](const ForeignType& it, const Value& item, size_t off) {
        unpack(it, src + off, const_cast<Value&>(item));
    });
}

// What a var parameter lent: its block, and for a string the copy the block points to.
struct VarLoan {
    unsigned char* block = nullptr;
    const char* text = nullptr;
    size_t length = 0;
};

}  // namespace

ForeignCall::ForeignCall(lang::ForeignSignature sig, CallConvention convention) : sig_(std::move(sig)) {
    for (const ForeignParam& p : sig_.params) {
        if (p.type.kind == ForeignKind::Other) return;
        argTypes_.push_back(p.byRef || isAggregate(p.type.kind) ? &ffi_type_pointer : scalarType(p.type.kind));
    }
    ffi_type* result = &ffi_type_void;
    if (sig_.result) {
        const ForeignKind k = sig_.result->kind;
        if (k == ForeignKind::Other || isAggregate(k)) return;
        result = k == ForeignKind::Currency && kCurrencyResultInFpu ? &ffi_type_longdouble : scalarType(k);
    }
    usable_ = ffi_prep_cif(&cif_, abiFor(convention), static_cast<unsigned>(argTypes_.size()), result,
                           argTypes_.data()) == FFI_OK;
}

void ForeignCall::invoke(void* fn, lang::CallCtx& c, const std::function<void()>& afterCall) const {
    if (!usable_ || !fn) cannotCall();
    const size_t n = sig_.params.size();
    if (static_cast<size_t>(c.argc) != n) cannotCall();

    struct alignas(16) Slot {
        unsigned char bytes[16];
    };
    std::vector<Slot> slots(n);
    std::vector<void*> argv(n);
    std::vector<VarLoan> vars(n);
    Loans loans;
    for (size_t k = 0; k < n; ++k) {
        const ForeignParam& p = sig_.params[k];
        const int ki = static_cast<int>(k);
        unsigned char* slot = slots[k].bytes;
        argv[k] = slot;
        if (!p.byRef && !isAggregate(p.type.kind)) {
            writeScalar(p.type.kind, c.arg(ki), slot, loans);
            continue;
        }
        const Value& v = p.byRef ? c.ref(ki) : c.arg(ki);
        unsigned char* block = loans.block(layoutOf(p.type).size);
        pack(p.type, v, block, loans);
        put(slot, block);
        if (p.byRef) {
            vars[k].block = block;
            if (p.type.kind == ForeignKind::String) {
                vars[k].text = get<char*>(block);
                vars[k].length = v.str().size();
            }
        }
    }

    alignas(16) unsigned char ret[32] = {};
    ffi_call(const_cast<ffi_cif*>(&cif_), FFI_FN(fn), ret, argv.data());
    if (afterCall) afterCall();

    for (size_t k = 0; k < n; ++k) {
        if (!vars[k].block) continue;
        const ForeignParam& p = sig_.params[k];
        Value& target = c.ref(static_cast<int>(k));
        if (p.type.kind != ForeignKind::String) {
            unpack(p.type, vars[k].block, target);
            continue;
        }
        // The function may have filled the buffer it was lent, or pointed the variable at a text of its own.
        const char* now = get<char*>(vars[k].block);
        if (now == vars[k].text) target = Value::ofStr(std::string_view(now, vars[k].length));
        else target = now ? Value::ofStr(now) : Value::emptyStr();
    }

    if (!sig_.result || !c.result) return;
    const ForeignKind k = sig_.result->kind;
    switch (k) {
        case ForeignKind::String: {
            const char* text = get<char*>(ret);
            *c.result = text ? Value::ofStr(text) : Value::emptyStr();
            return;
        }
        case ForeignKind::Currency:
            if (kCurrencyResultInFpu) {
                *c.result = Value::ofInt(std::llrint(get<long double>(ret)));
                return;
            }
            break;
        case ForeignKind::S64:
        case ForeignKind::Single:
        case ForeignKind::Double:
        case ForeignKind::Extended: break;
        default: {
            // libffi widens results narrower than a register to a whole ffi_arg
            const ffi_arg wide = get<ffi_arg>(ret);
            unsigned char narrow[8] = {};
            put(narrow, static_cast<uint64_t>(wide));
            *c.result = readNumber(k, narrow);
            return;
        }
    }
    *c.result = readNumber(k, ret);
}

}  // namespace pelo::ffi
