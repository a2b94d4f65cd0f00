#include "ScreenReader.h"

namespace zanthera {

bool isValueLabel(const ControlModel& control) {
    return control.kind == ControlKind::Label && control.backStyle != BackStyle::Transparent;
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
