#include "ImageEncoders.h"

#include "Form1/DefinitionBytes.h"

#include <algorithm>
#include <string>

namespace zanthera {

namespace {

using definition::ByteSink;

constexpr std::size_t fileHeaderSize = bitmapFileHeaderSize;
constexpr std::size_t infoHeaderSize = bitmapInfoHeaderSize;
constexpr std::size_t paletteSize = 16 * 4;
constexpr std::uint16_t iconBitsPerPixel = 4;

Status checkPicture(const PixelBuffer& p, int maxSide) {
    if (p.width < 1 || p.height < 1 || p.width > maxSide || p.height > maxSide)
        return Error{"picture size " + std::to_string(p.width) + "x" + std::to_string(p.height) +
                     " is out of range"};
    if (p.pixels.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
        return Error{"picture holds the wrong number of pixels"};
    return success();
}

void writeInfoHeader(ByteSink& out, int width, int storedHeight, std::uint16_t bitsPerPixel,
                     std::size_t imageSize) {
    out.u32(std::uint32_t(infoHeaderSize));
    out.u32(static_cast<std::uint32_t>(width));
    out.u32(static_cast<std::uint32_t>(storedHeight));
    out.u16(1);
    out.u16(bitsPerPixel);
    out.u32(0); // uncompressed
    out.u32(static_cast<std::uint32_t>(imageSize));
    out.zeros(16); // no physical resolution and no colour table: shown pixel for pixel
}

} // namespace

const std::array<std::uint32_t, 16>& windowsPalette() {
    static constexpr std::array<std::uint32_t, 16> palette{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return palette;
}

Result<std::vector<std::uint8_t>> encodeBitmap(const PixelBuffer& picture, BitmapDepth depth) {
    if (Status ok = checkPicture(picture, maxPictureSide); !ok)
        return ok.error();
    const int bits = static_cast<int>(depth);
    const std::size_t stride = rowStride(picture.width, bits);
    const std::size_t imageSize = stride * static_cast<std::size_t>(picture.height);
    const std::size_t padding = stride - static_cast<std::size_t>(picture.width * bits / 8);
    ByteSink out;
    out.reserve(fileHeaderSize + infoHeaderSize + imageSize);
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(fileHeaderSize + infoHeaderSize + imageSize));
    out.u32(0);
    out.u32(std::uint32_t(fileHeaderSize + infoHeaderSize));
    writeInfoHeader(out, picture.width, picture.height, static_cast<std::uint16_t>(bits),
                    imageSize);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb = picture.at(x, y);
            out.u8(std::uint8_t(rgb));
            out.u8(std::uint8_t(rgb >> 8));
            out.u8(std::uint8_t(rgb >> 16));
            if (depth == BitmapDepth::Bits32)
                out.u8(0);
        }
        out.zeros(padding);
    }
    return out.take();
}

namespace {

Status checkIconImage(const IconImage& image) {
    if (Status ok = checkPicture(image.picture, maxIconSide); !ok)
        return ok.error();
    if (image.transparent.size() != image.picture.pixels.size())
        return Error{"icon mask does not match the icon's size"};
    const auto& palette = windowsPalette();
    for (std::size_t i = 0; i < image.picture.pixels.size(); ++i) {
        const std::uint32_t rgb = image.picture.pixels[i];
        if (!image.transparent[i] &&
            std::find(palette.begin(), palette.end(), rgb) == palette.end())
            return Error{"icon colour " + std::to_string(rgb) + " is not in the 16-colour palette"};
    }
    return success();
}

std::size_t iconImageSize(const PixelBuffer& p) {
    const std::size_t rows = static_cast<std::size_t>(p.height);
    return infoHeaderSize + paletteSize + rowStride(p.width, iconBitsPerPixel) * rows +
           rowStride(p.width, 1) * rows;
}

std::uint32_t paletteIndex(std::uint32_t rgb) {
    const auto& palette = windowsPalette();
    return static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), rgb) -
                                      palette.begin());
}

// The colour rows hold palette indices, two pixels a byte with the left one in the high half; a
// transparent pixel holds black so that the mask alone decides what shows there.
void writeIconRows(ByteSink& out, const IconImage& image) {
    const PixelBuffer& p = image.picture;
    const std::size_t colourStride = rowStride(p.width, iconBitsPerPixel);
    const std::size_t maskStride = rowStride(p.width, 1);
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourStride, 0);
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * p.width + x);
            const std::uint32_t index = image.transparent[i] ? 0 : paletteIndex(p.pixels[i]);
            row[static_cast<std::size_t>(x / 2)] |=
                static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
        }
        for (std::uint8_t b : row)
            out.u8(b);
    }
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < p.width; ++x)
            if (image.transparent[static_cast<std::size_t>(y * p.width + x)])
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        for (std::uint8_t b : row)
            out.u8(b);
    }
}

} // namespace

namespace {

void writeIconDirectory(ByteSink& out, std::span<const IconImage> images) {
    out.u16(0);
    out.u16(1); // an icon, not a cursor
    out.u16(static_cast<std::uint16_t>(images.size()));
    std::size_t offset = iconDirectorySize + iconEntrySize * images.size();
    for (const IconImage& image : images) {
        out.u8(static_cast<std::uint8_t>(image.picture.width % 256)); // 0 stands for 256
        out.u8(static_cast<std::uint8_t>(image.picture.height % 256));
        out.u8(16);
        out.u8(0);
        out.u16(1);
        out.u16(iconBitsPerPixel);
        out.u32(static_cast<std::uint32_t>(iconImageSize(image.picture)));
        out.u32(static_cast<std::uint32_t>(offset));
        offset += iconImageSize(image.picture);
    }
}

} // namespace

Result<std::vector<std::uint8_t>> encodeIcon(std::span<const IconImage> images) {
    if (images.empty() || images.size() > maxIconImages)
        return Error{"an icon holds 1 to " + std::to_string(maxIconImages) + " images"};
    std::size_t total = iconDirectorySize + iconEntrySize * images.size();
    for (const IconImage& image : images) {
        if (Status ok = checkIconImage(image); !ok)
            return ok.error();
        total += iconImageSize(image.picture);
    }
    ByteSink out;
    out.reserve(total);
    writeIconDirectory(out, images);
    for (const IconImage& image : images) {
        const PixelBuffer& p = image.picture;
        // The stored height counts the colour rows and the mask rows together.
        writeInfoHeader(out, p.width, 2 * p.height, iconBitsPerPixel,
                        iconImageSize(p) - infoHeaderSize - paletteSize);
        for (std::uint32_t rgb : windowsPalette()) {
            out.u8(std::uint8_t(rgb));
            out.u8(std::uint8_t(rgb >> 8));
            out.u8(std::uint8_t(rgb >> 16));
            out.u8(0);
        }
        writeIconRows(out, image);
    }
    return out.take();
}

} // namespace zanthera
