// The blue plates that every picture of the window is drawn on, and the exit button's mark.
#pragma once

#include "ArtTable.h"
#include "ImageEncoders.h"

#include <cstdint>

namespace zanthera::art {

// The colour k/n of the way from a to b, channel by channel, rounded to the nearest value.
std::uint32_t mixColour(std::uint32_t a, std::uint32_t b, int k, int n);

// The face gradient's colour at a row; rows above or below the face take its first or last colour.
std::uint32_t faceColour(const PlateStyle& style, int row);

PixelBuffer drawPlate(const PlateStyle& style, design::PictureSize size);

// Draws the mark centred on the tile, its shadow included in the centring.
void drawExitMark(PixelBuffer& tile, const ExitMarkStyle& mark);

} // namespace zanthera::art
