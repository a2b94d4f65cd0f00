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

struct Drawn {
    PixelBuffer background;
    PixelBuffer plate;
};

Drawn drawTitled() {
    const Result<PixelBuffer> background = drawBackground(fonts());
    EXPECT_TRUE(background) << background.error().message;
    return {background ? *background : PixelBuffer{}, drawPlate(backgroundStyle, backgroundSize)};
}

TEST(Title, IsSolidBlackWithHardEdgesFillingColumns101To320AndRows50To81Exactly) {
    const Drawn d = drawTitled();
    const testing::Box ink = differingBox(d.background, d.plate);
    EXPECT_EQ(ink.left, 101);
    EXPECT_EQ(ink.right, 320);
    EXPECT_EQ(ink.top, 50);
    EXPECT_EQ(ink.bottom, 81);
    int inked = 0;
    for (std::size_t i = 0; i < d.background.pixels.size(); ++i) {
        if (d.background.pixels[i] == d.plate.pixels[i])
            continue;
        ++inked;
        ASSERT_EQ(d.background.pixels[i], 0x000000u) << "pixel " << i;
    }
    EXPECT_GT(inked, 1000);
}

// A gap is a run of one or two plate pixels with ink on both sides, across or down a stroke.
TEST(Title, StrokesHaveSmallGapsThroughWhichThePlateShows) {
    const Drawn d = drawTitled();
    const auto inked = [&](int x, int y) { return d.background.at(x, y) != d.plate.at(x, y); };
    int gaps = 0;
    for (int y = 50; y <= 81; ++y)
        for (int x = 102; x < 320; ++x)
            for (int width : {1, 2})
                gaps += inked(x - 1, y) && !inked(x, y) && !inked(x + width - 1, y) &&
                        inked(x + width, y);
    EXPECT_GE(gaps, 6);
}

} // namespace
} // namespace zanthera::art
