// Where the window opens on a screen: pure geometry, shared by every forms engine.
#pragma once

namespace zanthera {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The window's place on a screen whose free area is `available`: the designed place when the
// whole window fits there, otherwise moved just enough to fit, and where it cannot fit at all,
// its top-left corner (title bar and close box) at the free area's top-left corner. `window`
// holds the designed place and the window's size, in the same units as `available`.
ScreenRect placeOnScreen(const ScreenRect& window, const ScreenRect& available);

} // namespace zanthera
