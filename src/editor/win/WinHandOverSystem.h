#pragma once
// The hand-over on Windows: files, the registry value, the program's window found through its semaphore, and a
// start of Pelorant.exe beside the editor when none runs.
#include <windows.h>

#include <string>

#include "editor/HandOver.h"

namespace pelo::editor {

// Paths here are in the system's ANSI code page, as the program reads AttachedScript.
class WinHandOverSystem final : public IHandOverSystem {
public:
    WinHandOverSystem();

    bool WriteFileAndClose(const std::string& path, std::string_view bytes) override;
    bool StoreAttachedScript(const std::string& fullPath) override;
    bool WriteTestHeadlines(const std::vector<std::string>& lines) override;
    bool PostToProgram(script::companion::CommandCode command) override;
    bool StartProgram(std::string_view commandSwitch) override;

private:
    std::wstring programFolder_;  // the editor's own folder, where Pelorant.exe lies
    std::wstring modulePath_;
};

// The folder and full path of this executable.
std::wstring ThisProgramPath();
std::wstring FolderOf(const std::wstring& path);
// The full path of `path` (relative to the current folder).
std::wstring FullPathOf(const std::wstring& path);
// Whole-file reads and writes by wide path; false on failure.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

}  // namespace pelo::editor
