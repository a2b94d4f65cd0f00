// The units the window is designed in, and their conversion to a screen's pixels. The design
// places everything in twips (1/1440 inch) and draws its pictures for a screen of 96 dots per
// inch, where a pixel is 15 twips; every engine grows the whole design by the screen's DPI over
// that base.
#pragma once

#include <cmath>

namespace zanthera {

inline constexpr int twipsPerInch = 1440;
inline constexpr int designDpi = 96;

// Pixels from twips at a screen's logical DPI, rounded to the nearest pixel.
inline int twipsToPixels(int twips, double logicalDpi) {
    return int(std::lround(twips * logicalDpi / twipsPerInch));
}

// How much larger than designed the window is drawn at `logicalDpi`.
inline double designScale(double logicalDpi) {
    return logicalDpi / designDpi;
}

} // namespace zanthera
