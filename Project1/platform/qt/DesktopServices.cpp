#include "DesktopServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTime>
#include <qpa/qplatformscreen.h>

#include <algorithm>
#include <vector>

#include <cmath>

namespace zanthera::qt {

namespace {

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

// A time format split into its pieces: runs of one field letter, quoted text, and the literal
// characters between them.
struct FormatPiece {
    QString text;
    bool field = false;
};

std::vector<FormatPiece> splitFormat(const QString& format) {
    std::vector<FormatPiece> pieces;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype end = i + 1;
        if (c == u'\'') {
            end = format.indexOf(u'\'', i + 1);
            end = end < 0 ? format.size() : end + 1;
        } else if (c.isLetter()) {
            while (end < format.size() && format[end] == c)
                ++end;
        } else {
            while (end < format.size() && !format[end].isLetter() && format[end] != u'\'')
                ++end;
        }
        pieces.push_back({format.mid(i, end - i), c.isLetter()});
        i = end;
    }
    return pieces;
}

QString joinFormat(const std::vector<FormatPiece>& pieces) {
    QString format;
    for (const auto& piece : pieces)
        format += piece.text;
    return format;
}

bool isZone(const FormatPiece& piece) {
    return piece.field && piece.text.startsWith(u't');
}

} // namespace

QString withoutZone(const QString& format) {
    std::vector<FormatPiece> pieces = splitFormat(format);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!isZone(pieces[i]))
            continue;
        // The separators round the zone ("HH:mm:ss, t", "(t)") belong to it and go with it; a
        // zone between two fields leaves one space to keep them apart.
        std::size_t first = i, last = i;
        if (first > 0 && !pieces[first - 1].field)
            --first;
        if (last + 1 < pieces.size() && !pieces[last + 1].field)
            ++last;
        const bool between = first > 0 && last + 1 < pieces.size();
        pieces.erase(pieces.begin() + std::ptrdiff_t(first),
                     pieces.begin() + std::ptrdiff_t(last) + 1);
        if (between)
            pieces.insert(pieces.begin() + std::ptrdiff_t(first), FormatPiece{QStringLiteral(" ")});
        i = first;
    }
    return joinFormat(pieces).trimmed();
}

QString timeFormatWithSeconds(const QLocale& locale) {
    // The long format would give the seconds too, but it is much wider in many locales; the
    // short one with seconds put after the minutes, in the same way as the minutes follow the
    // hour, fits the panel's label everywhere.
    std::vector<FormatPiece> pieces =
        splitFormat(withoutZone(locale.timeFormat(QLocale::ShortFormat)));
    const auto isField = [](const FormatPiece& p, QChar letter) {
        return p.field && p.text.startsWith(letter);
    };
    if (std::ranges::any_of(pieces, [&](const auto& p) { return isField(p, u's'); }))
        return joinFormat(pieces);
    const auto minutes =
        std::ranges::find_if(pieces, [&](const auto& p) { return isField(p, u'm'); });
    if (minutes == pieces.end())
        return joinFormat(pieces);
    QString separator = QStringLiteral(":");
    if (minutes != pieces.begin() && !std::prev(minutes)->field)
        separator = std::prev(minutes)->text;
    const auto at = std::next(minutes);
    pieces.insert(at, {{separator}, {QStringLiteral("ss"), true}});
    return joinFormat(pieces);
}

DesktopServices::DesktopServices(posix::PosixSystem& system, QLocale locale,
                                 std::function<QWidget*()> owner)
    : system_(system), locale_(std::move(locale)), timeFormat_(timeFormatWithSeconds(locale_)),
      owner_(std::move(owner)) {
    locale_.setNumberOptions(QLocale::OmitGroupSeparator);
}

Status DesktopServices::startProgram(std::string_view commandLine, int) {
    return system_.startProgram(commandLine);
}

void DesktopServices::messageBox(std::string_view prompt, MessageKind kind,
                                 std::string_view title) {
    CopyableMessageBox box(owner_ ? owner_() : nullptr);
    box.setWindowTitle(fromUtf8(title));
    box.setText(fromUtf8(prompt));
    box.setIcon(kind == MessageKind::Failure ? QMessageBox::Critical : QMessageBox::NoIcon);
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
    // QScreen's size is in the scaled pixels that widgets use, which at 125 % or 200 % would
    // report a smaller screen than the user has. The platform's own screen counts device pixels
    // on X11; on Wayland it counts the compositor's logical pixels, each of which is its output's
    // scale in device pixels (two at Weston's --scale=2).
    const QPlatformScreen* platform = screen->handle();
    const QSize size = platform->geometry().size() * platform->devicePixelRatio();
    return {size.width(), size.height()};
}

LocalTime DesktopServices::localTime() {
    return system_.localTime();
}

// The clock asks for the date, the month's name and the minutes every second; they change once
// a day or a minute, so each answer is kept until its question changes.
std::string DesktopServices::dateText(const CalendarDate& date) {
    return lastDate_(
        date, [&] { return locale_.toString(toQDate(date), QLocale::ShortFormat).toStdString(); });
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
    return lastMonth_(month, [&] {
        return locale_.standaloneMonthName(month, QLocale::LongFormat).toStdString();
    });
}

std::string DesktopServices::numberText(double value) {
    // std::round takes halves away from zero; the locale writes the digits, so the minutes use
    // the same Arabic-Indic or Persian digits as the time and the date beside them.
    const auto whole = static_cast<qlonglong>(std::round(value));
    return lastNumber_(whole, [&] { return locale_.toString(whole).toStdString(); });
}

} // namespace zanthera::qt
