// A window timer whose ticks keep step with the wall clock's seconds: armed afresh for one tick
// each time, at the delay the tick schedule gives from the system clock.
#pragma once

#include <windows.h>

namespace zanthera::win32 {

// Arms (or re-arms) timer `id` of `window` for the next tick of a timer of `intervalMs`.
bool armForNextTick(HWND window, UINT_PTR id, int intervalMs);

} // namespace zanthera::win32
