#pragma once

#include "Form1/WindowModel.h"
#include "base/Result.h"

#include <cstdint>
#include <span>

namespace zanthera {

// The window a definition block describes, or why the block cannot be used. The model refers to
// the block's pictures, so the block must last as long as the program (the built-in one does).
Result<WindowModel> loadWindow(std::span<const std::uint8_t> definition);

} // namespace zanthera
