#pragma once
// The program's settings in memory. Fields of the sections ButtonDiscovery and Misc of the settings file
// carry their key's name and default; the custom news source fields after them are edited in the options
// dialog but never stored, so every start begins with their defaults.
#include <cstdint>
#include <string>

namespace pelo {

struct AppSettings {
    // ButtonDiscovery
    int32_t DiscoveryMethod = 1;  // 1: manual click list, 2: order windows found by title and class
    std::string CustomTitlePattern;  // 8-bit, compared with 8-bit window titles
    bool CustomAllowOnlyExactMatch = false;
    std::string CustomClassName;  // 8-bit
    bool CustomBSInSameWindow = false;
    int32_t CustomX1 = -1;  // -1: not set
    int32_t CustomY1 = -1;
    int32_t CustomX2 = -1;
    int32_t CustomY2 = -1;

    // Misc
    bool DisplayHeadlines = true;
    bool NoDuplicates = false;
    int32_t DuplicateHCacheSize = 30;
    bool LogHeadlines = true;
    int32_t HeadlineCapacity = 100;
    bool AltTimeFormat = false;
    bool AutoAttach = true;
    bool DisplayWelcomeMsg = true;
    bool MinimizeToSysTray = false;
    bool StayOnTop = false;
    int32_t HistMT4HBuffer = 30;
    bool HBoxFontSmoothingDisabled = true;

    // Custom news sources (never stored)
    bool UseTCPClient = false;
    std::string TCPHost = "localhost";
    int32_t TCPPort = 30001;
    std::string TCPPassword;
    bool UseConsoleApp = false;
    bool ShowConsole = false;
    std::u16string ConsoleAppPath;
    bool AllowUsingDLL = false;

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// The ranges the options dialog accepts; values read from the file are brought into them.
struct SettingRange {
    int32_t Min;
    int32_t Max;
    constexpr int32_t Clamp(int32_t v) const { return v < Min ? Min : (v > Max ? Max : v); }
    constexpr bool Contains(int32_t v) const { return v >= Min && v <= Max; }
};
inline constexpr SettingRange DiscoveryMethodRange{1, 2};
inline constexpr SettingRange DuplicateHCacheSizeRange{1, 200};
inline constexpr SettingRange HeadlineCapacityRange{10, 1000};
inline constexpr SettingRange HistMT4HBufferRange{0, 200};
inline constexpr SettingRange TCPPortRange{0, 65535};

}  // namespace pelo
