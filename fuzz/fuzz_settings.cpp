// libFuzzer target: any bytes as the settings file. Loading must never fail, and what it loads must survive a
// save and a second load unchanged (a file the program writes is one it reads back exactly).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const pelo::app::Windows1252CodePage codePage;
    const pelo::app::SettingsSnapshot loaded = pelo::app::LoadSettingsFromBytes(std::span<const uint8_t>(data, size), codePage);
    const std::vector<uint8_t> saved = pelo::app::SaveSettingsToBytes(loaded, codePage);
    const pelo::app::SettingsSnapshot reloaded = pelo::app::LoadSettingsFromBytes(saved, codePage);
    if (!(reloaded == loaded))
        std::abort();
    return 0;
}
