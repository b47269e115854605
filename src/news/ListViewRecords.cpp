#include "news/ListViewRecords.h"

#include <cstddef>

namespace pelo::news {

namespace {

template <std::size_t N>
void Put(std::array<std::uint8_t, N>& bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::size_t N>
std::uint32_t Get(const std::array<std::uint8_t, N>& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

std::int32_t AsSigned(std::uint32_t v) { return static_cast<std::int32_t>(v); }
std::uint32_t AsUnsigned(std::int32_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

TListItemRecord::Bytes TListItemRecord::Encode() const
{
    Bytes b{};
    Put(b, 0, Mask);
    Put(b, 4, AsUnsigned(Item));
    Put(b, 8, AsUnsigned(SubItem));
    Put(b, 12, State);
    Put(b, 16, StateMask);
    Put(b, 20, Text);
    Put(b, 24, AsUnsigned(TextMax));
    Put(b, 28, AsUnsigned(Image));
    Put(b, 32, Param);
    Put(b, 36, AsUnsigned(Indent));
    return b;
}

TListItemRecord TListItemRecord::Decode(const Bytes& b)
{
    TListItemRecord r;
    r.Mask = Get(b, 0);
    r.Item = AsSigned(Get(b, 4));
    r.SubItem = AsSigned(Get(b, 8));
    r.State = Get(b, 12);
    r.StateMask = Get(b, 16);
    r.Text = Get(b, 20);
    r.TextMax = AsSigned(Get(b, 24));
    r.Image = AsSigned(Get(b, 28));
    r.Param = Get(b, 32);
    r.Indent = AsSigned(Get(b, 36));
    return r;
}

TListColumnRecord::Bytes TListColumnRecord::Encode() const
{
    Bytes b{};
    Put(b, 0, Mask);
    Put(b, 4, AsUnsigned(Format));
    Put(b, 8, AsUnsigned(Width));
    Put(b, 12, Text);
    Put(b, 16, AsUnsigned(TextMax));
    Put(b, 20, AsUnsigned(SubItem));
    Put(b, 24, AsUnsigned(Image));
    Put(b, 28, AsUnsigned(Order));
    return b;
}

TListColumnRecord TListColumnRecord::Decode(const Bytes& b)
{
    TListColumnRecord r;
    r.Mask = Get(b, 0);
    r.Format = AsSigned(Get(b, 4));
    r.Width = AsSigned(Get(b, 8));
    r.Text = Get(b, 12);
    r.TextMax = AsSigned(Get(b, 16));
    r.SubItem = AsSigned(Get(b, 20));
    r.Image = AsSigned(Get(b, 24));
    r.Order = AsSigned(Get(b, 28));
    return r;
}

TListItemRecord MakeHeadlineItemRecord(std::int32_t headlineColumn, std::uint32_t remoteText)
{
    TListItemRecord r;
    r.Mask = LVIF_TEXT_FLAG;
    r.Item = 0;
    r.SubItem = headlineColumn;
    r.Text = remoteText;
    r.TextMax = 256;
    return r;
}

TListColumnRecord MakeTitleColumnRecord(std::uint32_t remoteTitle)
{
    TListColumnRecord r;
    r.Mask = LVCF_FMT_FLAG | LVCF_WIDTH_FLAG | LVCF_TEXT_FLAG;
    r.Text = remoteTitle;
    r.TextMax = 1024;
    return r;
}

}  // namespace pelo::news
