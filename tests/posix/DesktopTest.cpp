// Which desktop this is, from the session's variables, and which GNOME version it runs.
#include "Support.h"

namespace zanthera::posix {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using Arguments = std::vector<std::string>;
using enum DesktopKind;

struct DetectionCase {
    Variables variables;
    DesktopKind kind;
    int plasmaVersion = 0;
    bool wayland = false;
};

TEST(Desktop, DetectsTheDesktopAndWaylandFromTheSessionVariables) {
    const std::string xdg = "XDG_CURRENT_DESKTOP";
    const std::vector<DetectionCase> cases{
        {{{xdg, "GNOME"}, {"XDG_SESSION_TYPE", "wayland"}}, Gnome, 0, true},
        {{{xdg, "ubuntu:GNOME"}, {"DISPLAY", ":0"}}, Gnome},
        {{{xdg, "gnome"}}, Gnome},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "5"}, {"XDG_SESSION_TYPE", "x11"}}, Plasma, 5},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "6"}}, Plasma, 6},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "7"}}, Plasma, 0}, // a version not known
        {{{xdg, "XFCE"}, {"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", "wayland-0"}}, Xfce},
        {{{xdg, "MATE"}}, Mate},
        {{{xdg, "MATE-wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}, Mate, 0, true},
        {{{xdg, "X-Cinnamon"}}, Cinnamon},
        {{{xdg, "LXQt"}}, Lxqt},
        {{{xdg, "Unity:XFCE:GNOME"}}, Xfce},   // the first known token wins
        {{{xdg, "GNOMEish:KDEish"}}, Unknown}, // no token is a prefix match
        // An unknown or missing desktop falls back to the session names, then to KDE and MATE's
        // own variables.
        {{{xdg, "Hyprland"}, {"DESKTOP_SESSION", "xfce"}}, Xfce},
        {{{"XDG_SESSION_DESKTOP", "gnome-xorg"}, {"DESKTOP_SESSION", "xfce"}}, Gnome},
        {{{"XDG_SESSION_DESKTOP", "plasmawayland"}}, Plasma},
        {{{"DESKTOP_SESSION", "/usr/share/xsessions/plasma"}}, Plasma},
        {{{"DESKTOP_SESSION", "cinnamon2d"}}, Cinnamon},
        {{{xdg, ""}, {"DESKTOP_SESSION", "Lubuntu"}}, Lxqt},
        {{{"KDE_FULL_SESSION", "true"}}, Plasma},
        {{{"KDE_FULL_SESSION", "false"}}, Unknown},
        {{{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}}, Mate},
        {{{"DESKTOP_SESSION", "mate"}, {"KDE_FULL_SESSION", "true"}}, Mate},
        {{{"DESKTOP_SESSION", "i3"}}, Unknown},
        {{}, Unknown},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Desktop desktop = detectDesktop(environmentOf(cases[i].variables));
        EXPECT_EQ(desktop.kind, cases[i].kind);
        EXPECT_EQ(desktop.plasmaVersion, cases[i].plasmaVersion);
        EXPECT_EQ(desktop.wayland, cases[i].wayland);
        EXPECT_FALSE(desktop.gnomeVersion.has_value());
    }
}

TEST(Desktop, ReadsTheMajorVersionOfGnomeControlCenter) {
    const std::vector<std::pair<std::string_view, std::optional<int>>> cases{
        {"gnome-control-center 43.6\n", 43},
        {"GNOME Control Center 47.alpha\n", 47},
        {"gnome-control-center\n45.2", 45},
        {"", std::nullopt},
        {"gnome-control-center 4x.1", std::nullopt},
        {"gnome-control-center 99999999999999999999", std::nullopt},
        {"Segmentation fault", std::nullopt},
    };
    for (const auto& [output, version] : cases) {
        EXPECT_EQ(parseGnomeVersion(output), version) << output;
    }
}

struct VersionCase {
    std::string_view name;
    std::optional<std::string> script; // Nothing: the program is not installed.
    std::optional<int> version;
    std::chrono::milliseconds timeout = ample;
    std::string versionFile{}; // gnome-version.xml's text; empty: there is none
};

TEST(GnomeVersion, ComesFromTheVersionFileOrTheInstalledProgram) {
    const std::vector<VersionCase> cases{
        {"asks with --version", "[ \"$1\" = --version ] && echo 'gnome-control-center 47.0'", 47},
        {"fails", "echo 'gnome-control-center 46.2'; exit 1", std::nullopt},
        {"hangs", "exec sleep 600", std::nullopt, 300ms},
        {"not installed", std::nullopt, std::nullopt},
        {"the file, not the program", "exit 1", 45, ample,
         "<gnome-version>\n  <platform>45</platform>\n  <minor>2</minor>\n</gnome-version>\n"},
        {"GNOME 3 in the file", std::nullopt, 3, ample, "<platform>3</platform><minor>38</minor>"},
        {"a file that names none", "echo 'gnome-control-center 44.1'", 44, ample, "<gnome/>"},
    };
    for (const VersionCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        if (test.script) {
            writeScript(scratch.file("gnome-control-center"), *test.script);
        }
        if (!test.versionFile.empty()) {
            writeFile(scratch.file("gnome-version.xml"), test.versionFile);
        }
        const std::string directory = scratch.path().string();
        const ProgramLookup lookup = [&](std::string_view program) {
            return findInPath(program, directory);
        };
        EXPECT_EQ(probeGnomeVersion(scratch.file("gnome-version.xml"), lookup, test.timeout),
                  test.version);
    }
    EXPECT_TRUE(waitForNoChildren());
}

// The installed program answers only once the test lets it: a probe that made its caller wait
// for that answer would hang here until CTest's time limit ends the test.
TEST(GnomeVersion, TheBackgroundProbeAnswersWhileTheProgramStillRuns) {
    const ScratchDirectory scratch;
    writeScript(scratch.file("gnome-control-center"),
                "read line < '" + scratch.file("go") + "'; echo 'gnome-control-center 44.1'");
    ::mkfifo(scratch.file("go").c_str(), 0600);
    const std::string directory = scratch.path().string();
    const GnomeVersionProbe probe = gnomeVersionInBackground(
        scratch.file("none.xml"),
        [directory](std::string_view program) { return findInPath(program, directory); }, ample);
    EXPECT_EQ(probe(), std::nullopt);
    writeFile(scratch.file("go"), "go\n"); // opening the pipe waits for the program to read it
    EXPECT_TRUE(waitFor([&] { return probe() == 44; }));
}

} // namespace
} // namespace zanthera::posix
