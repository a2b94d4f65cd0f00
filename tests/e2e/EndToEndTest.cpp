// The Linux program on a virtual display, met as a person meets it: a real click on each launcher
// button starts the page the running desktop names, through fake settings tools on PATH that
// record their argv; the window's pixels against the drawn artwork at 96, 120 and 192 DPI; an
// answer and the about box read back through the clipboard; the ways to end it; a damaged
// definition; and desktops that differ from the designer's.
#include "ArtworkChecks.h"
#include "Desktop.h"
#include "FakeTools.h"
#include "actions/AppletCommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zanthera::e2e {
namespace {

// The program on a virtual display of its own, with the fake tools on PATH and the given
// NAME=value settings in its environment; `window` stays 0 if no window showed.
struct OnDisplay {
    explicit OnDisplay(const QStringList& settings = {}, const QString& screen = "1024x768x24",
                       const QStringList& programs = {}, const QString& desktop = "GNOME")
        : tools(programs), display(screen),
          program(display, withSettings(tools.environment(desktop), settings), ZANTHERA_PROGRAM) {
        window = program.waitForWindow(windowTitle, 20s).value_or(0);
    }
    static QProcessEnvironment withSettings(QProcessEnvironment environment,
                                            const QStringList& settings) {
        for (const QString& setting : settings)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        return environment;
    }
    FakeTools tools;
    VirtualDisplay display;
    RunningProgram program;
    unsigned long window = 0;
};

// What each button of the launcher table starts on XFCE, in table order; empty: nothing can open
// that page there, and the user is told so. Every desktop's choices are the settings pages' unit
// tests' matter (the Wayland scene starts a GNOME page whose name depends on GNOME's version);
// GNOME's control centre is installed too, and must not be taken for XFCE's.
const std::array<const char*, 13> xfcePages{"pavucontrol",
                                            "xfce4-accessibility-settings",
                                            "nm-connection-editor",
                                            "xfce4-settings-manager",
                                            "xfce4-keyboard-settings",
                                            "xfce4-mouse-settings",
                                            "lxqt-admin-time",
                                            "xfce4-display-settings",
                                            "gnome-software --mode=installed",
                                            "jstest-gtk",
                                            "",
                                            "xfce4-about",
                                            "xdg-open https://zanthera.example/"};

TEST(LauncherEndToEnd, EachButtonOpensItsPageAndTheCloseBoxEndsWithStatusZero) {
    QStringList programs{"gnome-control-center"};
    for (const char* page : xfcePages)
        programs << QString(page).section(' ', 0, 0);
    OnDisplay on({}, "1024x768x24", programs, "XFCE");
    ASSERT_NE(on.window, 0u) << on.program.errors().toStdString();
    QStringList expected;
    for (std::size_t i = 0; i < appletCommands.size(); ++i) {
        on.program.click(on.window, appletCommands[i].button);
        if (*xfcePages[i] == '\0') {
            // Nothing can open this page here: a message box says so, and goes away.
            const auto box = on.program.waitForWindow("Zanthera", 10s);
            ASSERT_TRUE(box) << appletCommands[i].button;
            on.program.key(*box, "Return");
            continue;
        }
        expected << xfcePages[i];
        EXPECT_EQ(on.tools.starts(int(expected.size()), 10s).size(), expected.size())
            << appletCommands[i].button;
    }
    EXPECT_EQ(on.tools.starts(), expected);
    EXPECT_TRUE(on.program.childrenReaped(10s)) << "a started tool was left a zombie";
    on.program.requestClose(on.window);
    EXPECT_EQ(on.program.waitForExit(10s), 0);
}

// One start for all of it: the pixels and the key icon, the value labels and the result box in
// the system's inactive-caption colour, an information button's answer, and the exit button.
TEST(WindowEndToEnd, ShowsTheArtworkAnswersAnInformationButtonAndExits) {
    OnDisplay on;
    ASSERT_NE(on.window, 0u) << on.program.errors().toStdString();
    RunningProgram& program = on.program;
    const QImage shot = program.grab(on.window);
    ASSERT_EQ(shot.size(), QSize(425, 508));
    expectTheArtwork(shot);
    // Inside the minutes label and the result box, clear of their text and borders.
    EXPECT_EQ(QColor(shot.pixel(51, 227)), QColor(191, 205, 219));
    EXPECT_EQ(QColor(shot.pixel(54, 300)), QColor(191, 205, 219));
    const QStringList icons = program.iconSizes(on.window);
    EXPECT_TRUE(icons.contains("16 x 16") && icons.contains("32 x 32"))
        << icons.join(", ").toStdString();

    // The names and the serial are the unit tests' matter, against the system's own tools.
    EXPECT_EQ(program.resultBoxText(on.window), "");
    program.click(on.window, "Command1");
    EXPECT_EQ(program.resultBoxText(on.window), "1024 * 768");

    program.click(on.window, "Command8");
    EXPECT_EQ(program.waitForExit(10s), 0);
}

// Without Qt's own scaling and at a larger font DPI the whole design must still grow as one.
TEST(WindowEndToEnd, ShowsTheArtworkScaledAsOneAt120And192Dpi) {
    for (int dpi : {120, 192}) {
        SCOPED_TRACE(dpi);
        OnDisplay on({"QT_ENABLE_HIGHDPI_SCALING=0", "QT_FONT_DPI=" + QString::number(dpi)},
                     "1600x1400x24"); // room for the window at 192 DPI
        ASSERT_NE(on.window, 0u) << on.program.errors().toStdString();
        const QImage shot = on.program.grab(on.window);
        ASSERT_EQ(shot.size(), QSize(pixelsAt(6375, dpi), pixelsAt(7620, dpi)));
        expectTheArtwork(shot, dpi);
    }
}

TEST(DamagedDefinition, IsReportedWithItsOffsetAndTheProgramEndsWithStatusOne) {
    FakeTools tools;
    VirtualDisplay display;
    RunningProgram program(display, tools.environment(), ZANTHERA_DAMAGED_PROGRAM);
    const auto box = program.waitForWindow("Zanthera", 20s);
    ASSERT_TRUE(box) << program.errors().toStdString();
    EXPECT_FALSE(program.waitForWindow(windowTitle, 100ms));
    program.key(*box, "ctrl+c");
    EXPECT_TRUE(program.clipboard().contains("The window's stored definition is damaged: offset "))
        << program.clipboard().toStdString();
    program.key(*box, "Return");
    EXPECT_EQ(program.waitForExit(10s), 1);
    EXPECT_TRUE(program.errors().contains("damaged"));
}

// The whole window on the screen where it fits, the designed place kept where it fits there
// (where to put it is the placement rule's unit tests' matter), its top-left corner on the screen
// where it cannot fit; and the resolution button's answer is the screen's size in its real pixels
// at every scale.
TEST(SmallAndScaledScreens, WindowFitsWhereItCanAndResolutionIsTheRealPixels) {
    const struct {
        QSize screen;
        const char* scale;
        std::optional<QPoint> place; // where the size allows one answer only
    } cases[] = {
        {{640, 480}, "1", QPoint(215, 0)},
        {{320, 240}, "1", QPoint(0, 0)},
        {{1366, 768}, "1.25", {}},
        {{1920, 1080}, "2", QPoint(636, 64)},
    };
    for (const auto& c : cases) {
        const QString screen = QStringLiteral("%1x%2").arg(c.screen.width()).arg(c.screen.height());
        SCOPED_TRACE(screen.toStdString() + " at " + c.scale);
        OnDisplay on({QStringLiteral("QT_SCALE_FACTOR=") + c.scale}, screen + "x24");
        ASSERT_NE(on.window, 0u) << on.program.errors().toStdString();
        const QRect placed = on.program.placeOf(on.window);
        const double scale = QString(c.scale).toDouble();
        EXPECT_EQ(placed.size(), (QSizeF(425, 508) * scale).toSize());
        if (c.place) {
            EXPECT_EQ(placed.topLeft(), *c.place);
        }
        const QRect whole({0, 0}, c.screen);
        if (placed.height() <= c.screen.height() && placed.width() <= c.screen.width())
            EXPECT_TRUE(whole.contains(placed));
        else
            EXPECT_TRUE(whole.contains(placed.topLeft()));
        if (c.screen.height() < 300) {
            // Partly off the screen: the screenshot tool still saves the window, whole in size.
            QTemporaryDir dir;
            const QString file = dir.filePath("shot.png");
            EXPECT_EQ(
                QProcess::execute("env", {"DISPLAY=" + on.display.name(), ZANTHERA_SHOT_PROGRAM,
                                          QString::number(on.window), file}),
                0);
            EXPECT_EQ(QImage(file).size(), placed.size());
            continue;
        }
        on.program.click(on.window, "Command1", scale);
        EXPECT_EQ(on.program.resultBoxText(on.window, scale), QString(screen).replace('x', " * "));
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
        program.start("env", command << ZANTHERA_PROGRAM);
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
// mirrored; and the about box's one button reads as Qt's Arabic translation has it, "حسنًا".
TEST(ArabicDesktop, CaptionsInTheProgramsOwnFontAndStandardButtonsInArabic) {
    QTemporaryDir fonts;
    const auto shotOf = [&](bool arabic) -> QImage {
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
        OnDisplay on({"FONTCONFIG_FILE=" + config.fileName(),
                      QStringLiteral("LC_ALL=") + (arabic ? "ar_EG.UTF-8" : "C.UTF-8")});
        if (!on.window)
            return {};
        const QImage shot = on.program.grab(on.window);
        if (arabic) {
            on.program.click(on.window, "Command9");
            const auto box = on.program.waitForWindow("Zanthera ver 0,1", 10s);
            EXPECT_TRUE(box);
            if (box) {
                on.program.key(*box, "ctrl+c");
                const QString rule = "---------------------------";
                EXPECT_EQ(on.program.clipboard(),
                          rule + "\nZanthera ver 0,1\n" + rule +
                              "\nزانثيرا: كل إعدادات جهازك بين يديك بنقرة واحدة (((مجاني)))\n" +
                              rule + "\nحسنًا   \n" + rule + "\n");
                on.program.key(*box, "Return");
                EXPECT_TRUE(on.program.windowGone("Zanthera ver 0,1"));
                EXPECT_FALSE(on.program.waitForExit(200ms));
            }
        }
        return shot;
    };
    const QImage arabic = shotOf(true), usual = shotOf(false);
    ASSERT_FALSE(arabic.isNull());
    ASSERT_FALSE(usual.isNull());
    EXPECT_EQ(QColor(arabic.pixel(20, 17)), QColor(0, 0, 255)); // the exit button, top left
    for (const char* caption : {"Label3", "Label4", "Label7", "Label8", "Label9"}) {
        const QRect place = pixelRect(*design::findControl(caption));
        EXPECT_EQ(arabic.copy(place), usual.copy(place)) << caption;
    }
}

} // namespace
} // namespace zanthera::e2e
