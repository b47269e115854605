#include "lang/StdLib.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "lang/StdStreams.h"
#include "lang/Vm.h"
#include "lang/rtl/ConvertRoutines.h"
#include "lang/rtl/DateTimeRoutines.h"
#include "lang/rtl/Declarations.h"
#include "lang/rtl/FloatText.h"
#include "lang/rtl/HostHelpers.h"
#include "lang/rtl/MathRoutines.h"
#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringList.h"
#include "lang/rtl/StringRoutines.h"

namespace pelo::lang {

namespace {

ScriptError translate(const rtl::ScriptError& e) {
    switch (e.kind()) {
        case rtl::ErrorKind::Exception: return ScriptError(ErrorCode::Exception, e.what());
        case rtl::ErrorKind::MathError: return ScriptError(ErrorCode::MathError, e.what());
        case rtl::ErrorKind::DivideByZero: return ScriptError(ErrorCode::DivideByZero, e.what());
        case rtl::ErrorKind::CustomError: return ScriptError(ErrorCode::CustomError, e.what());
    }
    return ScriptError(ErrorCode::Exception, e.what());
}

// Library routines report errors with their own type; scripts must see the engine's.
template <class F>
HostFn guarded(F f) {
    return [f](CallCtx& c) {
        try {
            f(c);
        } catch (const rtl::ScriptError& e) {
            throw translate(e);
        }
    };
}

int32_t i32(CallCtx& c, int k) { return static_cast<int32_t>(c.i(k)); }
uint16_t u16(CallCtx& c, int k) { return static_cast<uint16_t>(c.i(k)); }

// Routines whose result grows with an integer argument (a width, a count, a number of digits) refuse a result
// longer than any string may be, as the VM does, instead of trying to allocate it.
int32_t lengthArg(CallCtx& c, int k, int64_t extra = 0) {
    const int32_t n = i32(c, k);
    if (n + extra > c.vm.limits().maxStringLength) throw ScriptError(ErrorCode::OutOfMemory, "");
    return n;
}

void setStr(Value& dst, std::string_view s) {
    dst = Value::ofStr(s);
}

HostFn routine(rtl::RoutineId id) {
    using R = rtl::RoutineId;
    switch (id) {
        case R::IntToStr:
        case R::Int64ToStr: return guarded([](CallCtx& c) { c.retStr(rtl::IntToStr(c.i(0))); });
        case R::StrToInt: return guarded([](CallCtx& c) { c.retInt(rtl::StrToInt(c.s(0))); });
        case R::StrToIntDef: return guarded([](CallCtx& c) { c.retInt(rtl::StrToIntDef(c.s(0), i32(c, 1))); });
        case R::Copy: return guarded([](CallCtx& c) { c.retStr(rtl::Copy(c.s(0), i32(c, 1), i32(c, 2))); });
        case R::Pos: return guarded([](CallCtx& c) { c.retInt(rtl::Pos(c.s(0), c.s(1))); });
        case R::Delete:
            return guarded([](CallCtx& c) {
                std::string s(c.ref(0).str());
                rtl::Delete(s, i32(c, 1), i32(c, 2));
                setStr(c.ref(0), s);
            });
        case R::Insert:
            return guarded([](CallCtx& c) {
                std::string s(c.ref(1).str());
                rtl::Insert(c.s(0), s, i32(c, 2));
                setStr(c.ref(1), s);
            });
        case R::StrGet: return guarded([](CallCtx& c) { c.retInt(static_cast<uint8_t>(rtl::StrGet(c.ref(0).str(), i32(c, 1)))); });
        case R::StrSet:
            return guarded([](CallCtx& c) {
                std::string s(c.ref(2).str());
                rtl::StrSet(static_cast<char>(c.i(0)), i32(c, 1), s);
                setStr(c.ref(2), s);
            });
        case R::AnsiUpperCase: return guarded([](CallCtx& c) { c.retStr(rtl::AnsiUpperCase(c.s(0))); });
        case R::AnsiLowerCase: return guarded([](CallCtx& c) { c.retStr(rtl::AnsiLowerCase(c.s(0))); });
        case R::UpperCase:
            return guarded([](CallCtx& c) {
                // Hot in scripts: upper-case in place into the result without a temporary.
                std::string_view s = c.s(0);
                Value r = Value::ofStr(s);
                if (r.s)
                    for (int32_t k = 0; k < r.s->len; ++k) {
                        char& ch = r.s->data[k];
                        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
                    }
                c.retValue(std::move(r));
            });
        case R::LowerCase: return guarded([](CallCtx& c) { c.retStr(rtl::LowerCase(c.s(0))); });
        case R::Trim: return guarded([](CallCtx& c) { c.retStr(rtl::Trim(c.s(0))); });
        case R::Sin: return guarded([](CallCtx& c) { c.retFloat(rtl::Sin(c.f(0))); });
        case R::Cos: return guarded([](CallCtx& c) { c.retFloat(rtl::Cos(c.f(0))); });
        case R::Sqrt: return guarded([](CallCtx& c) { c.retFloat(rtl::Sqrt(c.f(0))); });
        case R::Round: return guarded([](CallCtx& c) { c.retInt(rtl::Round(c.f(0))); });
        case R::Trunc: return guarded([](CallCtx& c) { c.retInt(rtl::Trunc(c.f(0))); });
        case R::Int: return guarded([](CallCtx& c) { c.retFloat(rtl::Int(c.f(0))); });
        case R::Pi: return guarded([](CallCtx& c) { c.retFloat(rtl::Pi()); });
        case R::Abs: return guarded([](CallCtx& c) { c.retFloat(rtl::Abs(c.f(0))); });
        case R::StrToFloat: return guarded([](CallCtx& c) { c.retFloat(rtl::StrToFloat(c.s(0))); });
        case R::FloatToStr: return guarded([](CallCtx& c) { c.retStr(rtl::FloatToStr(c.f(0))); });
        case R::PadL: return guarded([](CallCtx& c) { c.retStr(rtl::PadL(c.s(0), lengthArg(c, 1))); });
        case R::PadR: return guarded([](CallCtx& c) { c.retStr(rtl::PadR(c.s(0), lengthArg(c, 1))); });
        case R::PadZ: return guarded([](CallCtx& c) { c.retStr(rtl::PadZ(c.s(0), lengthArg(c, 1))); });
        case R::Replicate:
        case R::StringOfChar:
            return guarded([](CallCtx& c) { c.retStr(rtl::StringOfChar(static_cast<char>(c.i(0)), lengthArg(c, 1))); });
        case R::StrToInt64: return guarded([](CallCtx& c) { c.retInt(rtl::StrToInt64(c.s(0))); });
        case R::StrToInt64Def: return guarded([](CallCtx& c) { c.retInt(rtl::StrToInt64Def(c.s(0), c.i(1))); });
        case R::EncodeDate:
            return guarded([](CallCtx& c) { c.retFloat(rtl::EncodeDate(u16(c, 0), u16(c, 1), u16(c, 2))); });
        case R::EncodeTime:
            return guarded([](CallCtx& c) { c.retFloat(rtl::EncodeTime(u16(c, 0), u16(c, 1), u16(c, 2), u16(c, 3))); });
        case R::TryEncodeDate:
            return guarded([](CallCtx& c) {
                double d = 0;
                bool ok = rtl::TryEncodeDate(u16(c, 0), u16(c, 1), u16(c, 2), d);
                if (ok) c.ref(3).setFloat(d);
                c.retBool(ok);
            });
        case R::TryEncodeTime:
            return guarded([](CallCtx& c) {
                double d = 0;
                bool ok = rtl::TryEncodeTime(u16(c, 0), u16(c, 1), u16(c, 2), u16(c, 3), d);
                if (ok) c.ref(4).setFloat(d);
                c.retBool(ok);
            });
        case R::DecodeDate:
            return guarded([](CallCtx& c) {
                uint16_t y, m, d;
                rtl::DecodeDate(c.d(0), y, m, d);
                c.ref(1).i = y;
                c.ref(2).i = m;
                c.ref(3).i = d;
            });
        case R::DecodeTime:
            return guarded([](CallCtx& c) {
                uint16_t h, m, s, ms;
                rtl::DecodeTime(c.d(0), h, m, s, ms);
                c.ref(1).i = h;
                c.ref(2).i = m;
                c.ref(3).i = s;
                c.ref(4).i = ms;
            });
        case R::DayOfWeek: return guarded([](CallCtx& c) { c.retInt(rtl::DayOfWeek(c.d(0))); });
        case R::Date: return guarded([](CallCtx& c) { c.retFloat(rtl::Date()); });
        case R::Time: return guarded([](CallCtx& c) { c.retFloat(rtl::Time()); });
        case R::Now: return guarded([](CallCtx& c) { c.retFloat(rtl::Now()); });
        case R::DateTimeToUnix: return guarded([](CallCtx& c) { c.retInt(rtl::DateTimeToUnix(c.d(0))); });
        case R::UnixToDateTime: return guarded([](CallCtx& c) { c.retFloat(rtl::UnixToDateTime(c.i(0))); });
        case R::DateToStr: return guarded([](CallCtx& c) { c.retStr(rtl::DateToStr(c.d(0))); });
        case R::StrToDate: return guarded([](CallCtx& c) { c.retFloat(rtl::StrToDate(c.s(0))); });
        case R::FormatDateTime: return guarded([](CallCtx& c) { c.retStr(rtl::FormatDateTime(c.s(0), c.d(1))); });
        case R::MilliSecondOf: return guarded([](CallCtx& c) { c.retInt(rtl::MilliSecondOf(c.d(0))); });
        case R::SecondOf: return guarded([](CallCtx& c) { c.retInt(rtl::SecondOf(c.d(0))); });
        case R::MinuteOf: return guarded([](CallCtx& c) { c.retInt(rtl::MinuteOf(c.d(0))); });
        case R::HourOf: return guarded([](CallCtx& c) { c.retInt(rtl::HourOf(c.d(0))); });
        case R::DayOf: return guarded([](CallCtx& c) { c.retInt(rtl::DayOf(c.d(0))); });
        case R::DateTimeToStr: return guarded([](CallCtx& c) { c.retStr(rtl::DateTimeToStr(c.d(0))); });
        case R::StrToDateTime: return guarded([](CallCtx& c) { c.retFloat(rtl::StrToDateTime(c.s(0))); });
        case R::IntToStrS: return guarded([](CallCtx& c) { c.retStr(rtl::IntToStrS(i32(c, 0))); });
        case R::FloatToStrFixed:
            return guarded([](CallCtx& c) { c.retStr(rtl::FloatToStrFixed(lengthArg(c, 0, 22), rtl::Currency{c.i(1)})); });
        case R::FloatToStrFixedS:
            return guarded([](CallCtx& c) { c.retStr(rtl::FloatToStrFixedS(lengthArg(c, 0, 22), rtl::Currency{c.i(1)})); });
        case R::StrReplace:
            return guarded([](CallCtx& c) { c.retStr(rtl::StrReplace(c.s(0), c.s(1), c.s(2), c.b(3), c.b(4))); });
    }
    return nullptr;
}

}  // namespace

// ---- classes -------------------------------------------------------------------------------


namespace {

StringListObject& listOf(CallCtx& c) {
    auto* o = dynamic_cast<StringListObject*>(c.self());
    if (!o) throw ScriptError(ErrorCode::NullPointerException, "");
    return *o;
}


// TBits: a row of flags that grows as bits beyond its end are set. Reading outside it, or a negative index or size,
// raises the class's error; a size beyond 128 M bits is refused the same way rather than taking the program's
// memory.
class BitsObject : public ScriptObject {
public:
    using ScriptObject::ScriptObject;
    void dispose() override {
        bits.clear();
        bits.shrink_to_fit();
        ScriptObject::dispose();
    }
    std::vector<bool> bits;
};

constexpr int64_t kMaxBits = int64_t{1} << 27;

[[noreturn]] void bitsIndexError() { throw hostException("Bits index out of range"); }

BitsObject& bitsOf(CallCtx& c) {
    auto* o = dynamic_cast<BitsObject*>(c.self());
    if (!o) throw ScriptError(ErrorCode::NullPointerException, "");
    return *o;
}

void resizeBits(BitsObject& b, int64_t size) {
    if (size < 0 || size > kMaxBits) bitsIndexError();
    b.bits.resize(static_cast<size_t>(size), false);
}

// TComponent: the members its run-time library registers, and Name and Tag, which scripts reach as published
// properties.
bool validComponentName(std::string_view name) {
    if (name.empty()) return true;  // no name at all is allowed
    auto alpha = [](char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

ScriptObject* objectArg(CallCtx& c, int k) {
    const Value& v = c.arg(k);
    return v.tag == Tag::Obj && v.o && !v.o->disposed() ? v.o : nullptr;
}

std::vector<Value>& ownedBy(CallCtx& c) { return c.self()->component().components; }

void registerComponent(HostClass& component) {
    const HostClass* cls = &component;
    component.constructor("constructor Create(AOwner: TComponent)", [cls](CallCtx& c) {
        Value made = objectValue(new ScriptObject(cls));
        attachToOwner(made.o, objectArg(c, 0));
        c.retValue(std::move(made));
    });
    component.method("function FindComponent(AName: string): TComponent", [](CallCtx& c) {
        const std::string want = upperAscii(c.s(1));
        Value found;
        found.tag = Tag::Obj;
        if (!want.empty())
            for (const Value& v : ownedBy(c))
                if (v.o && upperAscii(v.o->component().name) == want) found = v;
        c.retValue(found);
    });
    component.property("property Owner: TComponent read", [](CallCtx& c) {
        Value owner;
        owner.tag = Tag::Obj;
        if (ScriptObject* o = c.self()->component().owner) owner = objectValue(o);
        c.retValue(owner);
    });
    component.method("procedure DestroyComponents", [](CallCtx& c) {
        std::vector<Value> owned = std::move(ownedBy(c));
        ownedBy(c).clear();
        for (Value& v : owned)
            if (v.o && !v.o->disposed()) {
                v.o->component().owner = nullptr;
                v.o->dispose();
            }
    });
    component.property("property Components[Index: Integer]: TComponent read", [](CallCtx& c) {
        const std::vector<Value>& owned = ownedBy(c);
        const int64_t k = c.i(1);
        if (k < 0 || k >= static_cast<int64_t>(owned.size()))
            throw hostException("List index (" + std::to_string(k) + ") out of bounds");
        c.retValue(owned[static_cast<size_t>(k)]);
    });
    component.property("property ComponentCount: Integer read",
                       [](CallCtx& c) { c.retInt(static_cast<int64_t>(ownedBy(c).size())); });
    component.property(
        "property ComponentIndex: Integer read write",
        [](CallCtx& c) {
            ScriptObject* self = c.self();
            ScriptObject* owner = self->component().owner;
            int64_t index = -1;
            if (owner)
                for (size_t k = 0; k < owner->component().components.size(); ++k)
                    if (owner->component().components[k].o == self) index = static_cast<int64_t>(k);
            c.retInt(index);
        },
        [](CallCtx& c) {
            ScriptObject* self = c.self();
            ScriptObject* owner = self->component().owner;
            if (!owner) return;
            std::vector<Value>& list = owner->component().components;
            auto it = std::find_if(list.begin(), list.end(), [self](const Value& v) { return v.o == self; });
            if (it == list.end()) return;
            Value moved = std::move(*it);
            list.erase(it);
            // beyond either end: to that end
            const int64_t to = std::clamp<int64_t>(c.i(1), 0, static_cast<int64_t>(list.size()));
            list.insert(list.begin() + to, std::move(moved));
        });
    component.property("property ComponentState: Byte read", [](CallCtx& c) {
        c.self();
        c.retInt(0);
    });
    component.property(
        "property DesignInfo: LongInt read write", [](CallCtx& c) { c.retInt(c.self()->component().designInfo); },
        [](CallCtx& c) { c.self()->component().designInfo = i32(c, 1); });
    component.property(
        "property Name: string read write", [](CallCtx& c) { c.retStr(c.self()->component().name); },
        [](CallCtx& c) {
            const std::string name(c.s(1));
            if (!validComponentName(name)) throw hostException("\"" + name + "\" is not a valid component name");
            ScriptObject* self = c.self();
            if (ScriptObject* owner = self->component().owner; owner && !name.empty())
                for (const Value& v : owner->component().components)
                    if (v.o != self && v.o && upperAscii(v.o->component().name) == upperAscii(name))
                        throw hostException("Duplicate name: A component named \"" + name + "\" already exists");
            self->component().name = name;
        });
    component.property(
        "property Tag: LongInt read write", [](CallCtx& c) { c.retInt(c.self()->component().tag); },
        [](CallCtx& c) { c.self()->component().tag = i32(c, 1); });
}

// TCollection and TCollectionItem. The class library gives scripts no way to make a collection (TCollection has no
// constructor for them, and no object of the program is one), so an item a script makes belongs to none: its Index is
// -1, its ID 0, its name its class's; and the collection's members are there for scripts to compile.
template <class T>
T& selfOf(CallCtx& c) {
    auto* o = dynamic_cast<T*>(c.self());
    if (!o) throw hostException("Invalid class type");
    return *o;
}

class CollectionItemObject final : public ScriptObject {
public:
    using ScriptObject::ScriptObject;
};

void registerCollections(HostTable& t) {
    HostClass& collection = t.addClass("TCollection", "TPersistent");
    HostClass& item = t.addClass("TCollectionItem", "TPersistent");
    const HostClass* itemClass = &item;
    item.constructor("constructor Create(Collection: TCollection)",
                     [itemClass](CallCtx& c) { c.retValue(objectValue(new CollectionItemObject(itemClass))); });
    auto none = [](CallCtx& c) {
        Value v;
        v.tag = Tag::Obj;
        c.retValue(v);
    };
    item.property(
        "property Collection: TCollection read write",
        [none](CallCtx& c) {
            selfOf<CollectionItemObject>(c);
            none(c);
        },
        [](CallCtx& c) { selfOf<CollectionItemObject>(c); });
    item.property("property ID: Integer read", [](CallCtx& c) {
        selfOf<CollectionItemObject>(c);
        c.retInt(0);
    });
    item.property(
        "property Index: Integer read write",
        [](CallCtx& c) {
            selfOf<CollectionItemObject>(c);
            c.retInt(-1);
        },
        [](CallCtx& c) { selfOf<CollectionItemObject>(c); });
    item.property(
        "property DisplayName: string read write", [](CallCtx& c) { c.retStr(c.self()->hostClass()->name()); },
        [](CallCtx& c) { selfOf<CollectionItemObject>(c); });

    // No object is ever a collection: each member refuses whatever it is called on.
    auto refuse = [](CallCtx&) -> void { throw hostException("Invalid class type"); };
    for (const char* decl : {"function Owner: TPersistent", "function Add: TCollectionItem", "procedure BeginUpdate",
                             "procedure Clear", "procedure Delete(Index: Integer)", "procedure EndUpdate",
                             "function FindItemID(ID: Integer): TCollectionItem",
                             "function Insert(Index: Integer): TCollectionItem"})
        collection.method(decl, refuse);
    collection.property("property Count: Integer read", refuse);
    collection.property("property Items[Index: Integer]: TCollectionItem read write", refuse, refuse);
    t.addClass("TOwnedCollection", "TCollection");
}

void registerBits(HostTable& t) {
    HostClass& bits = t.addClass("TBits", "TObject");
    const HostClass* bitsClass = &bits;
    bits.constructor("constructor Create", [bitsClass](CallCtx& c) { c.retValue(objectValue(new BitsObject(bitsClass))); });
    bits.method("function OpenBit: Integer", guarded([](CallCtx& c) {
        const std::vector<bool>& b = bitsOf(c).bits;
        const auto first = std::find(b.begin(), b.end(), false);
        c.retInt(static_cast<int64_t>(first - b.begin()));
    }));
    bits.property(
        "property Bits[Index: Integer]: Boolean read write",
        guarded([](CallCtx& c) {
            const std::vector<bool>& b = bitsOf(c).bits;
            const int64_t index = i32(c, 1);
            if (index < 0 || index >= static_cast<int64_t>(b.size())) bitsIndexError();
            c.retBool(b[static_cast<size_t>(index)]);
        }),
        guarded([](CallCtx& c) {
            BitsObject& b = bitsOf(c);
            const int64_t index = i32(c, 1);
            if (index < 0) bitsIndexError();
            if (index >= static_cast<int64_t>(b.bits.size())) resizeBits(b, index + 1);
            b.bits[static_cast<size_t>(index)] = c.b(2);
        }));
    bits.property(
        "property Size: Integer read write",
        guarded([](CallCtx& c) { c.retInt(static_cast<int64_t>(bitsOf(c).bits.size())); }),
        guarded([](CallCtx& c) { resizeBits(bitsOf(c), i32(c, 1)); }));
}

void registerStringList(HostTable& t, HostClass& strings, HostClass& stringList, const std::string& lineBreak) {
    using M = rtl::StringListMember;
    for (const rtl::MemberDeclaration& md : rtl::StringListDeclarations()) {
        HostClass& cls = md.className == "TStringList" ? stringList : strings;
        std::string decl(md.declaration);
        const HostClass* clsPtr = &cls;
        // A list shown by a control (a list box's Items) hears of every change a setter or method makes.
        auto notifying = [](HostFn fn) -> HostFn {
            return [fn = std::move(fn)](CallCtx& c) {
                fn(c);
                listOf(c).changed();
            };
        };
        const bool reads = md.id == M::IndexOf || md.id == M::IndexOfName || md.id == M::IndexOfObject ||
                           md.id == M::Equals || md.id == M::GetText || md.id == M::Find ||
                           md.id == M::BeginUpdate || md.id == M::EndUpdate;
        auto prop = [&](HostFn get, HostFn set) {
            cls.property(decl, std::move(get), set ? notifying(std::move(set)) : nullptr, md.isDefault);
        };
        auto method = [&](HostFn fn) { cls.method(decl, reads ? std::move(fn) : notifying(std::move(fn))); };
        switch (md.id) {
            case M::Create:
            case M::ListCreate:
                cls.constructor(decl, [clsPtr, lineBreak](CallCtx& c) {
                    c.retValue(objectValue(new StringListObject(clsPtr, lineBreak)));
                });
                break;
            case M::Add: method(guarded([](CallCtx& c) { c.retInt(listOf(c).list.Add(c.s(1))); })); break;
            case M::Append: method(guarded([](CallCtx& c) { listOf(c).list.Append(c.s(1)); })); break;
            case M::AddStrings:
                method(guarded([](CallCtx& c) {
                    Value& v = c.arg(1);
                    auto* other = v.tag == Tag::Obj ? dynamic_cast<StringListObject*>(v.o) : nullptr;
                    if (!other || other->disposed()) throw ScriptError(ErrorCode::NullPointerException, "");
                    listOf(c).list.AddStrings(other->list);
                }));
                break;
            case M::Clear: method(guarded([](CallCtx& c) {
                auto& l = listOf(c);
                l.list.Clear();
                l.held.clear();
            })); break;
            case M::Delete: method(guarded([](CallCtx& c) { listOf(c).list.Delete(i32(c, 1)); })); break;
            case M::IndexOf: method(guarded([](CallCtx& c) { c.retInt(listOf(c).list.IndexOf(c.s(1))); })); break;
            case M::Insert: method(guarded([](CallCtx& c) { listOf(c).list.Insert(i32(c, 1), c.s(2)); })); break;
            case M::Capacity:
                prop(guarded([](CallCtx& c) { c.retInt(listOf(c).list.Capacity()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetCapacity(i32(c, 1)); }));
                break;
            case M::Delimiter:
                prop(guarded([](CallCtx& c) { c.retInt(static_cast<uint8_t>(listOf(c).list.Delimiter())); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetDelimiter(static_cast<char>(c.i(1))); }));
                break;
            case M::DelimitedText:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.DelimitedText()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetDelimitedText(c.s(1)); }));
                break;
            case M::NameValueSeparator:
                prop(guarded([](CallCtx& c) { c.retInt(static_cast<uint8_t>(listOf(c).list.NameValueSeparator())); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetNameValueSeparator(static_cast<char>(c.i(1))); }));
                break;
            case M::QuoteChar:
                prop(guarded([](CallCtx& c) { c.retInt(static_cast<uint8_t>(listOf(c).list.QuoteChar())); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetQuoteChar(static_cast<char>(c.i(1))); }));
                break;
            case M::Count: prop(guarded([](CallCtx& c) { c.retInt(listOf(c).list.Count()); }), nullptr); break;
            case M::Text:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.Text()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetText(c.s(1)); }));
                break;
            case M::CommaText:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.CommaText()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetCommaText(c.s(1)); }));
                break;
            case M::Strings:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.Get(i32(c, 1))); }),
                     guarded([](CallCtx& c) { listOf(c).list.Put(i32(c, 1), c.s(2)); }));
                break;
            case M::Objects:
                prop(guarded([](CallCtx& c) {
                         auto& l = listOf(c);
                         c.retValue(l.object(l.list.GetObject(i32(c, 1))));
                     }),
                     guarded([](CallCtx& c) {
                         auto& l = listOf(c);
                         l.list.PutObject(i32(c, 1), l.hold(c.arg(2)));
                     }));
                break;
            case M::BeginUpdate:
            case M::EndUpdate: method([](CallCtx& c) { listOf(c); }); break;
            case M::Equals:
                method(guarded([](CallCtx& c) {
                    Value& v = c.arg(1);
                    auto* other = v.tag == Tag::Obj ? dynamic_cast<StringListObject*>(v.o) : nullptr;
                    if (!other || other->disposed()) throw ScriptError(ErrorCode::NullPointerException, "");
                    c.retBool(listOf(c).list.Equals(other->list));
                }));
                break;
            case M::Exchange: method(guarded([](CallCtx& c) { listOf(c).list.Exchange(i32(c, 1), i32(c, 2)); })); break;
            case M::IndexOfName: method(guarded([](CallCtx& c) { c.retInt(listOf(c).list.IndexOfName(c.s(1))); })); break;
            case M::Move: method(guarded([](CallCtx& c) { listOf(c).list.Move(i32(c, 1), i32(c, 2)); })); break;
            case M::SetText: method(guarded([](CallCtx& c) { listOf(c).list.SetText(c.s(1)); })); break;
            case M::Names: prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.Name(i32(c, 1))); }), nullptr); break;
            case M::Values:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.Value(c.s(1))); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetValue(c.s(1), c.s(2)); }));
                break;
            case M::ValueFromIndex:
                prop(guarded([](CallCtx& c) { c.retStr(listOf(c).list.ValueFromIndex(i32(c, 1))); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetValueFromIndex(i32(c, 1), c.s(2)); }));
                break;
            case M::AddObject:
                method(guarded([](CallCtx& c) {
                    auto& l = listOf(c);
                    c.retInt(l.list.AddObject(c.s(1), l.hold(c.arg(2))));
                }));
                break;
            case M::GetText: method(guarded([](CallCtx& c) { c.retStr(listOf(c).list.Text()); })); break;
            case M::IndexOfObject:
                method(guarded([](CallCtx& c) {
                    Value& v = c.arg(1);
                    auto ref = v.tag == Tag::Obj ? reinterpret_cast<rtl::StringList::ObjectRef>(v.o) : 0;
                    c.retInt(listOf(c).list.IndexOfObject(ref));
                }));
                break;
            case M::InsertObject:
                method(guarded([](CallCtx& c) {
                    auto& l = listOf(c);
                    l.list.InsertObject(i32(c, 1), c.s(2), l.hold(c.arg(3)));
                }));
                break;
            case M::Find:
                method(guarded([](CallCtx& c) {
                    int32_t idx = 0;
                    bool found = listOf(c).list.Find(c.s(1), idx);
                    c.ref(2).i = idx;
                    c.retBool(found);
                }));
                break;
            case M::Sort: method(guarded([](CallCtx& c) { listOf(c).list.Sort(); })); break;
            case M::CaseSensitive:
                prop(guarded([](CallCtx& c) { c.retBool(listOf(c).list.CaseSensitive()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetCaseSensitive(c.b(1)); }));
                break;
            case M::Duplicates:
                prop(guarded([](CallCtx& c) { c.retInt(static_cast<int>(listOf(c).list.DuplicatesMode())); }),
                     guarded([](CallCtx& c) {
                         int64_t v = c.i(1);
                         listOf(c).list.SetDuplicates(v == 1 ? rtl::Duplicates::Accept : v == 2 ? rtl::Duplicates::Error : rtl::Duplicates::Ignore);
                     }));
                break;
            case M::Sorted:
                prop(guarded([](CallCtx& c) { c.retBool(listOf(c).list.Sorted()); }),
                     guarded([](CallCtx& c) { listOf(c).list.SetSorted(c.b(1)); }));
                break;
        }
    }
    (void)t;
}

}  // namespace

