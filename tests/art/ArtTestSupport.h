// Helpers shared by the artwork tests: the fonts, loaded once, and the box of pixels in which two
// pictures differ (which is how the tests find what was drawn on a plate).
#pragma once

#include "Fonts.h"
#include "Form1/ControlTable.h"
#include "Form1/ImageFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace zanthera::art::testing {

// Fails the calling test when the font files cannot be loaded.
inline const ArtFonts& fonts() {
    static const Result<ArtFonts> loaded = loadFonts();
    static const ArtFonts none;
    if (!loaded)
        ADD_FAILURE() << loaded.error().message;
    return loaded ? *loaded : none;
}

struct Box {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = -1; // inclusive
    int bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

inline Box differingBox(const PixelBuffer& a, const PixelBuffer& b) {
    Box box;
    for (int y = 0; y < std::min(a.height, b.height); ++y) {
        for (int x = 0; x < std::min(a.width, b.width); ++x) {
            if (a.at(x, y) != b.at(x, y))
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
        }
    }
    return box;
}

// The buttons of the control table, in creation order.
inline std::vector<design::ControlRow> buttons() {
    std::vector<design::ControlRow> out;
    std::ranges::copy_if(design::controls, std::back_inserter(out),
                         [](const auto& row) { return row.role == design::Role::Button; });
    return out;
}

// Red, green and blue summed: enough to tell a lighter ramp pixel from a darker one.
inline int brightness(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF));
}

} // namespace zanthera::art::testing
