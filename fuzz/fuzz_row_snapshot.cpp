// libFuzzer target: any bytes as the shared area the hook library answers in, read back by the program. The
// terminal's side can write anything there; the reading must never go out of bounds, and whatever it accepts must
// be an answer the walk could have given: rows in rising order, at most as many as asked for, texts within the
// list's limit and without NUL, an end that fits the rows. The pass then walks the accepted snapshot.
//
// Input: byte 0 the row limit, byte 1 the stop text's length (255: none), the stop text, then the area (answer
// sequence 7).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "news/RowSnapshot.h"
#include "news/SnapshotNewsList.h"

namespace {

using namespace pelo::news;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The remote list is never asked for what an accepted snapshot holds.
class UnusedRemote final : public INewsList {
public:
    int NextRow(int) override { return -1; }
    std::string RowText(int) override { return {}; }
};

class FixedSource final : public IRowSnapshotSource {
public:
    explicit FixedSource(TRowSnapshot snapshot) : snapshot_(std::move(snapshot)) {}
    std::optional<TRowSnapshot> ReadRows(const TRowRequest&) override { return snapshot_; }

private:
    TRowSnapshot snapshot_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    TRowRequest request;
    request.MaxRows = data[0];
    std::size_t at = 2;
    if (data[1] != 255) {
        const std::size_t length = std::min<std::size_t>(data[1], size - at);
        request.StopText = std::string(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }
    // The area as the program copies it out: at most its whole size.
    std::vector<std::uint8_t> area(data + at, data + std::min(size, at + rows::AreaSize));
    const std::optional<TRowSnapshot> snapshot = DecodeRowSnapshot(area, 7, request);
    if (!snapshot)
        return 0;

    Check(snapshot->Rows.size() <= static_cast<std::size_t>(request.MaxRows));
    for (std::size_t i = 0; i < snapshot->Rows.size(); ++i) {
        const TSnapshotRow& row = snapshot->Rows[i];
        Check(row.Row >= 0 && (i == 0 || row.Row > snapshot->Rows[i - 1].Row));
        Check(row.Text.size() <= rows::TextCapacity && row.Text.find('\0') == std::string::npos);
        Check(!request.StopText || i + 1 == snapshot->Rows.size() || row.Text != *request.StopText);
    }
    if (snapshot->End == rows::WalkEnd::StopText)
        Check(!snapshot->Rows.empty() && request.StopText && snapshot->Rows.back().Text == *request.StopText);
    if (snapshot->End == rows::WalkEnd::ListEnd)
        Check(snapshot->Rows.empty() ? snapshot->EndAnswer < 0 : snapshot->EndAnswer <= snapshot->Rows.back().Row);

    // The pass's walk over it ends, and meets the rows in their order.
    TSnapshotNewsList list(std::make_unique<UnusedRemote>(), std::make_unique<FixedSource>(*snapshot), 0);
    list.BeginPass(request.StopText, request.MaxRows);
    std::size_t seen = 0;
    for (int row = list.NextRow(-1); row >= 0 && seen <= snapshot->Rows.size(); ++seen) {
        Check(seen < snapshot->Rows.size() && row == snapshot->Rows[seen].Row);
        Check(list.RowText(row) == snapshot->Rows[seen].Text);
        const int next = list.NextRow(row);
        if (next <= row)
            break;
        row = next;
    }
    return 0;
}
