#include "DefinitionPictures.h"

#include "DefinitionBytes.h"
#include "DefinitionFormat.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace zanthera::definition {

namespace {

constexpr std::size_t bitmapFileHeader = 14;
constexpr std::size_t coreHeader = 12;
constexpr std::size_t infoHeader = 40;
constexpr std::size_t iconDirectory = 6;
constexpr std::size_t iconEntry = 16;
constexpr std::array<std::uint8_t, 8> pngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// The versions of the bitmap information header that Windows has defined.
constexpr std::array<std::uint32_t, 6> knownInfoSizes{12, 40, 52, 56, 108, 124};

struct BitmapShape {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

BitmapShape readShape(std::span<const std::uint8_t> f, std::uint32_t infoSize) {
    const std::size_t h = bitmapFileHeader;
    if (infoSize == coreHeader)
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
    const auto side = static_cast<std::int64_t>(maxPictureSide);
    if (s.width < 1 || s.width > side || s.height == 0 || std::abs(s.height) > side)
        return faultAt(at, "bitmap of " + std::to_string(s.width) + " x " +
                               std::to_string(s.height) + " pixels is out of range");
    if (s.planes != 1)
        return faultAt(at, "bitmap has " + std::to_string(s.planes) + " planes, not 1");
    if (!knownEncoding(s))
        return faultAt(at, "bitmap encoding " + std::to_string(s.compression) + " with " +
                               std::to_string(s.bitsPerPixel) + " bits per pixel is not known");
    return success();
}

Status checkBitmap(std::span<const std::uint8_t> f, std::size_t offset) {
    if (f.size() < bitmapFileHeader + coreHeader)
        return faultAt(offset, "bitmap file of " + std::to_string(f.size()) +
                                   " bytes is shorter than its headers");
    if (loadU32(f, 2) != f.size())
        return faultAt(offset + 2, "bitmap file size field " + std::to_string(loadU32(f, 2)) +
                                       " disagrees with the picture's " + std::to_string(f.size()) +
                                       " bytes");
    const std::uint32_t infoSize = loadU32(f, bitmapFileHeader);
    if (std::ranges::find(knownInfoSizes, infoSize) == knownInfoSizes.end() ||
        infoSize > f.size() - bitmapFileHeader)
        return faultAt(offset + bitmapFileHeader, "bitmap information header size " +
                                                      std::to_string(infoSize) +
                                                      " is not known or runs past the file");
    const BitmapShape shape = readShape(f, infoSize);
    if (auto s = checkShape(shape, offset + bitmapFileHeader); !s)
        return s;
    const std::uint64_t dataOffset = loadU32(f, 10);
    std::uint64_t pixelBytes = 0;
    if (shape.compression == 0 || shape.compression == 3) {
        // Rows are padded to whole 32-bit words. The sides are capped above, so this cannot
        // overflow: at most 8192 * 32 bits a row and 8192 rows.
        const auto stride =
            (static_cast<std::uint64_t>(shape.width) * shape.bitsPerPixel + 31) / 32 * 4;
        pixelBytes = stride * static_cast<std::uint64_t>(std::abs(shape.height));
    }
    if (dataOffset < bitmapFileHeader + infoSize || dataOffset > f.size() ||
        pixelBytes > f.size() - dataOffset)
        return faultAt(offset + 10, "bitmap pixel data at " + std::to_string(dataOffset) +
                                        " does not fit in the file of " + std::to_string(f.size()) +
                                        " bytes");
    return success();
}

bool startsWith(std::span<const std::uint8_t> data, std::span<const std::uint8_t> prefix) {
    return data.size() >= prefix.size() && std::ranges::equal(data.first(prefix.size()), prefix);
}

// An icon image is either a bitmap information header without the file header, or a PNG file.
Status checkIconEntry(std::span<const std::uint8_t> f, std::size_t entryAt, std::size_t offset,
                      std::uint64_t& total) {
    const std::uint32_t size = loadU32(f, entryAt + 8);
    const std::uint32_t start = loadU32(f, entryAt + 12);
    const std::size_t imagesStart = iconDirectory + iconEntry * loadU16(f, 4);
    if (size == 0 || start < imagesStart || start > f.size() || size > f.size() - start)
        return faultAt(offset + entryAt, "icon image of " + std::to_string(size) + " bytes at " +
                                             std::to_string(start) + " lies outside the file");
    const auto image = f.subspan(start, size);
    const bool bitmap = image.size() >= infoHeader && loadU32(image, 0) == infoHeader;
    if (!bitmap && !startsWith(image, pngSignature))
        return faultAt(offset + start, "icon image is neither a bitmap nor a PNG image");
    total += size;
    return success();
}

Status checkIcon(std::span<const std::uint8_t> f, std::size_t offset) {
    const std::uint16_t count = loadU16(f, 4);
    if (count == 0 || count > maxIconImages)
        return faultAt(offset + 4, "icon file holds " + std::to_string(count) + " images");
    const std::size_t imagesStart = iconDirectory + iconEntry * count;
    if (imagesStart > f.size())
        return faultAt(offset + 4,
                       "icon directory of " + std::to_string(count) + " images runs past the file");
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (auto s = checkIconEntry(f, iconDirectory + iconEntry * i, offset, total); !s)
            return s;
    if (imagesStart + total != f.size())
        return faultAt(offset, "icon directory and images make " +
                                   std::to_string(imagesStart + total) + " bytes, not the file's " +
                                   std::to_string(f.size()));
    return success();
}

} // namespace

Result<ImageKind> checkImageFile(std::span<const std::uint8_t> file, std::size_t offset) {
    static constexpr std::array<std::uint8_t, 2> bitmapMagic{'B', 'M'};
    static constexpr std::array<std::uint8_t, 4> iconMagic{0, 0, 1, 0};
    if (startsWith(file, bitmapMagic)) {
        if (auto s = checkBitmap(file, offset); !s)
            return s.error();
        return ImageKind::Bitmap;
    }
    if (file.size() >= iconDirectory && startsWith(file, iconMagic)) {
        if (auto s = checkIcon(file, offset); !s)
            return s.error();
        return ImageKind::Icon;
    }
    return faultAt(offset, "picture is neither a bitmap file nor an icon file");
}

const char* imageExtension(ImageKind kind) {
    return kind == ImageKind::Icon ? ".ico" : ".bmp";
}

} // namespace zanthera::definition
