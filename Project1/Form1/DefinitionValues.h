// The stored form of each value encoding, read and written. Both directions check values by the
// same rules (ValueRules.h), so that whatever the writer stores the reader accepts, and the other
// way round.
#pragma once

#include "DefinitionBytes.h"
#include "DefinitionProperties.h"
#include "ValueRules.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zanthera::definition {

// Reads the value of a property whose opcode the cursor has just passed. On a fault the cursor
// holds the error and nothing is returned.
std::optional<PropertyValue> readValue(ByteCursor& in, const PropertyRule& rule);

// Appends a value in its stored form; texts are encoded to code page 1256 here. The value must
// have the rule's encoding.
Status writeValue(ByteSink& out, const PropertyRule& rule, const PropertyValue& value);

} // namespace zanthera::definition
