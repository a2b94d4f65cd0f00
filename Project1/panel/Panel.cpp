#include "Panel.h"

#include <initializer_list>
#include <string>

namespace zanthera {

namespace {

// Every step of one event works from the same reading of the clock.
using Step = Status (*)(PlatformServices&, FormWindow&, const LocalTime&);

Status writeWeekday(PlatformServices& services, FormWindow& window, const LocalTime& now) {
    const int day = services.weekday(now.date);
    if (day < 1 || day > 7)
        return success(); // an unknown weekday leaves the label as it was
    return window.setCaption("Label6", weekdayNames[static_cast<std::size_t>(day - 1)]);
}

// The month comes from today's date itself: reading it back out of the short-date text only
// works for the few formats that put a two-digit month at characters 4 and 5.
Status writeMonth(PlatformServices& services, FormWindow& window, const LocalTime& now) {
    return window.setCaption("Label5", services.monthNameOf(now.date));
}

// Whole minutes since the system started, from a 64-bit count so the figure stays right long
// after a 32-bit millisecond counter would have wrapped.
Status writeMinutesSinceStart(PlatformServices& services, FormWindow& window, const LocalTime&) {
    const double minutes = static_cast<double>(services.millisecondsSinceStart()) / 10000.0 / 6.0;
    return window.setCaption("Label10", services.numberText(minutes) + std::string(minutesUnit));
}

Status writeTime(PlatformServices& services, FormWindow& window, const LocalTime& now) {
    return window.setCaption("Label1", services.timeText(now.time));
}

Status writeDate(PlatformServices& services, FormWindow& window, const LocalTime& now) {
    return window.setCaption("Label2", services.dateText(now.date));
}

Status runSteps(std::initializer_list<Step> steps, PlatformServices& services, FormWindow& window) {
    const LocalTime now = services.localTime();
    for (Step step : steps)
        if (auto written = step(services, window, now); !written)
            return written;
    return success();
}

} // namespace

Status Form_Load(PlatformServices& services, FormWindow& window) {
    if (auto written =
            runSteps({writeWeekday, writeMonth, writeMinutesSinceStart}, services, window);
        !written)
        return written;
    return window.setInterval("Timer1", tickMilliseconds);
}

// Besides the time and date, the tick keeps the weekday, month and minutes current, so a window
// left open overnight does not show yesterday's day. The window repaints a label only when its
// text has changed.
Status Timer1_Timer(PlatformServices& services, FormWindow& window) {
    return runSteps({writeTime, writeDate, writeWeekday, writeMonth, writeMinutesSinceStart},
                    services, window);
}

} // namespace zanthera
