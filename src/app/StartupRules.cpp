#include "app/StartupRules.h"

namespace pelo::app {

StartupCommand ParseStartupCommand(std::u16string_view arg) {
    if (arg == u"-attach") return StartupCommand::Attach;
    if (arg == u"-detach") return StartupCommand::Detach;
    if (arg == u"-test") return StartupCommand::Test;
    if (arg == u"-reset") return StartupCommand::Reset;
    return StartupCommand::None;
}

std::optional<std::u16string> FirstArgument(std::u16string_view cl) {
    size_t i = 0;
    // Skip the program name: quoted up to the closing quote, otherwise up to white space.
    if (i < cl.size() && cl[i] == u'"') {
        ++i;
        while (i < cl.size() && cl[i] != u'"') ++i;
        if (i < cl.size()) ++i;
    }
    while (i < cl.size() && cl[i] != u' ' && cl[i] != u'\t') ++i;
    while (i < cl.size() && (cl[i] == u' ' || cl[i] == u'\t')) ++i;
    if (i >= cl.size()) return std::nullopt;

    std::u16string arg;
    bool quoted = false;
    while (i < cl.size()) {
        const char16_t c = cl[i];
        if (!quoted && (c == u' ' || c == u'\t')) break;
        if (c == u'\\') {
            size_t n = 0;
            while (i < cl.size() && cl[i] == u'\\') { ++n; ++i; }
            if (i < cl.size() && cl[i] == u'"') {
                arg.append(n / 2, u'\\');
                if (n % 2) { arg.push_back(u'"'); ++i; }
            } else {
                arg.append(n, u'\\');
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && i + 1 < cl.size() && cl[i + 1] == u'"') { arg.push_back(u'"'); i += 2; continue; }
            quoted = !quoted;
            ++i;
            continue;
        }
        arg.push_back(c);
        ++i;
    }
    return arg;
}

bool IsWindowsVersionSupported(uint32_t major, uint32_t minor) {
    return major > 5 || (major == 5 && minor >= 1);
}

std::optional<uint32_t> TimerResolutionToRequest(uint32_t /*coarsest*/, uint32_t finest, uint32_t current) {
    if (finest < current && current > 5000) return finest > 10000 ? finest : 10000u;
    return std::nullopt;
}

bool IsWindowVisibleOn(const ScreenRect& r, int left, int top, int width, int c) {
    return left + width >= r.left + c && left <= r.right - c && top + c >= r.top && top <= r.bottom - c;
}

}  // namespace pelo::app
