// Reading and scaling the pictures, and the UTF-16 boundary.
#include "platform/win32/Pictures.h"
#include "platform/win32/Utf16.h"

#include <gtest/gtest.h>

namespace zanthera::win32 {
namespace {

// A bitmap file of the given layout whose pixel (x, y) from the top is 0x00yyxx10.
std::vector<std::uint8_t> bitmapFile(int width, int height, int depth,
                                     std::uint32_t compression = 0) {
    const int rows = height < 0 ? -height : height;
    const std::size_t rowBytes = (std::size_t(width) * depth + 31) / 32 * 4;
    std::vector<std::uint8_t> file(54 + rowBytes * rows);
    auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            file[at + i] = std::uint8_t(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, std::uint32_t(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4);
    put(26, 1, 2);
    put(28, std::uint32_t(depth), 2);
    put(30, compression, 4);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            const int stored = height > 0 ? rows - 1 - y : y;
            put(54 + rowBytes * stored + std::size_t(x) * (depth / 8),
                0x10u | std::uint32_t(x) << 8 | std::uint32_t(y) << 16, 3);
        }
    return file;
}

TEST(Pictures, ReadBitmapsOfEitherRowOrderAndRefuseAnythingElse) {
    for (int depth : {24, 32})
        for (int height : {3, -3}) {
            const auto picture = readBitmapFile(bitmapFile(5, height, depth));
            ASSERT_TRUE(picture) << depth << " " << height;
            EXPECT_EQ(picture->width, 5);
            EXPECT_EQ(picture->height, 3);
            EXPECT_EQ(picture->pixels[2 * 5 + 4], 0x00020410u);
        }
    auto cut = bitmapFile(5, 3, 24);
    cut.pop_back();
    auto wrongMagic = bitmapFile(5, 3, 24);
    wrongMagic[0] = 'X';
    auto headerOnly = bitmapFile(5, 3, 24);
    headerOnly.resize(53);
    const std::vector<std::uint8_t> bad[] = {cut,
                                             wrongMagic,
                                             bitmapFile(5, 3, 8),
                                             bitmapFile(5, 3, 32, 3),
                                             bitmapFile(0, 3, 24),
                                             bitmapFile(5, 0, 24),
                                             {},
                                             headerOnly};
    for (const auto& file : bad)
        EXPECT_FALSE(readBitmapFile(file));
}

TEST(Pictures, ScaleWholeNumbersExactlyAndBlendOnlyAtFractionalSeams) {
    const Picture two{2, 1, {0x000000, 0xFFFFFF}};
    EXPECT_EQ(scalePicture(two, 4, 2).pixels,
              (std::vector<std::uint32_t>{0, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(scalePicture(two, 2, 1).pixels, two.pixels);
    // Four pixels to five (125 %): the outer new pixels are pure, the middle one is half and half.
    const Picture four{4, 1, {0x000000, 0x000000, 0xC8C8C8, 0xC8C8C8}};
    const auto five = scalePicture(four, 5, 1).pixels;
    EXPECT_EQ(five, (std::vector<std::uint32_t>{0, 0, 0x646464, 0xC8C8C8, 0xC8C8C8}));
}

TEST(Utf16, ConvertsBothWaysAndTellsTheReadingDirection) {
    const std::string arabic = "زانثيرا ver 0.1";
    EXPECT_EQ(narrow(widen(arabic)), arabic);
    EXPECT_EQ(widen(arabic).size(), 15u);
    EXPECT_TRUE(readsRightToLeft(widen("  75دقيقة")));
    EXPECT_TRUE(readsRightToLeft(widen(arabic)));
    EXPECT_FALSE(readsRightToLeft(widen("Zanthera زانثيرا")));
    EXPECT_FALSE(readsRightToLeft(L"12:30"));
}

} // namespace
} // namespace zanthera::win32
