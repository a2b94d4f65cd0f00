// The real program on a virtual display, met as a person meets it: its pixels, the information
// buttons' answers read back through the clipboard, the about box, and the two ways to end it.
#include "Desktop.h"
#include "FakeTools.h"
#include "Support.h"

#include <QColor>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace zanthera::e2e {
namespace {

using namespace std::chrono_literals;

class WindowEndToEnd : public ProgramOnDisplay {
  protected:
    void click(std::string_view control) { clickControl(*program, window, control); }
    QString resultBoxText() { return e2e::resultBoxText(*program, window); }
};

TEST_F(WindowEndToEnd, ClientAreaColoursAsDesigned) {
    const QImage shot = program->grab(window);
    EXPECT_EQ(shot.size(), QSize(425, 508));
    const QColor inactive(191, 205, 219);
    // Inside the minutes label and the result box, clear of their text and borders.
    EXPECT_EQ(QColor(shot.pixel(51, 227)), inactive);
    EXPECT_EQ(QColor(shot.pixel(54, 300)), inactive);
    // The rows just inside the exit button's border, above and below its picture.
    for (int x = 18; x <= 38; ++x) {
        EXPECT_EQ(QColor(shot.pixel(x, 17)), QColor(0, 0, 255)) << x;
        EXPECT_EQ(QColor(shot.pixel(x, 39)), QColor(0, 0, 255)) << x;
    }
}

TEST_F(WindowEndToEnd, InformationButtonsWriteTheirAnswerIntoTheResultBox) {
    EXPECT_EQ(resultBoxText(), "");

    click("Command1");
    EXPECT_EQ(resultBoxText(), "1024 * 768");

    char host[256] = {};
    gethostname(host, sizeof host - 1);
    click("Command13");
    EXPECT_EQ(resultBoxText(), QString::fromUtf8(host));

    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    click("Command4");
    EXPECT_EQ(resultBoxText(), QString::fromUtf8(user->pw_name));

    click("Command2");
    if (auto box = program->waitForWindow("Zanthera", 1s)) {
        // This machine's root volume has no serial: the user is told, the box keeps its text.
        program->key(*box, "Return");
        EXPECT_EQ(resultBoxText(), QString::fromUtf8(user->pw_name));
    } else {
        bool isNumber = false;
        resultBoxText().toInt(&isNumber);
        EXPECT_TRUE(isNumber);
    }
}

TEST_F(WindowEndToEnd, AboutBoxShowsTitlePromptAndOneOkButton) {
    click("Command9");
    const auto box = program->waitForWindow("Zanthera ver 0,1", 10s);
    ASSERT_TRUE(box);
    program->key(*box, "ctrl+c");
    const QString rule = "---------------------------";
    EXPECT_EQ(program->clipboard(),
              rule + "\nZanthera ver 0,1\n" + rule +
                  "\nزانثيرا: كل إعدادات جهازك بين يديك بنقرة واحدة (((مجاني)))\n" + rule +
                  "\nOK   \n" + rule + "\n");
    program->key(*box, "Return");
    EXPECT_TRUE(program->windowGone("Zanthera ver 0,1"));
    EXPECT_FALSE(program->waitForExit(200ms));
}

TEST_F(WindowEndToEnd, ExitButtonEndsTheProgramWithStatusZero) {
    click("Command8");
    EXPECT_EQ(program->waitForExit(10s), 0);
}

TEST_F(WindowEndToEnd, CloseBoxEndsTheProgramWithStatusZero) {
    program->requestClose(window);
    EXPECT_EQ(program->waitForExit(10s), 0);
}

TEST(DamagedDefinition, IsReportedWithItsOffsetAndTheProgramEndsWithStatusOne) {
    VirtualDisplay display;
    ASSERT_TRUE(display.ok());
    FakeTools tools({});
    RunningProgram program(display, tools.environment("GNOME"),
                           QStringLiteral(ZANTHERA_DAMAGED_PROGRAM));
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

} // namespace
} // namespace zanthera::e2e
