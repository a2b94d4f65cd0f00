// The window's key icon, read back from the icon file the window stores.
#include "KeyIcon.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <set>

namespace zanthera::art {
namespace {

constexpr std::uint32_t black = 0x000000, darkGrey = 0x808080, lightGrey = 0xC0C0C0,
                        white = 0xFFFFFF;

std::vector<DecodedIconImage> storedIcon() {
    const Result<ImageFile> file = encodeIcon(drawKeyIcon());
    EXPECT_TRUE(file) << file.error().message;
    if (!file)
        return {};
    EXPECT_EQ(file->size(), 1078u);
    const auto images = decodeIcon(*file);
    EXPECT_TRUE(images) << images.error().message;
    return images ? *images : std::vector<DecodedIconImage>{};
}

bool opaque(const IconImage& image, int x, int y) {
    return image.picture.contains(x, y) &&
           !image.transparent[std::size_t(y * image.picture.width + x)];
}

TEST(KeyIcon, HoldsA32AndA16PixelImageWithTheStandardPalette) {
    const auto images = storedIcon();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image.picture.width, 32);
    EXPECT_EQ(images[1].image.picture.width, 16);
    for (const DecodedIconImage& image : images) {
        EXPECT_EQ(image.bitsPerPixel, 4);
        EXPECT_EQ(image.palette,
                  std::vector<std::uint32_t>(windowsPalette().begin(), windowsPalette().end()));
    }
}

TEST(KeyIcon, SpansTheFullWidthOverItsRowsAndIsTransparentElsewhere) {
    struct Case {
        int size, firstRow, lastRow;
    };
    const auto images = storedIcon();
    ASSERT_EQ(images.size(), 2u);
    const Case cases[] = {{32, 8, 23}, {16, 4, 11}};
    for (std::size_t i = 0; i < 2; ++i) {
        const IconImage& image = images[i].image;
        SCOPED_TRACE(cases[i].size);
        int left = 99, right = -1, top = 99, bottom = -1;
        for (int y = 0; y < image.picture.height; ++y)
            for (int x = 0; x < image.picture.width; ++x)
                if (opaque(image, x, y)) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        EXPECT_EQ(left, 0);
        EXPECT_EQ(right, cases[i].size - 1);
        EXPECT_EQ(top, cases[i].firstRow);
        EXPECT_EQ(bottom, cases[i].lastRow);
    }
}

TEST(KeyIcon, UsesBlackBothGreysAndWhiteOnly) {
    for (const DecodedIconImage& decoded : storedIcon()) {
        const IconImage& image = decoded.image;
        std::set<std::uint32_t> used;
        for (int y = 0; y < image.picture.height; ++y)
            for (int x = 0; x < image.picture.width; ++x)
                if (opaque(image, x, y))
                    used.insert(image.picture.at(x, y));
        EXPECT_EQ(used, (std::set<std::uint32_t>{black, darkGrey, lightGrey, white}));
    }
}

// The bow and shaft alternate white and light grey pixel by pixel, and a black outline keeps
// that metal from ever touching the transparent surround.
TEST(KeyIcon, MetalIsACheckerboardInsideABlackOutline) {
    for (const DecodedIconImage& decoded : storedIcon()) {
        const IconImage& image = decoded.image;
        for (int y = 0; y < image.picture.height; ++y) {
            for (int x = 0; x < image.picture.width; ++x) {
                const std::uint32_t c = image.picture.at(x, y);
                if (!opaque(image, x, y) || (c != white && c != lightGrey))
                    continue;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    ASSERT_TRUE(opaque(image, x + dx, y + dy)) << "metal at " << x << "," << y;
                    if (c == white) {
                        EXPECT_NE(image.picture.at(x + dx, y + dy), white) << x << "," << y;
                    }
                }
            }
        }
    }
}

// Below the key lies its shadow: the lowest opaque pixel of every column is dark grey.
TEST(KeyIcon, DarkGreyShadowFallsBelowTheKey) {
    for (const DecodedIconImage& decoded : storedIcon()) {
        const IconImage& image = decoded.image;
        for (int x = 0; x < image.picture.width; ++x) {
            int lowest = -1;
            for (int y = 0; y < image.picture.height; ++y)
                lowest = opaque(image, x, y) ? y : lowest;
            ASSERT_GE(lowest, 0) << "column " << x;
            EXPECT_EQ(image.picture.at(x, lowest), darkGrey) << "column " << x;
        }
    }
}

// The installed desktop icons show the same key: the two smallest sizes are the window's pixels
// exactly, and every larger one, sampled on the pixel art's grid, covers the same silhouette.
TEST(KeyIcon, DesktopIconsAtEverySizeAreTheWindowsKey) {
    const auto key = drawKeyIcon();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon(
            QStringLiteral(ZANTHERA_ICON_DIR "/%1x%1/apps/" ZANTHERA_APP_ID ".png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size));
        const bool drawnBySvg = size != 16 && size != 32;
        const IconImage& art = key[size == 16 ? 1 : 0];
        const int grid = art.picture.width;
        int both = 0, either = 0;
        for (int y = 0; y < grid; ++y) {
            for (int x = 0; x < grid; ++x) {
                const QRgb pixel =
                    icon.pixel((2 * x + 1) * size / (2 * grid), (2 * y + 1) * size / (2 * grid));
                const bool shown = qAlpha(pixel) >= 128;
                both += shown && opaque(art, x, y);
                either += shown || opaque(art, x, y);
                if (!drawnBySvg && opaque(art, x, y)) {
                    EXPECT_EQ(pixel, 0xFF000000u | art.picture.at(x, y)) << x << "," << y;
                }
            }
        }
        EXPECT_GE(double(both) / either, drawnBySvg ? 0.9 : 1.0);
    }
}

} // namespace
} // namespace zanthera::art
