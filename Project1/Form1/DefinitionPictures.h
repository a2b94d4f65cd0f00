// The image files that the stored window definition embeds: whole bitmap files and icon files.
// The definition only carries them; these checks make sure that a picture's own headers agree
// with the bytes that the definition gives it, so that whoever decodes it later starts from a
// file that is at least whole.
#pragma once

#include "base/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zanthera::definition {

enum class ImageKind : std::uint8_t { Bitmap, Icon };

// Checks the headers of one image file. `offset` is where the file begins in the block; a fault
// names the offset of the field that is wrong.
Result<ImageKind> checkImageFile(std::span<const std::uint8_t> file, std::size_t offset);

// The file name extension of an image kind, with its dot.
const char* imageExtension(ImageKind kind);

} // namespace zanthera::definition
