// Run-time values of the script VM.
//
// A Value is 16 bytes: an 8-byte payload and a tag that says only whether the payload owns a heap
// object (and which kind). Floating-point values of every static type are held as 80-bit x87
// extended numbers: the 64-bit mantissa in the payload and the sign and exponent in the two bytes
// after it (`xhi`), so that the ten bytes lie together at the start of the Value. Single and Double
// values are kept rounded to their precision by the code the compiler emits. Arithmetic opcodes are typed by the compiler and read the payload
// directly; the tag exists so that copies, clears and exception unwinding release what they must
// without knowing the static type, and so that pointer opcodes can refuse a payload of the wrong
// kind instead of dereferencing garbage.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pelo::lang {

enum class Tag : uint8_t {
    Plain = 0,  // integers, chars, booleans, enums, floats, currency
    Str,        // StrRep* (nullptr is the empty string)
    Obj,        // ScriptObject* (nullptr is nil)
    Arr,        // ArrayRep* dynamic array, shared by reference (nullptr is empty)
    Agg,        // ArrayRep* record or static array, copied on assignment
    Set,        // SetRep* (nullptr is the empty set)
    Ref,        // Value* to a variable (var parameters, addresses)
    ERef,       // element of an ArrayRep: the array (owned, so the element outlives every
                // change to the variable that held it) and the index in xhi and vt
};

// Type of a Variant's content (Tag::Plain payloads need it to be read back).
enum class VarType : uint8_t { None = 0, Empty, Int, Float, Bool, Currency, String, Char, Object, Null };

struct StrRep {
    int32_t refs;
    int32_t len;
    char data[1];
};

struct Value;
struct ArrayRep {
    int32_t refs;
    int32_t typeId;  // element type (Arr) or aggregate type (Agg)
    std::vector<Value>* items;
};

struct SetRep {
    int32_t refs;
    uint64_t bits[4];
};

class ScriptObject;

// An x87 extended number as it lies in a Value: aligned like the Value and allowed to alias it.
typedef long double __attribute__((may_alias, aligned(8))) X87Bytes;

struct Value {
    union {
        int64_t i;
        StrRep* s;
        ScriptObject* o;
        ArrayRep* a;
        SetRep* set;
        Value* ref;
    };
    uint16_t xhi;  // sign and exponent of a floating-point value
    Tag tag;
    VarType vt;  // only meaningful in Variant variables

    Value() : i(0), xhi(0), tag(Tag::Plain), vt(VarType::None) {}
    Value(const Value& o) : i(o.i), xhi(o.xhi), tag(o.tag), vt(o.vt) { retain(); }
    Value(Value&& o) noexcept : i(o.i), xhi(o.xhi), tag(o.tag), vt(o.vt) {
        o.i = 0;
        o.xhi = 0;
        o.tag = Tag::Plain;
    }
    Value& operator=(const Value& o) {
        if (this != &o) {
            Value tmp(o);
            swap(tmp);
        }
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            release();
            i = o.i;
            xhi = o.xhi;
            tag = o.tag;
            vt = o.vt;
            o.i = 0;
            o.xhi = 0;
            o.tag = Tag::Plain;
        }
        return *this;
    }
    ~Value() { release(); }

    void swap(Value& o) noexcept {
        std::swap(i, o.i);
        std::swap(xhi, o.xhi);
        std::swap(tag, o.tag);
        std::swap(vt, o.vt);
    }

    static Value ofInt(int64_t v) {
        Value r;
        r.i = v;
        return r;
    }
    static Value ofFloat(long double v) {
        Value r;
        r.setFloat(v);
        return r;
    }

    // The floating-point content (Plain payload). Both directions go straight through the ten bytes
    // at the start of the Value. A write must store exactly those ten bytes, never the padding of a
    // long double over tag and vt: on x86 that is the x87 store itself, elsewhere a ten-byte copy.
    long double f() const { return *reinterpret_cast<const X87Bytes*>(this); }
    void setFloat(long double v) {
#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
        // "+m": the compiler must assume the whole Value is read too, so no earlier store to tag or
        // vt counts as dead.
        __asm__("fstpt %0" : "+m"(*this) : "t"(v) : "st");
#else
        std::memcpy(static_cast<void*>(this), &v, 10);
#endif
    }

    static Value ofStr(std::string_view sv);
    static Value emptyStr() {
        Value r;
        r.tag = Tag::Str;
        r.s = nullptr;
        return r;
    }

    bool isHeap() const { return tag != Tag::Plain && tag != Tag::Ref && i != 0; }

    // References: to a variable (Ref) or to an element of an array or record (ERef).
    static constexpr uint32_t kMaxElementIndex = (1u << 24) - 1;
    static Value variableRef(Value* v) {
        Value r;
        r.tag = Tag::Ref;
        r.ref = v;
        return r;
    }
    // index <= kMaxElementIndex; takes a reference to the owner.
    static Value elementRef(ArrayRep* owner, uint32_t index);
    bool isRef() const { return tag == Tag::Ref || tag == Tag::ERef; }
    // The variable a reference designates; nullptr for anything else (and for an element that the
    // array no longer has).
    inline Value* target() const;
    inline void retain() const;
    inline void release();
    void clear() {
        release();
        i = 0;
        xhi = 0;
        tag = Tag::Plain;
    }

    // String view of a Str value (empty for anything else).
    std::string_view str() const {
        if (tag != Tag::Str || !s) return {};
        return std::string_view(s->data, static_cast<size_t>(s->len));
    }
    std::string string() const { return std::string(str()); }
};

