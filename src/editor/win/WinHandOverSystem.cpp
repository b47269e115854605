#include "editor/win/WinHandOverSystem.h"

#include <shlobj.h>

#include "script/CompanionProtocol.h"
#include "script/win/CompanionWindows.h"
#include "ui/win/WinText.h"

namespace pelo::editor {

std::wstring ThisProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring FullPathOf(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(written);
    return full;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
                    written == bytes.size();
    // Closed before anyone is told of it: the program opens it as soon as it hears the command.
    return CloseHandle(file) != 0 && ok;
}

WinHandOverSystem::WinHandOverSystem() : programFolder_(FolderOf(ThisProgramPath())), modulePath_(ThisProgramPath()) {}

bool WinHandOverSystem::WriteFileAndClose(const std::string& path, std::string_view bytes) {
    return WriteWholeFile(ui::AnsiToWide(path), bytes);
}

bool WinHandOverSystem::StoreAttachedScript(const std::string& fullPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, script::companion::RegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = ui::AnsiToWide(fullPath);
    const LONG result = RegSetValueExW(key, script::companion::AttachedScriptValue, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool WinHandOverSystem::WriteTestHeadlines(const std::vector<std::string>& lines) {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) return false;
    std::wstring folder = std::wstring(local) + L"\\Quorvel Software";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Pelorant";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return WriteWholeFile(folder + L"\\" + script::companion::TestHeadlinesFileName, text);
}

bool WinHandOverSystem::PostToProgram(script::companion::CommandCode command) {
    const std::wstring name = ui::ToWide(script::companion::InstanceSemaphoreNameFor(ui::ToU16(modulePath_)));
    HWND program = script::companion::WindowOfSemaphore(name);
    if (program == nullptr) return false;
    const UINT message = RegisterWindowMessageA(script::companion::PeloCommMessageName);
    return PostMessageW(program, message, command.WParam, command.LParam) != 0;
}

bool WinHandOverSystem::StartProgram(std::string_view commandSwitch) {
    const std::wstring exe = programFolder_ + L"\\" + script::companion::ProgramFileName;
    std::wstring commandLine = L"\"" + exe + L"\" " + ui::AnsiToWide(commandSwitch);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, programFolder_.c_str(),
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace pelo::editor
