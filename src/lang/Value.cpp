#include "lang/Value.h"

#include <cstdlib>
#include <mutex>
#include <new>

namespace pelo::lang {

namespace {
thread_local uint64_t bytesMade = 0;
}

uint64_t stringBytesMade() { return bytesMade; }

StrRep* strAlloc(size_t len) {
    bytesMade += len;
    void* mem = std::malloc(sizeof(StrRep) + len);
    if (!mem) throw std::bad_alloc();
    auto* s = static_cast<StrRep*>(mem);
    s->refs = 1;
    s->len = static_cast<int32_t>(len);
    s->data[len] = '\0';
    return s;
}

void strFree(StrRep* s) { std::free(s); }

StrRep* strUnique(StrRep*& s) {
    if (s->refs == 1) return s;
    StrRep* c = strAlloc(static_cast<size_t>(s->len));
    std::memcpy(c->data, s->data, static_cast<size_t>(s->len));
    --s->refs;
    s = c;
    return c;
}

Value Value::ofStr(std::string_view sv) {
    Value r;
    r.tag = Tag::Str;
    r.s = nullptr;
    if (!sv.empty()) {
        r.s = strAlloc(sv.size());
        std::memcpy(r.s->data, sv.data(), sv.size());
    }
    return r;
}

Value strFromChar(uint8_t c) {
    Value r;
    r.tag = Tag::Str;
    r.s = strAlloc(1);
    r.s->data[0] = static_cast<char>(c);
    return r;
}

Value strConcat(const Value& a, const Value& b) {
    std::string_view x = a.str(), y = b.str();
    if (x.empty()) return b.tag == Tag::Str ? b : Value::emptyStr();
    if (y.empty()) return a;
    Value r;
    r.tag = Tag::Str;
    r.s = strAlloc(x.size() + y.size());
    std::memcpy(r.s->data, x.data(), x.size());
    std::memcpy(r.s->data + x.size(), y.data(), y.size());
    return r;
}

void arrFree(ArrayRep* a) {
    delete a->items;
    delete a;
}

void setFree(SetRep* s) { delete s; }

namespace {

// Every live object, for releaseHeldByObjectsOf; objects may be made and destroyed on any thread.
std::mutex liveLock;
ScriptObject* liveHead = nullptr;
thread_local const void* currentMaker = nullptr;

}  // namespace

ScriptObject::ScriptObject(const HostClass* cls) : cls_(cls), maker_(currentMaker) {
    std::lock_guard<std::mutex> lock(liveLock);
    nextLive_ = liveHead;
    if (liveHead) liveHead->prevLive_ = this;
    liveHead = this;
}

ScriptObject::MakerScope::MakerScope(const void* maker) : saved_(currentMaker) { currentMaker = maker; }
ScriptObject::MakerScope::~MakerScope() { currentMaker = saved_; }

void ScriptObject::releaseHeld() {
    stored_.reset();
    if (!component_) return;
    std::vector<Value> owned = std::move(component_->components);
    component_->components.clear();
    for (Value& v : owned)
        if (v.tag == Tag::Obj && v.o && v.o->component_ && v.o->component_->owner == this) v.o->component_->owner = nullptr;
}

void ScriptObject::releaseHeldByObjectsOf(const void* maker) {
    if (!maker) return;
    // References first, so that nothing goes while the list is walked or while the others let go.
    std::vector<Value> made;
    {
        std::lock_guard<std::mutex> lock(liveLock);
        for (ScriptObject* o = liveHead; o; o = o->nextLive_)
            if (o->maker_ == maker && !o->hostOwned && o->refs > 0) made.push_back(objectValue(o));
    }
    for (Value& v : made) v.o->releaseHeld();
}

size_t ScriptObject::liveObjectsOf(const void* maker) {
    std::lock_guard<std::mutex> lock(liveLock);
    size_t n = 0;
    for (ScriptObject* o = liveHead; o; o = o->nextLive_) n += o->maker_ == maker ? 1 : 0;
    return n;
}

ScriptObject::~ScriptObject() {
    {
        std::lock_guard<std::mutex> lock(liveLock);
        if (prevLive_) prevLive_->nextLive_ = nextLive_;
        else liveHead = nextLive_;
        if (nextLive_) nextLive_->prevLive_ = prevLive_;
    }
    // An owner that nothing refers to any more goes while what it owns may live on: they are left without an owner
    // rather than with a dangling one.
    if (component_)
        for (Value& v : component_->components)
            if (v.tag == Tag::Obj && v.o && v.o->component_ && v.o->component_->owner == this) v.o->component_->owner = nullptr;
}

ComponentData& ScriptObject::component() {
    if (!component_) component_ = std::make_unique<ComponentData>();
    return *component_;
}

ScriptObject::StoredMember* ScriptObject::storedMember(const std::string& key) const {
    if (!stored_) return nullptr;
    auto it = stored_->find(key);
    return it == stored_->end() ? nullptr : &it->second;
}

ScriptObject::StoredMember& ScriptObject::storeMember(const std::string& key) {
    if (!stored_) stored_ = std::make_unique<std::unordered_map<std::string, StoredMember>>();
    return (*stored_)[key];
}

void ScriptObject::dispose() {
    disposed_ = true;
    stored_.reset();  // may hold objects: a freed object lets them go
    if (!component_) return;
    // What it owns goes first; then it leaves its owner's list (which may drop the last reference to it, so
    // nothing of this object is used after that).
    std::vector<Value> owned = std::move(component_->components);
    component_->components.clear();
    for (Value& v : owned)
        if (v.tag == Tag::Obj && v.o && !v.o->disposed()) {
            if (v.o->component_) v.o->component_->owner = nullptr;
            v.o->dispose();
        }
    owned.clear();
    ScriptObject* owner = component_->owner;
    component_->owner = nullptr;
    if (owner && owner->component_) {
        std::vector<Value>& list = owner->component_->components;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->o == this) {
                Value keep = std::move(*it);  // released after the list no longer holds it
                list.erase(it);
                break;
            }
    }
}

}  // namespace pelo::lang
