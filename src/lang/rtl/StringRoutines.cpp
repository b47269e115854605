#include "lang/rtl/StringRoutines.h"

#include "lang/rtl/ScriptError.h"

#include <array>

namespace pelo::lang::rtl {

namespace {

using CaseTable = std::array<unsigned char, 256>;

constexpr CaseTable makeAsciiUpper() {
    CaseTable t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    return t;
}
constexpr CaseTable makeAsciiLower() {
    CaseTable t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    return t;
}
constexpr CaseTable makeAnsiUpper() {
    CaseTable t = makeAsciiUpper();
    for (int i = 0xE0; i <= 0xFE; ++i)
        if (i != 0xF7) t[i] = static_cast<unsigned char>(i - 32);
    t[0xFF] = 'Y';
    return t;
}
constexpr CaseTable makeAnsiLower() {
    CaseTable t = makeAsciiLower();
    for (int i = 0xC0; i <= 0xDE; ++i)
        if (i != 0xD7) t[i] = static_cast<unsigned char>(i + 32);
    return t;
}

constexpr CaseTable kAsciiUpper = makeAsciiUpper();
constexpr CaseTable kAsciiLower = makeAsciiLower();
constexpr CaseTable kAnsiUpper = makeAnsiUpper();
constexpr CaseTable kAnsiLower = makeAnsiLower();

std::string mapBytes(std::string_view s, const CaseTable& table) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return r;
}

std::string pad(std::string_view s, int32_t width, char fill, bool left) {
    const int64_t missing = static_cast<int64_t>(width) - static_cast<int64_t>(s.size());
    if (missing <= 0) return std::string(s);
    std::string r;
    r.reserve(s.size() + static_cast<size_t>(missing));
    if (!left) r.append(s);
    r.append(static_cast<size_t>(missing), fill);
    if (left) r.append(s);
    return r;
}

}  // namespace

std::string Copy(std::string_view s, int32_t index, int32_t count) {
    const int64_t len = static_cast<int64_t>(s.size());
    int64_t start = static_cast<int64_t>(index) - 1;
    if (start < 0) start = 0;
    if (start >= len || count <= 0) return {};
    int64_t n = count;
    if (start + n > len) n = len - start;
    return std::string(s.substr(static_cast<size_t>(start), static_cast<size_t>(n)));
}

int32_t Pos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    const size_t p = s.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<int32_t>(p + 1);
}

void Delete(std::string& s, int32_t index, int32_t count) {
    const int64_t len = static_cast<int64_t>(s.size());
    if (index <= 0 || index > len || count <= 0) return;
    int64_t n = count;
    if (n > len - index + 1) n = len - index + 1;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(n));
}

void Insert(std::string_view source, std::string& s, int32_t index) {
    if (source.empty()) return;
    int64_t at = index;
    if (at < 1) at = 1;
    if (at > static_cast<int64_t>(s.size())) at = static_cast<int64_t>(s.size()) + 1;
    s.insert(static_cast<size_t>(at - 1), source);
}

void SetLength(std::string& s, int32_t newLength) {
    s.resize(newLength > 0 ? static_cast<size_t>(newLength) : 0, '\0');
}

std::string UpperCase(std::string_view s) { return mapBytes(s, kAsciiUpper); }
std::string LowerCase(std::string_view s) { return mapBytes(s, kAsciiLower); }
std::string AnsiUpperCase(std::string_view s) { return mapBytes(s, kAnsiUpper); }
std::string AnsiLowerCase(std::string_view s) { return mapBytes(s, kAnsiLower); }
unsigned char AnsiLowerChar(unsigned char c) { return kAnsiLower[c]; }

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string PadL(std::string_view s, int32_t width) { return pad(s, width, ' ', true); }
std::string PadR(std::string_view s, int32_t width) { return pad(s, width, ' ', false); }
std::string PadZ(std::string_view s, int32_t width) { return pad(s, width, '0', true); }

std::string StringOfChar(char c, int32_t count) {
    return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

char StrGet(std::string_view s, int32_t index) {
    if (index < 1 || static_cast<int64_t>(index) > static_cast<int64_t>(s.size()))
        throw ScriptError(ErrorKind::CustomError, kOutOfStringRange);
    return s[static_cast<size_t>(index - 1)];
}

void StrSet(char c, int32_t index, std::string& s) {
    if (index < 1 || static_cast<int64_t>(index) > static_cast<int64_t>(s.size()))
        throw ScriptError(ErrorKind::CustomError, kOutOfStringRange);
    s[static_cast<size_t>(index - 1)] = c;
}

}  // namespace pelo::lang::rtl
