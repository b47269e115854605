// Behaviour for the members of the standard visual classes that have no registration of their own: each is bound
// to what the script's windows can do (their colour, font, texts, selection, child windows, window messages), or,
// for settings these windows do not apply (drag modes, 3D looks, hints, menus), kept on the object so that the
// script reads back what it set. Events the windows fire are bound to them; the others are kept the same way.
#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "lang/StdStreams.h"
#include "script/ScriptClassCatalog.h"
#include "script/ScriptImages.h"
#include "script/ScriptWindows.h"

namespace pelo::script {
namespace {

using lang::CallCtx;
using lang::HostClass;
using lang::HostFn;
using lang::HostTable;

// Window messages of the system's controls that members are made of (Perform sends them to the control).
enum Message : uint32_t {
    EmGetSel = 0x00B0, EmSetSel = 0x00B1, EmGetModify = 0x00B8, EmSetModify = 0x00B9, EmReplaceSel = 0x00C2,
    EmSetPasswordChar = 0x00CC, EmGetPasswordChar = 0x00D2, WmCut = 0x0300, WmCopy = 0x0301, WmPaste = 0x0302,
    WmClear = 0x0303, CbGetEditSel = 0x0140, CbSetEditSel = 0x0142, CbShowDropDown = 0x014F,
    CbSetItemHeight = 0x0153, CbGetItemHeight = 0x0154, CbGetDroppedState = 0x0157, LbSetSel = 0x0185,
    LbGetSel = 0x0187, LbGetTopIndex = 0x018E, LbGetSelCount = 0x0190, LbSetTopIndex = 0x0197,
    LbSetItemHeight = 0x01A0, LbGetItemHeight = 0x01A1, LbItemFromPoint = 0x01A9,
};

struct ParsedMember {
    lang::MemberKind kind = lang::MemberKind::Method;
    std::string name;
    std::string type;  // a property's type
    bool function = false;
};

ParsedMember Parse(std::string_view decl) {
    ParsedMember m;
    auto word = [&](std::string_view w) { return decl.substr(0, w.size()) == w; };
    size_t at = 0;
    if (word("property ")) {
        m.kind = lang::MemberKind::Property;
        at = 9;
    } else if (word("constructor ")) {
        m.kind = lang::MemberKind::Constructor;
        at = 12;
    } else if (word("function ")) {
        m.function = true;
        at = 9;
    } else if (word("procedure ")) {
        at = 10;
    }
    size_t end = at;
    while (end < decl.size() && (std::isalnum(static_cast<unsigned char>(decl[end])) || decl[end] == '_')) ++end;
    m.name = lang::upperAscii(decl.substr(at, end - at));
    if (m.kind == lang::MemberKind::Property) {
        size_t colon = decl.find("]:", end);
        colon = colon == std::string_view::npos ? decl.find(':', end) : colon + 1;
        size_t from = colon + 1;
        while (from < decl.size() && decl[from] == ' ') ++from;
        size_t to = from;
        while (to < decl.size() && decl[to] != ' ') ++to;
        m.type = lang::upperAscii(decl.substr(from, to - from));
    }
    return m;
}

bool HasMember(const HostTable& t, const HostClass* cls, const std::string& name) {
    for (; cls; cls = cls->parentName().empty() ? nullptr : t.findClass(cls->parentName()))
        for (const lang::HostMember& member : cls->members())
            if (Parse(member.decl).name == name) return true;
    return false;
}

// ---- members kept on the object ----

// The index arguments of an indexed property become part of the key.
std::string StoredKey(const std::string& name, CallCtx& c, int indexes) {
    std::string key = name;
    for (int k = 1; k <= indexes; ++k) key += '[' + std::to_string(c.arg(k).i) + ']';
    return key;
}

// What a setting reads before the script sets it, where the libraries' classes start with something other than
// their type's empty value.
std::optional<lang::Value> DefaultSetting(const std::string& name, const lang::ScriptObject& self) {
    const auto* w = dynamic_cast<const ScriptWindow*>(&self);
    const WindowKind kind = w ? w->Kind() : WindowKind::Plain;
    static const std::unordered_map<std::string, int64_t> numbers = {
        {"CTL3D", 1}, {"PARENTCOLOR", 1}, {"PARENTFONT", 1}, {"PARENTCTL3D", 1}, {"PARENTSHOWHINT", 1},
        {"DRAGCURSOR", -12}, {"SCALED", 1}, {"AUTOSCROLL", 1}, {"HIDESELECTION", 1}, {"AUTOSELECT", 1},
        {"WANTRETURNS", 1}, {"SHOWACCELCHAR", 1}, {"PIXELSPERINCH", 96}, {"BEVELOUTER", 2}, {"BEVELWIDTH", 1},
        {"LARGECHANGE", 1}, {"SMALLCHANGE", 1}, {"MAX", 100}, {"DROPDOWNCOUNT", 8}, {"INCREMENT", 8},
        {"MARGIN", -1}, {"SPACING", 4}, {"NUMGLYPHS", 1}, {"HINTCOLOR", -16777192}, {"HINTPAUSE", 500},
        {"HINTHIDEPAUSE", 2500}, {"HINTSHORTPAUSE", 50}, {"SHOWMAINFORM", 1}, {"UPDATEFORMATSETTINGS", 1},
        {"EXTENDEDSELECT", 1},
    };
    if (name == "ANCHORS") return SetOfBits(0b0011);      // [akLeft, akTop]
    if (name == "BORDERICONS") return SetOfBits(0b0111);  // [biSystemMenu, biMinimize, biMaximize]
    if (name == "TABORDER") {  // the place among its parent's controls, -1 without a parent
        const ScriptWindow* parent = w ? w->ParentWindow() : nullptr;
        if (!parent) return lang::Value::ofInt(-1);
        const std::vector<ScriptWindow*> siblings = parent->ChildWindows();
        return lang::Value::ofInt(std::find(siblings.begin(), siblings.end(), w) - siblings.begin());
    }
    if (name == "WORDWRAP") return lang::Value::ofInt(kind == WindowKind::Memo ? 1 : 0);
    if (name == "TABSTOP")
        return lang::Value::ofInt(kind == WindowKind::Edit || kind == WindowKind::Memo || kind == WindowKind::Button ||
                                  kind == WindowKind::CheckBox || kind == WindowKind::ListBox ||
                                  kind == WindowKind::ComboBox || kind == WindowKind::ScrollBar);
    auto it = numbers.find(name);
    if (it != numbers.end()) return lang::Value::ofInt(it->second);
    return std::nullopt;
}

HostFn StoredGetter(const std::string& name, int indexes) {
    return [name, indexes](CallCtx& c) {
        lang::ScriptObject* self = c.self();
        if (const lang::ScriptObject::StoredMember* kept = self->storedMember(StoredKey(name, c, indexes)))
            c.retValue(kept->value);
        else if (std::optional<lang::Value> start = indexes == 0 ? DefaultSetting(name, *self) : std::nullopt)
            c.retValue(*start);
        // otherwise the type's empty value the result starts with
    };
}

HostFn StoredSetter(const std::string& name, int indexes) {
    return [name, indexes](CallCtx& c) {
        lang::ScriptObject* self = c.self();
        const lang::Value& v = c.arg(indexes + 1);
        self->storeMember(StoredKey(name, c, indexes)).value = v.tag == lang::Tag::Agg ? c.vm.cloneAgg(v) : v;
        if (auto* w = dynamic_cast<ScriptWindow*>(self); w && indexes == 0 && !w->disposed()) w->SettingChanged(name);
    };
}

// A handler kept with its code's load generation: it reads back as none once that code is gone.
HostFn StoredHandlerGetter(const std::string& name) {
    return [name](CallCtx& c) {
        const lang::ScriptObject::StoredMember* kept = c.self()->storedMember(name);
        c.retInt(kept && kept->generation == c.vm.loadGeneration() ? kept->value.i : 0);
    };
}

HostFn StoredHandlerSetter(const std::string& name) {
    return [name](CallCtx& c) {
        lang::ScriptObject::StoredMember& kept = c.self()->storeMember(name);
        kept.value = lang::Value::ofInt(c.i(1) > 0 ? c.i(1) : 0);
        kept.generation = c.vm.loadGeneration();
    };
}

// ---- members made of what the windows do ----

// The object a member was called on, when it is a live T.
template <class T>
T* LiveSelf(CallCtx& c) {
    auto* o = dynamic_cast<T*>(c.self());
    return o && !o->disposed() ? o : nullptr;
}

ScriptWindow* WindowOf(CallCtx& c) { return LiveSelf<ScriptWindow>(c); }

struct Binding {
    HostFn get, set;
};

// A property of one kind of object made of what the object does; on another object (a class made without a window
// or a bitmap) it is kept instead.
template <class T>
Binding OnLive(const std::string& name, int indexes, std::function<void(CallCtx&, T&)> get,
               std::function<void(CallCtx&, T&)> set) {
    HostFn keptGet = StoredGetter(name, indexes), keptSet = StoredSetter(name, indexes);
    Binding b;
    b.get = [get, keptGet](CallCtx& c) {
        if (T* o = LiveSelf<T>(c)) get(c, *o);
        else keptGet(c);
    };
    if (set)
        b.set = [set, keptSet](CallCtx& c) {
            if (T* o = LiveSelf<T>(c)) set(c, *o);
            else keptSet(c);
        };
    return b;
}

Binding OnWindow(const std::string& name, int indexes, std::function<void(CallCtx&, ScriptWindow&)> get,
                 std::function<void(CallCtx&, ScriptWindow&)> set) {
    return OnLive<ScriptWindow>(name, indexes, std::move(get), std::move(set));
}

int32_t Int(CallCtx& c, int k) { return static_cast<int32_t>(c.arg(k).i); }

// Start and end of an edit's or combo box's selection.
std::pair<int32_t, int32_t> Selection(ScriptWindow& w) {
    const uint32_t packed = static_cast<uint32_t>(w.Perform(w.Kind() == WindowKind::ComboBox ? CbGetEditSel : EmGetSel, 0, 0));
    return {static_cast<int32_t>(packed & 0xFFFF), static_cast<int32_t>(packed >> 16)};
}
void Select(ScriptWindow& w, int32_t start, int32_t end) {
    if (w.Kind() == WindowKind::ComboBox)
        w.Perform(CbSetEditSel, 0, static_cast<intptr_t>((static_cast<uint32_t>(end) << 16) | (static_cast<uint32_t>(start) & 0xFFFF)));
    else
        w.Perform(EmSetSel, start, end);
}

std::unordered_map<std::string, Binding> WindowProperties() {
    std::unordered_map<std::string, Binding> p;
    auto add = [&p](const std::string& name, int indexes, std::function<void(CallCtx&, ScriptWindow&)> get,
                    std::function<void(CallCtx&, ScriptWindow&)> set = nullptr) {
        p[name] = OnWindow(name, indexes, std::move(get), std::move(set));
    };
    add("COLOR", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.Color()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetColor(Int(c, 1)); });
    add("FONT", 0, [](CallCtx& c, ScriptWindow& w) { c.retValue(lang::objectValue(&w.Font())); },
        [](CallCtx& c, ScriptWindow& w) { AssignFont(w.Font(), c.arg(1)); });
    add("CAPTION", 0, [](CallCtx& c, ScriptWindow& w) { c.retStr(w.Caption()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetCaption(c.s(1)); });
    add("TEXT", 0, [](CallCtx& c, ScriptWindow& w) { c.retStr(w.Text()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetText(c.s(1)); });
    add("ALIGNMENT", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.Alignment()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetAlignment(Int(c, 1)); });
    add("AUTOSIZE", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.AutoSize()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetAutoSize(c.b(1)); });
    add("CHECKED", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.Checked()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetChecked(c.b(1)); });
    add("STATE", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.CheckState()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetCheckState(Int(c, 1)); });
    add("ITEMINDEX", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.ItemIndex()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetItemIndex(Int(c, 1)); });
    add("MAXLENGTH", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.MaxLength()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetMaxLength(Int(c, 1)); });
    add("READONLY", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.ReadOnly()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetReadOnly(c.b(1)); });
    add("MODALRESULT", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.ModalResult()); },
        [](CallCtx& c, ScriptWindow& w) { w.SetModalResult(Int(c, 1)); });
    add("CANVAS", 0, [](CallCtx& c, ScriptWindow& w) {
        if (ScriptCanvas* canvas = w.Canvas()) c.retValue(lang::objectValue(canvas));
    });
    add("SHOWING", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.Visible()); });
    add("CONTROLCOUNT", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(static_cast<int64_t>(w.ChildWindows().size())); });
    add("CONTROLS", 1, [](CallCtx& c, ScriptWindow& w) {
        const std::vector<ScriptWindow*> children = w.ChildWindows();
        const int64_t i = c.arg(1).i;
        if (i < 0 || i >= static_cast<int64_t>(children.size())) throw lang::hostException("List index out of bounds (" + std::to_string(i) + ")");
        c.retValue(lang::objectValue(children[static_cast<size_t>(i)]));
    });
    add("PASSWORDCHAR", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.Perform(EmGetPasswordChar, 0, 0) & 0xFF); },
        [](CallCtx& c, ScriptWindow& w) {
            w.Perform(EmSetPasswordChar, static_cast<intptr_t>(c.i(1) & 0xFF), 0);
            w.Invalidate();
        });
    add("SELSTART", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(Selection(w).first); },
        [](CallCtx& c, ScriptWindow& w) { Select(w, Int(c, 1), Int(c, 1)); });
    add("SELLENGTH", 0, [](CallCtx& c, ScriptWindow& w) {
            const auto [start, end] = Selection(w);
            c.retInt(end - start);
        },
        [](CallCtx& c, ScriptWindow& w) {
            const int32_t start = Selection(w).first;
            Select(w, start, start + Int(c, 1));
        });
    add("SELTEXT", 0, [](CallCtx& c, ScriptWindow& w) {
            const auto [start, end] = Selection(w);
            const std::string text = w.Text();
            const size_t from = std::min(static_cast<size_t>(std::max(start, 0)), text.size());
            c.retStr(std::string_view(text).substr(from, static_cast<size_t>(std::max(end - start, 0))));
        },
        [](CallCtx& c, ScriptWindow& w) {
            // the selection replaced by the text, the caret after it, as typing it would
            const auto [start, end] = Selection(w);
            std::string text = w.Text();
            const size_t from = std::min(static_cast<size_t>(std::max(start, 0)), text.size());
            const size_t length = std::min(static_cast<size_t>(std::max(end - start, 0)), text.size() - from);
            const std::string_view with = c.s(1);
            text.replace(from, length, with);
            w.SetText(text);
            const auto caret = static_cast<int32_t>(from + with.size());
            Select(w, caret, caret);
        });
    add("MODIFIED", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.Perform(EmGetModify, 0, 0) != 0); },
        [](CallCtx& c, ScriptWindow& w) { w.Perform(EmSetModify, c.b(1) ? 1 : 0, 0); });
    add("TOPINDEX", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.Perform(LbGetTopIndex, 0, 0)); },
        [](CallCtx& c, ScriptWindow& w) { w.Perform(LbSetTopIndex, Int(c, 1), 0); });
    add("SELCOUNT", 0, [](CallCtx& c, ScriptWindow& w) { c.retInt(w.Perform(LbGetSelCount, 0, 0)); });
    add("SELECTED", 1,
        [](CallCtx& c, ScriptWindow& w) {
            const intptr_t r = w.Perform(LbGetSel, Int(c, 1), 0);
            if (r < 0) throw lang::hostException("List index out of bounds (" + std::to_string(c.arg(1).i) + ")");
            c.retBool(r > 0);
        },
        [](CallCtx& c, ScriptWindow& w) {
            // a list that picks one item at a time has no separate selection: the item becomes the chosen one
            if (w.Perform(LbSetSel, c.b(2) ? 1 : 0, Int(c, 1)) < 0) {
                if (c.b(2)) w.SetItemIndex(Int(c, 1));
                else if (w.ItemIndex() == Int(c, 1)) w.SetItemIndex(-1);
            }
        });
    add("DROPPEDDOWN", 0, [](CallCtx& c, ScriptWindow& w) { c.retBool(w.Perform(CbGetDroppedState, 0, 0) != 0); },
        [](CallCtx& c, ScriptWindow& w) { w.Perform(CbShowDropDown, c.b(1) ? 1 : 0, 0); });
    add("ITEMHEIGHT", 0,
        [](CallCtx& c, ScriptWindow& w) {
            c.retInt(w.Perform(w.Kind() == WindowKind::ComboBox ? CbGetItemHeight : LbGetItemHeight, 0, 0));
        },
        [](CallCtx& c, ScriptWindow& w) {
            w.Perform(w.Kind() == WindowKind::ComboBox ? CbSetItemHeight : LbSetItemHeight, 0, Int(c, 1));
        });
    return p;
}

