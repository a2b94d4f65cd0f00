// What only the Qt engine shows (its contract with the Win32 engine is tests/forms): its widgets'
// kinds, texts and colours, the frame screen readers find, a pressed button; the desktop's locale.
#include "Form1/ControlTable.h"
#include "Form1/DefinitionReader.h"
#include "Form1/StoredDefinition.h"
#include "panel/Panel.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/PanelLabel.h"
#include "platform/qt/QtForms.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zanthera::qt {
namespace {

std::unique_ptr<QtForms> build(const WindowModel& model = design::designedWindow()) {
    auto forms = std::make_unique<QtForms>(96);
    EXPECT_TRUE(forms->create(model));
    return forms;
}

TEST(FormsControls, KindsTextsColoursAndTheFrameForScreenReadersAsDesigned) {
    auto forms = build();
    const char* classOfRole[] = {"QPushButton", "QLabel", "QLabel", "QTextEdit", "QTimer"};
    for (const auto& row : design::controls) {
        QObject* o = forms->control(row.name);
        ASSERT_NE(o, nullptr) << row.name;
        EXPECT_TRUE(o->inherits(classOfRole[int(row.role)])) << row.name;
        if (auto* button = qobject_cast<QPushButton*>(o)) {
            EXPECT_TRUE(button->text().isEmpty());
        } else if (auto* label = qobject_cast<QLabel*>(o)) {
            EXPECT_EQ(label->text().toStdString(), row.text) << row.name;
            EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
            const bool value = row.role == design::Role::ValueLabel;
            EXPECT_EQ(label->autoFillBackground(), value) << row.name;
            EXPECT_EQ(label->frameShape() != QFrame::NoFrame, value) << row.name;
            if (value) {
                EXPECT_EQ(label->palette().color(QPalette::Window), QColor(191, 205, 219));
            }
        } else if (auto* box = qobject_cast<QTextEdit*>(o)) {
            EXPECT_TRUE(box->toPlainText().isEmpty());
        }
    }
    // Screen readers take the window for a frame named by its caption.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(forms->window());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Zanthera ver 0.1"));
}

TEST(FormsButtons, APressedButtonShowsTheSamePictureInsideASunkenBorder) {
    auto forms = build(readDefinition(storedDefinition()).value());
    forms->window()->show();
    auto* button = qobject_cast<QPushButton*>(forms->control("Command3"));
    const QImage raised = button->grab().toImage();
    QTest::mousePress(button, Qt::LeftButton);
    const QImage sunken = button->grab().toImage();
    QTest::mouseRelease(button, Qt::LeftButton);

    const QRect inner = button->rect().adjusted(1, 1, -1, -1);
    int changedInside = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            changedInside += raised.pixel(x, y) != sunken.pixel(x, y);
    EXPECT_EQ(changedInside, 0);
    // The light top edge turns dark and the dark bottom edge light.
    const int mid = button->width() / 2;
    EXPECT_GT(QColor(raised.pixel(mid, 0)).lightness(), QColor(sunken.pixel(mid, 0)).lightness());
    EXPECT_LT(QColor(raised.pixel(mid, button->height() - 1)).lightness(),
              QColor(sunken.pixel(mid, button->height() - 1)).lightness());
    // Inside the border stands the lettered plate, not the button's grey face.
    EXPECT_EQ(QColor(raised.pixel(12, 8)).red(), 0);
    EXPECT_GT(QColor(raised.pixel(12, 8)).blue(), 200);
}

struct Services {
    explicit Services(const char* locale)
        : services(system, QLocale(locale), [] { return static_cast<QWidget*>(nullptr); }) {}
    posix::PosixSystem system;
    DesktopServices services;
};

TEST(DesktopCalendar, MonthNamesAndShortDatesInTheUsersLanguageAndWeekdaysFromSunday) {
    const struct {
        const char* locale;
        int month;
        const char* name;
    } months[] = {
        {"C", 1, "January"},     {"C", 12, "December"},     {"en_US", 5, "May"},
        {"de_DE", 3, "März"},    {"de_DE", 12, "Dezember"}, {"ar_EG", 1, "يناير"},
        {"ar_EG", 12, "ديسمبر"},
    };
    for (const auto& c : months)
        EXPECT_EQ(Services(c.locale).services.monthName(c.month), c.name) << c.locale << c.month;
    EXPECT_EQ(Services("de_DE").services.dateText({2026, 12, 6}), "06.12.26");
    EXPECT_EQ(Services("en_US").services.dateText({2026, 12, 6}), "12/6/26");
    const std::pair<CalendarDate, int> weekdays[] = {
        {{2026, 12, 6}, 1}, {{2026, 12, 7}, 2}, {{2026, 12, 12}, 7},
        {{2000, 2, 29}, 3}, {{2026, 2, 30}, 0}, // not a date
    };
    for (const auto& [date, weekday] : weekdays)
        EXPECT_EQ(Services("C").services.weekday(date), weekday) << date.month << "/" << date.day;
}

TEST(DesktopLocale, TimeHasSecondsAfterTheShortFormsMinutesAndNoZoneOrItsSeparators) {
    const struct {
        const char* locale;
        const char* text;
    } cases[] = {
        {"C", "13:05:09"},     {"en_US", "1:05:09 PM"},
        {"be_BY", "13:05:09"}, {"sq_AL", "1:05:09 E PASDITES"},
        {"fi_FI", "13.05.09"}, {"ar_EG", "١:٠٥:٠٩ م"},
    };
    for (const auto& c : cases) {
        Services s(c.locale);
        EXPECT_EQ(s.services.timeText({13, 5, 9}), c.text) << c.locale;
    }
    const std::pair<const char*, const char*> zones[] = {
        {"HH:mm:ss, t", "HH:mm:ss"},    {"h:mm:ss a, tttt", "h:mm:ss a"},
        {"HH:mm:ss (t)", "HH:mm:ss"},   {"t HH:mm", "HH:mm"},
        {"H 'h' mm t a", "H 'h' mm a"}, {"HH:mm 'at' ss", "HH:mm 'at' ss"},
    };
    for (const auto& [format, stripped] : zones)
        EXPECT_EQ(withoutZone(format), stripped) << format;
}

TEST(DesktopNumbers, WholeNumbersInTheLocalesDigitsWithHalvesAwayFromZero) {
    const std::tuple<const char*, double, const char*> cases[] = {
        {"de_DE", 0.0, "0"},       {"de_DE", 0.49999, "0"},         {"de_DE", 0.5, "1"},
        {"de_DE", 2.5, "3"},       {"de_DE", 1234567.0, "1234567"}, {"ar_EG", 75.0, "٧٥"},
        {"fa_IR", 1234.0, "۱۲۳۴"},
    };
    for (const auto& [locale, value, text] : cases)
        EXPECT_EQ(Services(locale).services.numberText(value), text) << locale << value;
}

// Every fixed caption, and every installed locale's longest panel texts (every month, morning and
// evening, a long uptime), show whole in their labels.
TEST(DesktopLocale, EveryInstalledLocalesPanelTextsShowWhole) {
    QProcess list;
    list.start("locale", {"-a"});
    ASSERT_TRUE(list.waitForFinished(10000));
    const QStringList locales = QString::fromLocal8Bit(list.readAllStandardOutput()).split('\n');
    ASSERT_GT(locales.size(), 100) << "install locales-all";
    useArabicFont();
    QtForms forms(96);
    ASSERT_TRUE(forms.create(design::designedWindow()));
    const auto whole = [&](const char* label, const std::string& text) {
        forms.showText(label, text);
        const auto* shown = qobject_cast<QLabel*>(forms.control(label));
        EXPECT_LE(QFontMetrics(shown->font()).horizontalAdvance(shown->text()),
                  shown->contentsRect().width())
            << label << " " << text;
    };
    for (const auto& row : design::controls)
        if (row.role == design::Role::CaptionLabel)
            whole(row.name.data(), std::string(row.text));
    for (const QString& name : locales) {
        if (name.isEmpty() || name == "C" || name == "POSIX")
            continue;
        SCOPED_TRACE(name.toStdString());
        Services s(name.toLocal8Bit().constData());
        for (int month = 1; month <= 12; ++month) {
            whole("Label5", s.services.monthName(month));
            whole("Label2", s.services.dateText({2026, month, 28}));
            whole("Label1", s.services.timeText({month, 59, 59}));
            whole("Label1", s.services.timeText({month + 11, 38, 48}));
        }
        whole("Label10", s.services.numberText(5'760'000) + std::string(minutesUnit));
        for (std::string_view day : weekdayNames)
            whole("Label6", std::string(day));
    }
}

} // namespace
} // namespace zanthera::qt
