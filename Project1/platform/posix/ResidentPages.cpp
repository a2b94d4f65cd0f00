#include "platform/posix/ResidentPages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace zanthera::posix {

void releaseResidentPages(std::span<const std::uint8_t> data) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data.data());
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + data.size()) / page * page;
    if (page == 0 || last <= first)
        return;
    // Only pages wholly inside the data, so that nothing beside it is touched. The pages are
    // unmodified file pages, for which MADV_DONTNEED only drops our mapping of them; a failure
    // merely leaves them resident.
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

void releaseFreeHeap() {
    ::malloc_trim(0);
}

} // namespace zanthera::posix
