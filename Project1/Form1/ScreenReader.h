// How the window's controls read to assistive technology, from the window model alone, shared by
// every forms engine: which labels are the values the program writes and which caption names
// each, and the result box's name.
#pragma once

#include "WindowModel.h"

#include <string_view>

namespace zanthera {

// Value labels are the opaque labels the program writes; caption labels are transparent.
bool isValueLabel(const ControlModel& control);

// The caption label that names a value label: the nearest caption label to its right with the
// same top edge, as the panel reads right to left. Null when there is none.
const ControlModel* captionOf(const WindowModel& model, const ControlModel& valueLabel);

// The result box's name for a screen reader: "the result".
inline constexpr std::string_view resultBoxName = "النتيجة";

} // namespace zanthera
