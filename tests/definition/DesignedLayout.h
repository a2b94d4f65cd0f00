// The layout that the designed window's block must have, record by record.
#pragma once

#include <cstdint>
#include <span>

namespace zanthera::testing {

// Checks every record's creation index, name, type code, opcodes and length, the markers between
// them, and the totals, with gtest expectations.
void expectDesignedLayout(std::span<const std::uint8_t> block);

} // namespace zanthera::testing
