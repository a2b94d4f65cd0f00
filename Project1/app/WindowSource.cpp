#include "WindowSource.h"

#include "Form1/DefinitionReader.h"
#include "Form1/StoredDefinition.h"

namespace zanthera {

// The window, its controls and its pictures come from the definition block compiled into the
// program; the reader checks every byte of it, so a damaged block is reported, not trusted.
Result<WindowModel> loadWindow() {
    auto model = readDefinition(storedDefinition());
    if (!model)
        return Error{"The window's stored definition is damaged: " + model.error().message};
    return model;
}

} // namespace zanthera
