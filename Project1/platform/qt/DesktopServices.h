// The platform on a Linux desktop: Qt for the message box, the screen and the user's locale;
// POSIX for processes, names, the uptime clock and the system volume.
#pragma once

#include "platform/PlatformServices.h"
#include "platform/posix/PosixSystem.h"

#include <QLocale>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace zanthera::qt {

class DesktopServices final : public PlatformServices {
  public:
    // `owner` gives the window that message boxes belong to (it may return null).
    DesktopServices(posix::PosixSystem& system, QLocale locale, std::function<QWidget*()> owner);

    // What the system answers, through POSIX.
    Result<std::string> computerName() override;
    Result<std::string> userName() override;
    Result<std::int32_t> volumeSerial(std::string_view drive) override;
    std::uint64_t millisecondsSinceStart() override;
    LocalTime localTime() override;
    Status startProgram(std::string_view commandLine, int windowStyle) override;

    // What the desktop answers, through Qt: its screen, its event loop, and the user's locale.
    ScreenPixels screenPixels() override;
    void messageBox(std::string_view prompt, MessageKind kind, std::string_view title) override;
    void endProgram() override;
    int weekday(const CalendarDate& date) override;
    std::string monthName(int month) override;
    std::string dateText(const CalendarDate& date) override;
    std::string timeText(const TimeOfDay& time) override;
    std::string numberText(double value) override;

  private:
    posix::PosixSystem& system_;
    QLocale locale_;
    QString timeFormat_;
    std::function<QWidget*()> owner_;
    // The last text made for a question, kept until the question changes.
    template <typename Question> struct LastText {
        std::optional<Question> question;
        std::string text;
        const std::string& operator()(const Question& asked, const auto& make) {
            if (question != asked) {
                text = make();
                question = asked;
            }
            return text;
        }
    };
    LastText<CalendarDate> lastDate_;
    LastText<int> lastMonth_;
    LastText<qlonglong> lastNumber_;
};

// The locale's short time format with the seconds added after the minutes, without any
// time-zone field.
QString timeFormatWithSeconds(const QLocale& locale);
// A time format without its time-zone field and the separators that went with it.
QString withoutZone(const QString& format);

} // namespace zanthera::qt
