#pragma once
// The program's two registry values under HKEY_CURRENT_USER.
#include <string>

#include "script/CompanionProtocol.h"

namespace pelo::app {

inline constexpr const wchar_t* kRegistryKey = script::companion::RegistryKey;

// Reads a string value without creating the key; a missing key or value reads as empty.
std::wstring ReadRegistryString(const wchar_t* valueName);
// Stores LogsDir, creating the key when it is missing. Returns false when the key cannot be opened.
bool StoreLogsDirValue(const std::wstring& path);
// Sets AttachedScript to "" when the key exists; never creates the key.
void ClearAttachedScriptValue();

}  // namespace pelo::app
