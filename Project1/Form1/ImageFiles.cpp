#include "ImageFiles.h"

#include <algorithm>
#include <string>

namespace zanthera {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t iconDirectorySize = 6;
constexpr std::size_t iconEntrySize = 16;
constexpr std::size_t paletteSize = 16 * 4;
constexpr std::uint16_t iconBitsPerPixel = 4;
// Far beyond any picture of the window, small enough that no size computed below can overflow.
constexpr int maxBitmapSide = 8192;
constexpr int maxIconSide = 256;
constexpr std::size_t maxIconImages = 16;

// Bytes in one stored row: rows are filled out to a whole number of 32-bit words.
std::size_t rowStride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

class ByteWriter {
  public:
    explicit ByteWriter(std::size_t expectedSize) { bytes_.reserve(expectedSize); }
    void u8(std::uint32_t v) { bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
    void u16(std::uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Reads little-endian values; a read past the end yields 0 and marks the reader failed, so a
// caller checks once after a group of reads instead of after each one.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}
    std::uint32_t u8() {
        if (pos_ >= data_.size()) {
            failed_ = true;
            return 0;
        }
        return data_[pos_++];
    }
    // One statement per byte: the operands of | may be evaluated in either order.
    std::uint32_t u16() {
        const std::uint32_t low = u8();
        return low | u8() << 8;
    }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | u16() << 16;
    }
    void seek(std::size_t pos) {
        failed_ = failed_ || pos > data_.size();
        pos_ = std::min(pos, data_.size());
    }
    bool failed() const { return failed_; }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

Status checkPicture(const PixelBuffer& p, int maxSide) {
    if (p.width < 1 || p.height < 1 || p.width > maxSide || p.height > maxSide)
        return Error{"picture size " + std::to_string(p.width) + "x" + std::to_string(p.height) +
                     " is out of range"};
    if (p.pixels.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
        return Error{"picture holds the wrong number of pixels"};
    return success();
}

void writeInfoHeader(ByteWriter& out, int width, int storedHeight, std::uint16_t bitsPerPixel,
                     std::size_t imageSize) {
    out.u32(infoHeaderSize);
    out.u32(static_cast<std::uint32_t>(width));
    out.u32(static_cast<std::uint32_t>(storedHeight));
    out.u16(1);
    out.u16(bitsPerPixel);
    out.u32(0); // uncompressed
    out.u32(static_cast<std::uint32_t>(imageSize));
    out.zeros(16); // no physical resolution and no colour table: shown pixel for pixel
}

} // namespace

PixelBuffer PixelBuffer::filled(int width, int height, std::uint32_t rgb) {
    PixelBuffer p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), rgb);
    return p;
}

const std::array<std::uint32_t, 16>& windowsPalette() {
    static constexpr std::array<std::uint32_t, 16> palette{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return palette;
}

Result<std::vector<std::uint8_t>> encodeBitmap(const PixelBuffer& picture, BitmapDepth depth) {
    if (Status ok = checkPicture(picture, maxBitmapSide); !ok)
        return ok.error();
    const int bits = static_cast<int>(depth);
    const std::size_t stride = rowStride(picture.width, bits);
    const std::size_t imageSize = stride * static_cast<std::size_t>(picture.height);
    const std::size_t padding = stride - static_cast<std::size_t>(picture.width * bits / 8);
    ByteWriter out(fileHeaderSize + infoHeaderSize + imageSize);
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(fileHeaderSize + infoHeaderSize + imageSize));
    out.u32(0);
    out.u32(fileHeaderSize + infoHeaderSize);
    writeInfoHeader(out, picture.width, picture.height, static_cast<std::uint16_t>(bits),
                    imageSize);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb = picture.at(x, y);
            out.u8(rgb);
            out.u8(rgb >> 8);
            out.u8(rgb >> 16);
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
void writeIconRows(ByteWriter& out, const IconImage& image) {
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

void writeIconDirectory(ByteWriter& out, std::span<const IconImage> images) {
    out.u16(0);
    out.u16(1); // an icon, not a cursor
    out.u16(static_cast<std::uint32_t>(images.size()));
    std::size_t offset = iconDirectorySize + iconEntrySize * images.size();
    for (const IconImage& image : images) {
        out.u8(static_cast<std::uint32_t>(image.picture.width % 256)); // 0 stands for 256
        out.u8(static_cast<std::uint32_t>(image.picture.height % 256));
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
    ByteWriter out(total);
    writeIconDirectory(out, images);
    for (const IconImage& image : images) {
        const PixelBuffer& p = image.picture;
        // The stored height counts the colour rows and the mask rows together.
        writeInfoHeader(out, p.width, 2 * p.height, iconBitsPerPixel,
                        iconImageSize(p) - infoHeaderSize - paletteSize);
        for (std::uint32_t rgb : windowsPalette()) {
            out.u8(rgb);
            out.u8(rgb >> 8);
            out.u8(rgb >> 16);
            out.u8(0);
        }
        writeIconRows(out, image);
    }
    return out.take();
}

namespace {

struct InfoHeader {
    int width = 0;
    int storedHeight = 0;
    std::uint32_t bitsPerPixel = 0;
};

// Only the layout our encoders write is accepted: bottom-up rows, one plane, no compression, no
// colour table beyond what the depth implies.
Result<InfoHeader> readInfoHeader(ByteReader& in, int maxSide) {
    const std::uint32_t size = in.u32();
    InfoHeader h;
    h.width = static_cast<int>(in.u32());
    h.storedHeight = static_cast<int>(in.u32());
    const std::uint32_t planes = in.u16();
    h.bitsPerPixel = in.u16();
    const std::uint32_t compression = in.u32();
    in.u32(); // image size: a writer may leave it 0, so the row layout decides instead
    in.u32();
    in.u32();
    const std::uint32_t coloursUsed = in.u32();
    in.u32();
    if (in.failed())
        return Error{"the information header is cut short"};
    if (size != infoHeaderSize || planes != 1 || compression != 0 || coloursUsed != 0)
        return Error{"unsupported information header"};
    if (h.width < 1 || h.width > maxSide || h.storedHeight < 1 || h.storedHeight > 2 * maxSide)
        return Error{"picture size is out of range"};
    return h;
}

std::uint32_t readColour(ByteReader& in) {
    const std::uint32_t b = in.u8();
    const std::uint32_t g = in.u8();
    return in.u8() << 16 | g << 8 | b;
}

} // namespace

Result<BitmapLayout> readBitmapLayout(std::span<const std::uint8_t> file) {
    ByteReader in(file);
    const bool signature = in.u8() == 'B' && in.u8() == 'M';
    const std::uint32_t fileSize = in.u32();
    in.u32();
    const std::uint32_t dataOffset = in.u32();
    if (in.failed() || !signature || fileSize != file.size() ||
        dataOffset != fileHeaderSize + infoHeaderSize)
        return Error{"not a bitmap file of the expected layout"};
    const Result<InfoHeader> header = readInfoHeader(in, maxBitmapSide);
    if (!header)
        return header.error();
    if (header->bitsPerPixel != 24 && header->bitsPerPixel != 32)
        return Error{"only 24 and 32 bits per pixel are supported"};
    if (header->storedHeight > maxBitmapSide)
        return Error{"picture size is out of range"};
    BitmapLayout layout{static_cast<BitmapDepth>(header->bitsPerPixel), header->width,
                        header->storedHeight, rowStride(header->width, int(header->bitsPerPixel)),
                        dataOffset};
    if (file.size() != dataOffset + layout.stride * static_cast<std::size_t>(layout.height))
        return Error{"the pixel data does not match the picture size"};
    return layout;
}

Result<DecodedBitmap> decodeBitmap(std::span<const std::uint8_t> file) {
    const Result<BitmapLayout> layout = readBitmapLayout(file);
    if (!layout)
        return layout.error();
    DecodedBitmap out;
    out.depth = layout->depth;
    out.picture = PixelBuffer::filled(layout->width, layout->height, 0);
    // The layout check guarantees every row, so the rows are read straight from the file: the
    // program decodes its pictures at start-up, where a byte-at-a-time reader would show.
    const std::size_t bytesPerPixel = static_cast<std::size_t>(layout->depth) / 8;
    std::uint32_t* pixel = out.picture.pixels.data();
    for (int y = 0; y < layout->height; ++y) {
        const auto storedRow = static_cast<std::size_t>(layout->height - 1 - y);
        const std::uint8_t* src = file.data() + layout->pixelOffset + layout->stride * storedRow;
        for (int x = 0; x < layout->width; ++x, src += bytesPerPixel) {
            *pixel++ = std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
        }
    }
    return out;
}

namespace {

struct IconEntry {
    int width = 0;
    int height = 0;
    std::size_t size = 0;
    std::size_t offset = 0;
};

Result<IconImage> readIconImage(std::span<const std::uint8_t> data, const IconEntry& entry) {
    ByteReader in(data);
    const Result<InfoHeader> header = readInfoHeader(in, maxIconSide);
    if (!header)
        return header.error();
    if (header->width != entry.width || header->storedHeight != 2 * entry.height ||
        header->bitsPerPixel != iconBitsPerPixel)
        return Error{"icon image header does not match its directory entry"};
    std::array<std::uint32_t, 16> palette{};
    for (std::uint32_t& colour : palette) {
        colour = readColour(in);
        in.u8();
    }
    IconImage out;
    PixelBuffer& p = out.picture;
    p = PixelBuffer::filled(entry.width, entry.height, 0);
    if (data.size() != iconImageSize(p))
        return Error{"icon image size does not match its directory entry"};
    std::vector<std::uint32_t> indices(p.pixels.size());
    const std::size_t colourStride = rowStride(p.width, iconBitsPerPixel);
    const std::size_t maskStride = rowStride(p.width, 1);
    const std::size_t colourStart = infoHeaderSize + paletteSize;
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

Result<std::vector<IconImage>> decodeIcon(std::span<const std::uint8_t> file) {
    ByteReader in(file);
    const std::uint32_t reserved = in.u16();
    const std::uint32_t type = in.u16();
    const std::uint32_t count = in.u16();
    if (in.failed() || reserved != 0 || type != 1 || count < 1 || count > maxIconImages)
        return Error{"not an icon file of the expected layout"};
    std::vector<IconEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        IconEntry e;
        e.width = static_cast<int>(in.u8());
        e.height = static_cast<int>(in.u8());
        const bool sixteenColours = in.u8() == 16 && in.u8() == 0;
        const bool layout = in.u16() == 1 && in.u16() == iconBitsPerPixel;
        e.size = in.u32();
        e.offset = in.u32();
        e.width = e.width == 0 ? maxIconSide : e.width;
        e.height = e.height == 0 ? maxIconSide : e.height;
        if (in.failed() || !sixteenColours || !layout || e.offset > file.size() ||
            e.size > file.size() - e.offset)
            return Error{"icon directory entry " + std::to_string(i) + " is not valid"};
        entries.push_back(e);
    }
    std::vector<IconImage> images;
    for (const IconEntry& e : entries) {
        Result<IconImage> image = readIconImage(file.subspan(e.offset, e.size), e);
        if (!image)
            return image.error();
        images.push_back(std::move(image).value());
    }
    return images;
}

} // namespace zanthera
