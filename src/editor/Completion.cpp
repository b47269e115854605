#include "editor/Completion.h"

#include <algorithm>
#include <cctype>

namespace pelo::editor {

namespace {

bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The first identifier of `text` at or after `from`.
std::string IdentifierFrom(std::string_view text, std::size_t from) {
    while (from < text.size() && !IsIdentifierChar(text[from])) ++from;
    std::size_t end = from;
    while (end < text.size() && IsIdentifierChar(text[end])) ++end;
    return std::string(text.substr(from, end - from));
}

}  // namespace

std::string DeclaredName(std::string_view declaration) {
    std::size_t at = 0;
    while (at < declaration.size() && declaration[at] == ' ') ++at;
    const std::string first = IdentifierFrom(declaration, at);
    const std::string upper = lang::upperAscii(first);
    if (upper == "FUNCTION" || upper == "PROCEDURE" || upper == "CONSTRUCTOR" || upper == "DESTRUCTOR" ||
        upper == "PROPERTY")
        return IdentifierFrom(declaration, declaration.find(first, at) + first.size());
    return first;  // "Name = value", "Name: Type"
}

std::vector<std::string> CompletionNames(const lang::HostTable& table) {
    std::vector<std::string> names;
    for (const lang::HostFunction& f : table.functions()) names.push_back(DeclaredName(f.decl));
    for (const lang::HostVariable& v : table.variables()) names.push_back(v.name);
    for (const std::string& c : table.constants()) names.push_back(DeclaredName(c));
    for (const std::string& t : table.types()) names.push_back(DeclaredName(t));
    for (const auto& c : table.classes()) {
        names.push_back(c->name());
        for (const lang::HostMember& m : c->members()) names.push_back(DeclaredName(m.decl));
    }
    names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
    const auto less = [](const std::string& a, const std::string& b) { return lang::upperAscii(a) < lang::upperAscii(b); };
    std::sort(names.begin(), names.end(), less);
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return lang::equalsNoCase(a, b); }),
                names.end());
    return names;
}

std::optional<std::string> CallTipFor(const lang::HostTable& table, std::string_view name) {
    std::vector<std::string> tips;
    const auto add = [&](const std::string& decl) {
        if (lang::equalsNoCase(DeclaredName(decl), name) && std::find(tips.begin(), tips.end(), decl) == tips.end())
            tips.push_back(decl);
    };
    for (const lang::HostFunction& f : table.functions()) add(f.decl);
    for (const auto& c : table.classes())
        for (const lang::HostMember& m : c->members()) add(m.decl);
    if (tips.empty()) return std::nullopt;
    std::string text;
    for (const std::string& t : tips) text += (text.empty() ? "" : "\n") + t;
    return text;
}

}  // namespace pelo::editor
