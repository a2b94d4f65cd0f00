// The words on the buttons: centred, of the right height, inside what the button shows, and in
// the lettering's colours; and the exit button's X.
#include "Lettering.h"
#include "ArtTestSupport.h"
#include "Artwork.h"
#include "Plates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace zanthera::art {
namespace {

using testing::Box;
using testing::brightness;
using testing::buttons;
using testing::differingBox;
using testing::fonts;

constexpr int twipsPerPixel = 15;
// The button's own raised border covers this much of the picture along each edge.
constexpr int buttonBorder = 2;

bool isExitButton(const design::ControlRow& row) {
    return row.name == "Command8";
}

struct Lettered {
    PixelBuffer picture;
    PixelBuffer plate;
    Box ink;
};

Lettered drawLettered(const design::ControlRow& row) {
    const Result<PixelBuffer> picture = drawButton(row, fonts());
    EXPECT_TRUE(picture) << picture.error().message;
    Lettered out{
        picture ? *picture : PixelBuffer{}, drawPlate(plateStyleFor(row.picture), row.picture), {}};
    out.ink = differingBox(out.picture, out.plate);
    return out;
}

// The rows or columns of a picture that a button shows whichever side loses an odd pixel when
// the picture is centred on the button and clipped to it.
std::pair<int, int> shownRange(int pictureSize, int buttonTwips) {
    const int cut = std::max(pictureSize - buttonTwips / twipsPerPixel, 0);
    return {(cut + 1) / 2, pictureSize - 1 - (cut + 1) / 2};
}

TEST(ButtonLettering, IsCentredOnThePictureBothWays) {
    for (const design::ControlRow& row : buttons()) {
        SCOPED_TRACE(std::string(row.name));
        const Lettered l = drawLettered(row);
        ASSERT_FALSE(l.ink.empty());
        EXPECT_LE(std::abs(l.ink.centreX() - (row.picture.width - 1) / 2.0), 1.0);
        EXPECT_LE(std::abs(l.ink.centreY() - (row.picture.height - 1) / 2.0), 1.0);
    }
}

TEST(ButtonLettering, StandsSixteenToTwentyPixelsOnLargePlatesAndTenToSeventeenOnSmall) {
    for (const design::ControlRow& row : buttons()) {
        if (isExitButton(row))
            continue;
        SCOPED_TRACE(std::string(row.name));
        const bool large = row.picture.height == design::largePlate.height;
        const Lettered l = drawLettered(row);
        EXPECT_GE(l.ink.height(), large ? 16 : 10);
        EXPECT_LE(l.ink.height(), large ? 20 : 17);
    }
}

TEST(ButtonLettering, LiesWithinTheButtonsBorderOnThePartThatShows) {
    for (const design::ControlRow& row : buttons()) {
        SCOPED_TRACE(std::string(row.name));
        const Lettered l = drawLettered(row);
        const auto [left, right] = shownRange(row.picture.width, row.extents.width);
        const auto [top, bottom] = shownRange(row.picture.height, row.extents.height);
        EXPECT_GE(l.ink.left, left + buttonBorder);
        EXPECT_LE(l.ink.right, right - buttonBorder);
        EXPECT_GE(l.ink.top, top + buttonBorder);
        EXPECT_LE(l.ink.bottom, bottom - buttonBorder);
    }
}

bool withinColours(std::uint32_t rgb, std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const auto c = rgb >> shift & 0xFF, lo = std::min(a >> shift & 0xFF, b >> shift & 0xFF),
                   hi = std::max(a >> shift & 0xFF, b >> shift & 0xFF);
        if (c < lo || c > hi)
            return false;
    }
    return true;
}

// Joined Arabic letters take their narrow connecting forms; a shaper that left them isolated
// would set the same letter three times at its full isolated width.
TEST(TextOutline, JoinsArabicLetters) {
    const Result<QPainterPath> one = textOutline(fonts().arabic, QString::fromUtf8("ب"));
    const Result<QPainterPath> three = textOutline(fonts().arabic, QString::fromUtf8("ببب"));
    ASSERT_TRUE(one && three);
    EXPECT_LT(three->boundingRect().width(), 0.8 * 3 * one->boundingRect().width());
}

// Qt would quietly borrow missing glyphs from whatever fonts are installed; the outline refuses
// instead, so no installed font can change the pictures.
TEST(TextOutline, RefusesTextItsFontCannotShow) {
    EXPECT_FALSE(textOutline(fonts().arabic, QStringLiteral("ver")));
    EXPECT_FALSE(textOutline(fonts().latin, QString::fromUtf8("لوحة")));
    EXPECT_TRUE(textOutline(fonts().latin, QStringLiteral("ver 0.1")));
}

