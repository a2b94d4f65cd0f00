#include "Artwork.h"

#include "KeyIcon.h"
#include "Lettering.h"
#include "Plates.h"
#include "Title.h"

#include <algorithm>

namespace zanthera::art {

namespace {

bool isExitTile(design::PictureSize picture) {
    return picture.height != design::largePlate.height &&
           picture.height != design::smallPlate.height;
}

} // namespace

VisiblePart visiblePart(const design::ControlRow& button) {
    const int buttonWidth = twipsToPixels(button.extents.width, designDpi);
    const int buttonHeight = twipsToPixels(button.extents.height, designDpi);
    const int cutX = std::max(button.picture.width - buttonWidth, 0);
    const int cutY = std::max(button.picture.height - buttonHeight, 0);
    const int sideX = (cutX + 1) / 2;
    const int sideY = (cutY + 1) / 2;
    return {sideX, sideY, button.picture.width - 2 * sideX, button.picture.height - 2 * sideY};
}

const PlateStyle& plateStyleFor(design::PictureSize picture) {
    if (picture.height == design::largePlate.height)
        return largePlateStyle;
    if (picture.height == design::smallPlate.height)
        return smallPlateStyle;
    return exitTileStyle;
}

Result<PixelBuffer> drawButton(const design::ControlRow& button, const ArtFonts& fonts) {
    PixelBuffer picture = drawPlate(plateStyleFor(button.picture), button.picture);
    if (isExitTile(button.picture)) {
        drawExitMark(picture, exitMark);
        return picture;
    }
    const QString words =
        QString::fromUtf8(button.lettering.data(), qsizetype(button.lettering.size()));
    const Result<QPainterPath> outline = textOutline(letteringFont(fonts, words), words);
    if (!outline)
        return outline.error();
    const LetteringStyle& style =
        button.picture.height == design::largePlate.height ? largeLettering : smallLettering;
    const VisiblePart visible = visiblePart(button);
    const LetteringPlace place{button.picture.width / 2.0, button.picture.height / 2.0,
                               double(visible.width - 2 * style.sideMargin), style.glyphHeight};
    paintLettering(picture, placeLettering(*outline, place), style.thickening);
    return picture;
}

Result<PixelBuffer> drawBackground(const ArtFonts& fonts) {
    PixelBuffer picture = drawPlate(backgroundStyle, backgroundSize);
    if (Status painted = paintTitle(picture, fonts.title); !painted)
        return painted.error();
    return picture;
}

namespace {

Status addPicture(std::vector<Picture>& out, std::string_view name,
                  Result<std::vector<std::uint8_t>> bytes) {
    if (!bytes)
        return Error{std::string(name) + ": " + bytes.error().message};
    out.push_back({std::string(name), std::move(bytes).value()});
    return success();
}

} // namespace

Result<std::vector<Picture>> drawArtwork() {
    const Result<ArtFonts> fonts = loadFonts();
    if (!fonts)
        return fonts.error();
    std::vector<Picture> out;
    const std::string window(design::windowName);
    const Result<PixelBuffer> background = drawBackground(*fonts);
    if (!background)
        return background.error();
    if (Status s = addPicture(out, window + ".bmp", encodeBitmap(*background, BitmapDepth::Bits24));
        !s)
        return s.error();
    if (Status s = addPicture(out, window + ".ico", encodeIcon(drawKeyIcon())); !s)
        return s.error();
    for (const design::ControlRow& row : design::controls) {
        if (row.role != design::Role::Button)
            continue;
        const Result<PixelBuffer> picture = drawButton(row, *fonts);
        if (!picture)
            return Error{std::string(row.name) + ": " + picture.error().message};
        const std::string name = std::string(row.name) + ".bmp";
        if (Status s = addPicture(out, name, encodeBitmap(*picture, BitmapDepth::Bits32)); !s)
            return s.error();
    }
    return out;
}

} // namespace zanthera::art
