// The program's name lettered across the top of the window's background.
#pragma once

#include "ImageEncoders.h"
#include "base/Result.h"

#include <QRawFont>
#include <QString>

namespace zanthera::art {

// The word with `perJoin` tatweels in every join between two of its letters, which draws the
// joins out without changing a letter.
QString lengthenJoins(const QString& word, int perJoin);

// Paints the title in solid black with hard edges, its ink filling the title box exactly.
Status paintTitle(PixelBuffer& background, const QRawFont& face);

} // namespace zanthera::art
