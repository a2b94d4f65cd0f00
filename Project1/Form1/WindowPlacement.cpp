#include "WindowPlacement.h"

#include "ControlTable.h"

#include <algorithm>

namespace zanthera {

namespace {

// One axis: keep the start if the span fits, otherwise pull it back inside, but never past the
// area's start, so the span's beginning stays reachable.
int fitSpan(int start, int length, int areaStart, int areaLength) {
    const int latest = areaStart + areaLength - length;
    return std::max(areaStart, std::min(start, latest));
}

} // namespace

ScreenRect placeOnScreen(const ScreenRect& window, const ScreenRect& available) {
    return {fitSpan(window.left, window.width, available.left, available.width),
            fitSpan(window.top, window.height, available.top, available.height), window.width,
            window.height};
}

bool isValueLabel(const ControlModel& control) {
    return control.kind == ControlKind::Label && control.backStyle != design::transparent;
}

const ControlModel* captionOf(const WindowModel& model, const ControlModel& valueLabel) {
    const int rightEdge = valueLabel.extents.left + valueLabel.extents.width;
    const ControlModel* nearest = nullptr;
    for (const auto& c : model.controls) {
        if (c.kind != ControlKind::Label || isValueLabel(c) ||
            c.extents.top != valueLabel.extents.top || c.extents.left < rightEdge)
            continue;
        if (!nearest || c.extents.left < nearest->extents.left)
            nearest = &c;
    }
    return nearest;
}

} // namespace zanthera