// The application's own, on TApplication.
// TGraphic's and TBitmap's members on the program's bitmaps.
std::unordered_map<std::string, Binding> GraphicProperties() {
    std::unordered_map<std::string, Binding> p;
    using Access = std::function<void(CallCtx&, ScriptBitmap&)>;
    auto add = [&p](const std::string& name, Access get, Access set = nullptr) {
        p[name] = OnLive<ScriptBitmap>(name, 0, std::move(get), std::move(set));
    };
    add("WIDTH", [](CallCtx& c, ScriptBitmap& b) { c.retInt(b.Width()); },
        [](CallCtx& c, ScriptBitmap& b) { b.SetSize(Int(c, 1), b.Height()); });
    add("HEIGHT", [](CallCtx& c, ScriptBitmap& b) { c.retInt(b.Height()); },
        [](CallCtx& c, ScriptBitmap& b) { b.SetSize(b.Width(), Int(c, 1)); });
    add("EMPTY", [](CallCtx& c, ScriptBitmap& b) { c.retBool(b.Width() == 0 || b.Height() == 0); });
    add("CANVAS", [](CallCtx& c, ScriptBitmap& b) { c.retValue(lang::objectValue(&b.Canvas())); });
    return p;
}

std::unordered_map<std::string, Binding> ApplicationProperties() {
    std::unordered_map<std::string, Binding> p;
    p["EXENAME"].get = [](CallCtx& c) { c.retStr(SelfAs<ScriptApplication>(c).ExeName()); };
    p["HANDLE"].get = [](CallCtx& c) { c.retInt(static_cast<int32_t>(SelfAs<ScriptApplication>(c).Handle())); };
    // the program's application window is not the script's to replace
    p["HANDLE"].set = [](CallCtx& c) {
        c.self();
        throw lang::hostException("The application's window cannot be changed");
    };
    return p;
}