void registerStandardLibrary(HostTable& t, const StdLibOptions& options) {
    for (std::string_view d : rtl::TypeDeclarations()) t.type(std::string(d));
    t.type(
        "TIFException = (ErNoError, erCannotImport, erInvalidType, ErInternalError, erInvalidHeader, "
        "erInvalidOpcode, erInvalidOpcodeParameter, erNoMainProc, erOutOfGlobalVarsRange, erOutOfProcRange, "
        "ErOutOfRange, erOutOfStackRange, ErTypeMismatch, erUnexpectedEof, erVersionError, ErDivideByZero, "
        "ErMathError, erCouldNotCallProc, erOutofRecordRange, erOutOfMemory, erException, "
        "erNullPointerException, erNullVariantError, erInterfaceNotSupported, erCustomError)");
    for (std::string_view d : rtl::ConstantDeclarations()) t.constant(std::string(d));

    for (const rtl::RoutineDeclaration& r : rtl::RoutineDeclarations())
        if (r.group != rtl::RoutineGroup::Host) t.function(std::string(r.declaration), routine(r.id));

    t.function("procedure RaiseLastException", [](CallCtx& c) {
        throw ScriptError(c.vm.lastErrorCode(), c.vm.lastErrorParam());
    });
    t.function("procedure RaiseException(Ex: TIFException; Param: string)", [](CallCtx& c) {
        int64_t code = c.i(0);
        if (code < 0 || code > static_cast<int64_t>(ErrorCode::CustomError)) code = static_cast<int64_t>(ErrorCode::CustomError);
        throw ScriptError(static_cast<ErrorCode>(code), std::string(c.s(1)));
    });
    t.function("function ExceptionType: TIFException", [](CallCtx& c) { c.retInt(static_cast<int64_t>(c.vm.lastErrorCode())); });
    t.function("function ExceptionParam: string", [](CallCtx& c) { c.retStr(c.vm.lastErrorParam()); });
    t.function("function ExceptionProc: Cardinal", [](CallCtx& c) { c.retInt(0); });
    t.function("function ExceptionPos: Cardinal", [](CallCtx& c) { c.retInt(0); });
    t.function("function ExceptionToString(er: TIFException; Param: string): string", [](CallCtx& c) {
        int64_t code = c.i(0);
        if (code < 0 || code > static_cast<int64_t>(ErrorCode::CustomError)) {
            c.retStr("Unknown error");
            return;
        }
        c.retStr(errorText(static_cast<ErrorCode>(code), std::string(c.s(1))));
    });

    t.type("TVarType = Word");
    t.function("function Unassigned: Variant", [](CallCtx& c) { c.result->vt = VarType::Empty; });
    t.function("function Null: Variant", [](CallCtx& c) { c.result->vt = VarType::Null; });
    t.function("function VarIsEmpty(const V: Variant): Boolean", [](CallCtx& c) {
        VarType vt = c.arg(0).vt;
        c.retBool(vt == VarType::Empty || vt == VarType::None);
    });
    t.function("function VarIsNull(const V: Variant): Boolean", [](CallCtx& c) { c.retBool(c.arg(0).vt == VarType::Null); });
    t.function("function VarType(const V: Variant): TVarType", [](CallCtx& c) {
        switch (c.arg(0).vt) {
            case VarType::None: case VarType::Empty: c.retInt(0); break;
            case VarType::Null: c.retInt(1); break;
            case VarType::Int: c.retInt(3); break;
            case VarType::Float: c.retInt(5); break;
            case VarType::Currency: c.retInt(6); break;
            case VarType::Bool: c.retInt(11); break;
            case VarType::Object: c.retInt(9); break;
            case VarType::String: case VarType::Char: c.retInt(256); break;
        }
    });

    HostClass& tobject = t.addClass("TObject", "");
    const HostClass* tobjectPtr = &tobject;
    tobject.constructor("constructor Create", [tobjectPtr](CallCtx& c) { c.retValue(objectValue(new ScriptObject(tobjectPtr))); });
    tobject.method("procedure Free", [](CallCtx& c) {
        ScriptObject* o = c.self();
        if (!o->hostOwned) o->dispose();
    });
    tobject.method("function ClassName: string", [](CallCtx& c) { c.retStr(c.self()->hostClass()->name()); });
    HostClass& persistent = t.addClass("TPersistent", "TObject");
    persistent.method("procedure Assign(Source: TPersistent)", [](CallCtx& c) {
        c.self();
        throw hostException("Cannot assign");
    });
    registerComponent(t.addClass("TComponent", "TPersistent"));
    HostClass& strings = t.addClass("TStrings", "TPersistent");
    HostClass& stringList = t.addClass("TStringList", "TStrings");
    registerStringList(t, strings, stringList, options.lineBreak);
    registerBits(t);
    registerStreams(t, strings);
    registerCollections(t);

    // The companions of `external` declarations; the calls themselves go through the VM's ForeignCalls.
    t.function("procedure UnloadDll(S: string)", [](CallCtx& c) {
        if (ForeignCalls* f = c.vm.foreignCalls()) f->unloadLibrary(c.s(0));
    });
    t.function("function DllGetLastError: LongInt", [](CallCtx& c) {
        const ForeignCalls* f = c.vm.foreignCalls();
        c.retInt(f ? static_cast<int32_t>(f->lastError()) : 0);
    });
}

void attachToOwner(ScriptObject* component, ScriptObject* owner) {
    if (!owner || owner->disposed() || owner == component) return;
    owner->component().components.push_back(objectValue(component));
    component->component().owner = owner;
}

void registerHostHelpers(HostTable& t) {
    for (const rtl::RoutineDeclaration& r : rtl::RoutineDeclarations())
        if (r.group == rtl::RoutineGroup::Host) t.function(std::string(r.declaration), routine(r.id));
}

}  // namespace pelo::lang
