// The window's pictures on Windows: the stored bitmap files read into pixels, scaled with the
// layout when the screen is not at 96 DPI, and handed to GDI; the icon file's images as icons.
#pragma once

#include "Form1/PictureDecoders.h"
#include "Form1/WindowModel.h"
#include "base/Result.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace zanthera::win32 {

// One 0x00RRGGBB value per pixel, rows from the top: the layout of a 32-bit top-down DIB.
using Picture = PixelBuffer;

// The pixels of an uncompressed 24- or 32-bit bitmap file (readDirectColourBitmap).
Result<Picture> readBitmapFile(std::span<const std::uint8_t> file);

// The picture resampled to width x height, each new pixel the average of the old pixels it
// covers: a whole-number enlargement repeats pixels exactly, a fractional one blends at the seams
// only, so the lettering stays sharp.
Picture scalePicture(const Picture& picture, int width, int height);

// A DIB section holding the bitmap file's picture scaled to width x height, or null when the file
// is unusable or GDI cannot make one.
HBITMAP makeBitmap(std::span<const std::uint8_t> file, int width, int height);

// The icon file's image of `size` pixels (the first image when none has that size), scaled by
// the system to `size`; null when the file holds no usable image.
HICON makeIcon(std::span<const std::uint8_t> file, int size);

} // namespace zanthera::win32
