// Where a bitmap file keeps its pixels and an icon file its images: the one reader of their
// headers, shared by the definition's reader, the pictures' decoders, both forms engines and the
// maintenance tool. Every size and offset is checked against the file's own bytes before anyone
// uses it; a fault names the offset of the field that is wrong, counted from `offset`, where the
// file begins in whatever holds it.
#pragma once

#include "base/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zanthera {

// Far beyond any picture of the window, small enough that no size computed from them can
// overflow.
inline constexpr int maxPictureSide = 8192;
inline constexpr std::size_t maxIconImages = 64;

inline constexpr std::size_t bitmapFileHeaderSize = 14;
inline constexpr std::size_t bitmapInfoHeaderSize = 40;
inline constexpr std::size_t iconDirectorySize = 6;
inline constexpr std::size_t iconEntrySize = 16;

enum class BitmapDepth : std::uint16_t { Bits24 = 24, Bits32 = 32 };

// Bytes in one stored row: rows are filled out to a whole number of 32-bit words.
inline std::size_t rowStride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

// `height` rows of `stride` bytes from `pixelOffset`, the bottom row first when `bottomUp`. For
// an uncompressed 24- or 32-bit bitmap each pixel is blue, green, red (and a fourth byte).
struct BitmapLayout {
    BitmapDepth depth = BitmapDepth::Bits24; // the bits per pixel, whatever they are
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::size_t pixelOffset = 0;
    bool bottomUp = true;
    std::uint32_t compression = 0;
};

// Any bitmap file Windows knows: a known header version, a size within the limits, a known
// encoding, and its file size field and its rows agreeing with its bytes.
Result<BitmapLayout> readBitmapLayout(std::span<const std::uint8_t> file, std::size_t offset = 0);

// A bitmap file whose pixels can be read directly: uncompressed, 24 or 32 bits per pixel.
Result<BitmapLayout> readDirectColourBitmap(std::span<const std::uint8_t> file);

struct IconEntry {
    int width = 0; // 1 to 256
    int height = 0;
    std::uint8_t colours = 0; // 0 for 256 colours or more
    std::uint16_t planes = 0; // as the entry gives them; the image's own header decides
    std::uint16_t bitCount = 0;
    std::size_t size = 0;
    std::size_t offset = 0; // from the file's start
};

// The directory of an icon file: 1 to maxIconImages images, none empty, each lying inside the
// file after the directory.
Result<std::vector<IconEntry>> readIconDirectory(std::span<const std::uint8_t> file,
                                                 std::size_t offset = 0);

} // namespace zanthera
