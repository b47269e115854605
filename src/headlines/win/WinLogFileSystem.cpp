#include "headlines/win/WinLogFileSystem.h"

#include <windows.h>

#include <string>

namespace pelo::headlines {
namespace {

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

HANDLE ToHandle(TLogFileHandle file) { return reinterpret_cast<HANDLE>(file); }

TLogFileHandle FromHandle(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? InvalidLogFile : reinterpret_cast<TLogFileHandle>(h);
}

// Read and write access; others may read the log while the program writes it (a viewer, a tail).
HANDLE OpenLog(const std::u16string& name, DWORD disposition) {
    return CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool TWinLogFileSystem::IsExistingFile(const std::u16string& name) {
    const DWORD attributes = GetFileAttributesW(Wide(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TLogFileHandle TWinLogFileSystem::OpenExisting(const std::u16string& name) {
    HANDLE h = OpenLog(name, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) return InvalidLogFile;
    // Lines are appended to what the file holds; an existing log is never truncated.
    if (SetFilePointer(h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        CloseHandle(h);
        return InvalidLogFile;
    }
    return FromHandle(h);
}

TLogFileHandle TWinLogFileSystem::CreateNew(const std::u16string& name) {
    return FromHandle(OpenLog(name, CREATE_NEW));
}

std::size_t TWinLogFileSystem::Write(TLogFileHandle file, const char* bytes, std::size_t count) {
    DWORD written = 0;
    // A failed call may still report bytes that reached the file (a disk that filled up midway).
    WriteFile(ToHandle(file), bytes, static_cast<DWORD>(count), &written, nullptr);
    return written;
}

void TWinLogFileSystem::Close(TLogFileHandle file) { CloseHandle(ToHandle(file)); }

std::optional<std::uint64_t> TWinLogFileSystem::FileSize(const std::u16string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(name).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool TWinLogFileSystem::Delete(const std::u16string& name) { return DeleteFileW(Wide(name).c_str()) != 0; }

}  // namespace pelo::headlines
