// The clock's tick schedule against a fake wall clock and timers that fire as real ones do (on
// Windows on a 15.6 ms system tick, never early): the clock shows every second exactly once.
#include "platform/TickSchedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace zanthera {
namespace {

TEST(TickSchedule, AWholeSecondTickIsDueJustAfterTheNextTurnOfTheSecond) {
    struct Case {
        int interval;
        std::int64_t now;
        int delay;
    };
    const Case cases[] = {{1000, 5'000, 1020}, {1000, 5'020, 1000}, {1000, 5'999, 21},
                          {2000, 5'500, 1520}, {1000, -1'500, 520}, {250, 5'123, 250}};
    for (const auto& c : cases)
        EXPECT_EQ(tickDelayMs(c.interval, c.now), c.delay) << c.interval << " at " << c.now;
}

// The seconds a clock label shows over `ticks` ticks of a one-second timer when each tick fires
// `lateness(due)` after the moment it was due.
std::vector<std::int64_t> shownSeconds(std::int64_t start, int ticks,
                                       const std::function<std::int64_t(std::int64_t)>& late) {
    std::vector<std::int64_t> shown;
    std::int64_t now = start;
    for (int i = 0; i < ticks; ++i) {
        const std::int64_t due = now + tickDelayMs(1000, now);
        now = due + late(due);
        shown.push_back(now / 1000);
    }
    return shown;
}

TEST(TickSchedule, TheClockShowsEverySecondOnceHoweverItsTimerFires) {
    std::mt19937 random(7);
    const auto windowsTimer = [&](std::int64_t due) {
        // The next 15.625 ms system tick at or after the due time, sometimes a tick later when the
        // window's thread was busy.
        const std::int64_t tick = (due * 1000 + 15624) / 15625 * 15625 / 1000;
        return tick - due + (random() % 8 == 0 ? 16 : 0);
    };
    const auto wanderingTimer = [&](std::int64_t) { return std::int64_t(random() % 25) - 12; };
    const std::function<std::int64_t(std::int64_t)> timers[] = {windowsTimer, wanderingTimer};
    for (const auto& timer : timers)
        for (std::int64_t start : {1'700'000'000'000LL, 1'700'000'000'437LL, 1'700'000'000'999LL}) {
            const auto shown = shownSeconds(start, 600, timer);
            for (std::size_t i = 1; i < shown.size(); ++i)
                ASSERT_EQ(shown[i], shown[i - 1] + 1) << "tick " << i << " from " << start;
        }
}

} // namespace
} // namespace zanthera
