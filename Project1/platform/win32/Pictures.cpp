#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zanthera::win32 {

namespace {

constexpr int largestSide = 8192;

std::uint32_t readLittle(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

struct Tap {
    int source;
    double weight;
};

// For each new pixel along one axis, the old pixels it covers and the share of each.
std::vector<std::vector<Tap>> coverage(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    const double ratio = double(from) / double(to);
    for (int d = 0; d < to; ++d) {
        const double start = d * ratio;
        const double end = std::min(double(from), (d + 1) * ratio);
        for (int s = int(std::floor(start)); s < int(std::ceil(end)) && s < from; ++s) {
            const double share = std::min(end, s + 1.0) - std::max(start, double(s));
            if (share > 1e-9)
                taps[static_cast<std::size_t>(d)].push_back({s, share / ratio});
        }
    }
    return taps;
}

std::uint32_t blend(const std::vector<Tap>& taps, auto pixelAt) {
    double channels[3] = {0, 0, 0};
    for (const Tap& tap : taps) {
        const std::uint32_t p = pixelAt(tap.source);
        for (int c = 0; c < 3; ++c)
            channels[c] += tap.weight * double(p >> (8 * c) & 0xFF);
    }
    std::uint32_t result = 0;
    for (int c = 0; c < 3; ++c)
        result |= std::uint32_t(std::clamp(std::lround(channels[c]), 0L, 255L)) << (8 * c);
    return result;
}

} // namespace

Result<BitmapShape> bitmapShape(std::span<const std::uint8_t> file) {
    constexpr std::size_t headers = 54;
    if (file.size() < headers || file[0] != 'B' || file[1] != 'M')
        return Error{"not a bitmap file"};
    const std::uint32_t dataAt = readLittle(file, 10, 4);
    const auto width = static_cast<std::int32_t>(readLittle(file, 18, 4));
    const auto height = static_cast<std::int32_t>(readLittle(file, 22, 4));
    const std::uint32_t depth = readLittle(file, 28, 2);
    if (readLittle(file, 14, 4) < 40 || readLittle(file, 30, 4) != 0 ||
        (depth != 24 && depth != 32))
        return Error{"not an uncompressed 24- or 32-bit bitmap"};
    if (width <= 0 || width > largestSide || height == 0 || height > largestSide ||
        height < -largestSide)
        return Error{"a bitmap of impossible size"};
    BitmapShape shape{width,      std::abs(height), height > 0,
                      int(depth), dataAt,           (std::size_t(width) * depth + 31) / 32 * 4};
    if (dataAt > file.size() || shape.rowBytes * std::size_t(shape.height) > file.size() - dataAt)
        return Error{"a bitmap whose pixels run past the end of its file"};
    return shape;
}

Result<Picture> readBitmapFile(std::span<const std::uint8_t> file) {
    const auto shape = bitmapShape(file);
    if (!shape)
        return shape.error();
    const int width = shape->width, rows = shape->height;
    Picture picture{width, rows, std::vector<std::uint32_t>(std::size_t(width) * rows)};
    // Every pixel lies inside the file (checked above), so the rows are read without further
    // checks.
    const std::size_t step = std::size_t(shape->depth) / 8;
    for (int y = 0; y < rows; ++y) {
        // Rows are stored from the bottom unless the height is negative.
        const int stored = shape->bottomUp ? rows - 1 - y : y;
        const std::uint8_t* from =
            file.data() + shape->dataAt + shape->rowBytes * std::size_t(stored);
        std::uint32_t* to = picture.pixels.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x, from += step)
            to[x] =
                std::uint32_t(from[0]) | std::uint32_t(from[1]) << 8 | std::uint32_t(from[2]) << 16;
    }
    return picture;
}

Picture scalePicture(const Picture& picture, int width, int height) {
    if (width == picture.width && height == picture.height)
        return picture;
    if (width <= 0 || height <= 0 || picture.pixels.empty())
        return {};
    const auto across = coverage(picture.width, width);
    const auto down = coverage(picture.height, height);
    std::vector<std::uint32_t> wide(std::size_t(width) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < width; ++x)
            wide[std::size_t(y) * width + x] = blend(across[x], [&](int s) {
                return picture.pixels[std::size_t(y) * picture.width + s];
            });
    Picture result{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.pixels[std::size_t(y) * width + x] =
                blend(down[y], [&](int s) { return wide[std::size_t(s) * width + x]; });
    return result;
}

namespace {

// A DIB section of width x height pixels at `depth` bits, rows from the top unless `bottomUp`.
HBITMAP dibSection(int width, int height, int depth, bool bottomUp, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = bottomUp ? height : -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (bitmap && !*bits) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

} // namespace

HBITMAP makeBitmap(std::span<const std::uint8_t> file, int width, int height) {
    const auto shape = bitmapShape(file);
    if (!shape || width <= 0 || height <= 0)
        return nullptr;
    void* bits = nullptr;
    // At the picture's own size (96 DPI) GDI takes the rows as the file stores them, in one copy:
    // nothing is decoded while the user waits for the window.
    if (width == shape->width && height == shape->height) {
        const HBITMAP bitmap = dibSection(width, height, shape->depth, shape->bottomUp, &bits);
        if (bitmap)
            std::memcpy(bits, file.data() + shape->dataAt, shape->rowBytes * std::size_t(height));
        return bitmap;
    }
    const auto picture = readBitmapFile(file);
    if (!picture)
        return nullptr;
    const Picture resized = scalePicture(*picture, width, height);
    if (resized.pixels.empty())
        return nullptr;
    const HBITMAP bitmap = dibSection(width, height, 32, false, &bits);
    if (bitmap)
        std::memcpy(bits, resized.pixels.data(), resized.pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

HICON makeIcon(std::span<const std::uint8_t> file, int size) {
    constexpr std::size_t directory = 6, entrySize = 16;
    if (file.size() < directory || readLittle(file, 2, 2) != 1)
        return nullptr;
    const std::size_t count = readLittle(file, 4, 2);
    if (count == 0 || directory + count * entrySize > file.size())
        return nullptr;
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int side = file[directory + i * entrySize];
        if ((side == 0 ? 256 : side) == size)
            chosen = i;
    }
    const std::size_t entry = directory + chosen * entrySize;
    const std::uint32_t length = readLittle(file, entry + 8, 4);
    const std::uint32_t offset = readLittle(file, entry + 12, 4);
    if (offset > file.size() || length > file.size() - offset)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<std::uint8_t*>(file.data() + offset), length, TRUE,
                                    0x00030000, size, size, LR_DEFAULTCOLOR);
}

} // namespace zanthera::win32
