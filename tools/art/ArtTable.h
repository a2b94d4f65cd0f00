// The look of the window's pictures: every colour, ramp and lettering measure the artwork is drawn
// from. Picture sizes and the words on the buttons come from the control table; what is here is
// what only the artwork needs.
#pragma once

#include "Form1/ControlTable.h"

#include <cstdint>
#include <string_view>

namespace zanthera::art {

// How far the face's green falls: by `amount` every `everyRows` rows, counted from the first face
// row, so that a plate can fall by a fraction of a unit a row and still end on an exact colour.
struct GreenFall {
    int amount = 0;
    int everyRows = 1;
};

// A blue plate lit from the top left. Rows above `outlineRows` and column 0 are the dark outer
// line; inside it a highlight ramp runs down from the top and in from the left, a shadow ramp up
// from the bottom and in from the right, each in `rampSteps` even steps, and the face between them
// is a vertical gradient.
struct PlateStyle {
    int outlineRows = 1;
    int rowsPerStep = 1; // of the top and bottom ramps; the side ramps are one column a step
    std::uint32_t highlight = 0;    // the outermost step of the highlight ramps
    std::uint32_t bottomShadow = 0; // the outermost step of the bottom ramp
    std::uint32_t faceTop = 0;
    int faceFirstRow = 0;
    int faceLastRow = 0;
    GreenFall fall;
    bool whiteLowerLeftColumn = false; // column 0 white below half height instead of dark grey
};

inline constexpr int rampSteps = 10;
inline constexpr std::uint32_t outlineGrey = 0x3F3F3F;
inline constexpr std::uint32_t black = 0x000000;
inline constexpr std::uint32_t white = 0xFFFFFF;
inline constexpr std::uint32_t buttonHighlight = 0xEFF6FE;

// The large plates; the small ones, whatever their width (the right-hand ramp follows the edge).
inline constexpr PlateStyle largePlateStyle{1, 1, buttonHighlight, black, 0x005EF5, 11, 39, {5, 2}};
inline constexpr PlateStyle smallPlateStyle{1,  1,  buttonHighlight, black, 0x0048EF,
                                            11, 19, {33, 8}};
// The exit tile is all ramp: its single face row is where the highlight hands over to the shadow.
inline constexpr PlateStyle exitTileStyle{1, 1, buttonHighlight, black, 0x0000FF, 10, 10, {}};
// The window's background, one pixel wider and taller than the client area so that it covers it
// whole: twice as tall steps at the top and bottom, and a bottom ramp that ends a shade above
// black.
inline constexpr design::PictureSize backgroundSize = design::backgroundPicture;
inline constexpr PlateStyle backgroundStyle{2,  2,   0xEFF7FF, 0x000010, 0x007AFF,
                                            22, 489, {1, 4},   true};

// The exit button's mark: a white X with a navy shadow one pixel down and to the right.
struct ExitMarkStyle {
    int size = 11;      // pixels across and down
    int strokeHalf = 1; // a stroke covers the pixels within this distance of its diagonal
    std::uint32_t ink = white;
    std::uint32_t shadow = 0x000080;
};
inline constexpr ExitMarkStyle exitMark{};

// Button lettering: white letters whose lowest pixel in every stroke is lavender, over a navy drop
// shadow one pixel down and to the right. Both edge colours run from the first to the second value
// down the height of the lettering.
struct LetteringStyle {
    double glyphHeight = 0; // of the letters themselves, shadow excluded
    int sideMargin = 0;     // kept clear inside the part of the picture the button shows
    double thickening = 0;  // pixels added across every stroke, so small letters stay solid white
};
inline constexpr LetteringStyle largeLettering{16.0, 5, 0.6};
inline constexpr LetteringStyle smallLettering{12.0, 4, 0.6};
inline constexpr std::uint32_t letterInk = white;
inline constexpr std::uint32_t letterEdgeTop = 0xBFBFDF;
inline constexpr std::uint32_t letterEdgeBottom = 0xCFCFE7;
inline constexpr std::uint32_t letterShadowTop = 0x0F0F87;
inline constexpr std::uint32_t letterShadowBottom = 0x000C9C;

// The background carries the program's name in Arabic, in black, filling this box exactly.
inline constexpr std::string_view titleText = "زانثيرا";
inline constexpr std::uint32_t titleInk = black;
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;  // inclusive
    int bottom = 0; // inclusive
    constexpr int width() const { return right - left + 1; }
    constexpr int height() const { return bottom - top + 1; }
};
inline constexpr PixelBox titleBox{101, 50, 320, 81};

} // namespace zanthera::art
