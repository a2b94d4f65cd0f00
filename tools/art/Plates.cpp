#include "Plates.h"

#include <algorithm>
#include <cstdlib>

namespace zanthera::art {

std::uint32_t mixColour(std::uint32_t a, std::uint32_t b, int k, int n) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((a >> shift) & 0xFF);
        const int to = static_cast<int>((b >> shift) & 0xFF);
        const int channel = (from * (n - k) + to * k + n / 2) / n;
        out |= static_cast<std::uint32_t>(channel) << shift;
    }
    return out;
}

std::uint32_t faceColour(const PlateStyle& style, int row) {
    const int fromFirst =
        std::clamp(row, style.faceFirstRow, style.faceLastRow) - style.faceFirstRow;
    const int topGreen = static_cast<int>((style.faceTop >> 8) & 0xFF);
    const int green = topGreen - fromFirst * style.fall.amount / style.fall.everyRows;
    return (style.faceTop & 0xFF00FF) | static_cast<std::uint32_t>(green) << 8;
}

namespace {

// Which ramp a pixel lies on and how many steps in from its outer edge.
struct RampPlace {
    bool highlight = false;
    bool bottom = false;  // of a shadow step: whether it belongs to the bottom ramp
    int step = rampSteps; // rampSteps or more: on the face
};

// The ramps are as deep as the number of steps from each edge. Where a highlight ramp meets a
// shadow ramp, the ramp whose edge is nearer in pixels wins, which mitres the corner at 45
// degrees; a ramp that has already run out there leaves the pixel to the other one.
RampPlace rampPlace(const PlateStyle& style, design::PictureSize size, int x, int y) {
    const int fromTop = y - style.outlineRows;
    const int fromLeft = x - 1;
    const int fromBottom = size.height - 1 - y;
    const int fromRight = size.width - 1 - x;
    const int rows = style.rowsPerStep;
    // A bottom ramp of tall steps leaves its outermost step one row high.
    const int bottomStep = (fromBottom + rows - 1) / rows;
    const RampPlace light{true, false, std::min(fromTop / rows, fromLeft)};
    const RampPlace shade{false, bottomStep < fromRight, std::min(bottomStep, fromRight)};
    const bool lightNearer = std::min(fromTop, fromLeft) <= std::min(fromBottom, fromRight);
    const RampPlace& nearer = lightNearer ? light : shade;
    const RampPlace& farther = lightNearer ? shade : light;
    return nearer.step < rampSteps ? nearer : farther;
}

std::uint32_t plateColour(const PlateStyle& style, design::PictureSize size, int x, int y) {
    if (y < style.outlineRows)
        return outlineGrey;
    if (x == 0)
        return style.whiteLowerLeftColumn && y >= size.height / 2 ? white : outlineGrey;
    const RampPlace place = rampPlace(style, size, x, y);
    const std::uint32_t face = faceColour(style, y);
    if (place.step >= rampSteps)
        return face;
    if (place.highlight)
        return mixColour(style.highlight, face, place.step, rampSteps);
    return mixColour(place.bottom ? style.bottomShadow : black, face, place.step, rampSteps);
}

} // namespace

PixelBuffer drawPlate(const PlateStyle& style, design::PictureSize size) {
    PixelBuffer plate = PixelBuffer::filled(size.width, size.height, 0);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            plate.set(x, y, plateColour(style, size, x, y));
    return plate;
}

void drawExitMark(PixelBuffer& tile, const ExitMarkStyle& mark) {
    const int left = (tile.width - (mark.size + 1)) / 2;
    const int top = (tile.height - (mark.size + 1)) / 2;
    auto onStroke = [&](int i, int j) {
        return std::abs(i - j) <= mark.strokeHalf ||
               std::abs(i + j - (mark.size - 1)) <= mark.strokeHalf;
    };
    struct Layer {
        std::uint32_t colour;
        int offset;
    };
    for (const Layer& layer : {Layer{mark.shadow, 1}, Layer{mark.ink, 0}})
        for (int j = 0; j < mark.size; ++j)
            for (int i = 0; i < mark.size; ++i)
                if (onStroke(i, j) &&
                    tile.contains(left + i + layer.offset, top + j + layer.offset))
                    tile.set(left + i + layer.offset, top + j + layer.offset, layer.colour);
}

} // namespace zanthera::art
