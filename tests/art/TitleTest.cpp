// The program's name on the background: black, hard-edged, filling its box exactly, with small
// gaps in its strokes.
#include "ArtTestSupport.h"
#include "Artwork.h"
#include "Plates.h"

#include <gtest/gtest.h>

namespace zanthera::art {
namespace {

using testing::differingBox;
using testing::fonts;

// Solid black with hard edges, filling columns 101 to 320 and rows 50 to 81 exactly, with small
// gaps in its strokes through which the plate shows: a gap is a run of one or two plate pixels
// with ink on both sides.
TEST(Title, IsSolidBlackFillingItsBoxExactlyWithSmallGapsInItsStrokes) {
    const Result<PixelBuffer> background = drawBackground(fonts());
    ASSERT_TRUE(background) << background.error().message;
    const PixelBuffer plate = drawPlate(backgroundStyle, backgroundSize);
    const testing::Box ink = differingBox(*background, plate);
    EXPECT_EQ(ink.left, 101);
    EXPECT_EQ(ink.right, 320);
    EXPECT_EQ(ink.top, 50);
    EXPECT_EQ(ink.bottom, 81);
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

} // namespace
} // namespace zanthera::art
