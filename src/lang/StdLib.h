// Registration of the standard script library into a host table: the runtime-library routines, the
// engine's exception routines, TObject/TPersistent/TComponent and TStrings/TStringList.
#pragma once

#include <string>
#include <unordered_map>

#include "lang/HostTable.h"
#include "lang/rtl/StringList.h"

namespace pelo::lang {

struct StdLibOptions {
    std::string lineBreak = "\r\n";  // what TStrings.Text puts after each line
};

void registerStandardLibrary(HostTable& table, const StdLibOptions& options = {});

// The host program's text helpers: IntToStrS, FloatToStrFixed, FloatToStrFixedS, StrReplace.
void registerHostHelpers(HostTable& table);

// Makes `owner` (a live object, or null for none) the owner of `component`: the owner holds it and frees it with
// itself.
void attachToOwner(ScriptObject* component, ScriptObject* owner);

// A host object of class TStringList/TStrings as scripts see it. A control that shows a list (a list box's Items)
// derives from it and hears of each change the script makes.
class StringListObject : public ScriptObject {
public:
    // After every method or property write of the script that may have changed the list.
    virtual void changed() {}

    StringListObject(const HostClass* cls, const std::string& lineBreak) : ScriptObject(cls), list(lineBreak) {}
    void dispose() override {
        list.Clear();
        held.clear();
        ScriptObject::dispose();
    }
    void releaseHeld() override {
        held.clear();
        ScriptObject::releaseHeld();
    }
    rtl::StringList list;
    // Objects stored beside the strings stay alive while the list refers to them.
    std::unordered_map<rtl::StringList::ObjectRef, Value> held;

    rtl::StringList::ObjectRef hold(const Value& v) {
        if (v.tag != Tag::Obj || !v.o) return 0;
        auto ref = reinterpret_cast<rtl::StringList::ObjectRef>(v.o);
        held[ref] = v;
        return ref;
    }
    Value object(rtl::StringList::ObjectRef ref) const {
        Value r;
        r.tag = Tag::Obj;
        auto it = held.find(ref);
        if (it != held.end()) r = it->second;
        return r;
    }
};

}  // namespace pelo::lang
