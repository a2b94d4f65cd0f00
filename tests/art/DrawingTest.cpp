// The drawn pictures: the plate look shared by every picture (the outer line, the ramps and the
// face gradient); the words on the buttons, centred, of the right height, inside what the button
// shows and in the lettering's colours; the exit button's X; and the program's name.
#include "Artwork.h"
#include "Fonts.h"
#include "Lettering.h"
#include "Plates.h"

#include "Form1/ControlTable.h"
#include "ImageEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace zanthera::art {
namespace {

// Fails the calling test when the font files cannot be loaded.
const ArtFonts& fonts() {
    static const Result<ArtFonts> loaded = loadFonts();
    static const ArtFonts none;
    if (!loaded)
        ADD_FAILURE() << loaded.error().message;
    return loaded ? *loaded : none;
}

struct Box {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = -1; // inclusive
    int bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

// The box of pixels in which two pictures differ: how the tests find what was drawn on a plate.
Box differingBox(const PixelBuffer& a, const PixelBuffer& b) {
    Box box;
    for (int y = 0; y < std::min(a.height, b.height); ++y) {
        for (int x = 0; x < std::min(a.width, b.width); ++x) {
            if (a.at(x, y) != b.at(x, y))
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
        }
    }
    return box;
}

// The buttons of the control table, in creation order.
std::vector<design::ControlRow> buttons() {
    std::vector<design::ControlRow> out;
    std::ranges::copy_if(design::controls, std::back_inserter(out),
                         [](const auto& row) { return row.role == design::Role::Button; });
    return out;
}

// Red, green and blue summed: enough to tell a lighter ramp pixel from a darker one.
int brightness(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF));
}

