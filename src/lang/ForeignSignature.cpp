#include "lang/ForeignSignature.h"

#include <array>
#include <charconv>

namespace pelo::lang {

namespace {

struct KindName {
    ForeignKind kind;
    std::string_view name;
};

// No name is the start of another, so the reader can try them in any order.
constexpr std::array<KindName, 15> kNames = {{
    {ForeignKind::U8, "u8"},         {ForeignKind::S8, "s8"},       {ForeignKind::U16, "u16"},
    {ForeignKind::S16, "s16"},       {ForeignKind::U32, "u32"},     {ForeignKind::S32, "s32"},
    {ForeignKind::S64, "s64"},       {ForeignKind::Char, "char"},   {ForeignKind::Bool, "bool"},
    {ForeignKind::Single, "single"}, {ForeignKind::Double, "double"}, {ForeignKind::Extended, "ext"},
    {ForeignKind::Currency, "cur"},  {ForeignKind::String, "string"}, {ForeignKind::Other, "other"},
}};

void writeType(std::string& out, const ForeignType& t) {
    switch (t.kind) {
        case ForeignKind::Record:
            out += "rec{";
            for (const ForeignType& f : t.fields) {
                writeType(out, f);
                out += ';';
            }
            out += '}';
            return;
        case ForeignKind::Array:
            out += "arr" + std::to_string(t.count);
            writeType(out, t.fields.at(0));
            return;
        default:
            for (const KindName& k : kNames)
                if (k.kind == t.kind) out += k.name;
            return;
    }
}

constexpr int64_t kMaxValueBytes = 64 * 1024;

class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) {}

    bool eat(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool atEnd() const { return pos_ == s_.size(); }

    // The size a type takes is bounded as it is read, so a file cannot describe a value that the marshalling
    // would have to allocate gigabytes for.
    bool type(ForeignType& t, int depth, int64_t& bytes) {
        if (depth > kMaxForeignNesting) return false;
        if (eat("rec{")) {
            t.kind = ForeignKind::Record;
            while (!eat("}")) {
                if (t.fields.size() >= 256) return false;
                t.fields.emplace_back();
                if (!type(t.fields.back(), depth + 1, bytes) || !eat(";")) return false;
            }
            return true;
        }
        if (eat("arr")) {
            t.kind = ForeignKind::Array;
            const char* b = s_.data() + pos_;
            const char* e = s_.data() + s_.size();
            auto [p, ec] = std::from_chars(b, e, t.count);
            if (ec != std::errc{} || t.count <= 0 || t.count > kMaxValueBytes) return false;
            pos_ += static_cast<size_t>(p - b);
            int64_t elementBytes = 0;
            t.fields.emplace_back();
            if (!type(t.fields.back(), depth + 1, elementBytes)) return false;
            bytes += elementBytes * t.count;
            return bytes <= kMaxValueBytes;
        }
        for (const KindName& k : kNames) {
            if (eat(k.name)) {
                t.kind = k.kind;
                bytes += 16;
                return bytes <= kMaxValueBytes;
            }
        }
        return false;
    }

private:
    std::string_view s_;
    size_t pos_ = 0;
};

}  // namespace

std::string foreignSignatureText(const ForeignSignature& sig) {
    std::string out = "(";
    for (size_t k = 0; k < sig.params.size(); ++k) {
        if (k) out += ',';
        if (sig.params[k].byRef) out += "var ";
        writeType(out, sig.params[k].type);
    }
    out += ')';
    if (sig.result) {
        out += ':';
        writeType(out, *sig.result);
    }
    return out;
}

std::optional<ForeignSignature> parseForeignSignature(std::string_view text) {
    Reader r(text);
    ForeignSignature sig;
    int64_t bytes = 0;
    if (!r.eat("(")) return std::nullopt;
    if (!r.eat(")")) {
        for (;;) {
            if (static_cast<int32_t>(sig.params.size()) >= kMaxForeignParams) return std::nullopt;
            ForeignParam p;
            p.byRef = r.eat("var ");
            if (!r.type(p.type, 1, bytes)) return std::nullopt;
            sig.params.push_back(std::move(p));
            if (r.eat(")")) break;
            if (!r.eat(",")) return std::nullopt;
        }
    }
    if (r.eat(":")) {
        ForeignType t;
        if (!r.type(t, 1, bytes)) return std::nullopt;
        // Only what a function can hand back in registers.
        if (t.kind == ForeignKind::Record || t.kind == ForeignKind::Array) return std::nullopt;
        sig.result = std::move(t);
    }
    if (!r.atEnd()) return std::nullopt;
    return sig;
}

}  // namespace pelo::lang
