// The information panel's Load and tick handlers, against a scripted platform.
#include "panel/Panel.h"
#include "app/EventTable.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWindow.h"

#include <gtest/gtest.h>

namespace zanthera {
namespace {

using testing::FakeServices;
using testing::FakeWindow;
using testing::Write;

TEST(PanelLoad, NamesTheWeekdayCountedFromSunday) {
    const std::pair<CalendarDate, const char*> cases[] = {
        {{2026, 12, 6}, "الأحد"},  {{2026, 12, 7}, "الاثنين"}, {{2026, 12, 9}, "الأربعاء"},
        {{2026, 12, 12}, "السبت"}, {{2024, 2, 29}, "الخميس"},
    };
    for (const auto& [date, name] : cases) {
        FakeServices services;
        services.date = date;
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.value("Label6"), name) << date.day;
    }
}

TEST(PanelLoad, AWeekdayOutsideOneToSevenLeavesTheLabelAndLoadingGoesOn) {
    for (int day : {0, 8, -1}) {
        FakeServices services;
        services.weekdayOverride = day;
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.values.count("Label6"), 0u);
        EXPECT_EQ(window.value("Timer1"), "1000");
    }
}

TEST(PanelLoad, TakesTheMonthFromTodaysDateNotFromTheDateText) {
    for (int month = 1; month <= 12; ++month) {
        FakeServices services;
        services.date = {2026, month, 3}; // the fake's date text is "3/M/2026"
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.value("Label5"), "month" + std::to_string(month));
    }
}

TEST(PanelLoad, CountsWholeMinutesSinceStartOnA64BitClock) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0"},
        {29'999, "0"},
        {30'000, "1"}, // exactly half a minute goes up
        {59'999, "1"},
        {75 * 60'000, "75"},
        {(1ull << 31) + 1, "35791"},      // past the largest signed 32-bit count
        {(1ull << 32) + 60'000, "71584"}, // past where a 32-bit tick count wraps
        {400ull * 24 * 3'600'000, "576000"},
    };
    for (const auto& [ms, minutes] : cases) {
        FakeServices services;
        services.uptimeMs = ms;
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.value("Label10"), std::string(minutes) + "دقيقة") << ms;
    }
}

TEST(PanelLoad, WritesWeekdayMonthMinutesOnceThenSetsTheTimer) {
    FakeServices services;
    FakeWindow window;
    dispatch(services, window, "Form1", FormEvent::Load);
    ASSERT_EQ(window.writes.size(), 4u);
    EXPECT_EQ(window.writes[0].control, "Label6");
    EXPECT_EQ(window.writes[1].control, "Label5");
    EXPECT_EQ(window.writes[2].control, "Label10");
    EXPECT_EQ(window.writes[3], (Write{"Timer1", "1000"}));
    EXPECT_EQ(window.values.count("Label1"), 0u);
    EXPECT_EQ(window.values.count("Label2"), 0u);
}

// The tick keeps all five value labels current: past midnight the weekday and month follow the
// date, and the minutes go on counting.
TEST(PanelTick, KeepsEveryValueLabelCurrentAcrossMidnight) {
    struct Moment {
        CalendarDate date;
        TimeOfDay time;
        std::uint64_t uptimeMs;
        const char *clock, *day, *weekday, *month, *minutes;
    };
    const Moment moments[] = {
        {{2026, 12, 31}, {23, 59, 59}, 60'000, "23:59:59", "31/12/2026", "الخميس", "month12", "1"},
        {{2027, 1, 1}, {0, 0, 0}, 61'000, "0:0:0", "1/1/2027", "الجمعة", "month1", "1"},
        {{2027, 1, 2},
         {8, 30, 0},
         30 * 3'600'000ull,
         "8:30:0",
         "2/1/2027",
         "السبت",
         "month1",
         "1800"},
    };
    FakeServices services;
    FakeWindow window;
    dispatch(services, window, "Form1", FormEvent::Load);
    for (const auto& m : moments) {
        services.date = m.date;
        services.time = m.time;
        services.uptimeMs = m.uptimeMs;
        window.writes.clear();
        dispatch(services, window, "Timer1", FormEvent::Timer);
        EXPECT_EQ(window.writes,
                  (std::vector<Write>{{"Label1", m.clock},
                                      {"Label2", m.day},
                                      {"Label6", m.weekday},
                                      {"Label5", m.month},
                                      {"Label10", std::string(m.minutes) + "دقيقة"}}));
    }
    EXPECT_TRUE(services.boxes.empty());
}

} // namespace
} // namespace zanthera
