#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zanthera::win32 {

namespace {

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

Result<Picture> readBitmapFile(std::span<const std::uint8_t> file) {
    Result<DecodedBitmap> bitmap = decodeBitmap(file);
    if (!bitmap)
        return bitmap.error();
    return std::move(bitmap).value().picture;
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
    const auto shape = readDirectColourBitmap(file);
    if (!shape || width <= 0 || height <= 0)
        return nullptr;
    void* bits = nullptr;
    // At the picture's own size (96 DPI) GDI takes the rows as the file stores them, in one copy:
    // nothing is decoded while the user waits for the window.
    if (width == shape->width && height == shape->height) {
        const HBITMAP bitmap = dibSection(width, height, int(shape->depth), shape->bottomUp, &bits);
        if (bitmap)
            std::memcpy(bits, file.data() + shape->pixelOffset,
                        shape->stride * std::size_t(height));
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
    const auto entries = readIconDirectory(file);
    if (!entries)
        return nullptr;
    const IconEntry* chosen = &entries->front();
    for (const IconEntry& entry : *entries)
        if (entry.width == size)
            chosen = &entry;
    return CreateIconFromResourceEx(const_cast<std::uint8_t*>(file.data() + chosen->offset),
                                    DWORD(chosen->size), TRUE, 0x00030000, size, size,
                                    LR_DEFAULTCOLOR);
}

} // namespace zanthera::win32