std::unordered_map<std::string, HostFn> ApplicationMethods() {
    std::unordered_map<std::string, HostFn> m;
    m["MINIMIZE"] = [](CallCtx& c) { SelfAs<ScriptApplication>(c).Minimize(); };
    m["RESTORE"] = [](CallCtx& c) { SelfAs<ScriptApplication>(c).Restore(); };
    m["BRINGTOFRONT"] = [](CallCtx& c) { SelfAs<ScriptApplication>(c).BringToFront(); };
    return m;
}

// ---- methods ----

lang::Value PointValue(CallCtx& c, ScriptPoint p) {
    lang::Value r = *c.result;  // the TPoint the result starts as
    if (r.tag == lang::Tag::Agg && r.a && r.a->items->size() == 2) {
        (*r.a->items)[0] = lang::Value::ofInt(p.X);
        (*r.a->items)[1] = lang::Value::ofInt(p.Y);
    }
    return r;
}

ScriptPoint PointArg(CallCtx& c, int k) {
    const lang::Value& v = c.arg(k);
    if (v.tag != lang::Tag::Agg || !v.a || v.a->items->size() != 2) throw lang::ScriptError(lang::ErrorCode::TypeMismatch, "");
    return {static_cast<int32_t>((*v.a->items)[0].i), static_cast<int32_t>((*v.a->items)[1].i)};
}

