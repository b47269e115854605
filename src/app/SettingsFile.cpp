#include "app/SettingsFile.h"

#include "app/IniDocument.h"
#include "core/IntegerText.h"
#include "app/TextFileDecoding.h"

#include <string_view>

namespace pelo::app {

namespace {

constexpr std::u16string_view kButtonDiscovery = u"ButtonDiscovery";
constexpr std::u16string_view kMisc = u"Misc";
constexpr std::u16string_view kOther = u"Other";

std::u16string BrokerSectionName(size_t number)
{
    return u"Broker" + FormatIntegerText(static_cast<int32_t>(number));
}

class SectionReader {
public:
    SectionReader(const IniDocument& doc, std::u16string_view section) : Doc(doc), Section(section) {}

    const std::u16string* Find(std::u16string_view key) const { return Doc.Find(Section, key); }

    void ReadInteger(std::u16string_view key, int32_t& value) const
    {
        if (const std::u16string* text = Find(key)) ParseIntegerText(*text, value);
    }

    void ReadClamped(std::u16string_view key, int32_t& value, SettingRange range) const
    {
        ReadInteger(key, value);
        value = range.Clamp(value);
    }

    void ReadBool(std::u16string_view key, bool& value) const
    {
        int32_t number = 0;
        if (const std::u16string* text = Find(key); text && ParseIntegerText(*text, number)) value = number != 0;
    }

    void ReadWide(std::u16string_view key, std::u16string& value) const
    {
        if (const std::u16string* text = Find(key)) value = *text;
    }

