#include "PictureButton.h"

#include <QPainter>

namespace zanthera::qt {

namespace {

// The classic one-pixel bevel: light along the top and left, dark along the bottom and right;
// swapped while the button is held down.
void drawBevel(QPainter& painter, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255);
    const QColor dark(64, 64, 64);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

PictureButton::PictureButton(QImage picture, QColor face, QWidget* parent)
    : QPushButton(parent), picture_(std::move(picture)), face_(face) {
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect whole = rect();
    painter.fillRect(whole, face_);
    if (!picture_.isNull()) {
        // Centred on the device-independent size, so a scaled screen shows the same picture.
        const QSizeF size = picture_.deviceIndependentSize();
        const QPointF origin((whole.width() - size.width()) / 2.0,
                             (whole.height() - size.height()) / 2.0);
        painter.save();
        painter.setClipRect(whole.adjusted(1, 1, -1, -1));
        painter.drawImage(QPointF(std::floor(origin.x()), std::floor(origin.y())), picture_);
        painter.restore();
    }
    drawBevel(painter, whole, isDown());
    if (hasFocus()) {
        QPen pen(QColor(255, 255, 255), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(whole.adjusted(3, 3, -4, -4));
    }
}

} // namespace zanthera::qt
