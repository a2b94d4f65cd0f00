// The window's picture files, byte by byte and as an independent reader (Qt's) sees them, and a
// reader of our own that refuses anything cut short or altered in a field it relies on.
#include "Form1/WindowModel.h"
#include "ImageEncoders.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <array>

namespace zanthera {
namespace {

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

// A square icon image that uses every palette colour and leaves a diagonal transparent (which
// reads back as black).
IconImage sample(int size) {
    IconImage image{PixelBuffer::filled(size, size, 0),
                    std::vector<bool>(std::size_t(size * size), false)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (x != y)
                image.picture.set(x, y, windowsPalette()[std::size_t(x + 3 * y) % 16]);
            else
                image.transparent[std::size_t(y * size + x)] = true;
    return image;
}

QImage readByQt(const ImageFile& file, const char* format, int image = 0) {
    QByteArray bytes(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, format);
    reader.jumpToImage(image);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// A pixel as Qt shows it: opaque colour, or 0 where the mask lets the background through.
QRgb shown(const IconImage& image, int x, int y) {
    return image.transparent[std::size_t(y * image.picture.width + x)]
               ? 0u
               : 0xFF000000u | image.picture.at(x, y);
}

// Read back whole by both readers; cut short anywhere, refused by ours.
TEST(BitmapFile, QtAndOurReaderReadBackWhatWasWrittenAndOursRefusesEveryTruncation) {
    for (auto [width, height, depth] : {std::tuple{1, 1, BitmapDepth::Bits24},
                                        {3, 5, BitmapDepth::Bits24},
                                        {7, 2, BitmapDepth::Bits32},
                                        {126, 51, BitmapDepth::Bits32}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const PixelBuffer p = pattern(width, height);
        const ImageFile file = encodeBitmap(p, depth).value();
        const Result<DecodedBitmap> back = decodeBitmap(file);
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_EQ(back->depth, depth);
        EXPECT_EQ(back->picture, p);
        const QImage qt = readByQt(file, "bmp");
        ASSERT_EQ(qt.size(), QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(qt.pixel(x, y) & 0xFFFFFFu, p.at(x, y)) << x << "," << y;
        for (std::size_t length = 0; length < file.size(); ++length)
            ASSERT_FALSE(decodeBitmap(std::span(file).first(length))) << "length " << length;
    }
}

// The directory (two 16-colour images at 4 bits, of 744 and 296 bytes), the first image's header
// (height doubled for the mask) and the standard Windows palette, blue-green-red.
TEST(IconFile, ListsItsDirectoryAndTheStandardPalette) {
    const std::array images{sample(32), sample(16)};
    const ImageFile f = encodeIcon(images).value();
    ASSERT_EQ(f.size(), 1078u);
    // clang-format off
    const std::vector<std::uint8_t> expected{
        0, 0, 1, 0, 2, 0,                                                  // directory
        32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 38, 0, 0, 0,
        16, 16, 16, 0, 1, 0, 4, 0, 0x28, 1, 0, 0, 0x0E, 3, 0, 0,
        40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 4, 0,                 // first image
        0, 0, 0, 0, 0x80, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0x80, 0, 0, 0, 0x80, 0x80, 0,        // palette
        0x80, 0, 0, 0, 0x80, 0, 0x80, 0, 0x80, 0x80, 0, 0, 0xC0, 0xC0, 0xC0, 0,
        0x80, 0x80, 0x80, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0,
        0xFF, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    // clang-format on
    EXPECT_TRUE(std::ranges::equal(std::span(f).first(expected.size()), expected));
}

TEST(IconFile, QtAndOurReaderReadBackPixelsAndMaskAndOursRefusesEveryTruncation) {
    const std::array images{sample(32), sample(16)};
    const ImageFile f = encodeIcon(images).value();
    const auto back = decodeIcon(f);
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(*back, std::vector<IconImage>(images.begin(), images.end()));
    for (int i = 0; i < 2; ++i) {
        const QImage qt = readByQt(f, "ico", i);
        const PixelBuffer& p = images[std::size_t(i)].picture;
        ASSERT_EQ(qt.size(), QSize(p.width, p.height));
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(qt.pixel(x, y), shown(images[std::size_t(i)], x, y)) << x << "," << y;
    }
    for (std::size_t length = 0; length < f.size(); ++length)
        ASSERT_FALSE(decodeIcon(std::span(f).first(length))) << "length " << length;
}

} // namespace
} // namespace zanthera
