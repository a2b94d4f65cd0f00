// The Linux desktop's locale-dependent answers: month names, time and date texts, weekday
// numbering and the whole-number formatting of the minutes figure.
#include "platform/qt/DesktopServices.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include "Form1/ControlTable.h"
#include "platform/qt/ControlWidgets.h"

namespace zanthera::qt {
namespace {

struct Services {
    explicit Services(const char* locale)
        : services(system, QLocale(locale), [] { return static_cast<QWidget*>(nullptr); }) {}
    posix::PosixSystem system;
    DesktopServices services;
};

TEST(DesktopLocale, FullMonthNamesInTheUsersLanguage) {
    const struct {
        const char* locale;
        int month;
        const char* name;
    } cases[] = {
        {"C", 1, "January"},     {"C", 12, "December"},     {"en_US", 5, "May"},
        {"de_DE", 3, "März"},    {"de_DE", 12, "Dezember"}, {"ar_EG", 1, "يناير"},
        {"ar_EG", 12, "ديسمبر"},
    };
    for (const auto& c : cases) {
        Services s(c.locale);
        EXPECT_EQ(s.services.monthName(c.month), c.name) << c.locale << " " << c.month;
    }
}

TEST(DesktopLocale, TimeTextCarriesSecondsAndNoTimeZone) {
    for (const char* locale : {"C", "en_US", "de_DE", "ar_EG", "fr_FR"}) {
        SCOPED_TRACE(locale);
        Services s(locale);
        const QString format = timeFormatWithSeconds(QLocale(locale));
        EXPECT_TRUE(format.contains('s'));
        EXPECT_FALSE(format.contains('t'));
        const QString text = QString::fromStdString(s.services.timeText({13, 5, 9}));
        const QLocale l(locale);
        EXPECT_TRUE(text.contains(l.toString(9).rightJustified(2, l.zeroDigit().at(0))))
            << text.toStdString();
    }
    Services c("C");
    EXPECT_EQ(c.services.timeText({7, 8, 9}), "07:08:09");
    Services us("en_US");
    EXPECT_EQ(us.services.timeText({13, 5, 9}), "1:05:09 PM");
}

TEST(DesktopLocale, ShortDateInTheUsersFormat) {
    Services de("de_DE");
    EXPECT_EQ(de.services.dateText({2026, 12, 6}), "06.12.26");
    Services us("en_US");
    EXPECT_EQ(us.services.dateText({2026, 12, 6}), "12/6/26");
}

TEST(DesktopCalendar, WeekdaysCountFromSunday) {
    Services s("C");
    EXPECT_EQ(s.services.weekday({2026, 12, 6}), 1);
    EXPECT_EQ(s.services.weekday({2026, 12, 7}), 2);
    EXPECT_EQ(s.services.weekday({2026, 12, 12}), 7);
    EXPECT_EQ(s.services.weekday({2000, 2, 29}), 3);
    EXPECT_EQ(s.services.weekday({2026, 2, 30}), 0); // not a date
}

TEST(DesktopNumbers, WholeNumbersWithHalvesAwayFromZero) {
    Services s("de_DE");
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},         {0.49999, "0"},         {0.5, "1"}, {1.5, "2"}, {2.5, "3"},
        {71583.5, "71584"}, {1234567.0, "1234567"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(s.services.numberText(value), text) << value;
}

TEST(DesktopCaptions, EveryFixedCaptionFitsItsLabel) {
    QWidget parent;
    for (const auto& row : design::controls) {
        if (row.role != design::Role::CaptionLabel)
            continue;
        QLabel label(QString::fromUtf8(row.text.data(), qsizetype(row.text.size())), &parent);
        label.setGeometry(0, 0, row.extents.width / 15, row.extents.height / 15);
        fitCaption(&label);
        EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()),
                  label.contentsRect().width())
            << row.name;
    }
}

} // namespace
} // namespace zanthera::qt
