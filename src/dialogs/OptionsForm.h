#pragma once
// The options dialog's settings as the user sees them: the texts of its edits and the marks of its check boxes.
// Filling copies the settings in; applying copies back what is valid, in a fixed order, and says which stores
// must change size. An invalid number is skipped silently and its setting keeps its value.
#include <optional>
#include <string>
#include <string_view>

#include "core/AppSettings.h"

namespace pelo::dialogs {

struct OptionsFields {
    // News Sources: the custom news sources
    bool AllowUsingDLL = false;
    bool UseConsoleApp = false;
    bool ShowConsole = false;
    std::u16string ConsoleAppPath;  // a file name: wide
    bool UseTCPClient = false;
    std::string TCPHost = "localhost";
    std::string TCPPort = "30001";
    std::string TCPPassword;
    // Clicker
    int DiscoveryRadio = 0;  // 1 manual, 2 custom, 0 neither checked
    std::string TitlePattern;
    bool ExactMatch = false;
    std::string ClassName;
    std::string CustomX, CustomY, CustomX2, CustomY2;
    bool BSInSameWindow = false;
    // Misc Options
    bool DisplayHeadlines = true;
    std::string HeadlineCapacity = "100";
    bool DisableFontSmoothing = false;
    bool NoDuplicates = true;
    std::string DupCacheSize = "30";
    std::string HistMT4HBuffer = "30";
    bool LogHeadlines = true;
    bool AltTimeFormat = false;
    bool AutoAttach = false;
    bool WelcomeMsg = true;
    bool MinimizeToSysTray = false;
    bool StayOnTop = false;
};

// Opening: the fields from the settings. A coordinate of -1 leaves its edit's text as it was.
void FillOptionsFields(const AppSettings& settings, OptionsFields& fields);

// The numeric edits and what they accept while typing (what is not accepted is shown red).
enum class NumericEdit { HeadlineCapacity, DupCacheSize, HistMT4HBuffer, TCPPort, Coordinate };
bool NumericTextValid(NumericEdit edit, std::string_view text);

struct AppliedOptions {
    std::optional<int32_t> HeadlineCapacity;  // resize the headline box (also when unchanged)
    std::optional<int32_t> DupCacheSize;      // resize the duplicate cache
};

// OK and Apply: the settings from the fields. The duplicate cache takes up to 200, beyond what is shown valid.
AppliedOptions ApplyOptionsFields(const OptionsFields& fields, AppSettings& settings);

}  // namespace pelo::dialogs
