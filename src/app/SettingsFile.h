#pragma once
// The settings file Pelorant.ini: its bytes to the settings in memory and back. The Win32 layer reads and
// writes the file and supplies the system code page; everything else about the file is decided here.
#include "core/AppSettings.h"
#include "app/CodePage.h"
#include "app/ColorText.h"
#include "app/FontStyleText.h"
#include "terminals/TerminalInfo.h"
#include "app/WindowPlacement.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pelo::app {

// The headline box font as the settings file describes it. (Whether it is drawn without anti-aliasing is
// the setting AppSettings::HBoxFontSmoothingDisabled.)
struct HBoxFontDescription {
    std::u16string Name = u"Courier New";
    int32_t Height = -12;  // logical font height; negative: character height in pixels
    TFontStyles Style;
    TColor Color = clWindowText;

    friend bool operator==(const HBoxFontDescription&, const HBoxFontDescription&) = default;
};

// Everything the settings file holds. Default-constructed, it is what a missing file gives.
struct SettingsSnapshot {
    AppSettings Settings;
    terminals::TTerminalList Terminals;
    HBoxFontDescription HBoxFont;
    StoredWindowPositions Positions;

    friend bool operator==(const SettingsSnapshot&, const SettingsSnapshot&) = default;
};

// Reads the file's bytes; an empty span stands for a missing file. Never fails: whatever cannot be read
// keeps its default. Numbers outside the options dialog's ranges are brought into them, and a colour that
// is neither a name nor an integer falls back to the default colour.
SettingsSnapshot LoadSettingsFromBytes(std::span<const uint8_t> bytes, const CodePage& codePage);

// The complete file: UTF-16 little-endian with its byte-order mark, CR LF line ends, the sections
// Broker1..BrokerN, ButtonDiscovery, Misc and Other. Positions are written as given: the caller has
// already turned a maximized main window into the work area's bounds.
std::vector<uint8_t> SaveSettingsToBytes(const SettingsSnapshot& snapshot, const CodePage& codePage);

}  // namespace pelo::app
