// Letting go of read-only data that will not be read again.
#pragma once

#include <cstdint>
#include <span>

namespace zanthera::posix {

// Drops the whole pages of constant data from the process's resident memory. The data stays
// valid: the pages come back from the program file if it is ever read again.
void releaseResidentPages(std::span<const std::uint8_t> data);

// Hands the free pages of the heap back to the system, so that what start-up needed only for a
// moment does not stay resident for the whole run.
void releaseFreeHeap();

} // namespace zanthera::posix
