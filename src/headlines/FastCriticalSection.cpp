#include "headlines/FastCriticalSection.h"

#include <thread>

namespace pelo::headlines {

bool TFastCriticalSection::TryEnter()
{
    std::uint32_t expected = 0;
    return Word.compare_exchange_strong(expected, 1, std::memory_order_acquire,
                                        std::memory_order_relaxed);
}

void TFastCriticalSection::Enter()
{
    while (!TryEnter())
        std::this_thread::yield();
}

void TFastCriticalSection::Leave()
{
    Word.exchange(0, std::memory_order_release);
}

}  // namespace pelo::headlines
