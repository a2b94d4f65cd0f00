#include "ArtTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace zanthera::art::testing {

const ArtFonts& fonts() {
    static const Result<ArtFonts> loaded = loadFonts();
    static const ArtFonts none;
    if (!loaded) {
        ADD_FAILURE() << loaded.error().message;
        return none;
    }
    return *loaded;
}

Box differingBox(const PixelBuffer& a, const PixelBuffer& b) {
    Box box{INT_MAX, INT_MAX, -1, -1};
    for (int y = 0; y < std::min(a.height, b.height); ++y) {
        for (int x = 0; x < std::min(a.width, b.width); ++x) {
            if (a.at(x, y) == b.at(x, y))
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    }
    return box;
}

std::vector<design::ControlRow> buttons() {
    std::vector<design::ControlRow> out;
    for (const design::ControlRow& row : design::controls)
        if (row.role == design::Role::Button)
            out.push_back(row);
    return out;
}

int brightness(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF));
}

} // namespace zanthera::art::testing