ScriptWindow* WindowArgOrNil(CallCtx& c, int k) {
    const lang::Value& v = c.arg(k);
    if (v.tag != lang::Tag::Obj || !v.o) return nullptr;
    auto* w = dynamic_cast<ScriptWindow*>(v.o);
    return w && !w->disposed() ? w : nullptr;
}

ScriptWindow& NeedWindow(CallCtx& c) {
    ScriptWindow* w = WindowOf(c);
    if (!w) throw lang::hostException("Invalid class type");
    return *w;
}

std::unordered_map<std::string, HostFn> WindowMethods() {
    std::unordered_map<std::string, HostFn> m;
    // A script's windows are never dragged: nothing is being dragged, and a drag does not start.
    m["DRAGGING"] = [](CallCtx& c) { c.retBool(false); };
    m["HASPARENT"] = [](CallCtx& c) { c.retBool(NeedWindow(c).ParentWindow() != nullptr); };
    m["CLIENTTOSCREEN"] = [](CallCtx& c) { c.retValue(PointValue(c, NeedWindow(c).ClientToScreen(PointArg(c, 1)))); };
    m["SCREENTOCLIENT"] = [](CallCtx& c) { c.retValue(PointValue(c, NeedWindow(c).ScreenToClient(PointArg(c, 1)))); };
    m["GETTEXTLEN"] = [](CallCtx& c) { c.retInt(static_cast<int64_t>(NeedWindow(c).Text().size())); };
    // The text goes into the script's own string only in the reference's engine, which writes through the PChar it
    // was given; here the count of characters that would be copied is all a script gets.
    m["GETTEXTBUF"] = [](CallCtx& c) {
        const int64_t room = c.arg(2).i;
        c.retInt(room <= 0 ? 0 : std::min<int64_t>(static_cast<int64_t>(NeedWindow(c).Text().size()), room - 1));
    };
    m["SETTEXTBUF"] = [](CallCtx& c) { NeedWindow(c).SetText(c.s(1)); };
    m["PERFORM"] = [](CallCtx& c) {
        c.retInt(static_cast<int32_t>(NeedWindow(c).Perform(static_cast<uint32_t>(c.arg(1).i), Int(c, 2), Int(c, 3))));
    };
    m["HANDLEALLOCATED"] = [](CallCtx& c) { c.retBool(WindowOf(c) != nullptr); };
    m["CONTAINSCONTROL"] = [](CallCtx& c) {
        ScriptWindow& self = NeedWindow(c);
        for (ScriptWindow* w = WindowArgOrNil(c, 1); w; w = w->ParentWindow())
            if (w == &self) return c.retBool(true);
        c.retBool(false);
    };
    m["INSERTCONTROL"] = [](CallCtx& c) {
        if (ScriptWindow* child = WindowArgOrNil(c, 1)) child->SetParentWindow(&NeedWindow(c));
    };
    m["REMOVECONTROL"] = [](CallCtx& c) {
        ScriptWindow* child = WindowArgOrNil(c, 1);
        if (child && child->ParentWindow() == &NeedWindow(c)) child->SetParentWindow(nullptr);
    };
    m["SCALEBY"] = [](CallCtx& c) {
        const int64_t mul = c.arg(1).i, div = c.arg(2).i;
        if (div == 0) throw lang::ScriptError(lang::ErrorCode::DivideByZero, "");
        ScriptWindow& self = NeedWindow(c);
        auto scaled = [&](int32_t v) { return static_cast<int32_t>(static_cast<int64_t>(v) * mul / div); };
        for (ScriptWindow* child : self.ChildWindows()) {
            const ScriptBounds b = child->Bounds();
            child->SetBounds({scaled(b.Left), scaled(b.Top), scaled(b.Width), scaled(b.Height)});
        }
        const ScriptBounds b = self.Bounds();
        self.SetBounds({b.Left, b.Top, scaled(b.Width), scaled(b.Height)});
    };
    m["SCROLLBY"] = [](CallCtx& c) {
        for (ScriptWindow* child : NeedWindow(c).ChildWindows()) {
            ScriptBounds b = child->Bounds();
            b.Left += Int(c, 1);
            b.Top += Int(c, 2);
            child->SetBounds(b);
        }
    };
    for (const auto& [name, message] : {std::pair<const char*, uint32_t>{"CLEARSELECTION", WmClear},
                                        {"COPYTOCLIPBOARD", WmCopy}, {"CUTTOCLIPBOARD", WmCut},
                                        {"PASTEFROMCLIPBOARD", WmPaste}}) {
        const uint32_t sent = message;
        m[name] = [sent](CallCtx& c) { NeedWindow(c).Perform(sent, 0, 0); };
    }
    m["SELECTALL"] = [](CallCtx& c) { NeedWindow(c).SelectAll(); };
    m["ITEMATPOS"] = [](CallCtx& c) {
        ScriptWindow& w = NeedWindow(c);
        const ScriptPoint p = PointArg(c, 1);
        const uint32_t r = static_cast<uint32_t>(
            w.Perform(LbItemFromPoint, 0, static_cast<intptr_t>((static_cast<uint32_t>(p.Y) << 16) | (static_cast<uint32_t>(p.X) & 0xFFFF))));
        const bool outside = (r >> 16) != 0;
        const auto item = static_cast<int32_t>(r & 0xFFFF);
        const int32_t count = w.Items() ? static_cast<int32_t>(w.Items()->list.Count()) : 0;
        // beyond the last item: -1, or the count when any position will do (Existing = False)
        c.retInt(!outside && item < count ? item : c.b(2) ? -1 : count);
    };
    m["ITEMRECT"] = [](CallCtx& c) {
        const ScriptBounds b = NeedWindow(c).ItemBounds(Int(c, 1));
        lang::Value r = *c.result;
        if (r.tag == lang::Tag::Agg && r.a && r.a->items->size() == 4) {
            std::vector<lang::Value>& f = *r.a->items;
            f[0] = lang::Value::ofInt(b.Left);
            f[1] = lang::Value::ofInt(b.Top);
            f[2] = lang::Value::ofInt(b.Left + b.Width);
            f[3] = lang::Value::ofInt(b.Top + b.Height);
        }
        c.retValue(r);
    };
    // forms
    m["CLOSEQUERY"] = [](CallCtx& c) {
        ScriptWindow& form = NeedWindow(c);
        std::vector<lang::Value> out;
        FireScriptEvent(form.On(ScriptEvent::CloseQuery), {lang::objectValue(&form), lang::Value::ofInt(1)}, nullptr, &out);
        c.retBool(out.size() < 2 || out[1].i != 0);
    };
    m["FOCUSCONTROL"] = [](CallCtx& c) {
        if (ScriptWindow* w = WindowArgOrNil(c, 1)) w->SetFocus();
    };
    m["SETFOCUSEDCONTROL"] = [](CallCtx& c) {
        ScriptWindow* w = WindowArgOrNil(c, 1);
        if (w) w->SetFocus();
        c.retBool(w != nullptr);
    };
    m["DEFOCUSCONTROL"] = [](CallCtx& c) {
        ScriptWindow* w = WindowArgOrNil(c, 1);
        if (w && w->Focused()) NeedWindow(c).SetFocus();
    };
    m["STYLECHANGED"] = [](CallCtx& c) { NeedWindow(c).Invalidate(); };
    m["REALIGN"] = [](CallCtx& c) { NeedWindow(c).Invalidate(); };
    return m;
}