static_assert(sizeof(Value) == 16, "Value must stay 16 bytes");
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the x87 extended type");

// ---- strings --------------------------------------------------------------------------------
StrRep* strAlloc(size_t len);
void strFree(StrRep* s);
// Bytes of strings made on this thread so far: a running script is charged for the ones it makes.
uint64_t stringBytesMade();
inline void strRetain(StrRep* s) {
    if (s) ++s->refs;
}
inline void strRelease(StrRep* s) {
    if (s && --s->refs == 0) strFree(s);
}
// Makes *s unique (copy on write) and returns it writable; s must not be null.
StrRep* strUnique(StrRep*& s);
Value strConcat(const Value& a, const Value& b);
Value strFromChar(uint8_t c);

// ---- heap objects -----------------------------------------------------------------------------
void arrFree(ArrayRep* a);
void setFree(SetRep* s);

class HostClass;

// Base of every object a script can hold. Reference counted so that a script which frees an object
// and keeps using the variable gets an error instead of touching freed memory.
// What a TComponent has beyond other objects: a name, a tag, its owner and the components it owns (made on first
// use, so that other objects do not pay for it).
struct ComponentData {
    std::string name;
    int32_t tag = 0;
    int32_t designInfo = 0;
    ScriptObject* owner = nullptr;        // not held: an owner outlives what it owns, or lets it go first
    std::vector<Value> components;        // held by the owner
};

class ScriptObject {
public:
    explicit ScriptObject(const HostClass* cls);
    virtual ~ScriptObject();
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    const HostClass* hostClass() const { return cls_; }
    // Free from the script: releases what the object holds (a component frees what it owns and leaves its owner);
    // the shell stays until unreferenced. Overrides call this last.
    virtual void dispose();
    bool disposed() const { return disposed_; }
    // Objects owned by the host (bound variables) are not destroyed by a script's Free.
    bool hostOwned = false;
    int32_t refs = 0;

    ComponentData& component();
    ComponentData* componentIfAny() const { return component_.get(); }

    // Members the host keeps as plain data for the script (settings it reads back), by upper-case name. An event
    // handler also keeps the load generation of the code it belongs to.
    struct StoredMember {
        Value value;
        uint64_t generation = 0;
    };
    StoredMember* storedMember(const std::string& key) const;
    StoredMember& storeMember(const std::string& key);

    // Objects refer to each other through what they hold (kept members, owned components, a list's objects), so a
    // script can leave a ring of them that no reference count ever frees. Each object knows the engine instance
    // whose code made it; when that code is unloaded, its objects let go of what they hold and the rings fall apart.
    // The maker of the objects made from now on (nullptr: the host's own), while an engine instance runs code.
    class MakerScope {
    public:
        explicit MakerScope(const void* maker);
        ~MakerScope();
        MakerScope(const MakerScope&) = delete;
        MakerScope& operator=(const MakerScope&) = delete;

    private:
        const void* saved_;
    };
    // Every object of that maker that the host does not own lets go of what it holds.
    static void releaseHeldByObjectsOf(const void* maker);
    // How many objects of that maker are alive.
    static size_t liveObjectsOf(const void* maker);

protected:
    bool disposed_ = false;
    // Lets go of every value it holds; overrides that hold more call this last.
    virtual void releaseHeld();

private:
    const HostClass* cls_;
    std::unique_ptr<ComponentData> component_;
    std::unique_ptr<std::unordered_map<std::string, StoredMember>> stored_;
    const void* maker_;
    ScriptObject* prevLive_ = nullptr;
    ScriptObject* nextLive_ = nullptr;
};

// A value referring to an object (takes a reference; nullptr gives nil).
inline Value objectValue(ScriptObject* o) {
    Value v;
    v.tag = Tag::Obj;
    v.o = o;
    if (o) ++o->refs;
    return v;
}

inline Value Value::elementRef(ArrayRep* owner, uint32_t index) {
    Value r;
    r.tag = Tag::ERef;
    r.a = owner;
    ++owner->refs;
    r.xhi = static_cast<uint16_t>(index & 0xFFFF);
    r.vt = static_cast<VarType>(index >> 16);
    return r;
}

inline Value* Value::target() const {
    if (tag == Tag::Ref) return ref;
    if (tag != Tag::ERef) return nullptr;
    const size_t k = xhi | static_cast<size_t>(vt) << 16;
    return k < a->items->size() ? &(*a->items)[k] : nullptr;
}

inline void Value::retain() const {
    switch (tag) {
        case Tag::Str: if (s) ++s->refs; break;
        case Tag::Obj: if (o) ++o->refs; break;
        case Tag::Arr:
        case Tag::Agg:
        case Tag::ERef: if (a) ++a->refs; break;
        case Tag::Set: if (set) ++set->refs; break;
        default: break;
    }
}

inline void Value::release() {
    switch (tag) {
        case Tag::Str: if (s && --s->refs == 0) strFree(s); break;
        case Tag::Obj: if (o && --o->refs == 0) delete o; break;
        case Tag::Arr:
        case Tag::Agg:
        case Tag::ERef: if (a && --a->refs == 0) arrFree(a); break;
        case Tag::Set: if (set && --set->refs == 0) setFree(set); break;
        default: break;
    }
}

}  // namespace pelo::lang
