#include "DesktopServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDateTime>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTime>

#include <cmath>

namespace zanthera::qt {

namespace {

constexpr int iconMask = 0x70;
constexpr int criticalIcon = 16;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QDate toQDate(const CalendarDate& d) {
    return QDate(d.year, d.month, d.day);
}

// A message box whose Ctrl+C copies its title, text and buttons to the clipboard, laid out as a
// Windows message box lays them out, so users can paste what a box said.
class CopyableMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!event->matches(QKeySequence::Copy)) {
            QMessageBox::keyPressEvent(event);
            return;
        }
        const QString rule = QStringLiteral("---------------------------\n");
        QString copied = rule + windowTitle() + u'\n' + rule + text() + u'\n' + rule;
        for (const QAbstractButton* button : buttons())
            copied += button->text().remove(u'&') + QStringLiteral("   ");
        copied += u'\n' + rule;
        QGuiApplication::clipboard()->setText(copied);
    }
};

} // namespace

QString timeFormatWithSeconds(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop each time-zone field and whatever spacing or brackets stood round it. Done by hand:
    // a regular expression would load and compile a whole engine at start-up for this one line.
    for (qsizetype zone = format.indexOf(u't'); zone >= 0; zone = format.indexOf(u't')) {
        qsizetype begin = zone;
        qsizetype end = zone;
        while (end < format.size() && format[end] == u't')
            ++end;
        if (begin > 0 && (format[begin - 1] == u'(' || format[begin - 1] == u'['))
            --begin;
        if (end < format.size() && (format[end] == u')' || format[end] == u']'))
            ++end;
        while (begin > 0 && format[begin - 1].isSpace())
            --begin;
        while (end < format.size() && format[end].isSpace())
            ++end;
        format.replace(begin, end - begin, QStringLiteral(" "));
    }
    return format.trimmed();
}

DesktopServices::DesktopServices(posix::PosixSystem& system, QLocale locale,
                                 std::function<QWidget*()> owner)
    : system_(system), locale_(std::move(locale)), timeFormat_(timeFormatWithSeconds(locale_)),
      owner_(std::move(owner)) {}

Status DesktopServices::startProgram(std::string_view commandLine, int) {
    return system_.startProgram(commandLine);
}

void DesktopServices::messageBox(std::string_view prompt, int buttons, std::string_view title) {
    CopyableMessageBox box(owner_ ? owner_() : nullptr);
    box.setWindowTitle(fromUtf8(title));
    box.setText(fromUtf8(prompt));
    box.setIcon((buttons & iconMask) == criticalIcon ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void DesktopServices::endProgram() {
    QApplication::exit(0);
}

Result<std::string> DesktopServices::computerName() {
    return system_.computerName();
}

Result<std::string> DesktopServices::userName() {
    return system_.userName();
}

std::uint64_t DesktopServices::millisecondsSinceStart() {
    return system_.millisecondsSinceStart();
}

Result<std::int32_t> DesktopServices::volumeSerial(std::string_view drive) {
    return system_.volumeSerial(drive);
}

ScreenPixels DesktopServices::screenPixels() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    // Qt reports the size in device-independent pixels; the device has this many per one.
    const QSize size = screen->size() * screen->devicePixelRatio();
    return {size.width(), size.height()};
}

CalendarDate DesktopServices::today() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

TimeOfDay DesktopServices::now() {
    const QTime t = QTime::currentTime();
    return {t.hour(), t.minute(), t.second()};
}

std::string DesktopServices::dateText(const CalendarDate& date) {
    return locale_.toString(toQDate(date), QLocale::ShortFormat).toStdString();
}

std::string DesktopServices::timeText(const TimeOfDay& time) {
    return locale_.toString(QTime(time.hour, time.minute, time.second), timeFormat_).toStdString();
}

int DesktopServices::weekday(const CalendarDate& date) {
    // Qt counts Monday as 1 and Sunday as 7; the panel counts from Sunday.
    const int isoDay = toQDate(date).dayOfWeek();
    return isoDay <= 0 ? 0 : isoDay % 7 + 1;
}

std::string DesktopServices::monthName(int month) {
    return locale_.standaloneMonthName(month, QLocale::LongFormat).toStdString();
}

std::string DesktopServices::numberText(double value) {
    // std::round takes halves away from zero.
    return QString::number(std::round(value), 'f', 0).toStdString();
}

} // namespace zanthera::qt
