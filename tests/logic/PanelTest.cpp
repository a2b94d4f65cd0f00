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

TEST(PanelTick, RewritesOnlyTimeAndDateOnEveryTick) {
    FakeServices services;
    FakeWindow window;
    dispatch(services, window, "Form1", FormEvent::Load);
    const auto afterLoad = window.writes.size();
    dispatch(services, window, "Timer1", FormEvent::Timer);
    services.time = {23, 59, 59};
    services.date = {2026, 12, 31};
    dispatch(services, window, "Timer1", FormEvent::Timer);
    ASSERT_EQ(window.writes.size(), afterLoad + 4);
    EXPECT_EQ(window.writes[afterLoad], (Write{"Label1", "16:40:5"}));
    EXPECT_EQ(window.writes[afterLoad + 1], (Write{"Label2", "6/12/2026"}));
    EXPECT_EQ(window.value("Label1"), "23:59:59");
    EXPECT_EQ(window.value("Label2"), "31/12/2026");
    EXPECT_EQ(window.value("Label6"), "الأحد"); // the weekday keeps its start value
}

} // namespace
} // namespace zanthera
