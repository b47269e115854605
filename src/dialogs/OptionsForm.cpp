#include "dialogs/OptionsForm.h"

#include "core/IntegerText.h"

namespace pelo::dialogs {
namespace {

std::optional<int32_t> IntegerIn(std::string_view text, SettingRange range) {
    int32_t value = 0;
    if (!ParseIntegerText(text, value) || !range.Contains(value)) return std::nullopt;
    return value;
}

void CoordinateText(int32_t value, std::string& text) {
    if (value >= 0) text = std::to_string(value);
}

void ApplyCoordinate(const std::string& text, int32_t& setting) {
    if (text.empty()) {
        setting = -1;
        return;
    }
    int32_t value = 0;
    if (ParseIntegerText(text, value)) setting = value;
}

}  // namespace

void FillOptionsFields(const AppSettings& s, OptionsFields& f) {
    f.DiscoveryRadio = s.DiscoveryMethod == 1 || s.DiscoveryMethod == 2 ? s.DiscoveryMethod : 0;
    f.TitlePattern = s.CustomTitlePattern;
    f.ExactMatch = s.CustomAllowOnlyExactMatch;
    f.ClassName = s.CustomClassName;
    f.BSInSameWindow = s.CustomBSInSameWindow;
    f.HeadlineCapacity = std::to_string(s.HeadlineCapacity);
    CoordinateText(s.CustomX1, f.CustomX);
    CoordinateText(s.CustomY1, f.CustomY);
    CoordinateText(s.CustomX2, f.CustomX2);
    CoordinateText(s.CustomY2, f.CustomY2);
    f.DisplayHeadlines = s.DisplayHeadlines;
    f.NoDuplicates = s.NoDuplicates;
    f.DupCacheSize = std::to_string(s.DuplicateHCacheSize);
    f.LogHeadlines = s.LogHeadlines;
    f.AltTimeFormat = s.AltTimeFormat;
    f.AutoAttach = s.AutoAttach;
    f.WelcomeMsg = s.DisplayWelcomeMsg;
    f.MinimizeToSysTray = s.MinimizeToSysTray;
    f.StayOnTop = s.StayOnTop;
    f.HistMT4HBuffer = std::to_string(s.HistMT4HBuffer);
    f.UseTCPClient = s.UseTCPClient;
    f.TCPHost = s.TCPHost;
    f.TCPPort = std::to_string(s.TCPPort);
    f.TCPPassword = s.TCPPassword;
    f.UseConsoleApp = s.UseConsoleApp;
    f.ShowConsole = s.ShowConsole;
    f.ConsoleAppPath = s.ConsoleAppPath;
    f.AllowUsingDLL = s.AllowUsingDLL;
    f.DisableFontSmoothing = s.HBoxFontSmoothingDisabled;
}

bool NumericTextValid(NumericEdit edit, std::string_view text) {
    switch (edit) {
        case NumericEdit::HeadlineCapacity: return IntegerIn(text, HeadlineCapacityRange).has_value();
        // Shown valid up to 100 only, though applying takes up to 200.
        case NumericEdit::DupCacheSize: return IntegerIn(text, {1, 100}).has_value();
        case NumericEdit::HistMT4HBuffer: return IntegerIn(text, HistMT4HBufferRange).has_value();
        case NumericEdit::TCPPort: return IntegerIn(text, TCPPortRange).has_value();
        case NumericEdit::Coordinate: {
            int32_t value = 0;
            return text.empty() || ParseIntegerText(text, value);
        }
    }
    return false;
}

AppliedOptions ApplyOptionsFields(const OptionsFields& f, AppSettings& s) {
    AppliedOptions applied;
    if (auto v = IntegerIn(f.HeadlineCapacity, HeadlineCapacityRange)) {
        applied.HeadlineCapacity = *v;
        s.HeadlineCapacity = *v;
    }
    if (auto v = IntegerIn(f.DupCacheSize, DuplicateHCacheSizeRange)) {
        applied.DupCacheSize = *v;
        s.DuplicateHCacheSize = *v;
    }
    if (auto v = IntegerIn(f.HistMT4HBuffer, HistMT4HBufferRange)) s.HistMT4HBuffer = *v;
    ApplyCoordinate(f.CustomX, s.CustomX1);
    ApplyCoordinate(f.CustomY, s.CustomY1);
    ApplyCoordinate(f.CustomX2, s.CustomX2);
    ApplyCoordinate(f.CustomY2, s.CustomY2);
    s.CustomTitlePattern = f.TitlePattern;
    s.CustomAllowOnlyExactMatch = f.ExactMatch;
    s.CustomClassName = f.ClassName;
    s.CustomBSInSameWindow = f.BSInSameWindow;
    if (f.DiscoveryRadio == 1 || f.DiscoveryRadio == 2) s.DiscoveryMethod = f.DiscoveryRadio;
    s.UseTCPClient = f.UseTCPClient;
    s.TCPHost = f.TCPHost;
    if (auto v = IntegerIn(f.TCPPort, TCPPortRange)) s.TCPPort = *v;
    s.TCPPassword = f.TCPPassword;
    s.UseConsoleApp = f.UseConsoleApp;
    s.ShowConsole = f.ShowConsole;
    s.AllowUsingDLL = f.AllowUsingDLL;
    s.ConsoleAppPath = f.ConsoleAppPath;
    s.DisplayHeadlines = f.DisplayHeadlines;
    s.NoDuplicates = f.NoDuplicates;
    s.LogHeadlines = f.LogHeadlines;
    s.AltTimeFormat = f.AltTimeFormat;
    s.AutoAttach = f.AutoAttach;
    s.DisplayWelcomeMsg = f.WelcomeMsg;
    s.MinimizeToSysTray = f.MinimizeToSysTray;
    s.StayOnTop = f.StayOnTop;
    s.HBoxFontSmoothingDisabled = f.DisableFontSmoothing;
    return applied;
}

}  // namespace pelo::dialogs
