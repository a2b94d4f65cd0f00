// The Windows platform services: the calendar and number texts, and what a failed read or a failed
// start says. The names, the screen, the volume serial and the exact command line started are
// read back from the running program in the end-to-end tests under Wine (tests/wine).
#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

namespace zanthera::win32 {
namespace {

Win32Services services() {
    return Win32Services([] { return HWND(nullptr); }, [] {});
}

TEST(Win32Services, CalendarAndNumbers) {
    auto s = services();
    const std::pair<CalendarDate, int> days[] = {{{2026, 12, 6}, 1},
                                                 {{2000, 1, 1}, 7},
                                                 {{2024, 2, 29}, 5},
                                                 {{2026, 12, 7}, 2},
                                                 {{2026, 2, 30}, 0}};
    for (const auto& [date, weekday] : days)
        EXPECT_EQ(s.weekday(date), weekday) << date.year << "-" << date.month << "-" << date.day;
    const std::pair<double, const char*> numbers[] = {
        {0.0, "0"}, {0.4999, "0"}, {0.5, "1"}, {2.5, "3"}, {74.6, "75"}, {3579139.4, "3579139"}};
    for (const auto& [value, text] : numbers)
        EXPECT_EQ(s.numberText(value), text) << value;
    EXPECT_FALSE(s.monthName(1).empty());
    EXPECT_NE(s.monthName(1), s.monthName(12));
    EXPECT_EQ(s.monthName(0), "");
    EXPECT_EQ(s.monthName(13), "");
    EXPECT_NE(s.dateText({2026, 12, 6}).find("2026"), std::string::npos);
    EXPECT_NE(s.timeText({16, 40, 5}).find("40"), std::string::npos);
    EXPECT_NE(s.timeText({16, 40, 5}).find("05"), std::string::npos);
}

TEST(Win32Services, AFailedReadOrStartNamesWhatFailedAndWhy) {
    auto s = services();
    const auto missing = s.volumeSerial("q:\\");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message.rfind(
                  "Could not read the serial number of q:\\ (GetVolumeInformationW: ", 0),
              0u)
        << missing.error().message;
    const auto failed = s.startProgram("no-such-program-zanthera.exe /x", 1);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message.rfind(
                  "Could not start no-such-program-zanthera.exe /x (CreateProcessW: ", 0),
              0u)
        << failed.error().message;
}

} // namespace
} // namespace zanthera::win32
