// The window's pictures read into pixels: uncompressed 24- and 32-bit bitmaps, bottom-up or
// top-down, and 16-colour icons with their masks. The forms engine decodes what it cannot hand
// to the screen as it lies; the build-time artwork writes these same layouts.
#pragma once

#include "Form1/ImageLayout.h"
#include "base/Result.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zanthera {

// A picture in memory: one 0xRRGGBB value per pixel, rows from the top.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    static PixelBuffer filled(int width, int height, std::uint32_t rgb);
    std::uint32_t at(int x, int y) const { return pixels[index(x, y)]; }
    void set(int x, int y, std::uint32_t rgb) { pixels[index(x, y)] = rgb; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

// One image of an icon: its pixels, and for each pixel whether the mask lets the background show
// through there (the colour of a transparent pixel is not stored).
struct IconImage {
    PixelBuffer picture;
    std::vector<bool> transparent;
    friend bool operator==(const IconImage&, const IconImage&) = default;
};

// Icon images are at most 256 pixels a side, as the directory's one-byte sides can say.
inline constexpr int maxIconSide = 256;

struct DecodedBitmap {
    BitmapDepth depth = BitmapDepth::Bits24;
    PixelBuffer picture;
};

// The pixels of a bitmap that readDirectColourBitmap accepts; anything else is an error.
Result<DecodedBitmap> decodeBitmap(std::span<const std::uint8_t> file);

// The images of an icon whose every image is an uncompressed 4-bit bitmap with its own 16-colour
// palette and a 1-bit mask, the colours as that palette gives them; anything else is an error.
Result<std::vector<IconImage>> decodeIcon(std::span<const std::uint8_t> file);

} // namespace zanthera
