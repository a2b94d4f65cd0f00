// A scriptable platform for handler tests: every answer is set by the test, every request is
// recorded so the test can see what a handler asked for.
#pragma once

#include "platform/PlatformServices.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace zanthera::testing {

struct StartedProgram {
    std::string commandLine;
    int windowStyle;
};

struct ShownBox {
    std::string prompt;
    int buttons;
    std::string title;
};

class FakeServices : public PlatformServices {
  public:
    // Answers.
    Status startAnswer = success();
    Result<std::string> hostName = std::string("DESKTOP");
    Result<std::string> loginName = std::string("user");
    std::uint64_t uptimeMs = 0;
    std::int32_t serial = 0;
    std::string serialError; // when set, the serial query fails with it
    ScreenPixels screen{1024, 768};
    CalendarDate date{2026, 12, 6};
    TimeOfDay time{16, 40, 5};
    std::optional<int> weekdayOverride;

    // What was asked.
    std::vector<StartedProgram> started;
    std::vector<ShownBox> boxes;
    int endCalls = 0;

    Status startProgram(std::string_view commandLine, int windowStyle) override {
        started.push_back({std::string(commandLine), windowStyle});
        return startAnswer;
    }
    void messageBox(std::string_view prompt, int buttons, std::string_view title) override {
        boxes.push_back({std::string(prompt), buttons, std::string(title)});
    }
    void endProgram() override { ++endCalls; }

    Result<std::string> computerName() override { return hostName; }
    Result<std::string> userName() override { return loginName; }
    std::uint64_t millisecondsSinceStart() override { return uptimeMs; }
    Result<std::int32_t> volumeSerial(std::string_view) override {
        if (!serialError.empty())
            return Error{serialError};
        return serial;
    }
    ScreenPixels screenPixels() override { return screen; }
    CalendarDate today() override { return date; }
    TimeOfDay now() override { return time; }
    std::string dateText(const CalendarDate& d) override {
        return std::to_string(d.day) + "/" + std::to_string(d.month) + "/" + std::to_string(d.year);
    }
    std::string timeText(const TimeOfDay& t) override {
        return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
               std::to_string(t.second);
    }
    // The real weekday, counted from Sunday as one, so that tests can pick calendar dates.
    int weekday(const CalendarDate& d) override {
        const std::chrono::year_month_day day{std::chrono::year(d.year),
                                              std::chrono::month(unsigned(d.month)),
                                              std::chrono::day(unsigned(d.day))};
        return weekdayOverride.value_or(std::chrono::weekday(day).c_encoding() + 1);
    }
    std::string monthName(int month) override { return "month" + std::to_string(month); }
    std::string numberText(double value) override {
        return std::to_string(static_cast<long long>(std::round(value)));
    }
};

} // namespace zanthera::testing
