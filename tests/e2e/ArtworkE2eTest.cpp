// The real window's pixels against the artwork the build drew: the background everywhere no
// control stands, every button's picture centred and clipped inside its border, the exit
// button's blue face round its tile, and the window's key icon.
#include "ArtworkChecks.h"
#include "Desktop.h"
#include "FakeTools.h"
#include "Support.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace zanthera::e2e {
namespace {

using namespace std::chrono_literals;

class ArtworkEndToEnd : public ProgramOnDisplay {
  protected:
    void SetUp() override {
        ProgramOnDisplay::SetUp();
        if (HasFatalFailure())
            return;
        shot = program->grab(window);
        ASSERT_EQ(shot.size(), QSize(425, 508));
    }

    QImage shot;
};

TEST_F(ArtworkEndToEnd, TheWindowOffersItsKeyIconAtBothSizes) {
    const auto sizes = program->iconSizes(window);
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), QSize(16, 16)), sizes.end());
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), QSize(32, 32)), sizes.end());
}

TEST_F(ArtworkEndToEnd, EveryUncoveredPixelIsTheBackgroundPicture) {
    const QImage background = artwork("Form1.bmp");
    ASSERT_EQ(background.size(), QSize(426, 509));
    EXPECT_EQ(uncoveredMismatches(shot), 0);
    // The picture's own last column is black and its last row #000010; neither shows.
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(shot.pixel(424, y), background.pixel(424, y));
    EXPECT_NE(QColor(shot.pixel(200, 507)), QColor(0, 0, 0x10));
}

TEST_F(ArtworkEndToEnd, TheTitleIsUncovered) {
    for (const auto& row : design::controls)
        EXPECT_FALSE(pixelRect(row).intersects(QRect(101, 50, 220, 32))) << row.name;
    const TitleCheck title = checkTitle(shot);
    EXPECT_EQ(title.mismatches, 0);
    EXPECT_GT(title.ink, 1000);
}

TEST_F(ArtworkEndToEnd, ButtonPicturesStandCentredInsideTheirBorders) {
    for (const auto& row : design::controls) {
        if (row.role != design::Role::Button || row.name == "Cmm1") // Cmm1 shows the focus
            continue;
        SCOPED_TRACE(std::string(row.name));
        ASSERT_EQ(artwork(QString::fromLatin1(row.name.data(), row.name.size()) + ".bmp").size(),
                  QSize(row.picture.width, row.picture.height));
        const PictureCheck picture = checkPicture(shot, row);
        EXPECT_EQ(picture.different, 0);
        if (!plateShowsItsOuterLine(row)) {
            EXPECT_EQ(picture.grey, 0) << "the plate's grey outer line shows";
        }
    }
}

} // namespace
} // namespace zanthera::e2e
