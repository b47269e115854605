#include "news/NewsList.h"

#include <algorithm>

#include "news/ListViewRecords.h"
#include "core/SystemErrors.h"

namespace pelo::news {

TListViewNewsList::TListViewNewsList(std::unique_ptr<TProcessMemMgr> memory,
                                     std::unique_ptr<IListViewMessages> listView, int headlineColumn)
    : memory_(std::move(memory)), listView_(std::move(listView))
{
    remoteText_ = memory_->AllocMem(TextBufferSize);
    remoteItem_ = memory_->AllocMem(TListItemRecord::Size);
    // One request serves every row: LVM_GETITEMTEXTA takes the row from wParam.
    const TListItemRecord::Bytes item = MakeHeadlineItemRecord(headlineColumn, ToRecordAddress(remoteText_)).Encode();
    memory_->WriteMem(item.data(), remoteItem_, item.size());
}

template <typename Request>
auto TListViewNewsList::Ask(Request request)
{
    try {
        return request();
    } catch (const EListLost& e) {
        // Giving the memory back would be one more call that waits on the hung terminal.
        if (e.TerminalHung())
            memory_->AbandonAll();
        throw;
    }
}

int TListViewNewsList::NextRow(int row)
{
    return Ask([&] { return listView_->GetNextItem(row); });
}

std::string TListViewNewsList::RowText(int row)
{
    Ask([&] { listView_->GetItemText(row, remoteItem_); });
    memory_->ReadMem(remoteText_, text_.data(), text_.size());
    const auto end = std::find(text_.begin(), text_.end(), '\0');
    return std::string(text_.begin(), end);
}

}  // namespace pelo::news
