#include "app/win/HookLibrary.h"

#include "ui/win/MessageBoxes.h"

namespace pelo::app {

void HookLibrary::Load(HWND mainWindow) {
    module = LoadLibraryW(L"Pelorant.dll");
    FARPROC registerHandle = module ? GetProcAddress(module, "RegisterPeloHandle") : nullptr;
    if (!registerHandle) {
        if (module) FreeLibrary(module);
        module = nullptr;
        hookProc = nullptr;
        ui::ShowErrorBox(L"Error loading Pelorant.dll");
        return;
    }
    hookProc = GetProcAddress(module, "SysListView32HookProc");
    using RegisterFn = void(WINAPI*)(HWND);
    reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(registerHandle))(mainWindow);
}

void HookLibrary::Release() {
    if (module) FreeLibrary(module);
    module = nullptr;
    hookProc = nullptr;
}

}  // namespace pelo::app
