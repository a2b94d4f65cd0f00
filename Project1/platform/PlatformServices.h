// Everything the handlers ask of the outside world. Handlers see only this interface and the
// window's control writes, so the same handlers run against Qt on Linux, Win32, or a test fake.
#pragma once

#include "base/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zanthera {

struct CalendarDate {
    int year = 1970;
    int month = 1; // 1 to 12
    int day = 1;   // 1 to 31
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

struct LocalTime {
    CalendarDate date;
    TimeOfDay time;
};

// The screen's real size in physical pixels, whatever scale the desktop draws at.
struct ScreenPixels {
    int width = 0;
    int height = 0;
};

// Window style for a started program: a normal window that takes the focus.
inline constexpr int normalWindowFocus = 1;
// What a message box is for, which decides its icon: a notice without one, or a failure with the
// platform's error icon. Either has a single OK button.
enum class MessageKind { Notice, Failure };

class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // Starts the command line as a new, detached process and returns without waiting for it.
    // Success means the program was started; an error names what could not be started and why.
    virtual Status startProgram(std::string_view commandLine, int windowStyle) = 0;

    // Shows a modal box and returns once the user has dismissed it.
    virtual void messageBox(std::string_view prompt, MessageKind kind, std::string_view title) = 0;

    // Ends the program at once with status 0; no further event is delivered.
    virtual void endProgram() = 0;

    // The computer's name and the logged-on user's name as UTF-8 text, whole whatever their
    // length; when one cannot be read, the error says why (the system's own error text).
    virtual Result<std::string> computerName() = 0;
    virtual Result<std::string> userName() = 0;

    // Milliseconds since the system started, on a 64-bit count that does not wrap.
    virtual std::uint64_t millisecondsSinceStart() = 0;

    // The serial number of the system volume (drive C: on Windows, the volume of / elsewhere).
    virtual Result<std::int32_t> volumeSerial(std::string_view drive) = 0;

    // The primary screen's width and height in physical pixels.
    virtual ScreenPixels screenPixels() = 0;

    // Today's date and the time of day in the system's time zone, from one reading of the clock,
    // so that a tick at midnight never pairs the new date with the old day's time.
    virtual LocalTime localTime() = 0;
    // The user's short date format, and the time of day with seconds in the user's own way of
    // writing times, kept as short as the short time format so it fits the panel's label.
    virtual std::string dateText(const CalendarDate& date) = 0;
    virtual std::string timeText(const TimeOfDay& time) = 0;
    // 1 for Sunday ... 7 for Saturday.
    virtual int weekday(const CalendarDate& date) = 0;
    // The full name of month 1 to 12 in the user's language.
    virtual std::string monthName(int month) = 0;
    // The full name of the month `date` falls in, in the user's calendar and language, so that it
    // names the month dateText shows; where the user's calendar is always the Gregorian one, the
    // name of its month number.
    virtual std::string monthNameOf(const CalendarDate& date) { return monthName(date.month); }
    // The number rounded to a whole number (halves away from zero), in the user's own digits
    // and without group separators.
    virtual std::string numberText(double value) = 0;
};

} // namespace zanthera
