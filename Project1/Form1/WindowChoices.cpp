#include "WindowChoices.h"

#include "ScreenReader.h"

#include <algorithm>

namespace zanthera {

WindowFrame frameOf(const FormModel& form) {
    return {form.minimizeButton, form.maximizeButton, form.borderStyle == Border::Sizable};
}

std::vector<const ControlModel*> readingOrder(const WindowModel& model) {
    std::vector<const ControlModel*> order;
    for (const ControlModel& c : model.controls)
        order.push_back(&c);
    std::ranges::stable_sort(
        order, {}, [](const ControlModel* c) { return c->tabIndex ? int(*c->tabIndex) : 0x10000; });
    for (const ControlModel& value : model.controls) {
        const ControlModel* caption = isValueLabel(value) ? captionOf(model, value) : nullptr;
        if (!caption)
            continue;
        order.erase(std::ranges::find(order, caption));
        order.insert(std::ranges::find(order, &value), caption);
    }
    return order;
}

std::vector<const ControlModel*> focusOrder(const WindowModel& model) {
    std::vector<const ControlModel*> order = readingOrder(model);
    std::erase_if(order, [](const ControlModel* c) {
        return !c->tabIndex || (c->kind != ControlKind::Button && c->kind != ControlKind::TextBox);
    });
    return order;
}

} // namespace zanthera
