#include "FakeServices.h"

#include <cmath>

namespace zanthera::testing {

// Zeller-style day count, so tests can pick real calendar dates.
int FakeServices::weekday(const CalendarDate& d) {
    if (weekdayOverride)
        return *weekdayOverride;
    static constexpr int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = d.year - (d.month < 3 ? 1 : 0);
    return (y + y / 4 - y / 100 + y / 400 + offsets[d.month - 1] + d.day) % 7 + 1;
}

std::string FakeServices::numberText(double value) {
    return std::to_string(static_cast<long long>(std::round(value)));
}

} // namespace zanthera::testing
