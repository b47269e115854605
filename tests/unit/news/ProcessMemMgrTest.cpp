#include <gtest/gtest.h>

#include <cstring>

#include "FakeTerminalMemory.h"
#include "news/ProcessMemMgr.h"
#include "core/SystemErrors.h"

using namespace pelo;
using namespace pelo::news;
using pelo::news::test::FakeAddressSpace;
using pelo::news::test::MakeFakeRemote;

namespace {

class ForeignMemMgrTest : public ::testing::Test {
protected:
    FakeAddressSpace space;
    std::unique_ptr<TForeignProcessMemMgr> mgr = std::make_unique<TForeignProcessMemMgr>(MakeFakeRemote(space));
};

TEST_F(ForeignMemMgrTest, SmallRequestsShareOneMinimumRegion)
{
    const RemoteAddress a = mgr->AllocMem(256);
    const RemoteAddress b = mgr->AllocMem(40);
    ASSERT_EQ(space.reserved, (std::vector<std::uint32_t>{16384}));
    const RemoteAddress base = mgr->Regions().at(0);
    EXPECT_EQ(a, base);
    EXPECT_EQ(b, base + 256);
    const std::vector<TMemBlock> expected{
        {base, 256, 0, true}, {base + 256, 40, 0, true}, {base + 296, 16088, 0, false}};
    EXPECT_EQ(mgr->Blocks(), expected);
}

TEST_F(ForeignMemMgrTest, LargeRequestGetsRegionRoundedToPages)
{
    const RemoteAddress a = mgr->AllocMem(20000);
    EXPECT_EQ(space.reserved, (std::vector<std::uint32_t>{20480}));
    EXPECT_EQ(mgr->Blocks(), (std::vector<TMemBlock>{{a, 20000, 0, true}, {a + 20000, 480, 0, false}}));

    // Exactly the minimum and one byte below it.
    EXPECT_EQ(TForeignProcessMemMgr::RegionSizeFor(16383), 16384u);
    EXPECT_EQ(TForeignProcessMemMgr::RegionSizeFor(16384), 16384u);
    EXPECT_EQ(TForeignProcessMemMgr::RegionSizeFor(16385), 20480u);
    EXPECT_EQ(TForeignProcessMemMgr::RegionSizeFor(0xFFFFFFFFu), 0x100000000ull);
}

TEST_F(ForeignMemMgrTest, ExactFitLeavesNoEmptyRemainder)
{
    const RemoteAddress a = mgr->AllocMem(16384);
    EXPECT_EQ(mgr->Blocks(), (std::vector<TMemBlock>{{a, 16384, 0, true}}));
}

TEST_F(ForeignMemMgrTest, NewRegionWhenNothingFitsAndFirstFitAcrossRegions)
{
    const RemoteAddress a = mgr->AllocMem(16000);
    const RemoteAddress b = mgr->AllocMem(1000);  // the 384 bytes left cannot hold it
    ASSERT_EQ(space.reserved.size(), 2u);
    const RemoteAddress second = mgr->Regions().at(1);
    EXPECT_EQ(b, second);
    EXPECT_EQ(mgr->Blocks().back(), (TMemBlock{second + 1000, 15384, 1, false}));
    // A small request goes to the first free block that fits: the tail of region 0.
    EXPECT_EQ(mgr->AllocMem(100), a + 16000);
}

TEST_F(ForeignMemMgrTest, FreeMergesWithFreeBlocksBehindButNotInFront)
{
    const RemoteAddress a = mgr->AllocMem(100);
    const RemoteAddress b = mgr->AllocMem(200);
    const RemoteAddress c = mgr->AllocMem(300);
    const RemoteAddress base = a;

    mgr->FreeMem(b);  // c still used behind it: nothing to merge
    mgr->FreeMem(a);  // absorbs the free b
    EXPECT_EQ(mgr->Blocks(), (std::vector<TMemBlock>{{base, 300, 0, false},
                                                     {c, 300, 0, true},
                                                     {c + 300, 16384 - 600, 0, false}}));

    // Now the other way round: the freed block has a free block in front of it, which stays apart.
    FakeAddressSpace space2;
    TForeignProcessMemMgr m2(MakeFakeRemote(space2));
    const RemoteAddress x = m2.AllocMem(100);
    const RemoteAddress y = m2.AllocMem(200);
    m2.AllocMem(300);
    m2.FreeMem(x);
    m2.FreeMem(y);
    const std::vector<TMemBlock> blocks = m2.Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0], (TMemBlock{x, 100, 0, false}));
    EXPECT_EQ(blocks[1], (TMemBlock{y, 200, 0, false}));
}

