#include "ImageLayout.h"

#include "DefinitionBytes.h"
#include "LittleEndian.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace zanthera {

using definition::faultAt;

namespace {

constexpr std::size_t coreHeaderSize = 12;

// The versions of the bitmap information header that Windows has defined.
constexpr std::array<std::uint32_t, 6> knownInfoSizes{12, 40, 52, 56, 108, 124};

struct BitmapShape {
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows from the top
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

BitmapShape readShape(std::span<const std::uint8_t> f, std::uint32_t infoSize) {
    const std::size_t h = bitmapFileHeaderSize;
    if (infoSize == coreHeaderSize)
        return {loadU16(f, h + 4), loadU16(f, h + 6), loadU16(f, h + 8), loadU16(f, h + 10), 0};
    return {static_cast<std::int32_t>(loadU32(f, h + 4)),
            static_cast<std::int32_t>(loadU32(f, h + 8)), loadU16(f, h + 12), loadU16(f, h + 14),
            loadU32(f, h + 16)};
}

bool knownEncoding(const BitmapShape& s) {
    switch (s.compression) {
    case 0: // uncompressed
        return s.bitsPerPixel == 1 || s.bitsPerPixel == 4 || s.bitsPerPixel == 8 ||
               s.bitsPerPixel == 16 || s.bitsPerPixel == 24 || s.bitsPerPixel == 32;
    case 1: // run-length, 8 bits
        return s.bitsPerPixel == 8;
    case 2: // run-length, 4 bits
        return s.bitsPerPixel == 4;
    case 3: // bit fields
        return s.bitsPerPixel == 16 || s.bitsPerPixel == 32;
    }
    return false;
}

Status checkShape(const BitmapShape& s, std::size_t at) {
    if (s.width < 1 || s.width > maxPictureSide || s.height == 0 ||
        std::abs(s.height) > maxPictureSide)
        return faultAt(at, "bitmap of " + std::to_string(s.width) + " x " +
                               std::to_string(s.height) + " pixels is out of range");
    if (s.planes != 1)
        return faultAt(at, "bitmap has " + std::to_string(s.planes) + " planes, not 1");
    if (!knownEncoding(s))
        return faultAt(at, "bitmap encoding " + std::to_string(s.compression) + " with " +
                               std::to_string(s.bitsPerPixel) + " bits per pixel is not known");
    return success();
}

Result<std::uint32_t> readInfoSize(std::span<const std::uint8_t> f, std::size_t offset) {
    if (f.size() < bitmapFileHeaderSize + coreHeaderSize)
        return faultAt(offset, "bitmap file of " + std::to_string(f.size()) +
                                   " bytes is shorter than its headers");
    if (f[0] != 'B' || f[1] != 'M')
        return faultAt(offset, "bitmap file does not begin with BM");
    if (loadU32(f, 2) != f.size())
        return faultAt(offset + 2, "bitmap file size field " + std::to_string(loadU32(f, 2)) +
                                       " disagrees with the picture's " + std::to_string(f.size()) +
                                       " bytes");
    const std::uint32_t infoSize = loadU32(f, bitmapFileHeaderSize);
    if (std::ranges::find(knownInfoSizes, infoSize) == knownInfoSizes.end() ||
        infoSize > f.size() - bitmapFileHeaderSize)
        return faultAt(offset + bitmapFileHeaderSize, "bitmap information header size " +
                                                          std::to_string(infoSize) +
                                                          " is not known or runs past the file");
    return infoSize;
}

} // namespace

Result<BitmapLayout> readBitmapLayout(std::span<const std::uint8_t> f, std::size_t offset) {
    const Result<std::uint32_t> infoSize = readInfoSize(f, offset);
    if (!infoSize)
        return infoSize.error();
    const BitmapShape shape = readShape(f, *infoSize);
    if (auto s = checkShape(shape, offset + bitmapFileHeaderSize); !s)
        return s.error();
    BitmapLayout layout{BitmapDepth(shape.bitsPerPixel),
                        int(shape.width),
                        int(std::abs(shape.height)),
                        0,
                        loadU32(f, 10),
                        shape.height > 0,
                        shape.compression};
    std::uint64_t pixelBytes = 0;
    if (shape.compression == 0 || shape.compression == 3) {
        // The sides are capped above, so this cannot overflow: at most 8192 * 32 bits a row and
        // 8192 rows.
        layout.stride = rowStride(layout.width, shape.bitsPerPixel);
        pixelBytes = std::uint64_t(layout.stride) * std::uint64_t(layout.height);
    }
    if (layout.pixelOffset < bitmapFileHeaderSize + *infoSize || layout.pixelOffset > f.size() ||
        pixelBytes > f.size() - layout.pixelOffset)
        return faultAt(offset + 10, "bitmap pixel data at " + std::to_string(layout.pixelOffset) +
                                        " does not fit in the file of " + std::to_string(f.size()) +
                                        " bytes");
    return layout;
}

Result<BitmapLayout> readDirectColourBitmap(std::span<const std::uint8_t> file) {
    Result<BitmapLayout> layout = readBitmapLayout(file);
    if (layout && (layout->compression != 0 ||
                   (layout->depth != BitmapDepth::Bits24 && layout->depth != BitmapDepth::Bits32)))
        return Error{"only uncompressed bitmaps of 24 and 32 bits per pixel are read directly"};
    return layout;
}

Result<std::vector<IconEntry>> readIconDirectory(std::span<const std::uint8_t> f,
                                                 std::size_t offset) {
    if (f.size() < iconDirectorySize || loadU16(f, 0) != 0 || loadU16(f, 2) != 1)
        return faultAt(offset, "not an icon file");
    const std::size_t count = loadU16(f, 4);
    if (count == 0 || count > maxIconImages)
        return faultAt(offset + 4, "icon file holds " + std::to_string(count) + " images");
    const std::size_t imagesStart = iconDirectorySize + iconEntrySize * count;
    if (imagesStart > f.size())
        return faultAt(offset + 4,
                       "icon directory of " + std::to_string(count) + " images runs past the file");
    std::vector<IconEntry> entries;
    for (std::size_t at = iconDirectorySize; at < imagesStart; at += iconEntrySize) {
        // A side of 0 stands for 256.
        const IconEntry e{f[at] == 0 ? 256 : f[at],
                          f[at + 1] == 0 ? 256 : f[at + 1],
                          f[at + 2],
                          loadU16(f, at + 4),
                          loadU16(f, at + 6),
                          loadU32(f, at + 8),
                          loadU32(f, at + 12)};
        if (e.size == 0 || e.offset < imagesStart || e.offset > f.size() ||
            e.size > f.size() - e.offset)
            return faultAt(offset + at, "icon image of " + std::to_string(e.size) + " bytes at " +
                                            std::to_string(e.offset) + " lies outside the file");
        entries.push_back(e);
    }
    return entries;
}

} // namespace zanthera
