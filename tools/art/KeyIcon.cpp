#include "KeyIcon.h"

#include "ArtTable.h"

#include <span>
#include <string_view>

namespace zanthera::art {

namespace {

// The key is pixel art: K black outline, D dark grey (teeth and shadow), c the metal, which
// alternates white and light grey pixel by pixel for a brushed sheen, and . transparent.
// clang-format off
constexpr std::string_view largeKey[] = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "......................KKKKK.....",
    "....................KKcccccKK...",
    ".............KKK...KcccccccccK..",
    ".............KcK..KcccccccccccK.",
    ".............KcK..KcccccccccccK.",
    "KKKKKKKKKKKKKcccKKccccccccKKKccK",
    "KccccccccccccccccccccccccKDDDKcK",
    "KccccccccccccccccccccccccK...KcK",
    "KccccccccccccccccccccccccK...KcK",
    "KccccccccccKKKKKKKccccccccKKKccK",
    "DKDKDKDKDKDDDDDDDDKcccccccccccKD",
    ".KDDDKDKDKD.......KcccccccccccK.",
    ".KD..KDDDKD.......DKcccccccccKD.",
    ".DD..DD..KD........DKKcccccKKD..",
    ".........DD.........DDKKKKKDD...",
    "......................DDDDD.....",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

constexpr std::string_view smallKey[] = {
    "................",
    "................",
    "................",
    "................",
    "...........KKKK.",
    "......KK..KccccK",
    "KKKKKKccKKccKKcK",
    "KcccccccccccK.KK",
    "KKKKKKKKKKccKKcK",
    "DKDKDDDDDDKccccK",
    ".KDKD.....DKKKKD",
    ".DDDD......DDDD.",
    "................",
    "................",
    "................",
    "................",
};
// clang-format on

constexpr std::uint32_t darkGrey = 0x808080;
constexpr std::uint32_t lightGrey = 0xC0C0C0;

IconImage fromPixelArt(std::span<const std::string_view> rows) {
    const int size = static_cast<int>(rows.size());
    IconImage image{PixelBuffer::filled(size, size, black),
                    std::vector<bool>(std::size_t(size) * std::size_t(size), false)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const char c = rows[std::size_t(y)][std::size_t(x)];
            if (c == '.')
                image.transparent[std::size_t(y * size + x)] = true;
            else if (c == 'D')
                image.picture.set(x, y, darkGrey);
            else if (c == 'c')
                image.picture.set(x, y, (x + y) % 2 == 0 ? white : lightGrey);
        }
    }
    return image;
}

} // namespace

std::array<IconImage, 2> drawKeyIcon() {
    return {fromPixelArt(largeKey), fromPixelArt(smallKey)};
}

} // namespace zanthera::art
