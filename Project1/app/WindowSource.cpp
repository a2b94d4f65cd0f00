#include "WindowSource.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionReader.h"
#include "Form1/ScreenReader.h"

namespace zanthera {

// The reader checks every byte of the block, so a damaged one is reported, never trusted.
Result<WindowModel> loadWindow(std::span<const std::uint8_t> definition) {
    auto model = readDefinition(definition, Pictures::Referred);
    if (!model)
        return Error{"The window's stored definition is damaged: " + model.error().message};
    // Names for screen readers: a button's lettering, and "the result" for the result box.
    for (auto& control : model.value().controls) {
        if (const auto* row = design::findControl(control.name))
            control.accessibleName = std::string(row->lettering);
        if (control.kind == ControlKind::TextBox)
            control.accessibleName = std::string(resultBoxName);
    }
    return model;
}

} // namespace zanthera
