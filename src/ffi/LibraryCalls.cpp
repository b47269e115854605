#include "ffi/LibraryCalls.h"

#include <map>

#include "ffi/ForeignCall.h"

namespace pelo::ffi {

using lang::ErrorCode;
using lang::ScriptError;

struct LibraryCalls::State {
    struct Loaded {
        void* handle = nullptr;
        uint64_t generation = 0;
    };

    std::unique_ptr<LibraryLoader> loader;
    std::map<std::string, Loaded, std::less<>> libraries;  // by the name the declarations use
    uint64_t generations = 0;  // a library loaded again gets a new number, so functions find their entry anew
    uint32_t lastError = 0;
    bool closed = false;

    const Loaded* open(const std::string& name, bool alteredSearchPath) {
        if (closed || name.empty()) return nullptr;
        auto it = libraries.find(name);
        if (it != libraries.end()) return &it->second;
        void* h = loader->open(name, alteredSearchPath);
        if (!h) return nullptr;
        return &libraries.emplace(name, Loaded{h, ++generations}).first->second;
    }

    void closeAll() {
        for (auto& [name, lib] : libraries) loader->close(lib.handle);
        libraries.clear();
        closed = true;
    }
};

namespace {

using State = LibraryCalls::State;

class BoundFunction final : public lang::ForeignFunction {
public:
    BoundFunction(std::shared_ptr<LibraryCalls::State> state, lang::ForeignTarget target,
                  const lang::ForeignSignature& sig)
        : state_(std::move(state)), target_(std::move(target)), call_(sig, target_.convention) {}

    void call(lang::CallCtx& c) override {
        // A library or function that is missing now may be there at the next call: nothing failed is remembered.
        const auto* lib = state_->open(target_.library, target_.alteredSearchPath);
        if (!lib) throw ScriptError(ErrorCode::CouldNotCallProc, "");
        if (!entry_ || generation_ != lib->generation) {
            entry_ = state_->loader->find(lib->handle, target_.entry);
            generation_ = lib->generation;
        }
        if (!entry_) throw ScriptError(ErrorCode::CouldNotCallProc, "");
        State& st = *state_;
        call_.invoke(entry_, c, [&st] { st.lastError = st.loader->lastSystemError(); });
    }

private:
    std::shared_ptr<LibraryCalls::State> state_;
    lang::ForeignTarget target_;
    ForeignCall call_;
    void* entry_ = nullptr;
    uint64_t generation_ = 0;
};

}  // namespace

LibraryCalls::LibraryCalls(std::unique_ptr<LibraryLoader> loader) : state_(std::make_shared<State>()) {
    state_->loader = std::move(loader);
}

LibraryCalls::~LibraryCalls() { state_->closeAll(); }

std::unique_ptr<lang::ForeignFunction> LibraryCalls::bind(const lang::ForeignTarget& target,
                                                          const lang::ForeignSignature& sig) {
    return std::make_unique<BoundFunction>(state_, target, sig);
}

void LibraryCalls::unloadLibrary(std::string_view library) {
    auto it = state_->libraries.find(library);
    if (it == state_->libraries.end()) return;
    state_->loader->close(it->second.handle);
    state_->libraries.erase(it);
}

uint32_t LibraryCalls::lastError() const { return state_->lastError; }

}  // namespace pelo::ffi
