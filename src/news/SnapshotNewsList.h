#pragma once
// A news list read in one go inside the terminal, with the remote list as its fallback.
//
// At the start of each pass the list asks its source for a snapshot: the rows from the top down to the text the
// pass stops at, read by the hook library on the list view's own thread. The pass then walks the snapshot exactly
// as it would walk the list. Whatever the snapshot does not cover (no snapshot at all, a walk cut short by its row
// limit, a row it does not hold) is asked of the remote list, row by row, as before: the pass sees the same
// answers either way, only fewer round trips.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "news/NewsList.h"
#include "news/RowSnapshot.h"

namespace pelo::news {

class IRowSnapshotSource {
public:
    virtual ~IRowSnapshotSource() = default;
    // The rows the request asks for, or nothing when the terminal gave no valid answer (no hook library there,
    // an older one, an answer that does not check out). Raises EListLost as the remote list would.
    virtual std::optional<TRowSnapshot> ReadRows(const TRowRequest& request) = 0;
};

class TSnapshotNewsList final : public INewsList {
public:
    // Rows asked for beyond what the pass says it needs: repeated texts make a pass walk further than its batch.
    static constexpr int RowMargin = 16;

    TSnapshotNewsList(std::unique_ptr<INewsList> remote, std::unique_ptr<IRowSnapshotSource> source,
                      int headlineColumn);

    bool BeginPass(const std::optional<std::string>& stopText, int rowsWanted) override;
    int NextRow(int row) override;
    std::string RowText(int row) override;
    void AbandonTerminalMemory() noexcept override { remote_->AbandonTerminalMemory(); }

private:
    // The snapshot's position of `row`, or -1.
    int Find(int row) const;

    std::unique_ptr<INewsList> remote_;
    std::unique_ptr<IRowSnapshotSource> source_;
    int headlineColumn_;
    std::optional<TRowSnapshot> snapshot_;
};

}  // namespace pelo::news
