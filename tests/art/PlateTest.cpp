// The plate look shared by every picture: the outer line, the ramps and the face gradient.
#include "ArtTestSupport.h"
#include "Plates.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zanthera::art {
namespace {

using testing::brightness;

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
// Where a highlight ramp meets a shadow ramp, a pixel nearer the shadow's edge is darker than the
// face and one nearer the highlight's edge is lighter: the two meet on a 45-degree line.
TEST(Plate, HighlightAndShadowMeetOnADiagonal) {
    for (const PlateCase& c : plates) {
        SCOPED_TRACE(c.name);
        const PixelBuffer p = drawPlate(c.style, c.size);
        for (int i = 0; i < 10; ++i) {
            for (int j = 0; j < 10; ++j) {
                if (i == j)
                    continue;
                const std::uint32_t topRight = p.at(p.width - 1 - j, c.outlineRows + i);
                EXPECT_EQ(brightness(topRight) < brightness(c.faceFirst), j < i)
                    << "top right, " << j << " in from the right, " << i << " down";
                const std::uint32_t bottomLeft = p.at(1 + i, p.height - 1 - j);
                EXPECT_EQ(brightness(bottomLeft) < brightness(c.faceLast), j < i)
                    << "bottom left, " << i << " in from the left, " << j << " up";
            }
        }
    }
}

TEST(ExitTilePlate, RunsFromPaleToBlackWithNoFlatFaceBetween) {
    const design::PictureSize size = design::findControl("Command8")->picture;
    const PixelBuffer p = drawPlate(exitTileStyle, size);
    EXPECT_EQ(p.at(1, 1), 0xEFF6FEu);
    EXPECT_EQ(p.at(p.width - 1, p.height - 1), 0x000000u);
    const int x = p.width / 2;
    for (int y = 2; y < p.height; ++y)
        EXPECT_NE(p.at(x, y), p.at(x, y - 1)) << "rows " << y - 1 << " and " << y;
    EXPECT_GT(brightness(p.at(3, 3)), brightness(p.at(p.width - 4, p.height - 4)));
}

} // namespace
} // namespace zanthera::art
