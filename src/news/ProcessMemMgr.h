#pragma once
// Memory in the process that owns a list view, for list-view messages whose structures and texts must live
// there. A manager hands out blocks, copies data in and out, and releases everything when it is destroyed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "news/RemoteMemory.h"

namespace pelo::news {

// Allocation failure of a memory manager.
class EProcessMemMgr : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TProcessMemMgr {
public:
    virtual ~TProcessMemMgr() = default;
    TProcessMemMgr() = default;
    TProcessMemMgr(const TProcessMemMgr&) = delete;
    TProcessMemMgr& operator=(const TProcessMemMgr&) = delete;

    // A block of at least `size` bytes in the target process; valid until FreeMem or the manager's end.
    virtual RemoteAddress AllocMem(std::uint32_t size) = 0;
    virtual void FreeMem(RemoteAddress address) = 0;
    virtual void ReadMem(RemoteAddress source, void* dest, std::size_t n) = 0;
    // The NUL-terminated 8-bit string at `source`, but never more than `maxBytes` bytes of it: the address may come
    // from the target, and nothing it holds may make us read on and on. Address 0 reads as the empty string.
    virtual std::string ReadStr(RemoteAddress source, std::size_t maxBytes) = 0;
    virtual void WriteMem(const void* source, RemoteAddress dest, std::size_t n) = 0;
    // Writes the bytes of `s` and a terminating NUL.
    virtual void WriteStr(const std::string& s, RemoteAddress dest) = 0;
    // Forgets every block without giving the memory back: for a target whose process may not answer for a long
    // time, where giving memory back could wait on it. The manager hands out nothing afterwards.
    virtual void AbandonAll() noexcept {}
};

// The target is this very process: blocks are zero-filled local allocations, transfers are plain copies.
class TOwnProcessMemMgr final : public TProcessMemMgr {
public:
    TOwnProcessMemMgr() = default;
    ~TOwnProcessMemMgr() override;

    RemoteAddress AllocMem(std::uint32_t size) override;
    void FreeMem(RemoteAddress address) override;
    void ReadMem(RemoteAddress source, void* dest, std::size_t n) override;
    std::string ReadStr(RemoteAddress source, std::size_t maxBytes) override;
    void WriteMem(const void* source, RemoteAddress dest, std::size_t n) override;
    void WriteStr(const std::string& s, RemoteAddress dest) override;

    std::size_t BlockCount() const;

private:
    mutable std::mutex lock_;
    std::vector<void*> blocks_;
};

// One block of a foreign manager. Blocks of one region are kept in address order, regions in the order obtained.
struct TMemBlock {
    RemoteAddress Address = 0;
    std::uint32_t Size = 0;
    std::int32_t Region = 0;
    bool Used = false;

    bool operator==(const TMemBlock&) const = default;
};

// Another process: regions of at least 16 KiB are obtained on demand and carved into blocks first-fit.
class TForeignProcessMemMgr : public TProcessMemMgr {
public:
    static constexpr std::uint32_t PageSize = 4096;
    static constexpr std::uint32_t MinRegionSize = 0x4000;

    // Takes ownership of the target's memory interface; it is destroyed (closing the process) after the regions.
    explicit TForeignProcessMemMgr(std::unique_ptr<IRemoteMemory> memory);
    ~TForeignProcessMemMgr() override;

    RemoteAddress AllocMem(std::uint32_t size) override;
    void FreeMem(RemoteAddress address) override;
    void ReadMem(RemoteAddress source, void* dest, std::size_t n) override;
    std::string ReadStr(RemoteAddress source, std::size_t maxBytes) override;
    void WriteMem(const void* source, RemoteAddress dest, std::size_t n) override;
    void WriteStr(const std::string& s, RemoteAddress dest) override;
    void AbandonAll() noexcept override;

    // Size of the region obtained for a request that no free block can hold.
    static std::uint64_t RegionSizeFor(std::uint32_t request);

    // Snapshots for inspection.
    std::vector<TMemBlock> Blocks() const;
    std::vector<RemoteAddress> Regions() const;

private:
    // Obtains a new region big enough for `size` and appends it to the block list as one free block.
    // Called with the block list locked.
    void NeedMoreMem(std::uint32_t size);
    bool TakeFirstFit(std::uint32_t size, RemoteAddress& address);

    std::unique_ptr<IRemoteMemory> memory_;
    mutable std::mutex lock_;
    std::vector<TMemBlock> blocks_;
    std::vector<RemoteAddress> regions_;
};

}  // namespace pelo::news
