#include "headlines/DupCache.h"

#include <algorithm>

namespace pelo::headlines {
namespace {

// The ring needs one slot at least; the accepted range is ClampDupCacheSize's business.
int UsableSize(int size)
{
    return std::max(1, size);
}

} // namespace

int ClampDupCacheSize(int size)
{
    return std::clamp(size, MinDupCacheSize, MaxDupCacheSize);
}

TDupCache::TDupCache(TFastCriticalSection& newsLock, int size)
    : DupCache(UsableSize(size)), NewsLock(newsLock)
{
}

bool TDupCache::CheckDuplicate(const std::string& text)
{
    // Readers run on the main thread only, so the look-up needs no lock; the insertion
    // is guarded so that the slot and the position always change together.
    if (std::find(DupCache.begin(), DupCache.end(), text) != DupCache.end())
        return true;

    TFastLockGuard guard(NewsLock);
    DupCache[Pos] = text;
    ++Pos;
    if (Pos >= Size())
        Pos = 0;
    return false;
}

void TDupCache::ResizeDupCache(int size)
{
    const int n = UsableSize(size);
    TFastLockGuard guard(NewsLock);
    if (Pos > n - 1)
        Pos = 0;
    DupCache.resize(n);
}

void TDupCache::Allocate(int size)
{
    TFastLockGuard guard(NewsLock);
    DupCache.assign(UsableSize(size), std::string());
    Pos = 0;
}

void TDupCache::Clear()
{
    TFastLockGuard guard(NewsLock);
    for (std::string& slot : DupCache)
        slot.clear();
    Pos = 0;
}

}  // namespace pelo::headlines
