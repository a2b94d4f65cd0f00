// Helpers shared by the artwork tests: the fonts, loaded once, and the box of pixels in which two
// pictures differ (which is how the tests find what was drawn on a plate).
#pragma once

#include "Fonts.h"
#include "Form1/ControlTable.h"
#include "Form1/ImageFiles.h"

#include <vector>

namespace zanthera::art::testing {

// Fails the calling test when the font files cannot be loaded.
const ArtFonts& fonts();

struct Box {
    int left = 0;
    int top = 0;
    int right = -1; // inclusive
    int bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

Box differingBox(const PixelBuffer& a, const PixelBuffer& b);

// The buttons of the control table, in creation order.
std::vector<design::ControlRow> buttons();

// Red, green and blue summed: enough to tell a lighter ramp pixel from a darker one.
int brightness(std::uint32_t rgb);

} // namespace zanthera::art::testing
