// The window's stored definition, built from the control table and the artwork when the program
// is built, and carried in the program as constant data (library zanthera_definition). Read it
// with readDefinition(); the bytes live as long as the program.
#pragma once

#include <cstdint>
#include <span>

namespace zanthera {

std::span<const std::uint8_t> storedDefinition();

} // namespace zanthera
