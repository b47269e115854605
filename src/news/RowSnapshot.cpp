#include "news/RowSnapshot.h"

#include <algorithm>
#include <cstring>

namespace pelo::news {

using namespace rows;

void InitRowArea(std::span<std::uint8_t> area)
{
    std::fill(area.begin(), area.end(), std::uint8_t{0});
    StoreU32(area.data(), MagicField, Magic);
    StoreU32(area.data(), VersionField, Version);
}

void WriteRowRequest(std::span<std::uint8_t> area, std::uint32_t sequence, const TRowRequest& request)
{
    std::uint8_t* a = area.data();
    StoreU32(a, AnswerSequenceField, 0);
    StoreU32(a, RowCountField, 0);
    StoreU32(a, RowBytesField, 0);
    StoreU32(a, MaxRowsField, static_cast<std::uint32_t>(std::max(request.MaxRows, 0)));
    StoreU32(a, HeadlineColumnField, static_cast<std::uint32_t>(request.HeadlineColumn));
    if (request.StopText) {
        const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(request.StopText->size(), TextCapacity));
        std::memcpy(a + StopTextField, request.StopText->data(), length);
        StoreU32(a, StopLengthField, length);
    } else {
        StoreU32(a, StopLengthField, NoStopText);
    }
    StoreU32(a, RequestSequenceField, sequence);
}

std::uint32_t UsedAreaSize(const volatile std::uint8_t* view)
{
    return RowsField + std::min(LoadU32(view, RowBytesField), RowsCapacity);
}

std::optional<TRowSnapshot> DecodeRowSnapshot(std::span<const std::uint8_t> area, std::uint32_t sequence,
                                              const TRowRequest& request)
{
    if (area.size() < RowsField || area.size() > AreaSize)
        return std::nullopt;
    const std::uint8_t* a = area.data();
    if (!IsProgramArea(a) || LoadU32(a, AnswerSequenceField) != sequence ||
        LoadU32(a, RequestSequenceField) != sequence)
        return std::nullopt;
    const std::uint32_t count = LoadU32(a, RowCountField);
    const std::uint32_t bytes = LoadU32(a, RowBytesField);
    const std::uint32_t maxRows = static_cast<std::uint32_t>(std::max(request.MaxRows, 0));
    if (count > maxRows || bytes > area.size() - RowsField)
        return std::nullopt;

    std::optional<std::string> stop = request.StopText;
    if (stop && stop->size() > TextCapacity)
        stop->resize(TextCapacity);

    TRowSnapshot snapshot;
    snapshot.Rows.reserve(count);
    std::uint32_t at = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes - at < RowHeaderSize)
            return std::nullopt;
        const auto row = static_cast<std::int32_t>(LoadU32(a, RowsField + at));
        const std::uint32_t length = LoadU32(a, RowsField + at + 4);
        if (length > TextCapacity || PaddedRowSize(length) > bytes - at)
            return std::nullopt;
        if (row < 0 || (!snapshot.Rows.empty() && row <= snapshot.Rows.back().Row))
            return std::nullopt;
        const char* text = reinterpret_cast<const char*>(a + RowsField + at + RowHeaderSize);
        // The walk reads a row up to its first NUL; an answer with one inside a text is not the walk's.
        if (std::memchr(text, '\0', length) != nullptr)
            return std::nullopt;
        // The walk ends on the stop text: it cannot stand before the last row.
        if (!snapshot.Rows.empty() && stop && snapshot.Rows.back().Text == *stop)
            return std::nullopt;
        snapshot.Rows.push_back(TSnapshotRow{row, std::string(text, length)});
        at += PaddedRowSize(length);
    }
    if (at != bytes)
        return std::nullopt;

    const std::uint32_t end = LoadU32(a, WalkEndField);
    const auto endAnswer = static_cast<std::int32_t>(LoadU32(a, EndAnswerField));
    const bool lastIsStop = !snapshot.Rows.empty() && stop && snapshot.Rows.back().Text == *stop;
    switch (static_cast<WalkEnd>(end)) {
    case WalkEnd::ListEnd:
        if (lastIsStop)
            return std::nullopt;
        if (snapshot.Rows.empty() ? endAnswer >= 0 : endAnswer > snapshot.Rows.back().Row)
            return std::nullopt;
        snapshot.EndAnswer = endAnswer;
        break;
    case WalkEnd::StopText:
        if (!lastIsStop)
            return std::nullopt;
        break;
    case WalkEnd::RowLimit:
        if (lastIsStop || count != maxRows)
            return std::nullopt;
        break;
    case WalkEnd::AreaFull:
        if (lastIsStop || count >= maxRows)
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    snapshot.End = static_cast<WalkEnd>(end);
    return snapshot;
}

}  // namespace pelo::news
