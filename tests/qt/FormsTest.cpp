// The Qt forms engine building the designed window: places, kinds, texts, colours, frame, focus
// and the tab walk, with real key and mouse events on the offscreen platform; and the desktop's
// locale-dependent answers.
#include "Form1/ControlTable.h"
#include "Form1/DefinitionReader.h"
#include "Form1/StoredDefinition.h"
#include "app/WindowSource.h"
#include "panel/Panel.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/PanelLabel.h"
#include "platform/qt/QtForms.h"
#include "platform/qt/SteppedTimer.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace zanthera::qt {
namespace {

struct Built {
    std::unique_ptr<QtForms> forms;
    std::vector<std::pair<std::string, FormEvent>> events;
};

std::unique_ptr<Built> build(double dpi, const WindowModel& model = design::designedWindow()) {
    auto b = std::make_unique<Built>();
    b->forms = std::make_unique<QtForms>(dpi);
    EXPECT_TRUE(b->forms->create(model));
    b->forms->setEventSink([raw = b.get()](std::string_view control, FormEvent event) {
        raw->events.emplace_back(std::string(control), event);
    });
    return b;
}

QRect placeOf(QtForms& forms, std::string_view name) {
    return qobject_cast<QWidget*>(forms.control(name))->geometry();
}

// Every place and size is the design's twips at the logical DPI rounded to the nearest pixel,
// halves up: at 96 DPI a pixel is 15 twips, at 120 DPI 12, and at 144 DPI 10, where every
// odd-pixel size of the design ends in a half.
TEST(FormsLayout, ControlsStandAtTheirPixelPlacesAt96And120And144Dpi) {
    for (const int dpi : {96, 120, 144}) {
        auto b = build(dpi);
        const auto px = [dpi](int twips) { return (twips * dpi + 720) / 1440; };
        for (const auto& row : design::controls) {
            const Extents& e = row.extents;
            if (row.role != design::Role::Timer) {
                EXPECT_EQ(placeOf(*b->forms, row.name),
                          QRect(px(e.left), px(e.top), px(e.width), px(e.height)))
                    << row.name << " at " << dpi;
            }
        }
    }
}

// Its place and caption are the end-to-end tests' matter.
TEST(FormsFrame, FixedWindowWithCloseBoxOnly) {
    for (double dpi : {96.0, 120.0}) {
        auto b = build(dpi);
        QWidget* w = b->forms->window();
        const QSize client = dpi == 96.0 ? QSize(425, 508) : QSize(531, 635);
        EXPECT_EQ(w->size(), client);
        EXPECT_EQ(w->minimumSize(), client);
        EXPECT_EQ(w->maximumSize(), client);
        const auto flags = w->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    }
}

TEST(FormsControls, KindsTextsAndColoursAsDesigned) {
    auto b = build(96);
    int buttons = 0, labels = 0, boxes = 0, timers = 0;
    const QColor inactive(191, 205, 219);
    for (const auto& row : design::controls) {
        QObject* o = b->forms->control(row.name);
        ASSERT_NE(o, nullptr) << row.name;
        if (auto* button = qobject_cast<QPushButton*>(o)) {
            ++buttons;
            EXPECT_TRUE(button->text().isEmpty());
            EXPECT_EQ(button->accessibleName().toStdString(), row.lettering);
        } else if (auto* label = qobject_cast<QLabel*>(o)) {
            ++labels;
            EXPECT_EQ(label->text().toStdString(), row.text) << row.name;
            EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
            const bool value = row.role == design::Role::ValueLabel;
            EXPECT_EQ(label->autoFillBackground(), value) << row.name;
            EXPECT_EQ(label->frameShape() != QFrame::NoFrame, value) << row.name;
            if (value) {
                EXPECT_EQ(label->palette().color(QPalette::Window), inactive);
            }
        } else if (auto* box = qobject_cast<QTextEdit*>(o)) {
            ++boxes;
            EXPECT_TRUE(box->toPlainText().isEmpty());
            EXPECT_EQ(box->palette().color(QPalette::Base), inactive);
        } else if (qobject_cast<QTimer*>(o)) {
            ++timers;
        }
    }
    EXPECT_EQ(buttons, 19);
    EXPECT_EQ(labels, 10);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(timers, 1);
}

// What a screen reader is told: the window is a frame named by its caption, the result box has
// a name, and each value label is labelled by the caption beside it.
TEST(FormsAccessibility, FrameResultBoxAndEveryValueLabelsCaption) {
    // Built as the program builds it, from the stored definition, which gives the names.
    auto b = build(96, loadWindow(storedDefinition()).value());
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(b->forms->window());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Zanthera ver 0.1"));
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(b->forms->control("Text1"))->text(QAccessible::Name),
        QStringLiteral("النتيجة"));
    const std::pair<const char*, QString> captions[] = {
        {"Label1", "الوقت"},
        {"Label2", "التاريخ"},
        {"Label6", "اليوم"},
        {"Label5", "الشهر"},
        {"Label10", "مضى على تشغيلك للكمبيوتر بالدقيقة"}};
    for (const auto& [value, caption] : captions) {
        const auto relations = QAccessible::queryAccessibleInterface(b->forms->control(value))
                                   ->relations(QAccessible::Label);
        ASSERT_EQ(relations.size(), 1) << value;
        EXPECT_EQ(relations[0].first->text(QAccessible::Name), caption) << value;
    }
}