    void ReadNarrow(std::u16string_view key, std::string& value, const CodePage& codePage) const
    {
        if (const std::u16string* text = Find(key)) value = codePage.FromWide(*text);
    }

private:
    const IniDocument& Doc;
    std::u16string_view Section;
};

void LoadTerminals(const IniDocument& doc, const CodePage& codePage, terminals::TTerminalList& terminals)
{
    // Numbering starts at 1 and ends at the first section without a full name: a gap drops the rest.
    for (size_t n = 1;; ++n) {
        const std::u16string section = BrokerSectionName(n);
        const SectionReader reader(doc, section);
        const std::u16string* fullName = reader.Find(u"FullName");
        if (fullName == nullptr || fullName->empty()) break;
        terminals::TMT4TermInfo info;
        info.FullName = codePage.FromWide(*fullName);
        reader.ReadNarrow(u"ShortName", info.ShortName, codePage);
        reader.ReadNarrow(u"Path", info.Path, codePage);
        reader.ReadNarrow(u"WindowPattern", info.WindowPattern, codePage);
        terminals.push_back(std::move(info));
    }
}

void LoadButtonDiscovery(const IniDocument& doc, const CodePage& codePage, AppSettings& s)
{
    const SectionReader r(doc, kButtonDiscovery);
    r.ReadClamped(u"DiscoveryMethod", s.DiscoveryMethod, DiscoveryMethodRange);
    r.ReadNarrow(u"CustomTitlePattern", s.CustomTitlePattern, codePage);
    r.ReadBool(u"CustomAllowOnlyExactMatch", s.CustomAllowOnlyExactMatch);
    r.ReadNarrow(u"CustomClassName", s.CustomClassName, codePage);
    r.ReadBool(u"CustomBSInSameWindow", s.CustomBSInSameWindow);
    r.ReadInteger(u"CustomX1", s.CustomX1);
    r.ReadInteger(u"CustomY1", s.CustomY1);
    r.ReadInteger(u"CustomX2", s.CustomX2);
    r.ReadInteger(u"CustomY2", s.CustomY2);
}

void LoadMisc(const IniDocument& doc, AppSettings& s, HBoxFontDescription& font)
{
    const SectionReader r(doc, kMisc);
    r.ReadBool(u"DisplayHeadlines", s.DisplayHeadlines);
    r.ReadBool(u"NoDuplicates", s.NoDuplicates);
    r.ReadClamped(u"DuplicateHCacheSize", s.DuplicateHCacheSize, DuplicateHCacheSizeRange);
    r.ReadBool(u"LogHeadlines", s.LogHeadlines);
    r.ReadClamped(u"HeadlineCapacity", s.HeadlineCapacity, HeadlineCapacityRange);
    r.ReadBool(u"AltTimeFormat", s.AltTimeFormat);
    r.ReadBool(u"AutoAttach", s.AutoAttach);
    r.ReadBool(u"DisplayWelcomeMsg", s.DisplayWelcomeMsg);
    r.ReadBool(u"MinimizeToSysTray", s.MinimizeToSysTray);
    r.ReadBool(u"StayOnTop", s.StayOnTop);
    r.ReadClamped(u"HistMT4HBuffer", s.HistMT4HBuffer, HistMT4HBufferRange);

    r.ReadWide(u"HBoxFontName", font.Name);
    r.ReadInteger(u"HBoxFontHeight", font.Height);
    if (const std::u16string* style = r.Find(u"HBoxFontStyle")) font.Style = ParseFontStyleText(*style);
    if (const std::u16string* color = r.Find(u"HBoxFontColor")) {
        TColor value = clWindowText;
        if (ParseColorText(*color, value)) font.Color = value;
    }
    r.ReadBool(u"HBoxFontSmoothingDisabled", s.HBoxFontSmoothingDisabled);
}

void LoadOther(const IniDocument& doc, StoredWindowPositions& p)
{
    const SectionReader r(doc, kOther);
    r.ReadInteger(u"MainWindowX", p.MainWindowX);
    r.ReadInteger(u"MainWindowY", p.MainWindowY);
    r.ReadInteger(u"MainWindowW", p.MainWindowW);
    r.ReadInteger(u"MainWindowH", p.MainWindowH);
    r.ReadInteger(u"CoordsWindowX", p.CoordsWindowX);
    r.ReadInteger(u"CoordsWindowY", p.CoordsWindowY);
}

std::u16string_view BoolText(bool value)
{
    return value ? u"1" : u"0";
}

}  // namespace

SettingsSnapshot LoadSettingsFromBytes(std::span<const uint8_t> bytes, const CodePage& codePage)
{
    SettingsSnapshot snapshot;
    const IniDocument doc = IniDocument::Parse(DecodeTextFileBytes(bytes, codePage));
    LoadTerminals(doc, codePage, snapshot.Terminals);
    LoadButtonDiscovery(doc, codePage, snapshot.Settings);
    LoadMisc(doc, snapshot.Settings, snapshot.HBoxFont);
    LoadOther(doc, snapshot.Positions);
    return snapshot;
}

std::vector<uint8_t> SaveSettingsToBytes(const SettingsSnapshot& snapshot, const CodePage& codePage)
{
    IniWriter w;
    for (size_t i = 0; i < snapshot.Terminals.size(); ++i) {
        const terminals::TMT4TermInfo& t = snapshot.Terminals[i];
        w.BeginSection(BrokerSectionName(i + 1));
        w.WriteValue(u"FullName", codePage.ToWide(t.FullName));
        w.WriteValue(u"ShortName", codePage.ToWide(t.ShortName));
        w.WriteValue(u"Path", codePage.ToWide(t.Path));
        w.WriteValue(u"WindowPattern", codePage.ToWide(t.WindowPattern));
    }

    const AppSettings& s = snapshot.Settings;
    w.BeginSection(kButtonDiscovery);
    w.WriteValue(u"DiscoveryMethod", FormatIntegerText(s.DiscoveryMethod));
    w.WriteValue(u"CustomTitlePattern", codePage.ToWide(s.CustomTitlePattern));
    w.WriteValue(u"CustomAllowOnlyExactMatch", BoolText(s.CustomAllowOnlyExactMatch));
    w.WriteValue(u"CustomClassName", codePage.ToWide(s.CustomClassName));
    w.WriteValue(u"CustomBSInSameWindow", BoolText(s.CustomBSInSameWindow));
    w.WriteValue(u"CustomX1", FormatIntegerText(s.CustomX1));
    w.WriteValue(u"CustomY1", FormatIntegerText(s.CustomY1));
    w.WriteValue(u"CustomX2", FormatIntegerText(s.CustomX2));
    w.WriteValue(u"CustomY2", FormatIntegerText(s.CustomY2));

    const HBoxFontDescription& font = snapshot.HBoxFont;
    w.BeginSection(kMisc);
    w.WriteValue(u"DisplayHeadlines", BoolText(s.DisplayHeadlines));
    w.WriteValue(u"NoDuplicates", BoolText(s.NoDuplicates));
    w.WriteValue(u"DuplicateHCacheSize", FormatIntegerText(s.DuplicateHCacheSize));
    w.WriteValue(u"LogHeadlines", BoolText(s.LogHeadlines));
    w.WriteValue(u"HeadlineCapacity", FormatIntegerText(s.HeadlineCapacity));
    w.WriteValue(u"AltTimeFormat", BoolText(s.AltTimeFormat));
    w.WriteValue(u"AutoAttach", BoolText(s.AutoAttach));
    w.WriteValue(u"DisplayWelcomeMsg", BoolText(s.DisplayWelcomeMsg));
    w.WriteValue(u"MinimizeToSysTray", BoolText(s.MinimizeToSysTray));
    w.WriteValue(u"StayOnTop", BoolText(s.StayOnTop));
    w.WriteValue(u"HistMT4HBuffer", FormatIntegerText(s.HistMT4HBuffer));
    w.WriteValue(u"HBoxFontName", font.Name);
    w.WriteValue(u"HBoxFontHeight", FormatIntegerText(font.Height));
    if (font.Style.Any()) w.WriteValue(u"HBoxFontStyle", FormatFontStyleText(font.Style));
    w.WriteValue(u"HBoxFontColor", FormatColorText(font.Color));
    w.WriteValue(u"HBoxFontSmoothingDisabled", BoolText(s.HBoxFontSmoothingDisabled));

    const StoredWindowPositions& p = snapshot.Positions;
    w.BeginSection(kOther);
    w.WriteValue(u"MainWindowX", FormatIntegerText(p.MainWindowX));
    w.WriteValue(u"MainWindowY", FormatIntegerText(p.MainWindowY));
    w.WriteValue(u"MainWindowW", FormatIntegerText(p.MainWindowW));
    w.WriteValue(u"MainWindowH", FormatIntegerText(p.MainWindowH));
    w.WriteValue(u"CoordsWindowX", FormatIntegerText(p.CoordsWindowX));
    w.WriteValue(u"CoordsWindowY", FormatIntegerText(p.CoordsWindowY));

    return w.Finish();
}

}  // namespace pelo::app
