#pragma once
// Memory of the process that owns a window, for the list-view messages sent to it.
#include <windows.h>

#include <memory>

#include "news/ProcessMemMgr.h"
#include "news/RemoteMemory.h"

namespace pelo::news {

// Another process's memory through its handle (opened for VM operation, read and write). The process handle is
// closed when the object goes, after the manager that owns it has released its regions.
class WinRemoteMemory final : public IRemoteMemory {
public:
    // Throws EOSError when the process cannot be opened.
    explicit WinRemoteMemory(DWORD processId);
    ~WinRemoteMemory() override;
    WinRemoteMemory(const WinRemoteMemory&) = delete;
    WinRemoteMemory& operator=(const WinRemoteMemory&) = delete;

    RemoteAddress ReserveRegion(std::uint32_t size) override;
    void ReleaseRegion(RemoteAddress base) noexcept override;
    void Read(RemoteAddress source, void* dest, std::size_t n) override;
    void Write(const void* source, RemoteAddress dest, std::size_t n) override;

private:
    HANDLE process_ = nullptr;
};

// A manager for the process that owns `window`: plain copies when that is this process, otherwise one over
// WinRemoteMemory. The caller owns it; its end releases every block at once.
std::unique_ptr<TProcessMemMgr> CreateProcessMemMgr(HWND window);

}  // namespace pelo::news
