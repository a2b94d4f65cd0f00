// The typefaces of the artwork, loaded from their files rather than looked up by name, so that
// the fonts installed for the user and their settings cannot change a single pixel.
#pragma once

#include "base/Result.h"

#include <QRawFont>
#include <QString>

namespace zanthera::art {

struct ArtFonts {
    QRawFont arabic; // the buttons' lettering
    QRawFont latin;  // lettering that has no Arabic in it
    QRawFont title;  // the heavy display face of the background's title
};

// Needs a QGuiApplication: Qt reads font files through its platform plugin.
Result<ArtFonts> loadFonts();

// The face for a button's words: Latin for words without Arabic letters.
const QRawFont& letteringFont(const ArtFonts& fonts, const QString& text);

} // namespace zanthera::art
