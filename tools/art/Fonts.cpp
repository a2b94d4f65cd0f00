#include "Fonts.h"

#include <algorithm>

namespace zanthera::art {

namespace {

// Outlines are taken at this size and scaled to fit: the size only sets the outlines' precision.
constexpr double outlinePixelSize = 256.0;

Result<QRawFont> loadFont(const char* path) {
    // Hinting would bend the outlines towards the pixel grid of the outline size, not ours.
    QRawFont font(QString::fromUtf8(path), outlinePixelSize, QFont::PreferNoHinting);
    if (!font.isValid())
        return Error{std::string("cannot load the font file ") + path};
    return font;
}

} // namespace

Result<ArtFonts> loadFonts() {
    Result<QRawFont> arabic = loadFont(ZANTHERA_ARABIC_FONT);
    Result<QRawFont> latin = loadFont(ZANTHERA_LATIN_FONT);
    Result<QRawFont> title = loadFont(ZANTHERA_TITLE_FONT);
    for (const auto* font : {&arabic, &latin, &title})
        if (!*font)
            return font->error();
    return ArtFonts{arabic.value(), latin.value(), title.value()};
}

const QRawFont& letteringFont(const ArtFonts& fonts, const QString& text) {
    const bool arabic = std::any_of(text.begin(), text.end(),
                                    [](QChar c) { return c.script() == QChar::Script_Arabic; });
    return arabic ? fonts.arabic : fonts.latin;
}

} // namespace zanthera::art
