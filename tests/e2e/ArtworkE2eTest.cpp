// The real window's pixels against the artwork the build drew, at the design's 96 DPI and at
// larger logical DPIs without Qt's own scaling, where the whole design must grow as one: the
// background everywhere no control stands, every button's picture whole, centred and clipped
// inside its border, the exit button's blue face round its tile, and the window's key icon.
#include "ArtworkChecks.h"
#include "Desktop.h"
#include "FakeTools.h"
#include "Support.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace zanthera::e2e {
namespace {

using namespace std::chrono_literals;

class ArtworkEndToEnd : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(display.ok());
        QProcessEnvironment environment = tools.environment("GNOME");
        environment.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
        environment.insert("QT_FONT_DPI", QString::number(dpi));
        program = std::make_unique<RunningProgram>(display, environment);
        const auto window = program->waitForWindow(windowTitle, 20s);
        ASSERT_TRUE(window) << program->errors().toStdString();
        shot = program->grab(*window);
        iconSizes = program->iconSizes(*window);
        ASSERT_EQ(shot.size(), QSize(pixelsAt(6375, dpi), pixelsAt(7620, dpi)));
    }

    const int dpi = GetParam();
    VirtualDisplay display{"1600x1400x24"}; // room for the window at 192 DPI
    FakeTools tools{{"gnome-control-center"}};
    std::unique_ptr<RunningProgram> program;
    QImage shot;
    std::vector<QSize> iconSizes;
};

TEST_P(ArtworkEndToEnd, TheBackgroundCoversEveryPixelNoControlStandsOn) {
    EXPECT_EQ(uncoveredMismatches(shot, dpi), 0);
    // The picture's own last column is black and its last row #000010; neither shows.
    EXPECT_NE(QColor(shot.pixel(shot.width() / 2, shot.height() - 1)), QColor(0, 0, 0x10));
    for (const auto& row : design::controls)
        EXPECT_FALSE(pixelRect(row).intersects(QRect(101, 50, 220, 32))) << row.name;
    const TitleCheck title = checkTitle(shot, dpi);
    EXPECT_EQ(title.mismatches, 0);
    EXPECT_GT(title.ink, 1000);
    EXPECT_NE(std::find(iconSizes.begin(), iconSizes.end(), QSize(16, 16)), iconSizes.end());
    EXPECT_NE(std::find(iconSizes.begin(), iconSizes.end(), QSize(32, 32)), iconSizes.end());
}

TEST_P(ArtworkEndToEnd, ButtonPicturesStandWholeAndCentredInsideTheirBorders) {
    for (const auto& row : design::controls) {
        if (row.role != design::Role::Button || row.name == "Cmm1") // Cmm1 shows the focus
            continue;
        SCOPED_TRACE(std::string(row.name));
        const PictureCheck picture = checkPicture(shot, row, dpi);
        EXPECT_EQ(picture.different, 0);
        // Only Command10's picture is narrower than its button, by design.
        if (row.name != "Command10") {
            EXPECT_EQ(picture.uncovered, 0) << "a strip of the button's face shows";
        }
        // Scaled plates blend their pixels, so only the design's own size shows the exact line.
        if (dpi == 96 && !plateShowsItsOuterLine(row)) {
            EXPECT_EQ(picture.grey, 0) << "the plate's grey outer line shows";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AtLogicalDpi, ArtworkEndToEnd, ::testing::Values(96, 120, 192),
                         [](const auto& dpi) { return std::to_string(dpi.param) + "dpi"; });

} // namespace
} // namespace zanthera::e2e
