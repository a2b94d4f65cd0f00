// The picture files as the build draws them: one per picture, in the right format and size; and
// the key icon, in the window and on the desktop.
#include "Artwork.h"
#include "KeyIcon.h"

#include "Form1/ControlTable.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace zanthera::art {
namespace {

std::map<std::string, ImageFile> drawnFiles() {
    const Result<std::vector<Picture>> pictures = drawArtwork();
    EXPECT_TRUE(pictures) << pictures.error().message;
    std::map<std::string, ImageFile> out;
    if (pictures)
        for (const Picture& p : *pictures)
            out[p.fileName] = p.bytes;
    return out;
}

// One file per picture, named after its control: the buttons' pictures are 32-bit bitmaps of their
// table size, the background a 24-bit bitmap, and the icon holds two images. (The files' exact
// layout is pinned by the picture file tests.)
TEST(Artwork, WritesOneFilePerPictureInItsFormatAndSize) {
    const auto files = drawnFiles();
    EXPECT_EQ(files.size(), 21u);
    for (const design::ControlRow& row : design::controls) {
        if (row.role != design::Role::Button)
            continue;
        SCOPED_TRACE(std::string(row.name));
        ASSERT_TRUE(files.contains(std::string(row.name) + ".bmp"));
        const ImageFile& file = files.at(std::string(row.name) + ".bmp");
        const Result<DecodedBitmap> bitmap = decodeBitmap(file);
        ASSERT_TRUE(bitmap) << bitmap.error().message;
        EXPECT_EQ(bitmap->depth, BitmapDepth::Bits32);
        EXPECT_EQ(bitmap->picture.width, row.picture.width);
        EXPECT_EQ(bitmap->picture.height, row.picture.height);
    }
    ASSERT_TRUE(files.contains("Form1.bmp") && files.contains("Form1.ico"));
    const Result<DecodedBitmap> background = decodeBitmap(files.at("Form1.bmp"));
    ASSERT_TRUE(background) << background.error().message;
    EXPECT_EQ(background->depth, BitmapDepth::Bits24);
    EXPECT_EQ(background->picture.width, 426);
    EXPECT_EQ(background->picture.height, 509);
    EXPECT_EQ(files.at("Form1.ico").size(), 1078u);
    const auto icon = decodeIcon(files.at("Form1.ico"));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->size(), 2u);
}

constexpr std::uint32_t black = 0x000000, darkGrey = 0x808080, lightGrey = 0xC0C0C0,
                        white = 0xFFFFFF;

bool opaque(const IconImage& image, int x, int y) {
    return image.picture.contains(x, y) &&
           !image.transparent[std::size_t(y * image.picture.width + x)];
}

// A 32 and a 16 pixel key across the full width over the middle rows, transparent elsewhere, in
// black, both greys and white only. The bow and shaft alternate white and light grey pixel by
// pixel inside a black outline that keeps the metal from touching the transparent surround, and
// below the key lies its shadow: the lowest opaque pixel of every column is dark grey.
TEST(KeyIcon, IsACheckeredKeyOutlinedInBlackOverADarkGreyShadow) {
    struct Case {
        int size, firstRow, lastRow;
    };
    const Case cases[] = {{32, 8, 23}, {16, 4, 11}};
    const auto key = drawKeyIcon();
    for (std::size_t i = 0; i < 2; ++i) {
        const IconImage& image = key[i];
        const int size = cases[i].size;
        SCOPED_TRACE(size);
        ASSERT_EQ(image.picture.width, size);
        std::set<std::uint32_t> used;
        int top = size, bottom = -1;
        for (int x = 0; x < size; ++x) {
            int lowest = -1;
            for (int y = 0; y < size; ++y) {
                if (!opaque(image, x, y))
                    continue;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                lowest = y;
                const std::uint32_t c = image.picture.at(x, y);
                used.insert(c);
                if (c != white && c != lightGrey)
                    continue;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    ASSERT_TRUE(opaque(image, x + dx, y + dy)) << "metal at " << x << "," << y;
                    EXPECT_TRUE(c != white || image.picture.at(x + dx, y + dy) != white)
                        << x << "," << y;
                }
            }
            ASSERT_GE(lowest, 0) << "column " << x;
            EXPECT_EQ(image.picture.at(x, lowest), darkGrey) << "column " << x;
        }
        EXPECT_EQ(used, (std::set<std::uint32_t>{black, darkGrey, lightGrey, white}));
        EXPECT_EQ(top, cases[i].firstRow);
        EXPECT_EQ(bottom, cases[i].lastRow);
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
