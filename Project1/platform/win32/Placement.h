// Where the window opens: the designed place where the whole window fits on the screen's work
// area, moved just enough where it would not, and against the work area's top-left corner where
// the window is larger than the area, so that the title bar and its close box stay reachable.
#pragma once

namespace zanthera::win32 {

struct Span {
    int start = 0;
    int length = 0;
};

struct Spot {
    int x = 0;
    int y = 0;
    friend bool operator==(const Spot&, const Spot&) = default;
};

// Where a window of `length` wanted at `wanted` starts within `area`.
int fitSpan(int wanted, int length, Span area);

// The window's top-left corner for a window of width x height wanted at `wanted`.
inline Spot placeWindow(Spot wanted, int width, int height, Span across, Span down) {
    return {fitSpan(wanted.x, width, across), fitSpan(wanted.y, height, down)};
}

} // namespace zanthera::win32
