// The window's picture files as the build writes them: Windows bitmaps (24 and 32 bits per pixel)
// and a 16-colour icon, by our own encoders because the pictures must have an exact layout that
// general image libraries do not promise. The program only reads these files (PictureDecoders.h).
#pragma once

#include "Form1/PictureDecoders.h"
#include "base/Result.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zanthera {

// The 16 colours of the standard Windows palette, in palette order, as 0xRRGGBB.
const std::array<std::uint32_t, 16>& windowsPalette();

// A bitmap file: 14-byte file header, 40-byte information header, no colour table, uncompressed
// rows from the bottom, each filled out to 4 bytes. At 32 bits the fourth byte of every pixel is 0.
Result<std::vector<std::uint8_t>> encodeBitmap(const PixelBuffer& picture, BitmapDepth depth);

// An icon file holding the given images in order, each at 4 bits per pixel with the standard
// palette and a 1-bit mask. Every opaque pixel must be one of the palette's colours.
Result<std::vector<std::uint8_t>> encodeIcon(std::span<const IconImage> images);

} // namespace zanthera
