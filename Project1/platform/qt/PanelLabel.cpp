#include "PanelLabel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace zanthera::qt {

PanelLabel::PanelLabel(QWidget* parent) : QLabel(parent) {
    laidOut_.setCacheEnabled(true);
}

void PanelLabel::showText(const QString& text) {
    constexpr qreal smallestPoint = 4.0;
    // As in any label, the text's first letter with a direction of its own sets the direction
    // ("75دقيقة" reads right to left, the number first); the line starts at the left edge and
    // painting moves it into place.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    laidOut_.setTextOption(option);
    laidOut_.setText(text);
    // Start again from the window's own font each time, so a short text after a long one is
    // shown at full size again.
    QFont font = parentWidget() ? parentWidget()->font() : this->font();
    const int room = contentsRect().width();
    while (qRound(layOut(font)) > room && font.pointSizeF() > smallestPoint)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != this->font())
        setFont(font);
    setText(text);
}

qreal PanelLabel::layOut(const QFont& font) {
    laidOut_.setFont(font);
    laidOut_.beginLayout();
    QTextLine line = laidOut_.createLine();
    if (line.isValid())
        line.setLineWidth(contentsRect().width());
    laidOut_.endLayout();
    return line.isValid() ? line.horizontalAdvance() : 0;
}

void PanelLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // A new text repaints only the inside of the frame.
    if (!contentsRect().contains(event->rect()))
        drawFrame(&painter);
    if (laidOut_.lineCount() == 0)
        return;
    // Placed as QLabel places a line of text: by the label's alignment, turned round for a
    // right-to-left text, on the line's advance and height.
    const QTextLine line = laidOut_.lineAt(0);
    const QRectF room = contentsRect();
    const qreal width = line.horizontalAdvance();
    const qreal height = line.height();
    const Qt::Alignment align =
        QStyle::visualAlignment(laidOut_.textOption().textDirection(), alignment());
    qreal x = room.left();
    if (align & Qt::AlignRight)
        x = room.right() - width;
    else if (align & Qt::AlignHCenter)
        x += (room.width() - width) / 2;
    qreal y = room.top();
    if (align & Qt::AlignBottom)
        y = room.bottom() - height;
    else if (align & Qt::AlignVCenter)
        y += (room.height() - height) / 2;
    painter.setPen(palette().color(foregroundRole()));
    laidOut_.draw(&painter, QPointF(x, y));
}

} // namespace zanthera::qt
