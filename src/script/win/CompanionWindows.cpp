#include "script/win/CompanionWindows.h"

namespace pelo::script::companion {

HWND WindowOfSemaphore(const std::wstring& name) {
    HANDLE sem = OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, name.c_str());
    if (!sem) return nullptr;
    LONG previous = 0;
    bool ok = WaitForSingleObject(sem, 0) == WAIT_OBJECT_0;
    // Giving the unit back reports the count before the release: the owner's handle (it was created as handle + 1).
    if (ok) ok = ReleaseSemaphore(sem, 1, &previous) != 0;
    CloseHandle(sem);
    if (!ok || previous == 0) return nullptr;
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(static_cast<ULONG>(previous)));
}

bool CreateWindowSemaphore(const std::wstring& name, HWND mainWindow) {
    const LONG count = static_cast<LONG>(reinterpret_cast<ULONG_PTR>(mainWindow)) + 1;
    return CreateSemaphoreW(nullptr, count, count, name.c_str()) != nullptr;
}

}  // namespace pelo::script::companion
