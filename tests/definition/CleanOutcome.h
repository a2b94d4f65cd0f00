// What the reader must do with any block, however damaged.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zanthera::testing {

// Either the read fails with an error that names an offset, or it gives a window that the writer
// accepts and that reads back to the same window. Returns whether the read succeeded; failures
// are reported as gtest failures labelled with `what`.
bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what);

} // namespace zanthera::testing
