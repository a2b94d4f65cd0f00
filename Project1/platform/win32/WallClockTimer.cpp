#include "WallClockTimer.h"

#include "SystemCalls.h"
#include "platform/TickSchedule.h"

namespace zanthera::win32 {

namespace {

// Milliseconds since 1601 by the system clock, whose seconds turn with the local time's.
std::int64_t wallClockMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<std::int64_t>(ticks.QuadPart / 10000);
}

} // namespace

bool armForNextTick(HWND window, UINT_PTR id, int intervalMs) {
    const UINT delay = static_cast<UINT>(tickDelayMs(intervalMs, wallClockMs()));
    // From Windows 8 on, Windows may hold a timer back to fire it together with others; this one
    // asks not to be, as a tick held back past its second is a second the clock skips.
    using Coalescable = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
    static const auto coalescable = systemCall<Coalescable>(L"user32.dll", "SetCoalescableTimer");
    constexpr ULONG noCoalescing = 0xFFFFFFFF; // TIMERV_NO_COALESCING
    if (coalescable)
        return coalescable(window, id, delay, nullptr, noCoalescing) != 0;
    return SetTimer(window, id, delay, nullptr) != 0;
}

} // namespace zanthera::win32
