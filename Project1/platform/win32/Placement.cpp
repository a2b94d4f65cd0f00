#include "Placement.h"

#include <algorithm>

namespace zanthera::win32 {

int fitSpan(int wanted, int length, Span area) {
    if (length >= area.length)
        return area.start;
    return std::clamp(wanted, area.start, area.start + area.length - length);
}

} // namespace zanthera::win32
