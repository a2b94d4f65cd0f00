// The real program on a virtual display: a real click on each launcher button starts the page
// the running desktop names, through a fake settings tool on PATH that records its argv.
#include "Desktop.h"
#include "FakeTools.h"
#include "Support.h"
#include "actions/AppletCommands.h"

#include <gtest/gtest.h>

namespace zanthera::e2e {
namespace {

using namespace std::chrono_literals;

const QStringList allTools{"gnome-control-center",
                           "gnome-software",
                           "systemsettings",
                           "kcmshell5",
                           "kcmshell6",
                           "plasma-discover",
                           "kinfocenter",
                           "pavucontrol",
                           "pavucontrol-qt",
                           "xfce4-accessibility-settings",
                           "xfce4-settings-manager",
                           "xfce4-keyboard-settings",
                           "xfce4-mouse-settings",
                           "xfce4-display-settings",
                           "xfce4-about",
                           "nm-connection-editor",
                           "lxqt-admin-time",
                           "jstest-gtk",
                           "xdg-open"};

struct DesktopCase {
    const char* desktop;
    const char* kdeVersion;
    // What each button of the launcher table starts, in table order; empty: nothing can open
    // that page there, and the user is told so.
    std::array<const char*, 13> expected;
};

const DesktopCase desktops[] = {
    {"GNOME",
     "",
     {"gnome-control-center sound", "gnome-control-center universal-access",
      "gnome-control-center network", "gnome-control-center", "gnome-control-center keyboard",
      "gnome-control-center mouse", "gnome-control-center datetime", "gnome-control-center display",
      "gnome-software --mode=installed", "jstest-gtk", "gnome-control-center region",
      "gnome-control-center info-overview", "xdg-open https://zanthera.example/"}},
    {"KDE",
     "5",
     {"systemsettings kcm_pulseaudio", "systemsettings kcm_access", "systemsettings kcm_proxy",
      "systemsettings", "systemsettings kcm_keyboard", "systemsettings kcm_mouse",
      "systemsettings kcm_clock", "systemsettings kcm_kscreen", "plasma-discover --mode installed",
      "systemsettings kcm_joystick", "systemsettings kcm_regionandlang",
      "systemsettings kcm_about-distro", "xdg-open https://zanthera.example/"}},
    {"XFCE",
     "",
     {"pavucontrol", "xfce4-accessibility-settings", "nm-connection-editor",
      "xfce4-settings-manager", "xfce4-keyboard-settings", "xfce4-mouse-settings",
      "lxqt-admin-time", "xfce4-display-settings", "gnome-software --mode=installed", "jstest-gtk",
      "", "xfce4-about", "xdg-open https://zanthera.example/"}},
};

TEST(LauncherEndToEnd, EachButtonOpensItsPageOnGnomeKdeAndXfce) {
    for (const auto& desktop : desktops) {
        SCOPED_TRACE(desktop.desktop);
        VirtualDisplay display;
        ASSERT_TRUE(display.ok());
        FakeTools tools(allTools);
        RunningProgram program(display, tools.environment(desktop.desktop, desktop.kdeVersion));
        const auto window = program.waitForWindow(windowTitle, 20s);
        ASSERT_TRUE(window) << program.errors().toStdString();

        QStringList expected;
        for (std::size_t i = 0; i < appletCommands.size(); ++i) {
            const auto& row = appletCommands[i];
            const QPoint at = centreOf(row.button);
            program.click(*window, at.x(), at.y());
            if (*desktop.expected[i] == '\0') {
                // Nothing can open this page here: a message box says so, and goes away.
                const auto box = program.waitForWindow("Zanthera", 10s);
                ASSERT_TRUE(box) << row.button;
                program.key(*box, "Return");
                continue;
            }
            expected << desktop.expected[i];
            EXPECT_EQ(tools.waitForStarts(int(expected.size()), 10s).size(), expected.size())
                << row.button;
        }
        EXPECT_EQ(tools.starts(), expected);
        EXPECT_TRUE(program.childrenReaped(10s)) << "a started tool was left a zombie";

        program.requestClose(*window);
        EXPECT_EQ(program.waitForExit(10s), 0);
    }
}

TEST(LauncherEndToEnd, GnomeFortySixGetsTheTwoWordPages) {
    VirtualDisplay display;
    ASSERT_TRUE(display.ok());
    FakeTools tools({"gnome-control-center"}, "46.2");
    RunningProgram program(display, tools.environment("ubuntu:GNOME"));
    const auto window = program.waitForWindow(windowTitle, 20s);
    ASSERT_TRUE(window);
    for (const char* button : {"Command3", "Command16", "Command17"}) {
        const QPoint at = centreOf(button);
        program.click(*window, at.x(), at.y());
    }
    EXPECT_EQ(tools.waitForStarts(3, 10s), QStringList({"gnome-control-center system datetime",
                                                        "gnome-control-center system region",
                                                        "gnome-control-center system about"}));
    program.requestClose(*window);
    EXPECT_EQ(program.waitForExit(10s), 0);
}

} // namespace
} // namespace zanthera::e2e
