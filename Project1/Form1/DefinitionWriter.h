// Writes the window model as a stored window definition.
#pragma once

#include "DefinitionFormat.h"
#include "WindowModel.h"
#include "base/Result.h"

#include <cstdint>
#include <vector>

namespace zanthera {

// The whole block: header, tree length, the window's record and its controls' records with their
// markers. Each record stores its settings in rising opcode order and leaves out every setting
// that the model holds at its default, except position, size and the timer's two values; a tab
// index is stored whenever the control has one. A setting that the control's kind cannot store,
// a text without a code page 1256 form, or a picture whose headers disagree with its size is an
// Error naming the control, never silently dropped.
Result<std::vector<std::uint8_t>> writeDefinition(const WindowModel& model,
                                                  const DefinitionIds& ids);

} // namespace zanthera
