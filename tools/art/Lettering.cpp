#include "Lettering.h"

#include "ArtTable.h"
#include "Plates.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace zanthera::art {

Result<QPainterPath> textOutline(const QRawFont& font, const QString& text) {
    QTextLayout layout(text);
    layout.setRawFont(font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    QPainterPath outline;
    for (const QGlyphRun& run : line.glyphRuns()) {
        // Qt's layout quietly takes glyphs it lacks from another installed font; that font would
        // differ from one machine to the next, so it is refused here.
        if (!(run.rawFont() == font))
            return Error{"the font " + font.familyName().toStdString() + " cannot show \"" +
                         text.toStdString() + "\""};
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            outline.addPath(font.pathForGlyph(glyphs[i]).translated(positions[i]));
    }
    if (outline.isEmpty())
        return Error{"\"" + text.toStdString() + "\" has no visible outline"};
    return outline;
}

int Coverage::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return alpha[static_cast<std::size_t>(y * width + x)];
}

Coverage rasterize(const QPainterPath& outline, int width, int height, bool smooth,
                   double thickening) {
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.fillPath(outline, Qt::white);
    if (thickening > 0)
        painter.strokePath(outline,
                           QPen(Qt::white, thickening, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.end();
    Coverage out{width, height,
                 std::vector<std::uint8_t>(std::size_t(width) * std::size_t(height))};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.alpha[static_cast<std::size_t>(y * width + x)] =
                static_cast<std::uint8_t>(qAlpha(canvas.pixel(x, y)));
    return out;
}

QPainterPath placeLettering(const QPainterPath& outline, const LetteringPlace& place) {
    const QRectF bounds = outline.boundingRect();
    const double scaleY = place.glyphHeight / bounds.height();
    const double scaleX = std::min(scaleY, (place.maxWidth - 1) / bounds.width());
    // The shadow adds a pixel to the right and below; the whole of the ink is what is centred.
    const double left = place.centreX - (bounds.width() * scaleX + 1) / 2;
    const double top = std::round(place.centreY - (place.glyphHeight + 1) / 2);
    QTransform transform;
    transform.translate(left, top);
    transform.scale(scaleX, scaleY);
    transform.translate(-bounds.left(), -bounds.top());
    return transform.map(outline);
}

namespace {

// A colour that runs from `top` to `bottom` down the rows of the lettering.
std::uint32_t rowColour(std::uint32_t top, std::uint32_t bottom, int row, int firstRow, int rows) {
    return mixColour(top, bottom, std::clamp(row - firstRow, 0, rows - 1), std::max(rows - 1, 1));
}

} // namespace

void paintLettering(PixelBuffer& picture, const QPainterPath& placed, double thickening) {
    const Coverage letters = rasterize(placed, picture.width, picture.height, true, thickening);
    const QRectF bounds = placed.boundingRect();
    const int firstRow = static_cast<int>(std::floor(bounds.top()));
    const int rows = static_cast<int>(std::ceil(bounds.bottom())) - firstRow + 1;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t shadow =
            rowColour(letterShadowTop, letterShadowBottom, y, firstRow, rows);
        const std::uint32_t edge = rowColour(letterEdgeTop, letterEdgeBottom, y, firstRow, rows);
        for (int x = 0; x < picture.width; ++x) {
            // A shadow as soft as the letters' edges all but vanishes against the blue, so its
            // coverage is doubled: it stays one pixel wide but reads as a firm navy line.
            const int shade = std::min(2 * letters.at(x - 1, y - 1), 255);
            std::uint32_t colour = mixColour(picture.at(x, y), shadow, shade, 255);
            // A stroke's lowest pixels are those with nothing of the letter below them.
            const std::uint32_t ink = mixColour(letterInk, edge, 255 - letters.at(x, y + 1), 255);
            colour = mixColour(colour, ink, letters.at(x, y), 255);
            picture.set(x, y, colour);
        }
    }
}

} // namespace zanthera::art
