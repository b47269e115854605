#pragma once
// The settings file's operations on the Windows file system.
#include "app/SettingsStorage.h"

namespace pelo::app {

class TWinSettingsFileSystem final : public ISettingsFileSystem {
public:
    SettingsFileRead ReadWhole(const std::u16string& path, std::size_t maxBytes) override;
    std::optional<std::u16string> WriteWhole(const std::u16string& path, std::span<const uint8_t> bytes) override;
    std::optional<std::u16string> Replace(const std::u16string& source, const std::u16string& target) override;
    void Remove(const std::u16string& path) override;
};

}  // namespace pelo::app