constexpr int twipsPerPixel = 15; // at 96 dots per inch
// The button's own raised border covers this much of the picture along each edge.
constexpr int buttonBorder = 2;

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
        if (row.name != "Command8") { // the exit button bears an X, not words
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
        if (row.name == "Command8")
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

TEST(ExitMark, IsAWhiteXElevenPixelsAcrossWithANavyShadow) {
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
    const std::uint32_t shadow = l.picture.at(mark.right + 1, mark.bottom + 1);
    EXPECT_EQ(shadow >> 8, 0u) << std::hex << shadow;
    EXPECT_GE(shadow & 0xFF, 0x60u);
    EXPECT_LE(shadow & 0xFF, 0x9Cu);
}

// The program's name on the background: solid black with hard edges, filling columns 101 to 320
// and rows 50 to 81 exactly, with small gaps in its strokes through which the plate shows: a gap
// is a run of one or two plate pixels with ink on both sides.
TEST(Title, IsSolidBlackFillingItsBoxExactlyWithSmallGapsInItsStrokes) {
    const Result<PixelBuffer> background = drawBackground(fonts());
    ASSERT_TRUE(background) << background.error().message;
    const PixelBuffer plate = drawPlate(backgroundStyle, backgroundSize);
    const Box ink = differingBox(*background, plate);
    EXPECT_EQ((std::array{ink.left, ink.top, ink.right, ink.bottom}),
              (std::array{101, 50, 320, 81}));
    int inked = 0;
    for (std::size_t i = 0; i < background->pixels.size(); ++i) {
        if (background->pixels[i] == plate.pixels[i])
            continue;
        ++inked;
        ASSERT_EQ(background->pixels[i], 0x000000u) << "pixel " << i;
    }
    EXPECT_GT(inked, 1000);
    const auto isInk = [&](int x, int y) { return background->at(x, y) != plate.at(x, y); };
    int gaps = 0;
    for (int y = 50; y <= 81; ++y)
        for (int x = 102; x < 320; ++x)
            for (int width : {1, 2})
                gaps += isInk(x - 1, y) && !isInk(x, y) && !isInk(x + width - 1, y) &&
                        isInk(x + width, y);
    EXPECT_GE(gaps, 6);
}

struct PlateCase {
    const char* name;
    const PlateStyle& style;
    design::PictureSize size;
    int outlineRows;
    std::uint32_t lowerLeftColumn; // column 0 below half height
    std::uint32_t highlight;
    int faceFirstRow;
    std::uint32_t faceFirst;
    int faceLastRow;
    std::uint32_t faceLast;
    int rowsPerStep; // of the top and bottom ramps
    std::uint32_t bottomEnd;
};

// clang-format off
const PlateCase plates[] = {
    {"large", largePlateStyle, {126, 51}, 1, 0x3F3F3F, 0xEFF6FE, 11, 0x005EF5, 39, 0x0018F5, 1, 0},
    {"small", smallPlateStyle, {76, 31}, 1, 0x3F3F3F, 0xEFF6FE, 11, 0x0048EF, 19, 0x0027EF, 1, 0},
    {"narrow", smallPlateStyle, {56, 31}, 1, 0x3F3F3F, 0xEFF6FE, 11, 0x0048EF, 19, 0x0027EF, 1, 0},
    {"background", backgroundStyle, {426, 509}, 2, 0xFFFFFF, 0xEFF7FF, 22, 0x007AFF, 489, 0x0006FF,
     2, 0x000010},
};
// clang-format on

int channel(std::uint32_t rgb, int shift) {
    return static_cast<int>(rgb >> shift & 0xFF);
}

// Whether `actual` lies within one unit, channel by channel, of k/10 of the way from a to b.
::testing::AssertionResult isEvenStep(std::uint32_t actual, std::uint32_t a, std::uint32_t b,
                                      int k) {
    for (int shift : {0, 8, 16}) {
        const double expected =
            channel(a, shift) + (channel(b, shift) - channel(a, shift)) * k / 10.0;
        if (std::abs(channel(actual, shift) - expected) > 1.0)
            return ::testing::AssertionFailure()
                   << std::hex << actual << " is not step " << k << " from " << a << " to " << b;
    }
    return ::testing::AssertionSuccess();
}

// A dark grey outer line along the top and left; face rows each of one colour, falling evenly
// from the first to the last.
TEST(Plate, HasItsOuterLineAndAFaceFallingEvenly) {
    for (const PlateCase& c : plates) {
        SCOPED_TRACE(c.name);
        const PixelBuffer p = drawPlate(c.style, c.size);
        for (int y = 0; y < c.outlineRows; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(p.at(x, y), 0x3F3F3Fu) << x << "," << y;
        for (int y = 0; y < p.height; ++y)
            ASSERT_EQ(p.at(0, y), y < p.height / 2 ? 0x3F3F3Fu : c.lowerLeftColumn) << "row " << y;
        EXPECT_EQ(p.at(p.width / 2, c.faceFirstRow), c.faceFirst);
        EXPECT_EQ(p.at(p.width / 2, c.faceLastRow), c.faceLast);
        const double fall = double(channel(c.faceFirst, 8) - channel(c.faceLast, 8)) /
                            (c.faceLastRow - c.faceFirstRow);
        for (int y = c.faceFirstRow; y <= c.faceLastRow; ++y) {
            const std::uint32_t row = p.at(11, y);
            for (int x = 11; x < p.width - 11; ++x)
                ASSERT_EQ(p.at(x, y), row) << x << "," << y;
            EXPECT_EQ(channel(row, 16), 0) << "row " << y;
            EXPECT_EQ(channel(row, 0), channel(c.faceFirst, 0)) << "row " << y;
            const double expectedGreen = channel(c.faceFirst, 8) - fall * (y - c.faceFirstRow);
            EXPECT_LT(std::abs(channel(row, 8) - expectedGreen), 1.0) << "row " << y;
        }
    }
}

// The bottom ramp's rows, counted in steps up from the outermost: with two-row steps the
// outermost step is the single last row.
std::vector<int> bottomStepRows(const PlateCase& c, int k) {
    const int last = c.size.height - 1;
    if (c.rowsPerStep == 1 || k == 0)
        return {last - k};
    return {last - 2 * k + 1, last - 2 * k};
}

// The top highlight runs in ten even steps into the face, the bottom shadow from the face to its
// darkest row, and the side ramps from the highlight and into black.
TEST(Plate, RampsRunInTenEvenSteps) {
    for (const PlateCase& c : plates) {
        SCOPED_TRACE(c.name);
        const PixelBuffer p = drawPlate(c.style, c.size);
        const int x = p.width / 2;
        const int y = (c.faceFirstRow + c.faceLastRow) / 2;
        const std::uint32_t face = p.at(x, y);
        EXPECT_EQ(p.at(x, c.outlineRows), c.highlight);
        EXPECT_EQ(c.outlineRows + 10 * c.rowsPerStep, c.faceFirstRow);
        EXPECT_EQ(p.at(x, p.height - 1), c.bottomEnd);
        for (int k = 0; k <= 10; ++k) {
            for (int r = 0; r < c.rowsPerStep && k < 10; ++r) {
                const int row = c.outlineRows + k * c.rowsPerStep + r;
                EXPECT_TRUE(isEvenStep(p.at(x, row), c.highlight, c.faceFirst, k)) << "row " << row;
            }
            for (int row : bottomStepRows(c, k))
                EXPECT_TRUE(isEvenStep(p.at(x, row), c.bottomEnd, c.faceLast, k)) << "row " << row;
            EXPECT_TRUE(isEvenStep(p.at(1 + k, y), c.highlight, face, k)) << "left, step " << k;
            EXPECT_TRUE(isEvenStep(p.at(p.width - 1 - k, y), 0x000000, face, k)) << "right " << k;
        }
    }
}
} // namespace
} // namespace zanthera::art
