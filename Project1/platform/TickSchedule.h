// When a timer's next tick is due, so that a clock it drives shows every second exactly once.
// A timer that simply repeats its interval fires on the system's timer ticks and never early: its
// place within the second creeps on from tick to tick, and a tick that lands just before a second
// turns, after one that landed just after, shows a second twice or skips one. A timer of whole
// seconds is therefore scheduled afresh at every tick, just after the next turn of the wall
// clock's second; any other interval keeps its plain pace.
#pragma once

#include <cstdint>

namespace zanthera {

// How long after the turn of a second a whole-second tick is due: late enough that a clock read
// in the tick (on Windows it moves in steps of up to 15.6 ms) already shows the new second, too
// early for anyone to see.
inline constexpr int tickAfterSecondMs = 20;

// The delay in milliseconds from `wallClockMs` (milliseconds since any epoch that starts on a
// whole second, as the system clocks' do) until the next tick of a timer of `intervalMs` > 0.
constexpr int tickDelayMs(int intervalMs, std::int64_t wallClockMs) {
    if (intervalMs % 1000 != 0)
        return intervalMs;
    // Due `tickAfterSecondMs` into the second that begins one interval after the second now
    // under way. Counted from the second now shown, not from when this tick was due, a tick that
    // came late, or early by less than the margin, is corrected at the next, never repeated.
    const std::int64_t into = ((wallClockMs % 1000) + 1000) % 1000;
    const std::int64_t due = wallClockMs - into + intervalMs + tickAfterSecondMs;
    return static_cast<int>(due - wallClockMs);
}

} // namespace zanthera
