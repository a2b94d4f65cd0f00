// Where the window opens and how its controls read to assistive technology: pure geometry over
// the window model, shared by every forms engine.
#pragma once

#include "WindowModel.h"

#include <string_view>

namespace zanthera {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The window's place on a screen whose free area is `available`: the designed place when the
// whole window fits there, otherwise moved just enough to fit, and where it cannot fit at all,
// its top-left corner (title bar and close box) at the free area's top-left corner. `window`
// holds the designed place and the window's size, in the same units as `available`.
ScreenRect placeOnScreen(const ScreenRect& window, const ScreenRect& available);

// Value labels are the opaque labels the program writes; caption labels are transparent.
bool isValueLabel(const ControlModel& control);

// The caption label that names a value label: the nearest caption label to its right with the
// same top edge, as the panel reads right to left. Null when there is none.
const ControlModel* captionOf(const WindowModel& model, const ControlModel& valueLabel);

// The result box's name for a screen reader: "the result".
inline constexpr std::string_view resultBoxName = "النتيجة";

} // namespace zanthera
