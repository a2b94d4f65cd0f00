#include "WindowSource.h"

#include "Form1/ControlTable.h"

namespace zanthera {

Result<WindowModel> loadWindow() {
    return design::designedWindow();
}

} // namespace zanthera
