#include "news/win/WinRemoteMemory.h"

#include <cstdint>

#include "core/win/WinOSError.h"

namespace pelo::news {

namespace {

using VirtualAllocExFn = LPVOID(WINAPI*)(HANDLE, LPVOID, SIZE_T, DWORD, DWORD);
using VirtualFreeExFn = BOOL(WINAPI*)(HANDLE, LPVOID, SIZE_T, DWORD);

struct RegionFunctions {
    VirtualAllocExFn Alloc = nullptr;
    VirtualFreeExFn Free = nullptr;
};

// Looked up by name once per run: systems outside the NT family lack them, and a missing one must be reported
// as the system's error rather than keep the program from starting.
const RegionFunctions& Regions()
{
    static const RegionFunctions functions = [] {
        RegionFunctions f;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (kernel == nullptr)
            RaiseLastOSError();
        f.Alloc = reinterpret_cast<VirtualAllocExFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "VirtualAllocEx")));
        if (f.Alloc == nullptr)
            RaiseLastOSError();
        f.Free = reinterpret_cast<VirtualFreeExFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "VirtualFreeEx")));
        if (f.Free == nullptr)
            RaiseLastOSError();
        return f;
    }();
    return functions;
}

#if UINTPTR_MAX > 0xFFFFFFFFu
// The list-view requests carry the buffers' addresses through 32-bit record fields (the shipped program and its
// terminals are 32-bit). A 64-bit twin therefore keeps its regions in the target's lowest 4 GiB.
LPVOID AllocateBelow4G(HANDLE process, SIZE_T size)
{
    const RegionFunctions& f = Regions();
    LPVOID base = f.Alloc(process, nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (base == nullptr || reinterpret_cast<std::uintptr_t>(base) + size <= 0x100000000ull)
        return base;
    f.Free(process, base, 0, MEM_RELEASE);
    constexpr std::uintptr_t Granularity = 0x10000;
    std::uintptr_t address = 0x10000;
    while (address + size <= 0x100000000ull) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &info, sizeof info) == 0)
            break;
        const std::uintptr_t regionEnd = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
        if (info.State == MEM_FREE && regionEnd - address >= size) {
            base = f.Alloc(process, reinterpret_cast<LPVOID>(address), size, MEM_RESERVE | MEM_COMMIT,
                           PAGE_READWRITE);
            if (base != nullptr)
                return base;
        }
        address = (regionEnd + Granularity - 1) & ~(Granularity - 1);
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}
#endif

}  // namespace

WinRemoteMemory::WinRemoteMemory(DWORD processId)
{
    DWORD rights = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;
#if UINTPTR_MAX > 0xFFFFFFFFu
    rights |= PROCESS_QUERY_INFORMATION;  // the search for low free space asks what lies where
#endif
    process_ = OpenProcess(rights, FALSE, processId);
    if (process_ == nullptr)
        RaiseLastOSError();
    try {
        Regions();
    } catch (...) {
        CloseHandle(process_);
        throw;
    }
}

WinRemoteMemory::~WinRemoteMemory()
{
    if (process_ != nullptr)
        CloseHandle(process_);
}

RemoteAddress WinRemoteMemory::ReserveRegion(std::uint32_t size)
{
#if UINTPTR_MAX > 0xFFFFFFFFu
    LPVOID base = AllocateBelow4G(process_, size);
#else
    LPVOID base = Regions().Alloc(process_, nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#endif
    if (base == nullptr)
        RaiseLastOSError();
    return reinterpret_cast<RemoteAddress>(base);
}

void WinRemoteMemory::ReleaseRegion(RemoteAddress base) noexcept
{
    // A target that has ended took its memory with it; nothing to report.
    Regions().Free(process_, reinterpret_cast<LPVOID>(base), 0, MEM_RELEASE);
}

void WinRemoteMemory::Read(RemoteAddress source, void* dest, std::size_t n)
{
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, reinterpret_cast<LPCVOID>(source), dest, n, &done))
        RaiseLastOSError();
    if (done != n)
        throw MakeOSError(ERROR_PARTIAL_COPY);
}

void WinRemoteMemory::Write(const void* source, RemoteAddress dest, std::size_t n)
{
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, reinterpret_cast<LPVOID>(dest), source, n, &done))
        RaiseLastOSError();
    if (done != n)
        throw MakeOSError(ERROR_PARTIAL_COPY);
}

std::unique_ptr<TProcessMemMgr> CreateProcessMemMgr(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId())
        return std::make_unique<TOwnProcessMemMgr>();
    return std::make_unique<TForeignProcessMemMgr>(std::make_unique<WinRemoteMemory>(processId));
}

}  // namespace pelo::news
