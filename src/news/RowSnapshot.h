#pragma once
// The program's side of the rows read inside the terminal: the request it writes into the shared area and the
// answer it takes out of it, checked field by field (RowSnapshotLayout.h has the layout and the terminal's side).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "news/RowSnapshotLayout.h"

namespace pelo::news {

struct TRowRequest {
    std::optional<std::string> StopText;  // the remembered top text; the walk ends on the row that holds it
    int MaxRows = 0;
    int HeadlineColumn = 0;
};

struct TSnapshotRow {
    int Row = 0;
    std::string Text;
    bool operator==(const TSnapshotRow&) const = default;
};

// What the walk saw, in walking order: the rows' indexes rise strictly.
struct TRowSnapshot {
    std::vector<TSnapshotRow> Rows;
    rows::WalkEnd End = rows::WalkEnd::RowLimit;
    int EndAnswer = -1;  // with WalkEnd::ListEnd: the list's answer after the last row (or to the first request)
    bool operator==(const TRowSnapshot&) const = default;
};

// A fresh area: the mark of ours and no request yet.
void InitRowArea(std::span<std::uint8_t> area);
// Writes the request for `sequence` and clears any earlier answer. A stop text longer than the list can hold is
// cut as the list would cut it.
void WriteRowRequest(std::span<std::uint8_t> area, std::uint32_t sequence, const TRowRequest& request);

// The answer to `request` (numbered `sequence`), from a copy of the area, or nothing when there is none or it does
// not check out: wrong mark or sequence, lengths or counts beyond their bounds, rows out of order, a walk end that
// does not fit the rows. `area` may be shorter than the whole area (only its used part copied).
std::optional<TRowSnapshot> DecodeRowSnapshot(std::span<const std::uint8_t> area, std::uint32_t sequence,
                                              const TRowRequest& request);

// How many bytes of the area at `view` an answer can occupy, read from its row-bytes field and capped: the part
// worth copying out.
std::uint32_t UsedAreaSize(const volatile std::uint8_t* view);

}  // namespace pelo::news
