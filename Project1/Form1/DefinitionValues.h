// The stored form of each value encoding, and the rules on values that the reader and the writer
// both enforce, so that whatever the writer stores the reader accepts, and the other way round.
#pragma once

#include "DefinitionBytes.h"
#include "DefinitionProperties.h"

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

// Why a window or control name cannot be stored, or nothing if it can. Names are identifiers:
// a letter, then letters, digits and underscores. That also keeps them safe as file names.
std::optional<std::string> nameProblem(std::span<const std::uint8_t> name);
std::optional<std::string> nameProblem(std::string_view name);

} // namespace zanthera::definition