std::unordered_map<std::string, HostFn> CanvasAndImageMethods() {
    std::unordered_map<std::string, HostFn> m;
    auto canvas = [](CallCtx& c) -> ScriptCanvas& { return SelfAs<ScriptCanvas>(c); };
    auto curve = [canvas](ScriptCanvas::Curve kind) {
        return [canvas, kind](CallCtx& c) {
            std::array<int32_t, 8> points{};
            for (int k = 0; k < 8; ++k) points[static_cast<size_t>(k)] = Int(c, k + 1);
            canvas(c).DrawCurve(kind, points);
        };
    };
    m["ARC"] = curve(ScriptCanvas::Curve::Arc);
    m["CHORD"] = curve(ScriptCanvas::Curve::Chord);
    m["PIE"] = curve(ScriptCanvas::Curve::Pie);
    m["FLOODFILL"] = [canvas](CallCtx& c) { canvas(c).FloodFill(Int(c, 1), Int(c, 2), Int(c, 3), Int(c, 4)); };
    // Bitmaps are read and written as .bmp files. Without the program's bitmaps, and from resources or the
    // clipboard, nothing is: saying so beats an empty picture.
    auto bitmap = [](CallCtx& c) -> ScriptBitmap& {
        ScriptBitmap* b = LiveSelf<ScriptBitmap>(c);
        if (!b) throw lang::hostException("Images cannot be loaded or saved by scripts");
        return *b;
    };
    auto load = [](ScriptBitmap& b, const std::string& bytes) {
        if (!b.FromBmp(bytes)) throw lang::hostException("Bitmap image is not valid");
    };
    m["LOADFROMFILE"] = [bitmap, load](CallCtx& c) {
        ScriptBitmap& b = bitmap(c);
        load(b, lang::readScriptFile(c.s(1)));
    };
    m["SAVETOFILE"] = [bitmap](CallCtx& c) { lang::writeScriptFile(c.s(1), bitmap(c).ToBmp()); };
    m["LOADFROMSTREAM"] = [bitmap, load](CallCtx& c) {
        ScriptBitmap& b = bitmap(c);
        load(b, lang::readStreamArg(c, 1));
    };
    m["SAVETOSTREAM"] = [bitmap](CallCtx& c) { lang::writeStreamArg(c, 1, bitmap(c).ToBmp()); };
    for (const char* io : {"LOADFROMRESOURCENAME", "LOADFROMRESOURCEID", "LOADFROMCLIPBOARDFORMAT", "SAVETOCLIPBOARDFORMAT"})
        m[io] = [](CallCtx& c) {
            c.self();
            throw lang::hostException("Images cannot be loaded or saved by scripts");
        };
    return m;
}

