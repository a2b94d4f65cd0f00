// The window's pixels against the artwork the build drew, at the design's 96 DPI: shared by the
// Linux program's tests and the Windows program's tests under Wine, which must look the same.
#pragma once

#include "Form1/ControlTable.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>

namespace zanthera::e2e {

inline QImage artwork(const QString& name) {
    return QImage(QStringLiteral(ZANTHERA_ART_DIR) + "/" + name)
        .convertToFormat(QImage::Format_RGB32);
}

inline QRect pixelRect(const design::ControlRow& row) {
    const Extents& e = row.extents;
    return {e.left / 15, e.top / 15, e.width / 15, e.height / 15};
}

// Client pixels that no control covers and that differ from the background picture.
inline int uncoveredMismatches(const QImage& shot) {
    const QImage background = artwork("Form1.bmp");
    int mismatches = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const bool covered =
                std::any_of(design::controls.begin(), design::controls.end(), [&](const auto& row) {
                    return row.role != design::Role::Timer && pixelRect(row).contains(x, y);
                });
            mismatches += !covered && shot.pixel(x, y) != background.pixel(x, y);
        }
    return mismatches;
}

// The lettered title above the panel: background pixels that differ, and its black ink.
struct TitleCheck {
    int mismatches = 0, ink = 0;
};
inline TitleCheck checkTitle(const QImage& shot) {
    const QImage background = artwork("Form1.bmp");
    TitleCheck check;
    for (int y = 50; y <= 81; ++y)
        for (int x = 101; x <= 320; ++x) {
            check.mismatches += shot.pixel(x, y) != background.pixel(x, y);
            check.ink += QColor(shot.pixel(x, y)) == QColor(0, 0, 0);
        }
    return check;
}

// Inside a button's one-pixel border: pixels that differ from its picture, centred with
// the odd pixel to the right and below (outside the picture the exit button shows its blue face),
// and pixels of the plate's grey outer line.
struct PictureCheck {
    int different = 0, grey = 0;
};
inline PictureCheck checkPicture(const QImage& shot, const design::ControlRow& row) {
    const QImage picture = artwork(QString::fromLatin1(row.name.data(), row.name.size()) + ".bmp");
    const QRect button = pixelRect(row);
    const QPoint origin(button.left() + int(std::floor((button.width() - picture.width()) / 2.0)),
                        button.top() + int(std::floor((button.height() - picture.height()) / 2.0)));
    PictureCheck check;
    for (int y = button.top() + 1; y < button.bottom(); ++y)
        for (int x = button.left() + 1; x < button.right(); ++x) {
            const QPoint in(x - origin.x(), y - origin.y());
            const QRgb expected =
                picture.rect().contains(in)
                    ? picture.pixel(in)
                    : (row.name == "Command8" ? qRgb(0, 0, 255) : shot.pixel(x, y));
            check.different += shot.pixel(x, y) != expected;
            check.grey += QColor(shot.pixel(x, y)) == QColor(0x3F, 0x3F, 0x3F);
        }
    return check;
}

// Whether the plate's grey outer line is meant to show: only the smallest plates keep it.
inline bool plateShowsItsOuterLine(const design::ControlRow& row) {
    return row.picture.width == 56 || row.picture.width == 28;
}

} // namespace zanthera::e2e
