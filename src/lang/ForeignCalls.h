// Calls from scripts into other libraries. The engine knows only this interface; the program gives each VM an
// implementation that loads libraries and makes the calls (src/ffi). Without one, a call raises
// "Could not call proc", as it does when the library or the function cannot be found.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "lang/ForeignDeclaration.h"
#include "lang/ForeignSignature.h"
#include "lang/HostTable.h"

namespace pelo::lang {

// One declared external function. call() takes the arguments as the VM passes any host routine's (a var
// parameter as a reference) and raises ScriptError on failure.
class ForeignFunction {
public:
    virtual ~ForeignFunction() = default;
    virtual void call(CallCtx& c) = 0;
};

class ForeignCalls {
public:
    virtual ~ForeignCalls() = default;
    // Binds a declaration; nothing is loaded before the first call.
    virtual std::unique_ptr<ForeignFunction> bind(const ForeignTarget& target, const ForeignSignature& sig) = 0;
    // Frees a library loaded for the script, by the name its declarations use; the next call into it loads it
    // again. A name that is not loaded is ignored.
    virtual void unloadLibrary(std::string_view library) = 0;
    // The system error code right after the last external call (0 before any).
    virtual uint32_t lastError() const = 0;
};

}  // namespace pelo::lang