TEST_F(ForeignMemMgrTest, FreeDoesNotMergeAcrossRegions)
{
    mgr->AllocMem(16384);                        // fills region 0
    const RemoteAddress b = mgr->AllocMem(100);  // region 1
    const RemoteAddress first = mgr->Regions().at(0);
    // The whole of region 1 comes back as one block once its only block is freed.
    mgr->FreeMem(b);
    EXPECT_EQ(mgr->Blocks().back(), (TMemBlock{b, 16384, 1, false}));
    // Region 0's block is followed by a free block, but of another region: they stay apart.
    mgr->FreeMem(first);
    EXPECT_EQ(mgr->Blocks(), (std::vector<TMemBlock>{{first, 16384, 0, false}, {b, 16384, 1, false}}));
}

TEST_F(ForeignMemMgrTest, FreedSpaceIsReused)
{
    const RemoteAddress a = mgr->AllocMem(256);
    mgr->AllocMem(40);
    mgr->FreeMem(a);
    EXPECT_EQ(mgr->AllocMem(200), a);
    EXPECT_EQ(mgr->AllocMem(56), a + 200);
    EXPECT_EQ(space.reserved.size(), 1u);
}

TEST_F(ForeignMemMgrTest, UnknownPointerIsAnAssertionFailure)
{
    const RemoteAddress a = mgr->AllocMem(100);
    try {
        mgr->FreeMem(a + 1);
        FAIL() << "no error";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "ProcessMemMgr.FreeMem: unknown pointer");
    }
    EXPECT_THROW(TForeignProcessMemMgr(MakeFakeRemote(space)).FreeMem(a), EAssertionFailed);
}

TEST_F(ForeignMemMgrTest, ZeroByteRequestsGetDistinctBlocks)
{
    const RemoteAddress a = mgr->AllocMem(0);
    const RemoteAddress b = mgr->AllocMem(0);
    EXPECT_NE(a, b);
    mgr->FreeMem(a);
    mgr->FreeMem(b);
    EXPECT_EQ(mgr->Blocks().size(), 2u);  // a stays apart from the merged b + rest
}

TEST_F(ForeignMemMgrTest, FailuresOfTheSystemAndImpossibleSizes)
{
    space.failReserve = true;
    try {
        mgr->AllocMem(10);
        FAIL() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), 8u);
        EXPECT_EQ(std::string(e.what()),
                  "System Error.  Code: 8.\r\nNot enough memory resources are available to process this command.");
    }
    EXPECT_TRUE(mgr->Blocks().empty());
    space.failReserve = false;
    try {
        mgr->AllocMem(0xFFFFF001u);  // its region would not fit in 32 bits
        FAIL() << "no error";
    } catch (const EProcessMemMgr& e) {
        EXPECT_STREQ(e.what(), "ProcessMemMgr.AllocMem: not enough memory");
    }
}

TEST_F(ForeignMemMgrTest, DestructionReleasesEveryRegion)
{
    mgr->AllocMem(20000);
    mgr->AllocMem(16384);
    const std::vector<RemoteAddress> regions = mgr->Regions();
    mgr.reset();
    EXPECT_EQ(space.released, regions);
    EXPECT_TRUE(space.regions.empty());
}

TEST_F(ForeignMemMgrTest, ReadStrStopsAtThePageHoldingTheNul)
{
    // A 10-byte string starting 3 bytes before a page end; the page after the next one is unreadable.
    space.MapPages(0x10000, 0x2000);
    const RemoteAddress start = 0x11000 - 3;
    space.WriteString(start, "0123456789");
    space.reads.clear();
    EXPECT_EQ(mgr->ReadStr(start, 0x2000), "0123456789");
    const std::vector<std::pair<RemoteAddress, std::size_t>> expected{{start, 3}, {0x11000, 4096}};
    EXPECT_EQ(space.reads, expected);

    // Ending right at the last byte of a readable page: the page behind it is never touched.
    space.WriteString(0x12000 - 5, "abcd");
    EXPECT_EQ(mgr->ReadStr(0x12000 - 5, 1024), "abcd");
}

TEST_F(ForeignMemMgrTest, ReadStrOfNullAndEmptyAndUnterminated)
{
    space.reads.clear();
    EXPECT_EQ(mgr->ReadStr(0, 1024), "");
    EXPECT_TRUE(space.reads.empty());

    space.MapPages(0x20000, 0x1000);
    space.WriteString(0x20010, "");
    EXPECT_EQ(mgr->ReadStr(0x20010, 1024), "");

    // No NUL before an unreadable page: the system's error comes out.
    std::vector<char> filler(0x1000, 'x');
    space.Write(filler.data(), 0x20000, filler.size());
    EXPECT_THROW(mgr->ReadStr(0x20000, 0x2000), EOSError);
}

