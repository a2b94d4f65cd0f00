// Bitmap files as the window definition stores them: exact sizes, header fields, row order and
// padding, and a reader that refuses anything cut short or altered in a field it relies on.
#include "Form1/ImageFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace zanthera {
namespace {

std::uint32_t le32(const ImageFile& f, std::size_t at) {
    return std::uint32_t(f[at]) | std::uint32_t(f[at + 1]) << 8 | std::uint32_t(f[at + 2]) << 16 |
           std::uint32_t(f[at + 3]) << 24;
}
std::uint32_t le16(const ImageFile& f, std::size_t at) {
    return std::uint32_t(f[at]) | std::uint32_t(f[at + 1]) << 8;
}

// A picture whose every pixel differs from its neighbours, so that a misplaced row or a swapped
// channel shows.
PixelBuffer pattern(int width, int height) {
    PixelBuffer p = PixelBuffer::filled(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.set(x, y,
                  std::uint32_t(x * 7 + 1) % 256 << 16 | std::uint32_t(y * 13 + 2) % 256 << 8 |
                      std::uint32_t((x + y) * 3 + 5) % 256);
    return p;
}

struct SizeCase {
    int width, height;
    BitmapDepth depth;
    std::size_t fileSize;
};

TEST(BitmapFile, HasTheSizeOfItsHeadersAndPaddedRows) {
    const SizeCase cases[] = {
        {126, 51, BitmapDepth::Bits32, 25758},   {76, 31, BitmapDepth::Bits32, 9478},
        {56, 31, BitmapDepth::Bits32, 6998},     {28, 21, BitmapDepth::Bits32, 2406},
        {426, 509, BitmapDepth::Bits24, 651574}, {1, 1, BitmapDepth::Bits24, 58},
        {3, 2, BitmapDepth::Bits24, 78},         {1, 1, BitmapDepth::Bits32, 58},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const Result<ImageFile> file = encodeBitmap(pattern(c.width, c.height), c.depth);
        ASSERT_TRUE(file) << file.error().message;
        EXPECT_EQ(file->size(), c.fileSize);
        EXPECT_EQ(le32(*file, 2), c.fileSize);
    }
}

TEST(BitmapFile, HeaderDescribesAnUncompressedBottomUpPictureWithoutColourTable) {
    for (BitmapDepth depth : {BitmapDepth::Bits24, BitmapDepth::Bits32}) {
        const ImageFile f = encodeBitmap(pattern(5, 3), depth).value();
        EXPECT_EQ(f[0], 'B');
        EXPECT_EQ(f[1], 'M');
        EXPECT_EQ(le32(f, 6), 0u);
        EXPECT_EQ(le32(f, 10), 54u); // pixel data right after the two headers
        EXPECT_EQ(le32(f, 14), 40u); // the 40-byte information header
        EXPECT_EQ(le32(f, 18), 5u);  // width
        EXPECT_EQ(le32(f, 22), 3u);  // positive height: bottom row first
        EXPECT_EQ(le16(f, 26), 1u);  // planes
        EXPECT_EQ(le16(f, 28), static_cast<std::uint32_t>(depth));
        EXPECT_EQ(le32(f, 30), 0u); // no compression
        EXPECT_EQ(le32(f, 34), f.size() - 54);
        EXPECT_EQ(le32(f, 46), 0u); // no colour table
    }
}

TEST(BitmapFile, StoresTheBottomRowFirstInBlueGreenRedOrderWithZeroFill) {
    PixelBuffer p = PixelBuffer::filled(1, 2, 0);
    p.set(0, 0, 0x112233); // top
    p.set(0, 1, 0xAABBCC); // bottom
    const ImageFile f24 = encodeBitmap(p, BitmapDepth::Bits24).value();
    const ImageFile expected24{0xCC, 0xBB, 0xAA, 0, 0x33, 0x22, 0x11, 0};
    EXPECT_EQ(ImageFile(f24.begin() + 54, f24.end()), expected24);
    const ImageFile f32 = encodeBitmap(p, BitmapDepth::Bits32).value();
    const ImageFile expected32{0xCC, 0xBB, 0xAA, 0, 0x33, 0x22, 0x11, 0};
    EXPECT_EQ(ImageFile(f32.begin() + 54, f32.end()), expected32);
}

TEST(BitmapFile, ReadsBackWhatWasWritten) {
    const SizeCase cases[] = {{1, 1, BitmapDepth::Bits24, 0},
                              {3, 5, BitmapDepth::Bits24, 0},
                              {7, 2, BitmapDepth::Bits32, 0},
                              {126, 51, BitmapDepth::Bits32, 0}};
    for (const SizeCase& c : cases) {
        const PixelBuffer p = pattern(c.width, c.height);
        const Result<DecodedBitmap> back = decodeBitmap(encodeBitmap(p, c.depth).value());
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_EQ(back->depth, c.depth);
        EXPECT_EQ(back->picture, p);
        EXPECT_TRUE(back->fourthBytesZero);
    }
}

TEST(BitmapFile, ReaderReportsAFourthByteThatIsNotZero) {
    ImageFile f = encodeBitmap(pattern(2, 2), BitmapDepth::Bits32).value();
    f[54 + 4 + 3] = 1;
    const Result<DecodedBitmap> back = decodeBitmap(f);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->fourthBytesZero);
}

TEST(BitmapFile, EncoderRefusesInconsistentPictures) {
    PixelBuffer shortOfPixels = pattern(4, 4);
    shortOfPixels.pixels.pop_back();
    const PixelBuffer cases[] = {PixelBuffer{}, PixelBuffer::filled(0, 3, 0), shortOfPixels,
                                 PixelBuffer::filled(9000, 1, 0)};
    for (const PixelBuffer& p : cases)
        EXPECT_FALSE(encodeBitmap(p, BitmapDepth::Bits24));
}

TEST(BitmapFile, ReaderRefusesEveryTruncation) {
    const ImageFile f = encodeBitmap(pattern(5, 3), BitmapDepth::Bits24).value();
    for (std::size_t length = 0; length < f.size(); ++length)
        EXPECT_FALSE(decodeBitmap(std::span(f).first(length))) << "length " << length;
}

// Fields the reader does not rely on: reserved bytes, the image size (a writer may leave it 0),
// the resolution and the count of important colours.
const std::set<std::size_t> ignoredHeaderBytes{6,  7,  8,  9,  34, 35, 36, 37, 38, 39,
                                               40, 41, 42, 43, 44, 45, 50, 51, 52, 53};

TEST(BitmapFile, ReaderRefusesAnAlteredHeaderField) {
    for (BitmapDepth depth : {BitmapDepth::Bits24, BitmapDepth::Bits32}) {
        const ImageFile original = encodeBitmap(pattern(6, 4), depth).value();
        for (std::size_t at = 0; at < 54; ++at) {
            for (int value : {0x00, 0x01, 0x7F, 0xFF}) {
                if (ignoredHeaderBytes.count(at) || original[at] == value)
                    continue;
                ImageFile f = original;
                f[at] = static_cast<std::uint8_t>(value);
                EXPECT_FALSE(decodeBitmap(f)) << "byte " << at << " set to " << value;
            }
        }
    }
}

} // namespace
} // namespace zanthera
