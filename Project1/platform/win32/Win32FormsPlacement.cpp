// Where the window stands on the screen: the designed place of its client area, moved onto the
// monitor's free area by the rule every engine shares.
#include "Win32Forms.h"

#include "Dpi.h"
#include "Form1/WindowPlacement.h"

namespace zanthera::win32 {

// The frame around the client area at `dpi_`, at the place the design gives the client area,
// moved onto the screen's free area where it would not fit there.
RECT Win32Forms::placedFrame(DWORD style) const {
    const int left = pixels(int(form_.client.left));
    const int top = pixels(int(form_.client.top));
    const RECT client{left, top, left + pixels(int(form_.client.width)),
                      top + pixels(int(form_.client.height))};
    const RECT outer = outerRect(client, style, 0, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint({left, top}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const ScreenRect placed = zanthera::placeOnScreen(
        {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top},
        {work.left, work.top, work.right - work.left, work.bottom - work.top});
    return {placed.left, placed.top, placed.left + placed.width, placed.top + placed.height};
}

void Win32Forms::placeOnScreen() {
    const RECT frame = placedFrame(DWORD(GetWindowLongPtrW(window_, GWL_STYLE)));
    SetWindowPos(window_, nullptr, frame.left, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace zanthera::win32