void Bind(HostTable& t, HostClass& cls, const char* decl, const std::unordered_map<std::string, Binding>& properties,
          const std::unordered_map<std::string, HostFn>& methods) {
    static const std::unordered_map<std::string, Binding> application = ApplicationProperties();
    static const std::unordered_map<std::string, Binding> graphic = GraphicProperties();
    const ParsedMember m = Parse(decl);
    if (HasMember(t, &cls, m.name)) return;
    if (m.kind == lang::MemberKind::Constructor) {
        // A class the windows do not make: an object that keeps what the script sets on it.
        const HostClass* made = &cls;
        cls.constructor(decl, [made](CallCtx& c) { c.retValue(lang::objectValue(new lang::ScriptObject(made))); });
        return;
    }
    if (m.kind == lang::MemberKind::Property) {
        const std::string_view text(decl);
        const int indexes = text.find('[') == std::string_view::npos
                                ? 0
                                : 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(text.find(']')), ';'));
        const bool writable = text.find(" write") != std::string_view::npos;
        const bool isEvent = m.type.size() > 5 && m.type.compare(m.type.size() - 5, 5, "EVENT") == 0;
        if (isEvent) {
            if (const std::optional<ScriptEvent> event = ScriptEventNamed(m.name)) {
                const ScriptEvent e = *event;
                HostFn keptGet = StoredHandlerGetter(m.name), keptSet = StoredHandlerSetter(m.name);
                cls.property(
                    decl,
                    [e, keptGet](CallCtx& c) {
                        if (ScriptWindow* w = WindowOf(c)) c.retInt(w->On(e).ScriptValue());
                        else keptGet(c);
                    },
                    [e, keptSet](CallCtx& c) {
                        ScriptWindow* w = WindowOf(c);
                        if (!w) return keptSet(c);
                        w->On(e) = ScriptHandlerArg(c, 1);
                    });
            } else {
                cls.property(decl, StoredHandlerGetter(m.name), StoredHandlerSetter(m.name));
            }
            return;
        }
        const auto& table = cls.name() == "TApplication"                         ? application
                            : cls.name() == "TGraphic" || cls.name() == "TBitmap" ? graphic
                                                                                    : properties;
        auto bound = table.find(m.name);
        if (bound != table.end()) {
            cls.property(decl, bound->second.get, writable ? bound->second.set : nullptr);
            return;
        }
        cls.property(decl, StoredGetter(m.name, indexes), writable ? StoredSetter(m.name, indexes) : nullptr);
        return;
    }
    static const std::unordered_map<std::string, HostFn> applicationMethods = ApplicationMethods();
    const auto& routines = cls.name() == "TApplication" ? applicationMethods : methods;
    auto bound = routines.find(m.name);
    if (bound != routines.end()) {
        cls.method(decl, bound->second);
        return;
    }
    // What these windows have no part of (drag and drop, MDI, printing, help, palettes): accepted and without
    // effect, a function giving its result type's empty value.
    cls.method(decl, [](CallCtx& c) { c.self(); });
}

