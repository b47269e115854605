// Libraries of the script's `external` declarations, loaded the Windows way.
#pragma once

#include "ffi/LibraryCalls.h"

namespace pelo::ffi {

class WinLibraryLoader final : public LibraryLoader {
public:
    void* open(const std::string& file, bool alteredSearchPath) override;
    void* find(void* library, const std::string& entry) override;
    void close(void* library) override;
    uint32_t lastSystemError() override;
};

}  // namespace pelo::ffi
