// Icon files: a directory of 4-bit images with the standard palette and a transparency mask.
#include "Form1/ImageFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace zanthera {
namespace {

// A square image that uses every palette colour and leaves a diagonal transparent.
IconImage sample(int size) {
    IconImage image{PixelBuffer::filled(size, size, 0),
                    std::vector<bool>(std::size_t(size * size), false)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.picture.set(x, y, windowsPalette()[std::size_t(x + 3 * y) % 16]);
            if (x == y) {
                image.transparent[std::size_t(y * size + x)] = true;
                image.picture.set(x, y, 0); // a transparent pixel reads back as black
            }
        }
    }
    return image;
}

std::uint32_t le32(const ImageFile& f, std::size_t at) {
    return std::uint32_t(f[at]) | std::uint32_t(f[at + 1]) << 8 | std::uint32_t(f[at + 2]) << 16 |
           std::uint32_t(f[at + 3]) << 24;
}

TEST(IconFile, LargeAndSmallImageTakeExactly1078Bytes) {
    const std::array images{sample(32), sample(16)};
    const Result<ImageFile> f = encodeIcon(images);
    ASSERT_TRUE(f) << f.error().message;
    EXPECT_EQ(f->size(), 1078u);
}

TEST(IconFile, DirectoryListsEachImageWithItsSizeAndPlace) {
    const std::array images{sample(32), sample(16)};
    const ImageFile f = encodeIcon(images).value();
    struct Entry {
        std::size_t at;
        std::uint8_t size;
        std::uint32_t bytes, offset;
    };
    // 40-byte header, 16 palette entries, 4-bit rows, then 1-bit mask rows of 4 bytes each.
    const Entry entries[] = {{6, 32, 40 + 64 + 32 * 16 + 32 * 4, 38},
                             {22, 16, 40 + 64 + 16 * 8 + 16 * 4, 38 + 744}};
    EXPECT_EQ(f[2], 1); // an icon
    EXPECT_EQ(f[4], 2); // two images
    for (const Entry& e : entries) {
        EXPECT_EQ(f[e.at], e.size);
        EXPECT_EQ(f[e.at + 1], e.size);
        EXPECT_EQ(f[e.at + 2], 16); // colours
        EXPECT_EQ(f[e.at + 6], 4);  // bits per pixel
        EXPECT_EQ(le32(f, e.at + 8), e.bytes);
        EXPECT_EQ(le32(f, e.at + 12), e.offset);
        EXPECT_EQ(le32(f, e.offset + 8), 2u * e.size); // colour rows and mask rows
    }
}

TEST(IconFile, ReadsBackPixelsMaskAndTheStandardPalette) {
    const std::array images{sample(32), sample(16)};
    const auto back = decodeIcon(encodeIcon(images).value());
    ASSERT_TRUE(back) << back.error().message;
    ASSERT_EQ(back->size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ((*back)[i].bitsPerPixel, 4);
        EXPECT_EQ((*back)[i].palette,
                  std::vector<std::uint32_t>(windowsPalette().begin(), windowsPalette().end()));
        EXPECT_EQ((*back)[i].image, images[i]);
    }
}

TEST(IconFile, PaletteIsTheStandardWindowsOne) {
    const std::array<std::uint32_t, 16> expected{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    EXPECT_EQ(windowsPalette(), expected);
}

TEST(IconFile, EncoderRefusesWhatItCannotStore) {
    IconImage offPalette = sample(16);
    offPalette.picture.set(1, 0, 0x123456);
    IconImage shortMask = sample(16);
    shortMask.transparent.pop_back();
    const IconImage tooLarge{PixelBuffer::filled(300, 300, 0), std::vector<bool>(90000, false)};
    for (const IconImage& bad : {offPalette, shortMask, tooLarge})
        EXPECT_FALSE(encodeIcon(std::span(&bad, 1)));
    EXPECT_FALSE(encodeIcon({}));
}

TEST(IconFile, ReaderRefusesEveryTruncation) {
    const std::array images{sample(32), sample(16)};
    const ImageFile f = encodeIcon(images).value();
    for (std::size_t length = 0; length < f.size(); ++length)
        EXPECT_FALSE(decodeIcon(std::span(f).first(length))) << "length " << length;
}

TEST(IconFile, ReaderRefusesAnAlteredDirectoryOrImageHeader) {
    const std::array images{sample(32), sample(16)};
    const ImageFile original = encodeIcon(images).value();
    // The directory, then the first image's header fields the reader checks: size, width,
    // height, planes, depth, compression and colours used.
    std::vector<std::size_t> checked;
    for (std::size_t at = 0; at < 38; ++at)
        checked.push_back(at);
    for (std::size_t at : {0, 1, 4, 5, 8, 9, 12, 13, 14, 16, 32, 33})
        checked.push_back(38 + at);
    for (std::size_t at : checked) {
        ImageFile f = original;
        f[at] ^= 0x41;
        EXPECT_FALSE(decodeIcon(f)) << "byte " << at;
    }
}

} // namespace
} // namespace zanthera
