#pragma once

#include <atomic>
#include <cstdint>

namespace pelo::headlines {

// A lock of one 32-bit word (0 free, 1 held) for very short critical sections.
// Waiting gives up the rest of the time slice instead of spinning hard, which
// matters on the small machines this program runs on. Not re-entrant: a thread
// that enters twice without leaving waits for itself forever.
class TFastCriticalSection {
public:
    TFastCriticalSection() = default;
    TFastCriticalSection(const TFastCriticalSection&) = delete;
    TFastCriticalSection& operator=(const TFastCriticalSection&) = delete;

    void Enter();
    bool TryEnter();
    void Leave();

    bool IsHeld() const { return Word.load(std::memory_order_relaxed) != 0; }

private:
    std::atomic<std::uint32_t> Word{0};
};

// Scope guard for TFastCriticalSection.
class TFastLockGuard {
public:
    explicit TFastLockGuard(TFastCriticalSection& lock) : Lock(lock) { Lock.Enter(); }
    ~TFastLockGuard() { Lock.Leave(); }
    TFastLockGuard(const TFastLockGuard&) = delete;
    TFastLockGuard& operator=(const TFastLockGuard&) = delete;

private:
    TFastCriticalSection& Lock;
};

}  // namespace pelo::headlines
