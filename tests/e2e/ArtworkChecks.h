// The window's pixels against the artwork the build drew: shared by the Linux program's tests
// and the Windows program's tests under Wine, which must look the same. At a logical DPI above
// the design's 96 the whole design grows as one, pictures included, by DPI / 96.
#pragma once

#include "Form1/ControlTable.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>

namespace zanthera::e2e {

inline double scaleAt(int dpi) {
    return dpi / 96.0;
}

// The artwork file as the program shows it at `dpi`.
inline QImage artwork(const QString& name, int dpi = 96) {
    const QImage image =
        QImage(QStringLiteral(ZANTHERA_ART_DIR) + "/" + name).convertToFormat(QImage::Format_RGB32);
    if (dpi == 96)
        return image;
    return image.scaled(int(std::lround(image.width() * scaleAt(dpi))),
                        int(std::lround(image.height() * scaleAt(dpi))), Qt::IgnoreAspectRatio,
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

// Client pixels that no control covers and that differ from the background picture.
inline int uncoveredMismatches(const QImage& shot, int dpi = 96) {
    const QImage background = artwork("Form1.bmp", dpi);
    int mismatches = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const bool covered =
                std::any_of(design::controls.begin(), design::controls.end(), [&](const auto& row) {
                    return row.role != design::Role::Timer && pixelRect(row, dpi).contains(x, y);
                });
            mismatches += !covered && (!background.rect().contains(x, y) ||
                                       shot.pixel(x, y) != background.pixel(x, y));
        }
    return mismatches;
}

// The lettered title above the panel: background pixels that differ, and its black ink.
struct TitleCheck {
    int mismatches = 0, ink = 0;
};
inline TitleCheck checkTitle(const QImage& shot, int dpi = 96) {
    const QImage background = artwork("Form1.bmp", dpi);
    const double s = scaleAt(dpi);
    TitleCheck check;
    for (int y = int(50 * s); y <= int(81 * s); ++y)
        for (int x = int(101 * s); x <= int(320 * s); ++x) {
            check.mismatches += shot.pixel(x, y) != background.pixel(x, y);
            check.ink += QColor(shot.pixel(x, y)) == QColor(0, 0, 0);
        }
    return check;
}

// Inside a button's border: pixels that differ from its picture, centred with the odd pixel to
// the right and below (outside the picture the exit button shows its blue face), pixels that the
// picture leaves uncovered, and pixels of the plate's grey outer line. At a larger scale the
// neighbours that overlap by 15 twips cover more than the border, so that much more is left out.
struct PictureCheck {
    int different = 0, uncovered = 0, grey = 0;
};
inline PictureCheck checkPicture(const QImage& shot, const design::ControlRow& row, int dpi = 96) {
    const QImage picture =
        artwork(QString::fromLatin1(row.name.data(), row.name.size()) + ".bmp", dpi);
    const QRect button = pixelRect(row, dpi);
    const QPoint origin(button.left() + int(std::floor((button.width() - picture.width()) / 2.0)),
                        button.top() + int(std::floor((button.height() - picture.height()) / 2.0)));
    const int inset = int(std::ceil(scaleAt(dpi)));
    PictureCheck check;
    for (int y = button.top() + inset; y <= button.bottom() - inset; ++y)
        for (int x = button.left() + inset; x <= button.right() - inset; ++x) {
            const QPoint in(x - origin.x(), y - origin.y());
            const bool inside = picture.rect().contains(in);
            const QRgb expected =
                inside ? picture.pixel(in)
                       : (row.name == "Command8" ? qRgb(0, 0, 255) : shot.pixel(x, y));
            check.different += shot.pixel(x, y) != expected;
            check.uncovered += !inside && row.name != "Command8";
            check.grey += QColor(shot.pixel(x, y)) == QColor(0x3F, 0x3F, 0x3F);
        }
    return check;
}

// Whether the plate's grey outer line is meant to show: only the smallest plates keep it.
inline bool plateShowsItsOuterLine(const design::ControlRow& row) {
    return row.picture.width == 56 || row.picture.width == 28;
}

} // namespace zanthera::e2e
