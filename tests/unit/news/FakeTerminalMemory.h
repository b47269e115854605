#pragma once
// A simulated 32-bit address space of a terminal process, and a list view living in it that answers the three
// list-view messages the way the real control does: by reading our request records from that memory and
// writing texts into it.
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "news/ListViewMessages.h"
#include "news/ListViewRecords.h"
#include "news/RemoteMemory.h"
#include "core/SystemErrors.h"

namespace pelo::news::test {

class FakeAddressSpace {
public:
    static constexpr RemoteAddress PageSize = 4096;

    // Pages not mapped here are unreadable; touching one fails like ReadProcessMemory does.
    void MapPages(RemoteAddress base, std::size_t size)
    {
        for (RemoteAddress page = base / PageSize * PageSize; page < base + size; page += PageSize)
            pages_.try_emplace(page);
    }
    void UnmapPages(RemoteAddress base, std::size_t size)
    {
        for (RemoteAddress page = base / PageSize * PageSize; page < base + size; page += PageSize)
            pages_.erase(page);
    }

    void Read(RemoteAddress source, void* dest, std::size_t n)
    {
        reads.emplace_back(source, n);
        auto* out = static_cast<std::uint8_t*>(dest);
        for (std::size_t i = 0; i < n; ++i)
            out[i] = Page(source + i)[(source + i) % PageSize];
    }
    void Write(const void* source, RemoteAddress dest, std::size_t n)
    {
        const auto* in = static_cast<const std::uint8_t*>(source);
        for (std::size_t i = 0; i < n; ++i)
            Page(dest + i)[(dest + i) % PageSize] = in[i];
    }
    void WriteString(RemoteAddress dest, const std::string& s) { Write(s.c_str(), dest, s.size() + 1); }

    RemoteAddress Reserve(std::uint32_t size)
    {
        if (failReserve)
            throw EOSError(8, "Not enough memory resources are available to process this command.");
        const RemoteAddress base = nextRegion_;
        // A gap of unmapped pages between regions catches reads that run past a region's end.
        nextRegion_ += (size + 0xFFFF) / 0x10000 * 0x10000 + 0x10000;
        MapPages(base, size);
        regions[base] = size;
        reserved.push_back(size);
        return base;
    }
    void Release(RemoteAddress base)
    {
        released.push_back(base);
        auto it = regions.find(base);
        if (it != regions.end()) {
            UnmapPages(base, it->second);
            regions.erase(it);
        }
    }

    std::vector<std::pair<RemoteAddress, std::size_t>> reads;
    std::vector<std::uint32_t> reserved;
    std::vector<RemoteAddress> released;
    std::map<RemoteAddress, std::uint32_t> regions;
    bool failReserve = false;

private:
    std::array<std::uint8_t, PageSize>& Page(RemoteAddress address)
    {
        auto it = pages_.find(address / PageSize * PageSize);
        if (it == pages_.end())
            throw EOSError(299, "Only part of a ReadProcessMemory or WriteProcessMemory request was completed.");
        return it->second;
    }

    std::map<RemoteAddress, std::array<std::uint8_t, PageSize>> pages_;
    RemoteAddress nextRegion_ = 0x00500000;
};

// The IRemoteMemory a manager owns; the address space stays with the test for inspection.
class FakeRemoteMemory final : public IRemoteMemory {
public:
    explicit FakeRemoteMemory(FakeAddressSpace& space) : space_(space) {}
    RemoteAddress ReserveRegion(std::uint32_t size) override { return space_.Reserve(size); }
    void ReleaseRegion(RemoteAddress base) noexcept override { space_.Release(base); }
    void Read(RemoteAddress source, void* dest, std::size_t n) override { space_.Read(source, dest, n); }
    void Write(const void* source, RemoteAddress dest, std::size_t n) override { space_.Write(source, dest, n); }

private:
    FakeAddressSpace& space_;
};

inline std::unique_ptr<IRemoteMemory> MakeFakeRemote(FakeAddressSpace& space)
{
    return std::make_unique<FakeRemoteMemory>(space);
}

// A report-style list view: column titles and rows of cells, row 0 on top.
class FakeListView final : public IListViewMessages {
public:
    FakeListView(FakeAddressSpace& space, std::vector<std::string> titles) : space_(space), titles_(std::move(titles))
    {
        space_.MapPages(OwnStorage, 0x2000);
    }

    std::vector<std::vector<std::string>> rows;
    // Answer column requests by pointing pszText at the control's own storage instead of filling our buffer.
    bool titlesInOwnStorage = false;
    int columnRequests = 0;
    std::vector<TListItemRecord> itemRequests;

    // Every message fails from now on, as when the window is gone (code 1400) or its thread hangs (1460).
    void Lose(std::uint32_t code, bool hung)
    {
        lostCode_ = code;
        lostHung_ = hung;
    }

    int GetNextItem(int start) override
    {
        ThrowIfLost();
        const int next = start + 1;
        return next < static_cast<int>(rows.size()) ? next : -1;
    }

    void GetItemText(int row, RemoteAddress itemRecord) override
    {
        ThrowIfLost();
        TListItemRecord::Bytes bytes{};
        space_.Read(itemRecord, bytes.data(), bytes.size());
        const TListItemRecord item = TListItemRecord::Decode(bytes);
        itemRequests.push_back(item);
        const auto& cells = rows.at(static_cast<std::size_t>(row));
        const std::string text = static_cast<std::size_t>(item.SubItem) < cells.size() ? cells[item.SubItem] : "";
        WriteLimited(item.Text, text, item.TextMax);
    }

    bool GetColumn(int index, RemoteAddress columnRecord) override
    {
        ThrowIfLost();
        ++columnRequests;
        if (index < 0 || index >= static_cast<int>(titles_.size()))
            return false;
        TListColumnRecord::Bytes bytes{};
        space_.Read(columnRecord, bytes.data(), bytes.size());
        TListColumnRecord column = TListColumnRecord::Decode(bytes);
        const std::string& title = titles_[static_cast<std::size_t>(index)];
        if (titlesInOwnStorage) {
            column.Text = static_cast<std::uint32_t>(OwnStorage + 0x100 * static_cast<RemoteAddress>(index));
            space_.WriteString(column.Text, title);
            const TListColumnRecord::Bytes answer = column.Encode();
            space_.Write(answer.data(), columnRecord, answer.size());
        } else {
            WriteLimited(column.Text, title, column.TextMax);
        }
        return true;
    }

private:
    static constexpr RemoteAddress OwnStorage = 0x00300000;

    void ThrowIfLost() const
    {
        if (lostCode_ != 0)
            throw EListLost(lostCode_, "list lost", lostHung_);
    }

    // As the control does: at most max - 1 bytes and a NUL.
    void WriteLimited(RemoteAddress dest, const std::string& text, int max)
    {
        if (max <= 0)
            return;
        std::string cut = text.substr(0, static_cast<std::size_t>(max - 1));
        space_.WriteString(dest, cut);
    }

    FakeAddressSpace& space_;
    std::vector<std::string> titles_;
    std::uint32_t lostCode_ = 0;
    bool lostHung_ = false;
};

}  // namespace pelo::news::test
