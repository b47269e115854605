#include "app/IniDocument.h"

namespace pelo::app {

namespace {

bool IsTrimmed(char16_t c)
{
    return c <= u' ';
}

std::u16string_view Trim(std::u16string_view s)
{
    size_t begin = 0, end = s.size();
    while (begin < end && IsTrimmed(s[begin])) ++begin;
    while (end > begin && IsTrimmed(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

std::u16string FoldName(std::u16string_view name)
{
    std::u16string folded(name);
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    }
    return folded;
}

bool NamesEqual(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + (u'a' - u'A'));
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + (u'a' - u'A'));
        if (x != y) return false;
    }
    return true;
}

}  // namespace

IniDocument IniDocument::Parse(std::u16string_view text)
{
    IniDocument doc;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, at LF or at a lone CR.
        size_t end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        const std::u16string_view line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == u'\r') ++pos;
        if (pos < text.size() && text[pos] == u'\n') ++pos;

        if (line.empty() || line.front() == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            std::u16string key = FoldName(Trim(line.substr(1, line.size() - 2)));
            auto [it, inserted] = doc.SectionIndex.try_emplace(std::move(key), doc.Sections.size());
            if (inserted) doc.Sections.emplace_back();
            current = &doc.Sections[it->second];
            continue;
        }
        if (current == nullptr) continue;
        const size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos) continue;
        current->Entries.push_back(Entry{std::u16string(Trim(line.substr(0, eq))), std::u16string(line.substr(eq + 1))});
    }
    return doc;
}

bool IniDocument::HasSection(std::u16string_view section) const
{
    return SectionIndex.find(FoldName(section)) != SectionIndex.end();
}

const std::u16string* IniDocument::Find(std::u16string_view section, std::u16string_view key) const
{
    const auto it = SectionIndex.find(FoldName(section));
    if (it == SectionIndex.end()) return nullptr;
    for (const Entry& entry : Sections[it->second].Entries) {
        if (NamesEqual(entry.Key, key)) return &entry.Value;
    }
    return nullptr;
}

void IniWriter::EndSection()
{
    if (InSection) Text += u"\r\n";
    InSection = false;
}

void IniWriter::BeginSection(std::u16string_view name)
{
    EndSection();
    Text += u'[';
    Text += name;
    Text += u"]\r\n";
    InSection = true;
}

void IniWriter::WriteValue(std::u16string_view key, std::u16string_view value)
{
    Text += key;
    Text += u'=';
    for (const char16_t c : value) Text += (c == u'\r' || c == u'\n') ? u' ' : c;
    Text += u"\r\n";
}

std::vector<uint8_t> IniWriter::Finish()
{
    EndSection();
    std::vector<uint8_t> bytes;
    bytes.reserve(2 + 2 * Text.size());
    bytes.push_back(0xFF);
    bytes.push_back(0xFE);
    for (const char16_t c : Text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace pelo::app