TEST(FormsFocus, StartsOnCmm1AndTabWalksTheDesignedOrderSkippingLabels) {
    auto b = build(96);
    QWidget* w = b->forms->window();
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const std::vector<std::string> expected{
        "Cmm1",     "Command3", "Command5",  "Command6", "Command7",  "Cmm8",      "Cmm9",
        "Cmm11",    "Cmm12",    "Command13", "Text1",    "Command15", "Command16", "Command17",
        "Command4", "Command1", "Command2",  "Command8", "Command9",  "Command10", "Cmm1"};
    std::vector<std::string> walked;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        walked.push_back(focus->objectName().toStdString());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(walked, expected);
}

TEST(FormsWrites, OnlyTheWritesTheWindowAllowsAndTicksReachTheSink) {
    auto b = build(96);
    auto& f = *b->forms;
    EXPECT_TRUE(f.setCaption("Label6", "الأحد"));
    EXPECT_EQ(qobject_cast<QLabel*>(f.control("Label6"))->text(), QStringLiteral("الأحد"));
    EXPECT_FALSE(f.setCaption("Cmm1", "x"));
    EXPECT_FALSE(f.setCaption("Text1", "x"));
    EXPECT_FALSE(f.setText("Label1", "x"));
    EXPECT_FALSE(f.setInterval("Text1", 5));
    EXPECT_FALSE(f.setInterval("Timer1", -1));
    EXPECT_FALSE(f.setCaption("NoSuchLabel", "x"));

    auto* timer = dynamic_cast<qt::SteppedTimer*>(f.control("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    ASSERT_TRUE(f.setInterval("Timer1", 1000));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->modelInterval(), 1000);
    // The first tick is due just after the wall clock's next second.
    const qint64 due = QDateTime::currentMSecsSinceEpoch() + timer->remainingTime();
    EXPECT_NEAR(double(due % 1000), tickAfterSecondMs, 5.0);
    ASSERT_TRUE(f.setInterval("Timer1", 0));
    EXPECT_FALSE(timer->isActive());
    // The end-to-end tests click every button; nothing there waits for a tick.
    ASSERT_TRUE(f.setInterval("Timer1", 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !b->events.empty(); }, 2000));
    EXPECT_EQ(b->events[0], std::pair(std::string("Timer1"), FormEvent::Timer));

    // The result box ends its text at the first NUL and centres it.
    auto* box = qobject_cast<QTextEdit*>(f.control("Text1"));
    ASSERT_TRUE(f.setText("Text1", std::string("ali\0", 4) + std::string(140, ' ')));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("ali"));
    EXPECT_TRUE(box->document()->defaultTextOption().alignment() & Qt::AlignHCenter);
}

TEST(FormsButtons, APressedButtonShowsTheSamePictureInsideASunkenBorder) {
    auto b = build(96, readDefinition(storedDefinition()).value());
    QtForms& forms = *b->forms;
    forms.window()->show();
    auto* button = qobject_cast<QPushButton*>(forms.control("Command3"));
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

// Every installed locale's longest panel texts (every month, morning and evening, a long
// uptime) show whole in their labels.
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
        ASSERT_TRUE(forms.setCaption(label, text));
        const auto* shown = qobject_cast<QLabel*>(forms.control(label));
        EXPECT_LE(QFontMetrics(shown->font()).horizontalAdvance(shown->text()),
                  shown->contentsRect().width())
            << label << " " << text;
    };
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

TEST(DesktopCaptions, EveryFixedCaptionFitsItsLabel) {
    QWidget parent;
    for (const auto& row : design::controls) {
        if (row.role != design::Role::CaptionLabel)
            continue;
        PanelLabel label(&parent);
        label.setGeometry(0, 0, row.extents.width / 15, row.extents.height / 15);
        label.showText(QString::fromUtf8(row.text.data(), qsizetype(row.text.size())));
        EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()),
                  label.contentsRect().width())
            << row.name;
    }
}

} // namespace
} // namespace zanthera::qt
