#pragma once
// The INI text of the settings file: reading it into sections and keys, and writing it back.
//
// Reading: every line is trimmed of blanks and control characters; empty lines and lines starting with ";"
// are skipped; "[name]" opens a section (name trimmed); inside a section a line with "=" holds a key (the
// text before the first "=", trimmed) and its value (all after it); other lines, and everything before the
// first section, are ignored. Section and key names ignore ASCII letter case. A section that appears twice
// is read as one; of a key that appears twice in a section, the first one counts.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pelo::app {

class IniDocument {
public:
    static IniDocument Parse(std::u16string_view text);

    bool HasSection(std::u16string_view section) const;
    // The value, or nullptr when the section or the key is missing. Valid while the document lives.
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;

private:
    struct Entry {
        std::u16string Key;
        std::u16string Value;
    };
    struct Section {
        std::vector<Entry> Entries;
    };

    std::vector<Section> Sections;
    std::unordered_map<std::u16string, size_t> SectionIndex;  // lower-case name -> index in Sections
};

// Builds the file: "[section]" lines, "key=value" lines without blanks around "=", an empty line after each
// section (the last one too), CR LF line ends, UTF-16 little-endian with its byte-order mark.
class IniWriter {
public:
    void BeginSection(std::u16string_view name);
    // A line break inside a value would end the line and could forge keys or sections: it is written as a
    // blank instead.
    void WriteValue(std::u16string_view key, std::u16string_view value);
    std::vector<uint8_t> Finish();

private:
    void EndSection();

    std::u16string Text;
    bool InSection = false;
};

}  // namespace pelo::app
