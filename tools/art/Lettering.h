// Words drawn as filled outlines: shaped by Qt's text engine (HarfBuzz, so Arabic letters take
// their joined forms), rasterized by Qt's own painter, and composited onto a plate by hand.
#pragma once

#include "ImageEncoders.h"
#include "base/Result.h"

#include <QPainterPath>
#include <QRawFont>
#include <QString>

#include <cstdint>
#include <vector>

namespace zanthera::art {

// The outline of one line of text set in the given font alone. Text that the font cannot show in
// full is an error rather than a silent fall-back to some other installed font.
Result<QPainterPath> textOutline(const QRawFont& font, const QString& text);

// How much of each pixel a filled outline covers, 0 to 255; 0 outside the picture.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
    int at(int x, int y) const;
};

// Smooth coverage shades the edges; hard coverage is 0 or 255 by whether a pixel's centre is in.
// Thickening grows the outline by half that much on every side.
Coverage rasterize(const QPainterPath& outline, int width, int height, bool smooth,
                   double thickening = 0);

// Where a button's words go: centred on a point, at a given height of the letters themselves,
// narrowed when that height would make them wider than allowed (drop shadow included).
struct LetteringPlace {
    double centreX = 0;
    double centreY = 0;
    double maxWidth = 0;
    double glyphHeight = 0;
};

// The outline moved and scaled into place; the top of the letters falls on a pixel boundary.
QPainterPath placeLettering(const QPainterPath& outline, const LetteringPlace& place);

// White letters with a lavender lower edge over a navy drop shadow, blended onto the picture.
void paintLettering(PixelBuffer& picture, const QPainterPath& placed, double thickening);

} // namespace zanthera::art