// On a block that covers whole pixels the lettering's colours can be seen exactly: white, with
// the lowest row lavender, over a navy copy one pixel down and to the right.
TEST(LetteringColours, WhiteLettersHaveALavenderFootAndANavyShadowBelowRight) {
    const std::uint32_t plate = 0x0048EF;
    PixelBuffer p = PixelBuffer::filled(40, 30, plate);
    QPainterPath block;
    block.addRect(10, 10, 10, 4); // columns 10 to 19, rows 10 to 13
    paintLettering(p, block, 0);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            const bool inBlock = x >= 10 && x <= 19 && y >= 10 && y <= 13;
            const bool underBlock = x >= 11 && x <= 20 && y >= 11 && y <= 14;
            const std::uint32_t rgb = p.at(x, y);
            if (inBlock && y < 13)
                EXPECT_EQ(rgb, 0xFFFFFFu);
            else if (inBlock)
                EXPECT_TRUE(withinColours(rgb, 0xBFBFDF, 0xCFCFE7)) << std::hex << rgb;
            else if (underBlock)
                EXPECT_TRUE(withinColours(rgb, 0x0F0F87, 0x000C9C)) << std::hex << rgb;
            else
                EXPECT_EQ(rgb, plate);
        }
    }
}

TEST(ButtonLettering, ShowsWhiteLavenderAndNavyBelowRightOfTheLetters) {
    for (const design::ControlRow& row : buttons()) {
        if (isExitButton(row))
            continue;
        SCOPED_TRACE(std::string(row.name));
        const Lettered l = drawLettered(row);
        int whites = 0, edges = 0, shadows = 0, shadowsBelowRight = 0;
        for (int y = l.ink.top; y <= l.ink.bottom; ++y) {
            for (int x = l.ink.left; x <= l.ink.right; ++x) {
                const std::uint32_t rgb = l.picture.at(x, y);
                whites += rgb == 0xFFFFFF;
                edges += withinColours(rgb, 0xBFBFDF, 0xCFCFE7);
                if (withinColours(rgb, 0x0F0F87, 0x000C9C)) {
                    ++shadows;
                    shadowsBelowRight += brightness(l.picture.at(x - 1, y - 1)) >
                                         brightness(l.plate.at(x - 1, y - 1));
                }
            }
        }
        EXPECT_GE(whites, 10);
        EXPECT_GE(edges, 5);
        EXPECT_GE(shadows, 5);
        EXPECT_EQ(shadowsBelowRight, shadows);
    }
}

TEST(ExitMark, IsABoldWhiteXElevenPixelsAcrossWithANavyShadow) {
    const design::ControlRow& row = *design::findControl("Command8");
    const Lettered l = drawLettered(row);
    PixelBuffer whiteOnly = l.plate;
    for (int y = 0; y < l.picture.height; ++y)
        for (int x = 0; x < l.picture.width; ++x)
            if (l.picture.at(x, y) == 0xFFFFFF)
                whiteOnly.set(x, y, 0xFFFFFF);
    const Box mark = differingBox(whiteOnly, l.plate);
    EXPECT_EQ(mark.width(), 11);
    EXPECT_EQ(mark.height(), 11);
    // Away from the crossing each row cuts both strokes: two runs of 2 or 3 white pixels.
    for (int j : {1, 2, 3, 7, 8, 9}) {
        std::vector<int> runs;
        for (int x = mark.left, run = 0; x <= mark.right + 1; ++x) {
            const bool ink = x <= mark.right && l.picture.at(x, mark.top + j) == 0xFFFFFF;
            if (!ink && run > 0)
                runs.push_back(std::exchange(run, 0));
            run += ink ? 1 : 0;
        }
        ASSERT_EQ(runs.size(), 2u) << "row " << j;
        for (int run : runs)
            EXPECT_TRUE(run == 2 || run == 3) << "row " << j << " run " << run;
    }
    const std::uint32_t shadow = l.picture.at(mark.right + 1, mark.bottom + 1);
    EXPECT_EQ(shadow >> 8, 0u) << std::hex << shadow;
    EXPECT_GE(shadow & 0xFF, 0x60u);
    EXPECT_LE(shadow & 0xFF, 0x9Cu);
}

} // namespace
} // namespace zanthera::art
