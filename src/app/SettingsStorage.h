#pragma once
// Where the settings file's bytes come from and go to. A file that exists but cannot be read is not a
// missing file: its settings are still the user's, so a run that could not read them must not save over
// them. Saving goes through a temporary file that replaces the old one in one step, so a write that
// fails halfway (a full disk) leaves the old file as it was.
#include "app/CodePage.h"
#include "app/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pelo::app {

struct SettingsFileRead {
    enum class Outcome { Read, Missing, Unreadable };
    Outcome Result = Outcome::Missing;
    std::vector<uint8_t> Bytes;
    std::u16string Reason;  // why the file could not be read (the system's message)
};

// The file operations; the Win32 layer implements them, tests use an in-memory fake. Errors come back as
// the system's message text.
class ISettingsFileSystem {
public:
    virtual ~ISettingsFileSystem() = default;
    // The whole file. A file larger than maxBytes is Unreadable.
    virtual SettingsFileRead ReadWhole(const std::u16string& path, std::size_t maxBytes) = 0;
    // Creates or truncates the file, writes all bytes and has them on the disk before returning. After a
    // failure the file may hold part of the bytes.
    virtual std::optional<std::u16string> WriteWhole(const std::u16string& path, std::span<const uint8_t> bytes) = 0;
    // Puts `source` in the place of `target` in one step, replacing it.
    virtual std::optional<std::u16string> Replace(const std::u16string& source, const std::u16string& target) = 0;
    virtual void Remove(const std::u16string& path) = 0;
};

// Larger than any settings file this program writes by orders of magnitude.
inline constexpr std::size_t MaxSettingsFileBytes = 16 * 1024 * 1024;

inline constexpr const char16_t* SettingsUnreadableText = u"The settings file could not be read:";
inline constexpr const char16_t* SettingsNotSavedText =
    u"The program runs with the default settings and will not save over the file until it is started "
    u"again.";

struct SettingsSaveResult {
    enum class Outcome { Saved, Skipped, Failed };
    Outcome Result = Outcome::Saved;
    std::u16string Error;  // Failed: the system's message
};

class TSettingsStorage {
public:
    TSettingsStorage(ISettingsFileSystem& files, std::u16string path);

    // The settings the file holds; a missing or unreadable file gives the defaults. After an unreadable
    // file, LoadFailureText() says so and every later Save is skipped.
    SettingsSnapshot Load(const CodePage& codePage);
    // Writes path.new and replaces the file with it. Skipped after a failed load. On failure the old file
    // is untouched and the temporary file is removed.
    SettingsSaveResult Save(const SettingsSnapshot& snapshot, const CodePage& codePage);

    bool SaveBlocked() const { return Blocked; }
    // The warning for the user after an unreadable file: the path, the reason and the consequence.
    const std::u16string& LoadFailureText() const { return FailureText; }
    const std::u16string& Path() const { return FilePath; }
    std::u16string TemporaryPath() const { return FilePath + u".new"; }

private:
    ISettingsFileSystem& Files;
    std::u16string FilePath;
    bool Blocked = false;
    std::u16string FailureText;
};

}  // namespace pelo::app
