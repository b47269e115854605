#include "lang/ForeignDeclaration.h"

#include <vector>

namespace pelo::lang {

namespace {

std::string upper(std::string_view s) {
    std::string r(s);
    for (char& ch : r)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return r;
}

std::string withoutQuotes(std::string_view s) {
    if (!s.empty() && s.front() == '"') s.remove_prefix(1);
    if (!s.empty() && s.back() == '"') s.remove_suffix(1);
    return std::string(s);
}

ForeignTargetText failure(const char* text) {
    ForeignTargetText r;
    r.error = text;
    return r;
}

}  // namespace

ForeignTargetText parseForeignTarget(std::string_view text) {
    // The function name ends at the last '@', so a decorated name such as "_Sum@8@calc.dll" keeps its own '@'.
    const size_t at = text.rfind('@');
    if (at == std::string_view::npos) return failure("Invalid External");
    ForeignTargetText r;
    r.target.entry = std::string(text.substr(0, at));
    std::string_view rest = text.substr(at + 1);
    if (rest.find(' ') == std::string_view::npos) {
        r.target.library = withoutQuotes(rest);
        r.ok = true;
        return r;
    }
    // A library name with spaces is quoted; after the name come the convention and the load options, one
    // space apart.
    if (rest.front() == '"') {
        rest.remove_prefix(1);
        const size_t close = rest.find('"');
        r.target.library = std::string(rest.substr(0, close));
        rest = close == std::string_view::npos ? std::string_view{} : rest.substr(close + 1);
        if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    } else {
        const size_t space = rest.find(' ');
        r.target.library = std::string(rest.substr(0, space));
        rest = rest.substr(space + 1);
    }
    std::string convention;
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos) {
        convention = upper(rest);
    } else {
        convention = upper(rest.substr(0, space));
        std::string_view options = rest.substr(space + 1);
        // Every option word counts, an empty one (two spaces in a row) too: that is an error.
        for (;;) {
            const size_t next = options.find(' ');
            const std::string word = upper(options.substr(0, next));
            if (word == "DELAYLOAD") r.target.delayLoad = true;
            else if (word == "LOADWITHALTEREDSEARCHPATH") r.target.alteredSearchPath = true;
            else return failure("Invalid External");
            if (next == std::string_view::npos) break;
            options = options.substr(next + 1);
            if (options.empty()) break;
        }
    }
    if (convention == "STDCALL") r.target.convention = CallConvention::Stdcall;
    else if (convention == "CDECL") r.target.convention = CallConvention::Cdecl;
    else if (convention == "REGISTER") r.target.convention = CallConvention::Register;
    else if (convention == "PASCAL") r.target.convention = CallConvention::Pascal;
    else return failure("Invalid Calling Convention");
    r.ok = true;
    return r;
}

}  // namespace pelo::lang
