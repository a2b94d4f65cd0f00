#include "DefinitionPictures.h"

#include "DefinitionBytes.h"
#include "ImageLayout.h"
#include "LittleEndian.h"

#include <algorithm>
#include <array>
#include <string>

namespace zanthera::definition {

namespace {

constexpr std::array<std::uint8_t, 8> pngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool startsWith(std::span<const std::uint8_t> data, std::span<const std::uint8_t> prefix) {
    return data.size() >= prefix.size() && std::ranges::equal(data.first(prefix.size()), prefix);
}

// Each image is either a bitmap information header without the file header, or a PNG file, and
// the images fill the rest of the file exactly.
Status checkIcon(std::span<const std::uint8_t> f, std::size_t offset) {
    const auto entries = readIconDirectory(f, offset);
    if (!entries)
        return entries.error();
    std::uint64_t total = iconDirectorySize + iconEntrySize * entries->size();
    for (const IconEntry& entry : *entries) {
        const auto image = f.subspan(entry.offset, entry.size);
        const bool bitmap =
            image.size() >= bitmapInfoHeaderSize && loadU32(image, 0) == bitmapInfoHeaderSize;
        if (!bitmap && !startsWith(image, pngSignature))
            return faultAt(offset + entry.offset, "icon image is neither a bitmap nor a PNG image");
        total += entry.size;
    }
    if (total != f.size())
        return faultAt(offset, "icon directory and images make " + std::to_string(total) +
                                   " bytes, not the file's " + std::to_string(f.size()));
    return success();
}

} // namespace

Result<ImageKind> checkImageFile(std::span<const std::uint8_t> file, std::size_t offset) {
    static constexpr std::array<std::uint8_t, 2> bitmapMagic{'B', 'M'};
    static constexpr std::array<std::uint8_t, 4> iconMagic{0, 0, 1, 0};
    if (startsWith(file, bitmapMagic)) {
        if (auto layout = readBitmapLayout(file, offset); !layout)
            return layout.error();
        return ImageKind::Bitmap;
    }
    if (file.size() >= iconDirectorySize && startsWith(file, iconMagic)) {
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
