#include "news/ProcessMemMgr.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/SystemErrors.h"

namespace pelo::news {

namespace {

void* ToPointer(RemoteAddress address) { return reinterpret_cast<void*>(address); }

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// TOwnProcessMemMgr

TOwnProcessMemMgr::~TOwnProcessMemMgr()
{
    for (void* block : blocks_)
        std::free(block);
}

RemoteAddress TOwnProcessMemMgr::AllocMem(std::uint32_t size)
{
    // calloc(0) may return null or a shared sentinel; one byte keeps every block distinct.
    void* block = std::calloc(std::max<std::uint32_t>(size, 1), 1);
    if (!block)
        throw EProcessMemMgr("ProcessMemMgr.AllocMem: not enough memory");
    std::lock_guard guard(lock_);
    try {
        blocks_.push_back(block);
    } catch (...) {
        std::free(block);
        throw;
    }
    return reinterpret_cast<RemoteAddress>(block);
}

void TOwnProcessMemMgr::FreeMem(RemoteAddress address)
{
    std::lock_guard guard(lock_);
    auto it = std::find(blocks_.begin(), blocks_.end(), ToPointer(address));
    if (it == blocks_.end())
        throw EAssertionFailed("ProcessMemMgr.FreeMem: unknown pointer");
    std::free(*it);
    blocks_.erase(it);
}

void TOwnProcessMemMgr::ReadMem(RemoteAddress source, void* dest, std::size_t n)
{
    if (n)
        std::memcpy(dest, ToPointer(source), n);
}

std::string TOwnProcessMemMgr::ReadStr(RemoteAddress source, std::size_t maxBytes)
{
    if (source == 0)
        return {};
    const auto* text = static_cast<const char*>(ToPointer(source));
    std::size_t length = 0;
    while (length < maxBytes && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

void TOwnProcessMemMgr::WriteMem(const void* source, RemoteAddress dest, std::size_t n)
{
    if (n)
        std::memcpy(ToPointer(dest), source, n);
}

void TOwnProcessMemMgr::WriteStr(const std::string& s, RemoteAddress dest)
{
    WriteMem(s.c_str(), dest, s.size() + 1);
}

std::size_t TOwnProcessMemMgr::BlockCount() const
{
    std::lock_guard guard(lock_);
    return blocks_.size();
}

// ---------------------------------------------------------------------------------------------------------------
// TForeignProcessMemMgr

TForeignProcessMemMgr::TForeignProcessMemMgr(std::unique_ptr<IRemoteMemory> memory) : memory_(std::move(memory)) {}

TForeignProcessMemMgr::~TForeignProcessMemMgr()
{
    for (RemoteAddress base : regions_)
        memory_->ReleaseRegion(base);
}

std::uint64_t TForeignProcessMemMgr::RegionSizeFor(std::uint32_t request)
{
    if (request < MinRegionSize)
        return MinRegionSize;
    return (std::uint64_t{request} + PageSize - 1) / PageSize * PageSize;
}

void TForeignProcessMemMgr::NeedMoreMem(std::uint32_t size)
{
    const std::uint64_t regionSize = RegionSizeFor(size);
    if (regionSize > std::numeric_limits<std::uint32_t>::max())
        throw EProcessMemMgr("ProcessMemMgr.AllocMem: not enough memory");
    // Make room first so that a failing push_back cannot leak a region the list does not know about.
    regions_.reserve(regions_.size() + 1);
    blocks_.reserve(blocks_.size() + 1);
    const RemoteAddress base = memory_->ReserveRegion(static_cast<std::uint32_t>(regionSize));
    const auto regionIndex = static_cast<std::int32_t>(regions_.size());
    regions_.push_back(base);
    blocks_.push_back(TMemBlock{base, static_cast<std::uint32_t>(regionSize), regionIndex, false});
}

bool TForeignProcessMemMgr::TakeFirstFit(std::uint32_t size, RemoteAddress& address)
{
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        TMemBlock& block = blocks_[i];
        if (block.Used || block.Size < size)
            continue;
        const std::uint32_t oldSize = block.Size;
        block.Size = size;
        block.Used = true;
        address = block.Address;
        if (oldSize > size) {
            const TMemBlock rest{block.Address + size, oldSize - size, block.Region, false};
            blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(i) + 1, rest);
        }
        return true;
    }
    return false;
}

RemoteAddress TForeignProcessMemMgr::AllocMem(std::uint32_t size)
{
    // A zero-byte block would share its address with the free block behind it, and FreeMem finds blocks by address.
    size = std::max<std::uint32_t>(size, 1);
    std::lock_guard guard(lock_);
    blocks_.reserve(blocks_.size() + 1);  // the split below then cannot fail half-way
    RemoteAddress address = 0;
    if (TakeFirstFit(size, address))
        return address;
    NeedMoreMem(size);
    blocks_.reserve(blocks_.size() + 1);
    if (TakeFirstFit(size, address))
        return address;
    throw EProcessMemMgr("ProcessMemMgr.AllocMem: not enough memory");
}

void TForeignProcessMemMgr::FreeMem(RemoteAddress address)
{
    std::lock_guard guard(lock_);
    auto it = std::find_if(blocks_.begin(), blocks_.end(), [&](const TMemBlock& b) { return b.Address == address; });
    if (it == blocks_.end())
        throw EAssertionFailed("ProcessMemMgr.FreeMem: unknown pointer");
    it->Used = false;
    // Only the blocks behind the freed one are absorbed; a free block in front of it stays separate.
    auto next = it + 1;
    while (next != blocks_.end() && !next->Used && next->Region == it->Region) {
        it->Size += next->Size;
        next = blocks_.erase(next);
        it = next - 1;
    }
}

void TForeignProcessMemMgr::ReadMem(RemoteAddress source, void* dest, std::size_t n)
{
    memory_->Read(source, dest, n);
}

std::string TForeignProcessMemMgr::ReadStr(RemoteAddress source, std::size_t maxBytes)
{
    std::string result;
    if (source == 0)
        return result;
    // Page by page: the string may end just before a page that cannot be read, and that page must not be touched.
    std::vector<char> buffer;
    RemoteAddress chunkStart = source;
    std::size_t chunkSize = PageSize - static_cast<std::size_t>(source % PageSize);
    while (buffer.size() < maxBytes) {
        chunkSize = std::min(chunkSize, maxBytes - buffer.size());
        const std::size_t oldSize = buffer.size();
        buffer.resize(oldSize + chunkSize);
        memory_->Read(chunkStart, buffer.data() + oldSize, chunkSize);
        const auto begin = buffer.begin() + static_cast<std::ptrdiff_t>(oldSize);
        const auto nul = std::find(begin, buffer.end(), '\0');
        if (nul != buffer.end()) {
            result.assign(buffer.begin(), nul);
            return result;
        }
        chunkStart += chunkSize;
        chunkSize = PageSize;
    }
    result.assign(buffer.begin(), buffer.end());
    return result;
}

void TForeignProcessMemMgr::WriteMem(const void* source, RemoteAddress dest, std::size_t n)
{
    memory_->Write(source, dest, n);
}

void TForeignProcessMemMgr::WriteStr(const std::string& s, RemoteAddress dest)
{
    WriteMem(s.c_str(), dest, s.size() + 1);
}

void TForeignProcessMemMgr::AbandonAll() noexcept
{
    std::lock_guard guard(lock_);
    regions_.clear();
    blocks_.clear();
}

std::vector<TMemBlock> TForeignProcessMemMgr::Blocks() const
{
    std::lock_guard guard(lock_);
    return blocks_;
}

std::vector<RemoteAddress> TForeignProcessMemMgr::Regions() const
{
    std::lock_guard guard(lock_);
    return regions_;
}

}  // namespace pelo::news
