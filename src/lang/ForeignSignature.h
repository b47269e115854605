// The parameters and result of a function in another library, as the marshalling needs them: the C layout of
// every value, not only its run-time kind. The compiler writes it as text into the compiled file; the loader
// reads it back (untrusted, so the reader checks everything and bounds the nesting).
//
// Text: "(" parameters separated by "," ")" [":" result]; a parameter is ["var "] type; types are
// u8 s8 u16 s16 u32 s32 s64 char bool single double ext cur string, rec{type;type;...}, arr<count>type, and
// other (what cannot cross into another library: classes, variants, sets, dynamic arrays).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelo::lang {

enum class ForeignKind : uint8_t {
    U8, S8, U16, S16, U32, S32, S64, Char, Bool, Single, Double, Extended, Currency, String, Record, Array, Other
};

struct ForeignType {
    ForeignKind kind = ForeignKind::Other;
    std::vector<ForeignType> fields;  // Record: the fields; Array: one element type
    int32_t count = 0;                // Array: element count

    bool operator==(const ForeignType&) const = default;
};

struct ForeignParam {
    ForeignType type;
    bool byRef = false;

    bool operator==(const ForeignParam&) const = default;
};

struct ForeignSignature {
    std::vector<ForeignParam> params;
    std::optional<ForeignType> result;

    bool operator==(const ForeignSignature&) const = default;
};

inline constexpr int kMaxForeignNesting = 16;
inline constexpr int32_t kMaxForeignParams = 64;

std::string foreignSignatureText(const ForeignSignature& sig);
// nullopt for text that is not a signature (or nests deeper than kMaxForeignNesting, has more than
// kMaxForeignParams parameters, or describes a value larger than 64 KiB).
std::optional<ForeignSignature> parseForeignSignature(std::string_view text);

}  // namespace pelo::lang
