#pragma once
// The duplicate filter: the most recent distinct headline texts of all terminals together.
#include <string>
#include <vector>

#include "headlines/FastCriticalSection.h"

namespace pelo::headlines {

inline constexpr int MinDupCacheSize = 1;
inline constexpr int MaxDupCacheSize = 200;
inline constexpr int DefaultDupCacheSize = 30;

// A stored cache size outside the range the options dialog accepts is brought into it.
int ClampDupCacheSize(int size);

// A ring of texts in order of first arrival; the oldest is forgotten first. Shared by every
// reader, so a headline is a duplicate whichever terminal listed it first.
class TDupCache {
public:
    // newsLock guards insertions; it is owned, like the cache, by the main window.
    explicit TDupCache(TFastCriticalSection& newsLock, int size = DefaultDupCacheSize);
    TDupCache(const TDupCache&) = delete;
    TDupCache& operator=(const TDupCache&) = delete;

    // True when the text equals a slot exactly (byte for byte; empty slots take part).
    // Otherwise the text takes the slot at DupCachePos and false is returned. A duplicate
    // neither moves nor refreshes its entry.
    bool CheckDuplicate(const std::string& text);

    // New slot count; the first min(old, new) slots keep their texts.
    void ResizeDupCache(int size);

    // `size` empty slots, position 0 (start-up, once the settings are known).
    void Allocate(int size);

    // Every slot empty, position 0; the size stays (start of news reading).
    void Clear();

    int Size() const { return static_cast<int>(DupCache.size()); }
    int DupCachePos() const { return Pos; }
    const std::string& Slot(int index) const { return DupCache.at(index); }

private:
    std::vector<std::string> DupCache;
    int Pos = 0;
    TFastCriticalSection& NewsLock;
};

}  // namespace pelo::headlines
