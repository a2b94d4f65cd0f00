// zanthera-key-png LARGE SMALL: writes the window's 32 x 32 and 16 x 16 key as PNG files, pixel
// for pixel, for the desktop's two smallest icon sizes. At those sizes a scaled drawing would
// blur the one-pixel outline and sheen that the pixel art places by hand; the larger sizes are
// rendered from KeyIcon.svg, which traces the same key on the same grid.
#include "KeyIcon.h"

#include <QImage>

#include <cstdio>

namespace {

QImage toImage(const zanthera::IconImage& icon) {
    const zanthera::PixelBuffer& picture = icon.picture;
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y,
                           icon.transparent[std::size_t(y * picture.width + x)]
                               ? 0u
                               : 0xFF000000u | picture.at(x, y));
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zanthera-key-png LARGE.png SMALL.png\n");
        return 2;
    }
    const auto key = zanthera::art::drawKeyIcon();
    for (int i = 0; i < 2; ++i) {
        if (!toImage(key[std::size_t(i)]).save(argv[i + 1], "PNG")) {
            std::fprintf(stderr, "zanthera-key-png: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
