// The program where desktops differ from the designer's: small and scaled screens, no display at
// all, an Arabic desktop without an Arabic font.
#include "Desktop.h"
#include "FakeTools.h"
#include "Support.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace zanthera::e2e {
namespace {

using namespace std::chrono_literals;

// The result box's text after a click on `button`, read as a person would.
QString answerOf(RunningProgram& program, unsigned long window, std::string_view button,
                 double scale) {
    const auto clickAt = [&](std::string_view name) {
        const QPoint at = centreOf(name) * scale;
        program.click(window, at.x(), at.y());
    };
    clickAt(button);
    clickAt("Text1");
    program.key(window, "ctrl+a");
    program.key(window, "ctrl+c");
    return program.clipboard();
}

// The whole window on the screen where it fits, the designed place kept where it fits there,
// its top-left corner on the screen where it cannot fit; and the resolution button's answer is
// the screen's size in its real pixels at every scale.
TEST(SmallAndScaledScreens, WindowFitsWhereItCanAndResolutionIsTheRealPixels) {
    const struct {
        QSize screen;
        const char* scale;
        std::optional<QPoint> place; // where the size allows one answer only
    } cases[] = {
        {{1024, 768}, "1", QPoint(318, 139)},
        {{800, 600}, "1", QPoint(318, 92)},
        {{640, 480}, "1", QPoint(215, 0)},
        {{320, 240}, "1", QPoint(0, 0)},
        {{1366, 768}, "1.25", {}},
        {{1366, 768}, "2", {}},
        {{1920, 1080}, "2", QPoint(636, 64)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2 at %3")
                         .arg(c.screen.width())
                         .arg(c.screen.height())
                         .arg(c.scale)
                         .toStdString());
        VirtualDisplay display(
            QStringLiteral("%1x%2x24").arg(c.screen.width()).arg(c.screen.height()));
        ASSERT_TRUE(display.ok());
        FakeTools tools({});
        QProcessEnvironment environment = tools.environment("GNOME");
        environment.insert("QT_SCALE_FACTOR", c.scale);
        RunningProgram program(display, environment);
        const auto window = program.waitForWindow(windowTitle, 20s);
        ASSERT_TRUE(window) << program.errors().toStdString();
        const QRect placed = program.placeOf(*window);
        const double scale = QString(c.scale).toDouble();
        EXPECT_EQ(placed.size(), (QSizeF(425, 508) * scale).toSize());
        if (c.place) {
            EXPECT_EQ(placed.topLeft(), *c.place);
        }
        const QRect screen({0, 0}, c.screen);
        if (placed.height() <= c.screen.height() && placed.width() <= c.screen.width())
            EXPECT_TRUE(screen.contains(placed));
        else
            EXPECT_TRUE(screen.contains(placed.topLeft()));
        if (c.screen.height() < 300) {
            // Partly off the screen: the screenshot tool still saves the window, whole in size.
            QTemporaryDir dir;
            const QString file = dir.filePath("shot.png");
            EXPECT_EQ(QProcess::execute("env", {"DISPLAY=" + display.name(), ZANTHERA_SHOT_PROGRAM,
                                                QString::number(*window), file}),
                      0);
            EXPECT_EQ(QImage(file).size(), placed.size());
            continue;
        }
        EXPECT_EQ(answerOf(program, *window, "Command1", scale),
                  QStringLiteral("%1 * %2").arg(c.screen.width()).arg(c.screen.height()));
    }
}

// Without a display the program says so in one Arabic line naming the display it tried, with
// Qt's reason after it, and ends with status 1 instead of aborting.
TEST(NoDisplay, OneArabicLineNamingTheDisplayTriedAndStatusOne) {
    for (const QString display : {"DISPLAY=:987", "DISPLAY (not set)"}) {
        QStringList command{"-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", "-u", "DISPLAY"};
        if (display.startsWith("DISPLAY="))
            command << display;
        QProcess program;
        program.start("env", command << programPath());
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 1);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
        EXPECT_TRUE(said.startsWith(QStringLiteral("زانثيرا: تعذر الاتصال بالشاشة")));
        EXPECT_TRUE(said.contains(display)) << said.toStdString();
    }
}

// On an Arabic desktop whose only font has no Arabic letters, the captions show in the
// program's own font, pixel for pixel as where an Arabic font is installed; the window is not
// mirrored; and Qt's standard button reads as Qt's Arabic translation has it, "حسنًا".
TEST(ArabicDesktop, CaptionsInTheProgramsOwnFontAndStandardButtonsInArabic) {
    QTemporaryDir fonts;
    const auto shotOf = [&](bool arabic) -> QImage {
        VirtualDisplay display;
        FakeTools tools({});
        QProcessEnvironment environment = tools.environment("GNOME");
        // A font setting whose only fonts are a Latin one and, on the usual desktop, an Arabic one.
        const QString dir = fonts.filePath(arabic ? "a" : "b"),
                      noto = "/usr/share/fonts/truetype/noto/";
        QDir().mkpath(dir);
        QFile::link(noto + "NotoSans-Regular.ttf", dir + "/latin.ttf");
        if (!arabic)
            QFile::link(noto + "NotoSansArabic-Regular.ttf", dir + "/arabic.ttf");
        QFile config(dir + ".conf");
        EXPECT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QString("<fontconfig><dir>%1</dir><cachedir>%1</cachedir></fontconfig>")
                         .arg(dir)
                         .toUtf8());
        config.close();
        environment.insert("FONTCONFIG_FILE", config.fileName());
        environment.insert("LC_ALL", arabic ? "ar_EG.UTF-8" : "C.UTF-8");
        RunningProgram program(display, environment);
        const auto window = program.waitForWindow(windowTitle, 20s);
        if (!window)
            return {};
        const QImage shot = program.grab(*window);
        if (arabic) {
            program.click(*window, centreOf("Command9").x(), centreOf("Command9").y());
            const auto box = program.waitForWindow("Zanthera ver 0,1", 10s);
            EXPECT_TRUE(box);
            if (box) {
                program.key(*box, "ctrl+c");
                EXPECT_TRUE(program.clipboard().contains(QStringLiteral("\nحسنًا   \n")))
                    << program.clipboard().toStdString();
            }
        }
        return shot;
    };
    const QImage arabic = shotOf(true), usual = shotOf(false);
    ASSERT_FALSE(arabic.isNull());
    ASSERT_FALSE(usual.isNull());
    EXPECT_EQ(QColor(arabic.pixel(20, 17)), QColor(0, 0, 255)); // the exit button, top left
    for (const char* caption : {"Label3", "Label4", "Label7", "Label8", "Label9"}) {
        const Extents& e = design::findControl(caption)->extents;
        const QRect place(e.left / 15, e.top / 15, e.width / 15, e.height / 15);
        EXPECT_EQ(arabic.copy(place), usual.copy(place)) << caption;
    }
}

} // namespace
} // namespace zanthera::e2e
