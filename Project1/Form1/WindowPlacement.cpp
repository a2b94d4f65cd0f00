#include "WindowPlacement.h"

#include <algorithm>

namespace zanthera {

namespace {

// One axis: keep the start if the span fits, otherwise pull it back inside, but never past the
// area's start, so the span's beginning stays reachable.
int fitSpan(int start, int length, int areaStart, int areaLength) {
    const int latest = areaStart + areaLength - length;
    return std::max(areaStart, std::min(start, latest));
}

} // namespace

ScreenRect placeOnScreen(const ScreenRect& window, const ScreenRect& available) {
    return {fitSpan(window.left, window.width, available.left, available.width),
            fitSpan(window.top, window.height, available.top, available.height), window.width,
            window.height};
}

} // namespace zanthera
