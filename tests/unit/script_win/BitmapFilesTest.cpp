// A script's bitmap read from and written as .bmp files: what is written reads back the same, the common kinds of
// file read, and a file whose sizes or tables do not fit its length is refused with the picture left as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "script/win/WinScriptBitmap.h"

namespace pelo::script {
namespace {

void Put(std::string& b, size_t at, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) b[at + static_cast<size_t>(k)] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// A file of `width` x `height` pixels at `bits` bits, with a colour table of `colours` entries (blue, then red...)
// and every pixel byte set to `fill`.
std::string BmpFile(int32_t width, int32_t height, uint16_t bits, uint32_t colours, uint8_t fill) {
    const uint32_t stride = ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const uint32_t pixelsAt = 54 + colours * 4;
    std::string b(pixelsAt + stride * rows, static_cast<char>(fill));
    b[0] = 'B';
    b[1] = 'M';
    Put(b, 2, static_cast<uint32_t>(b.size()), 4);
    Put(b, 6, 0, 4);
    Put(b, 10, pixelsAt, 4);
    Put(b, 14, 40, 4);
    Put(b, 18, static_cast<uint32_t>(width), 4);
    Put(b, 22, static_cast<uint32_t>(height), 4);
    Put(b, 26, 1, 2);
    Put(b, 28, bits, 2);
    Put(b, 30, 0, 4);
    Put(b, 34, 0, 4);
    Put(b, 38, 0, 8);
    Put(b, 46, colours, 4);
    Put(b, 50, 0, 4);
    for (uint32_t k = 0; k < colours; ++k) Put(b, 54 + k * 4, k == 0 ? 0x0000FFu : 0xFF0000u, 4);
    return b;
}

struct Bitmaps : ::testing::Test {
    WinScriptWindows::Setup setup;
    lang::HostClass bitmapClass{"TBitmap", "TGraphic"};
    Held<WinScriptBitmap> bitmap{&bitmapClass, setup};
    int32_t Pixel(int x, int y) { return bitmap->Canvas().Pixel(x, y); }
};

TEST_F(Bitmaps, WhatIsWrittenReadsBackTheSameAndNewRoomIsWhite) {
    bitmap->SetSize(5, 3);
    bitmap->Canvas().SetPixel(0, 0, 0x0000FF);
    bitmap->Canvas().SetPixel(4, 2, 0x00FF00);
    const std::string file = bitmap->ToBmp();
    ASSERT_EQ(file.size(), 54u + 16u * 3u) << "24 bits a pixel, rows padded to 4 bytes";

    Held<WinScriptBitmap> other{&bitmapClass, setup};
    ASSERT_TRUE(other->FromBmp(file));
    EXPECT_EQ(other->Width(), 5);
    EXPECT_EQ(other->Height(), 3);
    EXPECT_EQ(other->Canvas().Pixel(0, 0), 0x0000FF) << "rows stored bottom-up come back top-down";
    EXPECT_EQ(other->Canvas().Pixel(4, 2), 0x00FF00);
    EXPECT_EQ(other->Canvas().Pixel(2, 1), 0xFFFFFF);

    // Growing keeps what fits; the new room is white.
    bitmap->SetSize(8, 4);
    EXPECT_EQ(Pixel(0, 0), 0x0000FF);
    EXPECT_EQ(Pixel(7, 3), 0xFFFFFF);
    // One side at 0: no pixels, but the other side stays as set.
    bitmap->SetSize(0, 4);
    EXPECT_EQ(bitmap->Height(), 4);
    EXPECT_EQ(bitmap->ToBmp().size(), 54u);
}

TEST_F(Bitmaps, PalettedAndTopDownFilesRead) {
    // 8 bits with two colours: every pixel is colour 1 (red).
    ASSERT_TRUE(bitmap->FromBmp(BmpFile(3, 2, 8, 2, 1)));
    EXPECT_EQ(Pixel(2, 1), 0x0000FF);
    // 1 bit, top-down, no colours named: the full table of 2.
    ASSERT_TRUE(bitmap->FromBmp(BmpFile(9, -2, 1, 2, 0x00)));
    EXPECT_EQ(bitmap->Width(), 9);
    EXPECT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(Pixel(8, 0), 0xFF0000) << "colour 0 of the table is blue";
}

TEST_F(Bitmaps, FilesThatDoNotFitTheirLengthAreRefusedAndThePictureStays) {
    bitmap->SetSize(2, 2);
    bitmap->Canvas().SetPixel(1, 1, 0x123456);
    const std::string good = BmpFile(4, 4, 24, 0, 0x80);
    std::string truncated = good.substr(0, good.size() - 1);
    std::string tableBeyond = BmpFile(4, 4, 8, 0, 0);
    Put(tableBeyond, 46, 256, 4);
    tableBeyond.resize(54 + 100);  // the table of 256 does not fit
    std::string huge = good;
    Put(huge, 18, 30000, 4);
    Put(huge, 22, 30000, 4);
    std::string compressed = good;
    Put(compressed, 30, 1, 4);  // BI_RLE8
    std::string tooManyColours = BmpFile(2, 2, 4, 17, 0);
    std::string pixelsInsideHeader = good;
    Put(pixelsInsideHeader, 10, 20, 4);
    std::string wrongPlanes = good;
    Put(wrongPlanes, 26, 2, 2);
    for (const std::string& bad : {truncated, tableBeyond, huge, compressed, tooManyColours, pixelsInsideHeader,
                                   wrongPlanes, std::string("BM"), std::string()}) {
        EXPECT_FALSE(bitmap->FromBmp(bad));
        EXPECT_EQ(bitmap->Width(), 2);
        EXPECT_EQ(Pixel(1, 1), 0x123456);
    }
    EXPECT_TRUE(bitmap->FromBmp(good)) << "the same file, whole";
}

}  // namespace
}  // namespace pelo::script