TEST_F(ForeignMemMgrTest, ReadStrNeverReadsPastItsBound)
{
    // Pages full of text without a NUL, as a pointer the target hands us may lead to: the bound ends the string
    // and nothing beyond it is read, even where more pages could be read.
    space.MapPages(0x30000, 0x4000);
    const std::vector<char> filler(0x4000, 'x');
    space.Write(filler.data(), 0x30000, filler.size());
    space.reads.clear();
    EXPECT_EQ(mgr->ReadStr(0x30000, 1024), std::string(1024, 'x'));
    std::size_t bytesRead = 0;
    for (const auto& [address, n] : space.reads) {
        EXPECT_LT(address, 0x30000u + 1024);
        bytesRead += n;
    }
    EXPECT_EQ(bytesRead, 1024u);

    // A bound that ends in the second page: the reads stop exactly there.
    space.reads.clear();
    EXPECT_EQ(mgr->ReadStr(0x31000 - 3, 10), std::string(10, 'x'));
    const std::vector<std::pair<RemoteAddress, std::size_t>> expected{{0x31000 - 3, 3}, {0x31000, 7}};
    EXPECT_EQ(space.reads, expected);

    // A NUL inside the bound still ends the string there; one right behind it is not needed.
    space.WriteString(0x32000, "short");
    EXPECT_EQ(mgr->ReadStr(0x32000, 64), "short");
    space.WriteString(0x33000, "0123456789");
    EXPECT_EQ(mgr->ReadStr(0x33000, 10), "0123456789");
    EXPECT_EQ(mgr->ReadStr(0x33000, 4), "0123");
}

TEST_F(ForeignMemMgrTest, AbandonedMemoryIsNeverGivenBack)
{
    mgr->AllocMem(256);
    mgr->AllocMem(40000);
    ASSERT_EQ(space.regions.size(), 2u);
    mgr->AbandonAll();
    EXPECT_TRUE(mgr->Blocks().empty());
    mgr.reset();
    EXPECT_TRUE(space.released.empty()) << "no call into the target once its memory is abandoned";
    EXPECT_EQ(space.regions.size(), 2u);
}

TEST_F(ForeignMemMgrTest, TransfersGoToTheTarget)
{
    const RemoteAddress a = mgr->AllocMem(64);
    mgr->WriteStr("news", a);
    char back[5] = {};
    mgr->ReadMem(a, back, 5);
    EXPECT_EQ(std::memcmp(back, "news", 5), 0);  // the NUL went across too
    EXPECT_THROW(mgr->ReadMem(0x10, back, 1), EOSError);
    EXPECT_THROW(mgr->WriteMem(back, 0x10, 1), EOSError);
}

TEST(OwnMemMgrTest, PlainCopiesAndTracking)
{
    TOwnProcessMemMgr mgr;
    const RemoteAddress a = mgr.AllocMem(16);
    const RemoteAddress b = mgr.AllocMem(0);
    EXPECT_NE(a, b);
    const auto* block = reinterpret_cast<const char*>(a);
    EXPECT_EQ(std::string(block, 16), std::string(16, '\0'));  // zero-filled
    mgr.WriteStr("Headline", a);
    EXPECT_EQ(mgr.ReadStr(a, 64), "Headline");
    EXPECT_EQ(mgr.ReadStr(0, 64), "");
    EXPECT_EQ(mgr.ReadStr(a, 4), "Head");
    char copy[4];
    mgr.ReadMem(a, copy, 4);
    EXPECT_EQ(std::string(copy, 4), "Head");
    EXPECT_EQ(mgr.BlockCount(), 2u);
    mgr.FreeMem(a);
    EXPECT_EQ(mgr.BlockCount(), 1u);
    EXPECT_THROW(mgr.FreeMem(a), EAssertionFailed);
}

TEST(OSErrorTest, MessageFormat)
{
    EXPECT_EQ(FormatOSErrorMessage(5, "Access is denied."), "System Error.  Code: 5.\r\nAccess is denied.");
    // Codes are shown as signed numbers, as the error box always has.
    EXPECT_EQ(FormatOSErrorMessage(0x80004005u, "x"), "System Error.  Code: -2147467259.\r\nx");
}

}  // namespace
