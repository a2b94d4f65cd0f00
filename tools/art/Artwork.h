// All 21 pictures of the window, drawn from the control table and the artwork's own table.
#pragma once

#include "ArtTable.h"
#include "Fonts.h"
#include "Form1/ControlTable.h"
#include "ImageEncoders.h"
#include "base/Result.h"

#include <string>
#include <vector>

namespace zanthera::art {

// The part of a button's picture that the button shows: the picture is centred on the button and
// clipped to it. When the cut is odd the platform decides which side loses the extra column, so
// this is the part that shows either way.
struct VisiblePart {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
VisiblePart visiblePart(const design::ControlRow& button);

const PlateStyle& plateStyleFor(design::PictureSize picture);

// A button's plate with its words lettered on (or, on the exit tile, its mark).
Result<PixelBuffer> drawButton(const design::ControlRow& button, const ArtFonts& fonts);

Result<PixelBuffer> drawBackground(const ArtFonts& fonts);

struct Picture {
    std::string fileName;
    ImageFile bytes;
};

// Every picture as the file the window definition stores: the background and the icon under the
// window's name, each button's picture under the button's name. Needs a QGuiApplication.
Result<std::vector<Picture>> drawArtwork();

} // namespace zanthera::art
