// The rules on stored values that the reader and the writer both enforce. Each gives why a value
// cannot be stored, or nothing if it can; the reader adds the offset where it found the value.
#pragma once

#include "DefinitionProperties.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zanthera::definition {

// "0x" and `digits` upper-case hexadecimal digits, for messages.
std::string hexText(std::uint32_t v, int digits);

// A text within the length limit and without a 00 byte, which would end it early.
std::optional<std::string> textProblem(std::span<const std::uint8_t> text);
// An RGB colour (top byte 0) or one of the system colours Windows numbers.
std::optional<std::string> colourProblem(std::uint32_t v);
// One of the choices the rule knows.
std::optional<std::string> choiceProblem(std::uint8_t v, const PropertyRule& rule);
// The one font version, a weight Windows knows, and a short printable ASCII name.
std::optional<std::string> fontProblem(const FontSpec& f);
// A picture file within the size limit.
std::optional<std::string> pictureSizeProblem(std::size_t fileBytes);

// Names are identifiers: a letter, then letters, digits and underscores. That also keeps them
// safe as file names.
std::optional<std::string> nameProblem(std::span<const std::uint8_t> name);
std::optional<std::string> nameProblem(std::string_view name);

} // namespace zanthera::definition
