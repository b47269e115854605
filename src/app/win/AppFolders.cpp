#include "app/win/AppFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "app/win/Registry.h"
#include "ui/win/MessageBoxes.h"

namespace pelo::app {
namespace {

std::wstring ShellFolder(int csidl, bool& ok) {
    wchar_t buf[MAX_PATH + 1] = {};
    ok = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK && buf[0] != L'\0';
    return ok ? std::wstring(buf) : std::wstring();
}

}  // namespace

bool IsExistingDirectory(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool PrepareAppDataDir(AppFolders& f) {
    bool ok = false;
    const std::wstring local = ShellFolder(CSIDL_LOCAL_APPDATA, ok);
    if (!ok) {
        ui::ShowPlainBox(L"Error finding application data directory path!");
        return false;
    }
    const std::wstring parent = local + L"\\Quorvel Software";
    f.AppDataDir = parent + L"\\Pelorant";
    if (!IsExistingDirectory(f.AppDataDir)) {
        bool created = true;
        if (!IsExistingDirectory(parent)) created = CreateDirectoryW(parent.c_str(), nullptr) != 0;
        if (created && !IsExistingDirectory(f.AppDataDir))
            created = CreateDirectoryW(f.AppDataDir.c_str(), nullptr) != 0;
        if (!created) {
            ui::ShowPlainBox(L"Error creating application data directory!");
            return false;
        }
    }
    f.IniPath = f.AppDataDir + L"\\Pelorant.ini";
    return true;
}

bool PrepareLogsDir(AppFolders& f) {
    std::wstring logs = ReadRegistryString(L"LogsDir");
    if (logs.empty() || !IsExistingDirectory(logs)) {
        bool ok = false;
        const std::wstring docs = ShellFolder(CSIDL_COMMON_DOCUMENTS, ok);
        if (!ok) {
            ui::ShowPlainBox(L"Error finding common documents directory path!");
            return false;
        }
        logs = docs + L"\\Pelorant Logs";
        StoreLogsDirValue(logs);   // a key that cannot be opened stores nothing; start-up goes on
        if (IsExistingDirectory(logs)) {
            ui::ShowWarningBox(L"Log files directory was not found! Pelo has set the default logs directory to\r\n\r\n" +
                               logs);
        } else if (!CreateDirectoryW(logs.c_str(), nullptr)) {
            ui::ShowPlainBox(L"Error creating log files directory!");
            return false;
        } else {
            ui::ShowWarningBox(L"Log files directory was not found! Pelo has created the default logs directory at\r\n\r\n" +
                               logs);
        }
    }
    f.LogsDir = logs;
    return true;
}

}  // namespace pelo::app
