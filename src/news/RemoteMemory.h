#pragma once
// The few operations on another process's memory that the block allocator needs. The Win32 layer implements
// them with OpenProcess, VirtualAllocEx/VirtualFreeEx and ReadProcessMemory/WriteProcessMemory; unit tests use
// a simulated address space.
#include <cstddef>
#include <cstdint>

#include "news/RemoteAddress.h"

namespace pelo::news {

class IRemoteMemory {
public:
    virtual ~IRemoteMemory() = default;

    // Reserve and commit `size` bytes of read-write memory (a multiple of the 4096-byte page size); returns its
    // base. Throws EOSError when the system refuses.
    virtual RemoteAddress ReserveRegion(std::uint32_t size) = 0;
    // Give back a whole region obtained from ReserveRegion. Called from destructors: must not throw.
    virtual void ReleaseRegion(RemoteAddress base) noexcept = 0;
    // Copy bytes out of / into the target. Throw EOSError when any byte of the range is not accessible.
    virtual void Read(RemoteAddress source, void* dest, std::size_t n) = 0;
    virtual void Write(const void* source, RemoteAddress dest, std::size_t n) = 0;
};

}  // namespace pelo::news
