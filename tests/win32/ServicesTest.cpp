// The Windows platform services against what Windows (here Wine) itself reports, and the program
// starter against a recording child: this test program started with --record.
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace zanthera::win32 {
namespace {

std::string environment(const wchar_t* name) {
    wchar_t value[512];
    const DWORD length = GetEnvironmentVariableW(name, value, 512);
    return length > 0 && length < 512 ? narrow({value, length}) : std::string();
}

std::wstring thisProgram() {
    wchar_t path[MAX_PATH];
    return {path, GetModuleFileNameW(nullptr, path, MAX_PATH)};
}

Win32Services services() {
    return Win32Services([] { return HWND(nullptr); }, [] {});
}

TEST(Win32Services, NamesAreThoseTheSystemGivesEveryProgram) {
    auto s = services();
    EXPECT_EQ(s.computerName().value(), environment(L"COMPUTERNAME"));
    EXPECT_EQ(s.userName().value(), environment(L"USERNAME"));
    EXPECT_EQ(s.screenPixels().width, 1024);
    EXPECT_EQ(s.screenPixels().height, 768);
    const auto serial = s.volumeSerial("c:\\");
    EXPECT_TRUE(serial) << serial.error().message;
    const auto missing = s.volumeSerial("q:\\");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message.rfind(
                  "Could not read the serial number of q:\\ (GetVolumeInformationW: ", 0),
              0u)
        << missing.error().message;
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

TEST(Win32Services, StartsTheCommandLineAsGivenAndReportsWhatCouldNotBeStarted) {
    auto s = services();
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::string record = narrow(folder) + "zanthera-started.txt";
    DeleteFileW(widen(record).c_str());
    const std::string line = "\"" + narrow(thisProgram()) + "\" --record " + record +
                             " shell32.dll,Control_RunDLL desk.cpl,,0  @1";
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(s.startProgram(line, 1));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    std::string recorded;
    for (int i = 0; i < 200 && recorded.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(record, std::ios::binary);
        recorded.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(recorded, line);

    const auto failed = s.startProgram("no-such-program-zanthera.exe /x", 1);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message.rfind(
                  "Could not start no-such-program-zanthera.exe /x (CreateProcessW: ", 0),
              0u)
        << failed.error().message;
}

} // namespace
} // namespace zanthera::win32
