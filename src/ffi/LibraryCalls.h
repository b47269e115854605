// The script engine's calls into other libraries: loads each library at the first call into it, keeps it loaded
// until the script unloads it (UnloadDll) or is itself unloaded, and remembers the system error code after each
// call for DllGetLastError. One per VM.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "lang/ForeignCalls.h"

namespace pelo::ffi {

// The system's side: LoadLibrary and GetProcAddress on Windows; tests give their own.
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // nullptr when the library cannot be loaded.
    virtual void* open(const std::string& file, bool alteredSearchPath) = 0;
    // nullptr when the library has no such function.
    virtual void* find(void* library, const std::string& entry) = 0;
    virtual void close(void* library) = 0;
    // The calling thread's system error code (read right after a call).
    virtual uint32_t lastSystemError() = 0;
};

class LibraryCalls final : public lang::ForeignCalls {
public:
    explicit LibraryCalls(std::unique_ptr<LibraryLoader> loader);
    ~LibraryCalls() override;

    std::unique_ptr<lang::ForeignFunction> bind(const lang::ForeignTarget& target,
                                                const lang::ForeignSignature& sig) override;
    void unloadLibrary(std::string_view library) override;
    uint32_t lastError() const override;

    struct State;

private:
    std::shared_ptr<State> state_;  // shared with the bound functions, which may outlive this object
};

}  // namespace pelo::ffi
