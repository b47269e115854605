#include "ffi/win/WinLibraryLoader.h"

#include <windows.h>

namespace pelo::ffi {

void* WinLibraryLoader::open(const std::string& file, bool alteredSearchPath) {
    // A missing library must come back as an error the script can catch, not as a system dialog.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE h = alteredSearchPath ? LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                                  : LoadLibraryA(file.c_str());
    SetErrorMode(oldMode);
    return reinterpret_cast<void*>(h);
}

void* WinLibraryLoader::find(void* library, const std::string& entry) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), entry.c_str()));
}

void WinLibraryLoader::close(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

uint32_t WinLibraryLoader::lastSystemError() { return GetLastError(); }

}  // namespace pelo::ffi
