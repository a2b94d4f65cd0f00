// The window's pixels against the artwork the build drew: shared by the Linux program's tests
// and the Windows program's tests under Wine, which must look the same. At a logical DPI above
// the design's 96 the whole design grows as one, pictures included, by DPI / 96.
#pragma once

#include "Form1/ControlTable.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zanthera::e2e {

// The artwork file as the program shows it at `dpi`.
inline QImage artwork(const QString& name, int dpi = 96) {
    const QImage image =
        QImage(QStringLiteral(ZANTHERA_ART_DIR) + "/" + name).convertToFormat(QImage::Format_RGB32);
    if (dpi == 96)
        return image;
    return image.scaled(int(std::lround(image.width() * dpi / 96.0)),
                        int(std::lround(image.height() * dpi / 96.0)), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

inline int pixelsAt(int twips, int dpi) {
    return int(std::lround(twips * dpi / 1440.0));
}

inline QRect pixelRect(const design::ControlRow& row, int dpi = 96) {
    const Extents& e = row.extents;
    return {pixelsAt(e.left, dpi), pixelsAt(e.top, dpi), pixelsAt(e.width, dpi),
            pixelsAt(e.height, dpi)};
}

// The window's pixels against the artwork at `dpi`: every client pixel that no control covers is
// the background picture's, the lettered title above the panel included; and inside every
// button's border its picture stands whole, centred with the odd pixel to the right and below
// (outside the picture the exit button shows its blue face). At a larger scale the neighbours that
// overlap by 15 twips cover more than the border, so that much more is left out.
inline void expectTheArtwork(const QImage& shot, int dpi = 96) {
    const QImage background = artwork("Form1.bmp", dpi);
    int uncovered = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const bool covered =
                std::any_of(design::controls.begin(), design::controls.end(), [&](const auto& row) {
                    return row.role != design::Role::Timer && pixelRect(row, dpi).contains(x, y);
                });
            uncovered += !covered && (!background.rect().contains(x, y) ||
                                      shot.pixel(x, y) != background.pixel(x, y));
        }
    EXPECT_EQ(uncovered, 0) << "pixels no control covers differ from the background";
    const double s = dpi / 96.0;
    int ink = 0;
    for (int y = int(50 * s); y <= int(81 * s); ++y)
        for (int x = int(101 * s); x <= int(320 * s); ++x)
            ink += QColor(shot.pixel(x, y)) == QColor(0, 0, 0);
    EXPECT_GT(ink, 1000) << "the title's black lettering";

    for (const auto& row : design::controls) {
        if (row.role != design::Role::Button || row.name == "Cmm1") // Cmm1 shows the focus
            continue;
        SCOPED_TRACE(std::string(row.name));
        const QImage picture =
            artwork(QString::fromLatin1(row.name.data(), row.name.size()) + ".bmp", dpi);
        const QRect button = pixelRect(row, dpi);
        const QPoint origin(
            button.left() + int(std::floor((button.width() - picture.width()) / 2.0)),
            button.top() + int(std::floor((button.height() - picture.height()) / 2.0)));
        const int inset = int(std::ceil(s));
        int different = 0, face = 0, grey = 0;
        for (int y = button.top() + inset; y <= button.bottom() - inset; ++y)
            for (int x = button.left() + inset; x <= button.right() - inset; ++x) {
                const QPoint in(x - origin.x(), y - origin.y());
                const bool inside = picture.rect().contains(in);
                const QRgb expected =
                    inside ? picture.pixel(in)
                           : (row.name == "Command8" ? qRgb(0, 0, 255) : shot.pixel(x, y));
                different += shot.pixel(x, y) != expected;
                face += !inside && row.name != "Command8";
                grey += QColor(shot.pixel(x, y)) == QColor(0x3F, 0x3F, 0x3F);
            }
        EXPECT_EQ(different, 0);
        // Only Command10's picture is narrower than its button, by design.
        EXPECT_TRUE(face == 0 || row.name == "Command10") << "a strip of the button's face shows";
        // Only the smallest plates keep their grey outer line; scaled plates blend their pixels,
        // so only the design's own size shows the exact line.
        const bool smallest = row.picture.width == 56 || row.picture.width == 28;
        EXPECT_TRUE(grey == 0 || smallest || dpi != 96) << "the plate's grey outer line shows";
    }
}

} // namespace zanthera::e2e
