// The platform on Windows: every operation through the UTF-16 calls, texts converted to and from
// UTF-8 at this boundary. A failing call is an error in Arabic with the system's own words after
// it, for the event loop to show.
#pragma once

#include "platform/PlatformServices.h"

#include <windows.h>

#include <functional>

namespace zanthera::win32 {

class Win32Services final : public PlatformServices {
  public:
    // `owner` gives the window that message boxes belong to (it may give null); `end` ends the
    // program.
    Win32Services(std::function<HWND()> owner, std::function<void()> end);

    Status startProgram(std::string_view commandLine, int windowStyle) override;
    void messageBox(std::string_view prompt, MessageKind kind, std::string_view title) override;
    void endProgram() override;
    Result<std::string> computerName() override;
    Result<std::string> userName() override;
    std::uint64_t millisecondsSinceStart() override;
    Result<std::int32_t> volumeSerial(std::string_view drive) override;
    ScreenPixels screenPixels() override;
    LocalTime localTime() override;
    std::string dateText(const CalendarDate& date) override;
    std::string timeText(const TimeOfDay& time) override;
    int weekday(const CalendarDate& date) override;
    std::string monthName(int month) override;
    std::string monthNameOf(const CalendarDate& date) override;
    std::string numberText(double value) override;

  private:
    std::function<HWND()> owner_;
    std::function<void()> end_;
};

// The technical detail of a failed system call: what could not be done, the call and the system's
// description of `error`. The handlers put the Arabic headline for the user in front of it.
Error systemFailure(std::string_view what, std::string_view call, DWORD error);

} // namespace zanthera::win32
