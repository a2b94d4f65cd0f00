#include "PictureDecoders.h"

#include "LittleEndian.h"

#include <array>
#include <string>

namespace zanthera {

namespace {

constexpr std::size_t paletteSize = 16 * 4;
constexpr std::uint16_t iconBitsPerPixel = 4;

std::uint32_t colourAt(const std::uint8_t* bgr) {
    return std::uint32_t(bgr[2]) << 16 | std::uint32_t(bgr[1]) << 8 | bgr[0];
}

std::size_t iconImageSize(int width, int height) {
    const auto rows = static_cast<std::size_t>(height);
    return bitmapInfoHeaderSize + paletteSize + rowStride(width, iconBitsPerPixel) * rows +
           rowStride(width, 1) * rows;
}

// The image's own header must say what its directory entry says: its width, its height doubled
// (colour rows and mask rows together), one plane, 4 bits, no compression, and no palette beyond
// the 16 colours that follow it.
Status checkIconImage(std::span<const std::uint8_t> data, const IconEntry& entry) {
    if (entry.colours != 16 || entry.planes != 1 || entry.bitCount != iconBitsPerPixel ||
        data.size() != iconImageSize(entry.width, entry.height))
        return Error{"icon image is not a 16-colour image of the size its entry gives"};
    const bool header = loadU32(data, 0) == bitmapInfoHeaderSize &&
                        loadU32(data, 4) == std::uint32_t(entry.width) &&
                        loadU32(data, 8) == std::uint32_t(2 * entry.height) &&
                        loadU16(data, 12) == 1 && loadU16(data, 14) == iconBitsPerPixel &&
                        loadU32(data, 16) == 0 && loadU32(data, 32) == 0;
    if (!header)
        return Error{"icon image header does not match its directory entry"};
    return success();
}

Result<IconImage> readIconImage(std::span<const std::uint8_t> data, const IconEntry& entry) {
    if (Status ok = checkIconImage(data, entry); !ok)
        return ok.error();
    std::array<std::uint32_t, 16> palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = colourAt(data.data() + bitmapInfoHeaderSize + 4 * i);
    IconImage out{PixelBuffer::filled(entry.width, entry.height, 0), {}};
    PixelBuffer& p = out.picture;
    const std::size_t colourStride = rowStride(p.width, iconBitsPerPixel);
    const std::size_t maskStride = rowStride(p.width, 1);
    const std::size_t colourStart = bitmapInfoHeaderSize + paletteSize;
    const std::size_t maskStart = colourStart + colourStride * static_cast<std::size_t>(p.height);
    out.transparent.assign(p.pixels.size(), false);
    for (int y = 0; y < p.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(p.height - 1 - y);
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * p.width + x);
            const std::uint8_t colour = data[colourStart + row * colourStride + std::size_t(x / 2)];
            const std::uint8_t mask = data[maskStart + row * maskStride + std::size_t(x / 8)];
            p.pixels[i] = palette[x % 2 ? colour & 0x0Fu : colour >> 4u];
            out.transparent[i] = (mask & (0x80 >> (x % 8))) != 0;
        }
    }
    return out;
}

} // namespace

PixelBuffer PixelBuffer::filled(int width, int height, std::uint32_t rgb) {
    PixelBuffer p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), rgb);
    return p;
}

Result<DecodedBitmap> decodeBitmap(std::span<const std::uint8_t> file) {
    const Result<BitmapLayout> layout = readDirectColourBitmap(file);
    if (!layout)
        return layout.error();
    DecodedBitmap out{layout->depth, PixelBuffer::filled(layout->width, layout->height, 0)};
    // The layout check guarantees every row, so the rows are read straight from the file: the
    // program decodes its pictures at start-up, where a byte-at-a-time reader would show.
    const std::size_t bytesPerPixel = static_cast<std::size_t>(layout->depth) / 8;
    std::uint32_t* pixel = out.picture.pixels.data();
    for (int y = 0; y < layout->height; ++y) {
        const auto storedRow =
            static_cast<std::size_t>(layout->bottomUp ? layout->height - 1 - y : y);
        const std::uint8_t* src = file.data() + layout->pixelOffset + layout->stride * storedRow;
        for (int x = 0; x < layout->width; ++x, src += bytesPerPixel)
            *pixel++ = colourAt(src);
    }
    return out;
}

Result<std::vector<IconImage>> decodeIcon(std::span<const std::uint8_t> file) {
    const auto entries = readIconDirectory(file);
    if (!entries)
        return entries.error();
    std::vector<IconImage> images;
    for (const IconEntry& e : *entries) {
        Result<IconImage> image = readIconImage(file.subspan(e.offset, e.size), e);
        if (!image)
            return image.error();
        images.push_back(std::move(image).value());
    }
    return images;
}

} // namespace zanthera
