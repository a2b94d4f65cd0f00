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

constexpr int twipsPerPixel = 15; // at 96 dots per inch
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

// The words are centred on the picture both ways, stand 16 to 20 pixels on large plates and 10
// to 17 on small ones, and lie within the button's border on the part of the picture that shows:
// centred on the button, clipped to it, whichever side loses an odd pixel.
TEST(ButtonLettering, IsCentredSizedAndWithinThePartThatShows) {
    for (const design::ControlRow& row : buttons()) {
        SCOPED_TRACE(std::string(row.name));
        const Lettered l = drawLettered(row);
        ASSERT_FALSE(l.ink.empty());
        EXPECT_LE(std::abs(l.ink.centreX() - (row.picture.width - 1) / 2.0), 1.0);
        EXPECT_LE(std::abs(l.ink.centreY() - (row.picture.height - 1) / 2.0), 1.0);
        if (!isExitButton(row)) {
            const bool large = row.picture.height == design::largePlate.height;
            EXPECT_GE(l.ink.height(), large ? 16 : 10);
            EXPECT_LE(l.ink.height(), large ? 20 : 17);
        }
        const VisiblePart shown = visiblePart(row);
        EXPECT_LE(shown.width, row.extents.width / twipsPerPixel);
        EXPECT_LE(shown.height, row.extents.height / twipsPerPixel);
        EXPECT_EQ(2 * shown.left + shown.width, row.picture.width);
        EXPECT_EQ(2 * shown.top + shown.height, row.picture.height);
        EXPECT_GE(l.ink.left, shown.left + buttonBorder);
        EXPECT_LE(l.ink.right, shown.left + shown.width - 1 - buttonBorder);
        EXPECT_GE(l.ink.top, shown.top + buttonBorder);
        EXPECT_LE(l.ink.bottom, shown.top + shown.height - 1 - buttonBorder);
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
