#include "platform/posix/Desktop.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace zanthera::posix {
namespace {

using testing::environmentOf;
using Variables = std::map<std::string, std::string>;

struct DetectionCase {
    std::string_view name;
    Variables variables;
    DesktopKind kind;
    int plasmaVersion = 0;
};

const std::vector<DetectionCase> detectionCases{
    {"plain GNOME", {{"XDG_CURRENT_DESKTOP", "GNOME"}}, DesktopKind::Gnome},
    {"Ubuntu", {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}, DesktopKind::Gnome},
    {"Budgie", {{"XDG_CURRENT_DESKTOP", "Budgie:GNOME"}}, DesktopKind::Gnome},
    {"Flashback", {{"XDG_CURRENT_DESKTOP", "GNOME-Flashback:GNOME"}}, DesktopKind::Gnome},
    {"lower case", {{"XDG_CURRENT_DESKTOP", "gnome"}}, DesktopKind::Gnome},
    {"Plasma 5",
     {{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "5"}},
     DesktopKind::Plasma,
     5},
    {"Plasma 6",
     {{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "6"}},
     DesktopKind::Plasma,
     6},
    {"Plasma, version unknown",
     {{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "7"}},
     DesktopKind::Plasma,
     0},
    {"XFCE", {{"XDG_CURRENT_DESKTOP", "XFCE"}}, DesktopKind::Xfce},
    {"MATE", {{"XDG_CURRENT_DESKTOP", "MATE"}}, DesktopKind::Mate},
    {"MATE on Wayland", {{"XDG_CURRENT_DESKTOP", "MATE-wayland"}}, DesktopKind::Mate},
    {"Cinnamon", {{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}}, DesktopKind::Cinnamon},
    {"Cinnamon, short", {{"XDG_CURRENT_DESKTOP", "cinnamon"}}, DesktopKind::Cinnamon},
    {"LXQt", {{"XDG_CURRENT_DESKTOP", "LXQt"}}, DesktopKind::Lxqt},
    {"first known token wins", {{"XDG_CURRENT_DESKTOP", "Unity:XFCE:GNOME"}}, DesktopKind::Xfce},
    {"no token is a prefix match",
     {{"XDG_CURRENT_DESKTOP", "GNOMEish:KDEish"}},
     DesktopKind::Unknown},
    {"unknown desktop falls back to the session name",
     {{"XDG_CURRENT_DESKTOP", "Hyprland"}, {"DESKTOP_SESSION", "xfce"}},
     DesktopKind::Xfce},
    {"XDG_SESSION_DESKTOP before DESKTOP_SESSION",
     {{"XDG_SESSION_DESKTOP", "gnome-xorg"}, {"DESKTOP_SESSION", "xfce"}},
     DesktopKind::Gnome},
    {"Plasma Wayland session name",
     {{"XDG_SESSION_DESKTOP", "plasmawayland"}},
     DesktopKind::Plasma},
    {"session file path",
     {{"DESKTOP_SESSION", "/usr/share/xsessions/plasma"}},
     DesktopKind::Plasma},
    {"Cinnamon software rendering", {{"DESKTOP_SESSION", "cinnamon2d"}}, DesktopKind::Cinnamon},
    {"Lubuntu", {{"XDG_CURRENT_DESKTOP", ""}, {"DESKTOP_SESSION", "Lubuntu"}}, DesktopKind::Lxqt},
    {"Xubuntu", {{"DESKTOP_SESSION", "xubuntu"}}, DesktopKind::Xfce},
    {"KDE_FULL_SESSION", {{"KDE_FULL_SESSION", "true"}}, DesktopKind::Plasma},
    {"KDE_FULL_SESSION not true", {{"KDE_FULL_SESSION", "false"}}, DesktopKind::Unknown},
    {"MATE session id", {{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}}, DesktopKind::Mate},
    {"session names before KDE_FULL_SESSION",
     {{"DESKTOP_SESSION", "mate"}, {"KDE_FULL_SESSION", "true"}},
     DesktopKind::Mate},
    {"unknown session name", {{"DESKTOP_SESSION", "i3"}}, DesktopKind::Unknown},
    {"nothing set", {}, DesktopKind::Unknown},
};

TEST(Desktop, DetectsTheDesktopFromTheSessionVariables) {
    for (const DetectionCase& test : detectionCases) {
        SCOPED_TRACE(test.name);
        const Desktop desktop = detectDesktop(environmentOf(test.variables));
        EXPECT_EQ(desktop.kind, test.kind);
        EXPECT_EQ(desktop.plasmaVersion, test.plasmaVersion);
        EXPECT_FALSE(desktop.gnomeVersion.has_value());
    }
}

TEST(Desktop, TellsWaylandSessionsFromX11Ones) {
    const std::vector<std::pair<Variables, bool>> cases{
        {{{"XDG_SESSION_TYPE", "wayland"}}, true},
        {{{"XDG_SESSION_TYPE", "x11"}}, false},
        {{{"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"DISPLAY", ":0"}}, false},
        {{}, false},
    };
    for (const auto& [variables, wayland] : cases) {
        EXPECT_EQ(detectDesktop(environmentOf(variables)).wayland, wayland);
    }
}

TEST(Desktop, ReadsTheMajorVersionOfGnomeControlCenter) {
    const std::vector<std::pair<std::string_view, std::optional<int>>> cases{
        {"gnome-control-center 43.6\n", 43},
        {"gnome-control-center 46.0.1", 46},
        {"GNOME Control Center 47.alpha\n", 47},
        {"  49\n", 49},
        {"3.38.4", 3},
        {"gnome-control-center\n45.2", 45},
        {"", std::nullopt},
        {"gnome-control-center", std::nullopt},
        {"gnome-control-center 4x.1", std::nullopt},
        {"gnome-control-center 99999999999999999999", std::nullopt},
    };
    for (const auto& [output, version] : cases) {
        SCOPED_TRACE(output);
        EXPECT_EQ(parseGnomeVersion(output), version);
    }
}

} // namespace
} // namespace zanthera::posix
