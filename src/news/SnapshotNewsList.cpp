#include "news/SnapshotNewsList.h"

#include <algorithm>

#include "core/SystemErrors.h"

namespace pelo::news {

TSnapshotNewsList::TSnapshotNewsList(std::unique_ptr<INewsList> remote, std::unique_ptr<IRowSnapshotSource> source,
                                     int headlineColumn)
    : remote_(std::move(remote)), source_(std::move(source)), headlineColumn_(headlineColumn)
{
}

bool TSnapshotNewsList::BeginPass(const std::optional<std::string>& stopText, int rowsWanted)
{
    snapshot_.reset();
    try {
        snapshot_ = source_->ReadRows(TRowRequest{stopText, std::max(rowsWanted, 0) + RowMargin, headlineColumn_});
    } catch (const EListLost& e) {
        if (e.TerminalHung())
            remote_->AbandonTerminalMemory();
        throw;
    }
    return snapshot_.has_value();
}

int TSnapshotNewsList::Find(int row) const
{
    const auto& rows = snapshot_->Rows;
    const auto at = std::lower_bound(rows.begin(), rows.end(), row,
                                     [](const TSnapshotRow& r, int wanted) { return r.Row < wanted; });
    return at != rows.end() && at->Row == row ? static_cast<int>(at - rows.begin()) : -1;
}

int TSnapshotNewsList::NextRow(int row)
{
    if (!snapshot_)
        return remote_->NextRow(row);
    const auto& rows = snapshot_->Rows;
    const bool walkedToTheEnd = snapshot_->End == rows::WalkEnd::ListEnd;
    if (row < 0) {
        if (!rows.empty())
            return rows.front().Row;
        if (walkedToTheEnd)
            return snapshot_->EndAnswer;
        return remote_->NextRow(row);
    }
    const int at = Find(row);
    if (at >= 0 && at + 1 < static_cast<int>(rows.size()))
        return rows[static_cast<std::size_t>(at) + 1].Row;
    if (at >= 0 && walkedToTheEnd)
        return snapshot_->EndAnswer;
    // Beyond what was read in the terminal: the list itself answers from here on.
    return remote_->NextRow(row);
}

std::string TSnapshotNewsList::RowText(int row)
{
    if (snapshot_) {
        if (const int at = Find(row); at >= 0)
            return snapshot_->Rows[static_cast<std::size_t>(at)].Text;
    }
    return remote_->RowText(row);
}

}  // namespace pelo::news
