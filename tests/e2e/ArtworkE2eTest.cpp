// The real window's pixels against the artwork the build drew: the background everywhere no
// control stands, every button's picture centred and clipped inside its border, the exit
// button's blue face round its tile, and the window's key icon.
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

QImage artwork(const QString& name) {
    return QImage(QStringLiteral(ZANTHERA_ART_DIR) + "/" + name)
        .convertToFormat(QImage::Format_RGB32);
}

QRect pixelRect(const design::ControlRow& row) {
    const Extents& e = row.extents;
    return {e.left / 15, e.top / 15, e.width / 15, e.height / 15};
}

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
    int mismatches = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const bool covered = std::any_of(design::controls.begin(), design::controls.end(),
                                             [&](const design::ControlRow& row) {
                                                 return row.role != design::Role::Timer &&
                                                        pixelRect(row).contains(x, y);
                                             });
            if (!covered && shot.pixel(x, y) != background.pixel(x, y))
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The picture's own last column is black and its last row #000010; neither shows.
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(shot.pixel(424, y), background.pixel(424, y));
    EXPECT_NE(QColor(shot.pixel(200, 507)), QColor(0, 0, 0x10));
}

TEST_F(ArtworkEndToEnd, TheTitleIsUncovered) {
    const QImage background = artwork("Form1.bmp");
    for (const auto& row : design::controls)
        EXPECT_FALSE(pixelRect(row).intersects(QRect(101, 50, 220, 32))) << row.name;
    int ink = 0;
    for (int y = 50; y <= 81; ++y)
        for (int x = 101; x <= 320; ++x) {
            EXPECT_EQ(shot.pixel(x, y), background.pixel(x, y));
            ink += QColor(shot.pixel(x, y)) == QColor(0, 0, 0);
        }
    EXPECT_GT(ink, 1000);
}

TEST_F(ArtworkEndToEnd, ButtonPicturesStandCentredInsideTheirBorders) {
    for (const auto& row : design::controls) {
        if (row.role != design::Role::Button || row.name == "Cmm1") // Cmm1 shows the focus
            continue;
        SCOPED_TRACE(std::string(row.name));
        const QImage picture =
            artwork(QString::fromLatin1(row.name.data(), row.name.size()) + ".bmp");
        ASSERT_EQ(picture.size(), QSize(row.picture.width, row.picture.height));
        const QRect button = pixelRect(row);
        // Centred, with the odd pixel to the right and below, as the button draws it.
        const QPoint origin(
            button.left() + int(std::floor((button.width() - picture.width()) / 2.0)),
            button.top() + int(std::floor((button.height() - picture.height()) / 2.0)));
        int different = 0, grey = 0;
        for (int y = button.top() + 1; y < button.bottom(); ++y)
            for (int x = button.left() + 1; x < button.right(); ++x) {
                const QPoint in(x - origin.x(), y - origin.y());
                const QRgb expected =
                    picture.rect().contains(in)
                        ? picture.pixel(in)
                        : (row.name == "Command8" ? qRgb(0, 0, 255) : shot.pixel(x, y));
                different += shot.pixel(x, y) != expected;
                grey += QColor(shot.pixel(x, y)) == QColor(0x3F, 0x3F, 0x3F);
            }
        EXPECT_EQ(different, 0);
        if (row.picture.width != 56 && row.picture.width != 28) {
            EXPECT_EQ(grey, 0) << "the plate's grey outer line shows";
        }
    }
}

TEST_F(ArtworkEndToEnd, ExitButtonShowsBlueAboveAndBelowItsTile) {
    for (int x = 18; x <= 38; ++x) {
        EXPECT_EQ(QColor(shot.pixel(x, 17)), QColor(0, 0, 255)) << x;
        EXPECT_EQ(QColor(shot.pixel(x, 39)), QColor(0, 0, 255)) << x;
    }
}

} // namespace
} // namespace zanthera::e2e