bool Declared(const std::vector<std::string>& declared, std::string_view decl) {
    const std::string name = lang::upperAscii(decl.substr(0, decl.find(' ')));
    for (const std::string& d : declared)
        if (lang::upperAscii(std::string_view(d).substr(0, d.find(' '))) == name) return true;
    return false;
}

}  // namespace

std::optional<ScriptEvent> ScriptEventNamed(std::string_view propertyName) {
    static const std::unordered_map<std::string, ScriptEvent> events = {
        {"ONCLICK", ScriptEvent::Click},         {"ONDBLCLICK", ScriptEvent::DblClick},
        {"ONCHANGE", ScriptEvent::Change},       {"ONSHOW", ScriptEvent::Show},
        {"ONHIDE", ScriptEvent::Hide},           {"ONACTIVATE", ScriptEvent::Activate},
        {"ONPAINT", ScriptEvent::Paint},         {"ONCLOSE", ScriptEvent::Close},
        {"ONKEYPRESS", ScriptEvent::KeyPress},   {"ONENTER", ScriptEvent::Enter},
        {"ONEXIT", ScriptEvent::Exit},           {"ONKEYDOWN", ScriptEvent::KeyDown},
        {"ONKEYUP", ScriptEvent::KeyUp},         {"ONMOUSEDOWN", ScriptEvent::MouseDown},
        {"ONMOUSEUP", ScriptEvent::MouseUp},     {"ONMOUSEMOVE", ScriptEvent::MouseMove},
        {"ONRESIZE", ScriptEvent::Resize},       {"ONCLOSEQUERY", ScriptEvent::CloseQuery},
        {"ONDEACTIVATE", ScriptEvent::Deactivate}, {"ONSCROLL", ScriptEvent::Scroll},
    };
    auto it = events.find(lang::upperAscii(propertyName));
    if (it == events.end()) return std::nullopt;
    return it->second;
}

void RegisterCatalogMembers(HostTable& t) {
    for (const char* type : StandardCatalogTypes())
        if (!Declared(t.types(), type)) t.type(type);
    for (const char* constant : StandardCatalogConstants())
        if (!Declared(t.constants(), constant)) t.constant(constant);
    const std::unordered_map<std::string, Binding> properties = WindowProperties();
    std::unordered_map<std::string, HostFn> methods = WindowMethods();
    for (auto& [name, fn] : CanvasAndImageMethods()) methods.emplace(name, std::move(fn));
    for (const CatalogClass& entry : StandardClassCatalog()) {
        HostClass* cls = t.findClass(entry.name);
        if (!cls) cls = &t.addClass(entry.name, entry.parent);
        for (const std::vector<const char*>* shared : entry.shared)
            for (const char* decl : *shared) Bind(t, *cls, decl, properties, methods);
        for (const char* decl : entry.members) Bind(t, *cls, decl, properties, methods);
    }
}

}  // namespace pelo::script
