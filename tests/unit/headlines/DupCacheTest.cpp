#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "headlines/DupCache.h"
#include "headlines/FastCriticalSection.h"

namespace pelo::headlines {
namespace {

class DupCacheTest : public ::testing::Test {
protected:
    TFastCriticalSection NewsLock;
};

TEST_F(DupCacheTest, ForgetsTheOldestDistinctTextFirst)
{
    TDupCache cache(NewsLock, 2);
    for (const char* text : {"A", "B", "C", "A", "B"})
        EXPECT_FALSE(cache.CheckDuplicate(text)) << text;
    // C took A's slot, the second A took B's, the second B took C's.
    EXPECT_EQ(cache.Slot(0), "B");
    EXPECT_EQ(cache.Slot(1), "A");
    EXPECT_EQ(cache.DupCachePos(), 1);
    EXPECT_TRUE(cache.CheckDuplicate("A"));
    EXPECT_TRUE(cache.CheckDuplicate("B"));
    EXPECT_FALSE(cache.CheckDuplicate("C"));
}

TEST_F(DupCacheTest, ADuplicateDoesNotRefreshItsEntry)
{
    TDupCache cache(NewsLock, 2);
    EXPECT_FALSE(cache.CheckDuplicate("A"));
    EXPECT_FALSE(cache.CheckDuplicate("B"));
    EXPECT_TRUE(cache.CheckDuplicate("A"));
    EXPECT_FALSE(cache.CheckDuplicate("C")); // still overwrites A, the oldest arrival
    EXPECT_FALSE(cache.CheckDuplicate("A"));
}

TEST_F(DupCacheTest, ComparesWholeTextsByteForByte)
{
    TDupCache cache(NewsLock, 30);
    EXPECT_FALSE(cache.CheckDuplicate("EUR rate decision"));
    EXPECT_FALSE(cache.CheckDuplicate("eur rate decision"));
    EXPECT_FALSE(cache.CheckDuplicate("EUR rate decision "));
    EXPECT_FALSE(cache.CheckDuplicate("EUR rate"));
    EXPECT_FALSE(cache.CheckDuplicate(std::string("EUR\0x", 5)));
    EXPECT_TRUE(cache.CheckDuplicate("EUR rate decision"));
    EXPECT_EQ(cache.DupCachePos(), 5);
}

TEST_F(DupCacheTest, EmptyTextIsADuplicateWhileAnySlotIsEmpty)
{
    TDupCache cache(NewsLock, 3);
    EXPECT_TRUE(cache.CheckDuplicate(""));
    EXPECT_FALSE(cache.CheckDuplicate("x"));
    EXPECT_FALSE(cache.CheckDuplicate("y"));
    EXPECT_TRUE(cache.CheckDuplicate(""));
    EXPECT_FALSE(cache.CheckDuplicate("z"));
    EXPECT_FALSE(cache.CheckDuplicate("")); // every slot holds text now: stored like any other
    EXPECT_EQ(cache.Slot(0), "");
    EXPECT_TRUE(cache.CheckDuplicate(""));
}

TEST_F(DupCacheTest, ShrinkingPastThePositionRestartsAtSlotZero)
{
    TDupCache cache(NewsLock, 30);
    for (int i = 0; i < 12; ++i)
        cache.CheckDuplicate("h" + std::to_string(i));
    ASSERT_EQ(cache.DupCachePos(), 12);

    cache.ResizeDupCache(10);
    EXPECT_EQ(cache.Size(), 10);
    EXPECT_EQ(cache.DupCachePos(), 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(cache.Slot(i), "h" + std::to_string(i));
    EXPECT_FALSE(cache.CheckDuplicate("h11"));  // forgotten with its slot
    EXPECT_EQ(cache.Slot(0), "h11");
    EXPECT_TRUE(cache.CheckDuplicate("h9"));

    // A position just past the new last slot restarts too.
    TDupCache exact(NewsLock, 30);
    for (int i = 0; i < 10; ++i)
        exact.CheckDuplicate("e" + std::to_string(i));
    exact.ResizeDupCache(10);
    EXPECT_EQ(exact.DupCachePos(), 0);
    EXPECT_FALSE(exact.CheckDuplicate("e10"));
    EXPECT_EQ(exact.Slot(0), "e10");
}

TEST_F(DupCacheTest, ResizingKeepsThePositionWhenItStillFits)
{
    TDupCache cache(NewsLock, 10);
    for (int i = 0; i < 4; ++i)
        cache.CheckDuplicate("h" + std::to_string(i));
    cache.ResizeDupCache(4 + 1);
    EXPECT_EQ(cache.DupCachePos(), 4);
    cache.ResizeDupCache(40);
    EXPECT_EQ(cache.DupCachePos(), 4);
    EXPECT_EQ(cache.Slot(3), "h3");
    EXPECT_EQ(cache.Slot(39), "");
}

TEST_F(DupCacheTest, ClearEmptiesEverySlotButKeepsTheSize)
{
    TDupCache cache(NewsLock, 5);
    cache.CheckDuplicate("a");
    cache.CheckDuplicate("b");
    cache.Clear();
    EXPECT_EQ(cache.Size(), 5);
    EXPECT_EQ(cache.DupCachePos(), 0);
    EXPECT_FALSE(cache.CheckDuplicate("a"));
    EXPECT_FALSE(NewsLock.IsHeld());
}

TEST_F(DupCacheTest, OutOfRangeSizesAreClampedAndTheRingNeverEmpty)
{
    EXPECT_EQ(ClampDupCacheSize(0), 1);
    EXPECT_EQ(ClampDupCacheSize(201), 200);
    TDupCache cache(NewsLock, 0);
    EXPECT_EQ(cache.Size(), 1);
    EXPECT_FALSE(cache.CheckDuplicate("a"));
    EXPECT_FALSE(cache.CheckDuplicate("b"));
    EXPECT_FALSE(cache.CheckDuplicate("a"));
}

TEST_F(DupCacheTest, InsertionWaitsForTheNewsLock)
{
    TDupCache cache(NewsLock, 3);
    NewsLock.Enter();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        cache.CheckDuplicate("late");
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done.load());
    NewsLock.Leave();
    reader.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(cache.Slot(0), "late");
    EXPECT_FALSE(NewsLock.IsHeld());
}

TEST(FastCriticalSection, ExcludesOtherThreadsAndIsNotReentrant)
{
    TFastCriticalSection lock;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            TFastLockGuard guard(lock);
            counter = counter + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);

    lock.Enter();
    EXPECT_FALSE(lock.TryEnter());
    lock.Leave();
    EXPECT_TRUE(lock.TryEnter());
    lock.Leave();
    EXPECT_FALSE(lock.IsHeld());
}

} // namespace
}  // namespace pelo::headlines
