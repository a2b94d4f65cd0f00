// The window's picture files: Windows bitmaps (24 and 32 bits per pixel) and a 16-colour icon,
// written by our own encoders because the pictures must have an exact layout that general image
// libraries do not promise, and read back by a strict decoder that accepts only that layout.
#pragma once

#include "Form1/WindowModel.h"
#include "base/Result.h"

#include <array>
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

enum class BitmapDepth : std::uint16_t { Bits24 = 24, Bits32 = 32 };

// The 16 colours of the standard Windows palette, in palette order, as 0xRRGGBB.
const std::array<std::uint32_t, 16>& windowsPalette();

// A bitmap file: 14-byte file header, 40-byte information header, no colour table, uncompressed
// rows from the bottom, each filled out to 4 bytes. At 32 bits the fourth byte of every pixel is 0.
Result<std::vector<std::uint8_t>> encodeBitmap(const PixelBuffer& picture, BitmapDepth depth);

// An icon file holding the given images in order, each at 4 bits per pixel with the standard
// palette and a 1-bit mask. Every opaque pixel must be one of the palette's colours.
Result<std::vector<std::uint8_t>> encodeIcon(std::span<const IconImage> images);

struct DecodedBitmap {
    BitmapDepth depth = BitmapDepth::Bits24;
    PixelBuffer picture;
};

// Where a bitmap of exactly the layout that encodeBitmap writes keeps its pixels: `height` rows
// of `stride` bytes from `pixelOffset`, the bottom row first, blue, green, red in each pixel.
// Anything else is an error.
struct BitmapLayout {
    BitmapDepth depth = BitmapDepth::Bits24;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::size_t pixelOffset = 0;
};
Result<BitmapLayout> readBitmapLayout(std::span<const std::uint8_t> file);

// Reads back a bitmap of exactly the layout that encodeBitmap writes; anything else is an error.
Result<DecodedBitmap> decodeBitmap(std::span<const std::uint8_t> file);

// Reads back an icon of the layout that encodeIcon writes, with the colours its own palette
// gives; anything else is an error.
Result<std::vector<IconImage>> decodeIcon(std::span<const std::uint8_t> file);

} // namespace zanthera
