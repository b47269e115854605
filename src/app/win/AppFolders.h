#pragma once
// The application-data folder and the logs directory, made sure of before any window exists.
#include <string>

namespace pelo::app {

struct AppFolders {
    std::wstring AppDataDir;
    std::wstring IniPath;
    std::wstring LogsDir;
};

bool IsExistingDirectory(const std::wstring& path);

// Finds or creates the folders, showing the program's boxes. Returns false when start-up must end.
bool PrepareAppDataDir(AppFolders& folders);
bool PrepareLogsDir(AppFolders& folders);

}  // namespace pelo::app
