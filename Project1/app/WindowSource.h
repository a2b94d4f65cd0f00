#pragma once

#include "Form1/WindowModel.h"
#include "platform/Result.h"

namespace zanthera {

// The window the program shows, as its definition describes it.
Result<WindowModel> loadWindow();

} // namespace zanthera
