#include "app/SettingsStorage.h"

#include <utility>

namespace pelo::app {

TSettingsStorage::TSettingsStorage(ISettingsFileSystem& files, std::u16string path)
    : Files(files), FilePath(std::move(path))
{
}

SettingsSnapshot TSettingsStorage::Load(const CodePage& codePage)
{
    SettingsFileRead read = Files.ReadWhole(FilePath, MaxSettingsFileBytes);
    if (read.Result == SettingsFileRead::Outcome::Unreadable) {
        // The file still holds the user's settings (terminal list included); saving the defaults over
        // it would lose them, so this run leaves it alone.
        Blocked = true;
        FailureText = std::u16string(SettingsUnreadableText) + u"\r\n\r\n" + FilePath + u"\r\n\r\n" + read.Reason +
                      u"\r\n\r\n" + SettingsNotSavedText;
        return SettingsSnapshot{};
    }
    if (read.Result == SettingsFileRead::Outcome::Missing) read.Bytes.clear();
    return LoadSettingsFromBytes(read.Bytes, codePage);
}

SettingsSaveResult TSettingsStorage::Save(const SettingsSnapshot& snapshot, const CodePage& codePage)
{
    SettingsSaveResult result;
    if (Blocked) {
        result.Result = SettingsSaveResult::Outcome::Skipped;
        return result;
    }
    const std::vector<uint8_t> bytes = SaveSettingsToBytes(snapshot, codePage);
    // The old file stays whole until the new one is complete on disk; then one step swaps them.
    const std::u16string temporary = TemporaryPath();
    std::optional<std::u16string> error = Files.WriteWhole(temporary, bytes);
    if (!error) error = Files.Replace(temporary, FilePath);
    if (error) {
        Files.Remove(temporary);
        result.Result = SettingsSaveResult::Outcome::Failed;
        result.Error = std::move(*error);
    }
    return result;
}

}  // namespace pelo::app
