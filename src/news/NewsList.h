#pragma once
// A terminal's news list as the reading pass sees it: rows from the top (newest) down, and the text of each
// row's headline column.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "news/ListViewMessages.h"
#include "news/ProcessMemMgr.h"

namespace pelo::news {

class INewsList {
public:
    virtual ~INewsList() = default;
    // A pass begins: it will stop at `stopText` (when set) and needs about `rowsWanted` rows. True when the rows
    // of this pass come from one read made inside the terminal, false when each is asked for across processes.
    virtual bool BeginPass(const std::optional<std::string>& stopText, int rowsWanted)
    {
        (void)stopText;
        (void)rowsWanted;
        return false;
    }
    // The row after `row`, or the first row when `row` is -1; -1 when there is none.
    virtual int NextRow(int row) = 0;
    // The text of `row`'s headline column (at most 256 bytes; up to the first NUL).
    virtual std::string RowText(int row) = 0;
    // The terminal hangs: whatever the list holds in it is left there rather than given back (which would wait).
    virtual void AbandonTerminalMemory() noexcept {}
};

// The news list view of a terminal, read through memory reserved in the terminal's process: a 256-byte text
// buffer and the 40-byte item record that asks for the headline column into it. Owns the memory manager, so
// the remote blocks go away with this object (except when the list was lost to a terminal that hangs: then they
// are left where they are). A lost list raises EListLost.
class TListViewNewsList final : public INewsList {
public:
    static constexpr std::size_t TextBufferSize = 256;

    TListViewNewsList(std::unique_ptr<TProcessMemMgr> memory, std::unique_ptr<IListViewMessages> listView,
                      int headlineColumn);

    int NextRow(int row) override;
    std::string RowText(int row) override;
    void AbandonTerminalMemory() noexcept override { memory_->AbandonAll(); }

    RemoteAddress RemoteTextBuffer() const { return remoteText_; }
    RemoteAddress RemoteItemRecord() const { return remoteItem_; }

private:
    template <typename Request>
    auto Ask(Request request);

    std::unique_ptr<TProcessMemMgr> memory_;
    std::unique_ptr<IListViewMessages> listView_;
    RemoteAddress remoteText_ = 0;
    RemoteAddress remoteItem_ = 0;
    std::array<char, TextBufferSize> text_{};
};

}  // namespace pelo::news
