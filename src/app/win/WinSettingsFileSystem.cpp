#include "app/win/WinSettingsFileSystem.h"

#include <windows.h>

#include "core/win/WinOSError.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

std::u16string ErrorText(DWORD code) { return ui::ToU16(ui::AnsiToWide(MakeOSError(code).what())); }

// Closes the handle on every path out.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Closes now and tells whether the close itself succeeded (the last chance for a write error to show).
    bool close() {
        const BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != 0;
    }

private:
    HANDLE h_;
};

}  // namespace

SettingsFileRead TWinSettingsFileSystem::ReadWhole(const std::u16string& path, std::size_t maxBytes) {
    SettingsFileRead r;
    FileHandle f(CreateFileW(ui::ToWide(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid()) {
        const DWORD err = GetLastError();
        // Only a file that is not there is missing; a locked or forbidden one still holds the user's settings.
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return r;
        r.Result = SettingsFileRead::Outcome::Unreadable;
        r.Reason = ErrorText(err);
        return r;
    }
    r.Result = SettingsFileRead::Outcome::Unreadable;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) {
        r.Reason = ErrorText(GetLastError());
        return r;
    }
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        r.Reason = u"The file is " + ui::ToU16(std::to_wstring(size.QuadPart)) +
                   u" bytes long, far more than any settings file.";
        return r;
    }
    r.Bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!r.Bytes.empty() && !ReadFile(f.get(), r.Bytes.data(), static_cast<DWORD>(r.Bytes.size()), &got, nullptr)) {
        r.Reason = ErrorText(GetLastError());
        r.Bytes.clear();
        return r;
    }
    if (got != r.Bytes.size()) {
        r.Reason = ErrorText(ERROR_READ_FAULT);
        r.Bytes.clear();
        return r;
    }
    r.Result = SettingsFileRead::Outcome::Read;
    return r;
}

std::optional<std::u16string> TWinSettingsFileSystem::WriteWhole(const std::u16string& path,
                                                                 std::span<const uint8_t> bytes) {
    FileHandle f(CreateFileW(ui::ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid()) return ErrorText(GetLastError());
    DWORD written = 0;
    if (!WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return ErrorText(GetLastError());
    if (written != bytes.size()) return ErrorText(ERROR_DISK_FULL);
    // On the disk before the old file is replaced: a crash then leaves either the old or the new file.
    if (!FlushFileBuffers(f.get())) return ErrorText(GetLastError());
    if (!f.close()) return ErrorText(GetLastError());
    return std::nullopt;
}

std::optional<std::u16string> TWinSettingsFileSystem::Replace(const std::u16string& source,
                                                              const std::u16string& target) {
    if (!MoveFileExW(ui::ToWide(source).c_str(), ui::ToWide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ErrorText(GetLastError());
    return std::nullopt;
}

void TWinSettingsFileSystem::Remove(const std::u16string& path) { DeleteFileW(ui::ToWide(path).c_str()); }

}  // namespace pelo::app
