#pragma once
// The list-view request records as a 32-bit terminal reads them: the 40-byte item record (LVITEMA from mask to
// iIndent) and the 32-byte column record (LVCOLUMNA from mask to iOrder), little-endian, 32-bit pointers.
// Our own toolchain's LVITEMA and LVCOLUMNA are larger than what older comctl32 versions accept, so the bytes
// are laid out here and copied into the terminal as they are.
#include <array>
#include <cstdint>

namespace pelo::news {

inline constexpr std::uint32_t LVIF_TEXT_FLAG = 0x0001;
inline constexpr std::uint32_t LVCF_FMT_FLAG = 0x0001;
inline constexpr std::uint32_t LVCF_WIDTH_FLAG = 0x0002;
inline constexpr std::uint32_t LVCF_TEXT_FLAG = 0x0004;

struct TListItemRecord {
    static constexpr std::size_t Size = 40;
    using Bytes = std::array<std::uint8_t, Size>;

    std::uint32_t Mask = 0;
    std::int32_t Item = 0;
    std::int32_t SubItem = 0;
    std::uint32_t State = 0;
    std::uint32_t StateMask = 0;
    std::uint32_t Text = 0;  // pszText: an address in the terminal
    std::int32_t TextMax = 0;
    std::int32_t Image = 0;
    std::uint32_t Param = 0;
    std::int32_t Indent = 0;

    Bytes Encode() const;
    static TListItemRecord Decode(const Bytes& bytes);
    bool operator==(const TListItemRecord&) const = default;
};

struct TListColumnRecord {
    static constexpr std::size_t Size = 32;
    using Bytes = std::array<std::uint8_t, Size>;

    std::uint32_t Mask = 0;
    std::int32_t Format = 0;
    std::int32_t Width = 0;
    std::uint32_t Text = 0;  // pszText
    std::int32_t TextMax = 0;
    std::int32_t SubItem = 0;
    std::int32_t Image = 0;
    std::int32_t Order = 0;

    Bytes Encode() const;
    static TListColumnRecord Decode(const Bytes& bytes);
    bool operator==(const TListColumnRecord&) const = default;
};

// Request for the text of one row's headline column, up to 256 bytes with the NUL, into `remoteText`.
TListItemRecord MakeHeadlineItemRecord(std::int32_t headlineColumn, std::uint32_t remoteText);
// Request for a column's format, width and title (up to 1024 bytes) into `remoteTitle`.
TListColumnRecord MakeTitleColumnRecord(std::uint32_t remoteTitle);

}  // namespace pelo::news
