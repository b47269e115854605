#include "app/win/Registry.h"

#include <windows.h>

#include <vector>

namespace pelo::app {

std::wstring ReadRegistryString(const wchar_t* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
    std::wstring result;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) ==
            ERROR_SUCCESS)
            result.assign(buf.data());   // stops at the terminating null, whatever the stored size says
    }
    RegCloseKey(key);
    return result;
}

bool StoreLogsDirValue(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegSetValueExW(key, L"LogsDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return true;
}

void ClearAttachedScriptValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    const wchar_t empty[1] = {L'\0'};
    RegSetValueExW(key, L"AttachedScript", 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty);
    RegCloseKey(key);
}

}  // namespace pelo::app
