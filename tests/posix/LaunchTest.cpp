// Which desktop this is and which GNOME version it runs, what a launcher line asks for, which
// settings tools open that page on each desktop, and the launcher that picks one and starts it.
#include "Support.h"

namespace zanthera::posix {
namespace {

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

// Every launcher line is read by the settings-page tests below; these are the other spellings
// Windows accepts, and forms it does not, refused with a message quoting the line.
TEST(LaunchTarget, AcceptsTheSpellingsWindowsAcceptsAndRefusesEveryOtherForm) {
    const auto opens = [](Page page, std::string address = {}) {
        return std::optional(LaunchTarget{page, std::move(address)});
    };
    const std::vector<std::pair<std::string_view, std::optional<LaunchTarget>>> cases{
        {"RUNDLL32.EXE SHELL32.DLL,Control_RunDLL MMSYS.CPL", opens(Page::Sound)},
        {"rundll32 shell32,Control_RunDLL timedate.cpl", opens(Page::DateAndTime)},
        {"  rundll32.exe   shell32.dll,Control_RunDLL   main.cpl   @1  ", opens(Page::Keyboard)},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl,@0", opens(Page::Mouse)},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl", opens(Page::Mouse)},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,@0,3", opens(Page::Display)},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,5", opens(Page::Display)},
        {"rundll32.exe url.dll,FileProtocolHandler http://a.example/x?y=1&z=2",
         opens(Page::WebAddress, "http://a.example/x?y=1&z=2")},
        {"rundll32.exe url,FileProtocolHandler mailto:someone@example.org",
         opens(Page::WebAddress, "mailto:someone@example.org")},
        {"", {}},
        {"notepad.exe", {}},
        {"rundll32.exe.bak shell32.dll,Control_RunDLL mmsys.cpl", {}},
        {"rundll32.exe shell32.dll", {}},
        {"rundll32.exe shell32.dll,control_rundll mmsys.cpl", {}},
        {"rundll32.exe shell33.dll,Control_RunDLL mmsys.cpl", {}},
        {"rundll32.exe shell32.dll,FileProtocolHandler https://a.example/", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL nosuch.cpl", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl @2", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl @99999999999", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl @1", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0,1", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl extra words", {}},
        {"RUNDLL32.EXE URL.DLL,FileProtocolHandler --help", {}},
        {"RUNDLL32.EXE URL.DLL,FileProtocolHandler https://a.example/\x01", {}},
        {"\xff\xfe garbage \x80", {}},
    };
    for (const auto& [line, expected] : cases) {
        const Result<LaunchTarget> target = parseCommandLine(line);
        ASSERT_EQ(target.ok(), expected.has_value()) << line;
        if (expected) {
            EXPECT_EQ(target.value(), *expected) << line;
        } else {
            EXPECT_NE(target.error().message.find("\"" + std::string(line) + "\""),
                      std::string::npos)
                << target.error().message;
        }
    }
}

std::vector<std::string> candidatesFor(std::string_view button, const Desktop& desktop) {
    std::vector<std::string> texts;
    for (const CommandWords& words :
         candidateCommands(parseCommandLine(commandLineOf(button)).value(), desktop)) {
        texts.push_back(joinWords(words));
    }
    return texts;
}

// In launcher order; an empty cell means the desktop has no page of its own for the button.
using PerButton = std::array<std::string_view, appletCommands.size()>;
constexpr std::string_view home = "xdg-open https://zanthera.example/";

const PerButton gnomeTwoWords{
    {"gnome-control-center sound", "gnome-control-center universal-access",
     "gnome-control-center network", "gnome-control-center", "gnome-control-center keyboard",
     "gnome-control-center mouse", "gnome-control-center system datetime",
     "gnome-control-center display", "gnome-software --mode=installed", "",
     "gnome-control-center system region", "gnome-control-center system about", home}};

// Before GNOME 46 the date, region and system pages had one-word names.
PerButton gnomeOneWord() {
    PerButton pages = gnomeTwoWords;
    pages[6] = "gnome-control-center datetime";
    pages[10] = "gnome-control-center region";
    pages[11] = "gnome-control-center info-overview";
    return pages;
}

PerButton plasmaPages(std::string_view gameControllers) {
    return {{"systemsettings kcm_pulseaudio", "systemsettings kcm_access",
             "systemsettings kcm_proxy", "systemsettings", "systemsettings kcm_keyboard",
             "systemsettings kcm_mouse", "systemsettings kcm_clock", "systemsettings kcm_kscreen",
             "plasma-discover --mode installed", gameControllers,
             "systemsettings kcm_regionandlang", "systemsettings kcm_about-distro", home}};
}

const std::vector<std::pair<Desktop, PerButton>> desktopPages{
    {Desktop{Gnome, 0, 45, false}, gnomeOneWord()},
    {Desktop{Gnome, 0, 3, false}, gnomeOneWord()},
    {Desktop{Gnome, 0, 46, false}, gnomeTwoWords},
    {Desktop{Gnome, 0, {}, false}, gnomeTwoWords},
    {Desktop{Plasma, 5, {}, false}, plasmaPages("systemsettings kcm_joystick")},
    {Desktop{Plasma, 6, {}, false}, plasmaPages("systemsettings kcm_gamecontroller")},
    {Desktop{Plasma, 0, {}, false}, plasmaPages("")},
    {Desktop{Xfce, 0, {}, false},
     {"pavucontrol", "xfce4-accessibility-settings", "", "xfce4-settings-manager",
      "xfce4-keyboard-settings", "xfce4-mouse-settings", "", "xfce4-display-settings", "", "", "",
      "xfce4-about", home}},
    {Desktop{Mate, 0, {}, false},
     {"mate-volume-control", "mate-at-properties", "mate-network-properties", "mate-control-center",
      "mate-keyboard-properties", "mate-mouse-properties", "mate-time-admin",
      "mate-display-properties", "", "", "", "mate-system-info", home}},
    {Desktop{Cinnamon, 0, {}, false},
     {"cinnamon-settings sound", "cinnamon-settings accessibility", "cinnamon-settings network",
      "cinnamon-settings", "cinnamon-settings keyboard", "cinnamon-settings mouse",
      "cinnamon-settings calendar", "cinnamon-settings display", "", "", "",
      "cinnamon-settings info", home}},
    {Desktop{Lxqt, 0, {}, false},
     {"pavucontrol-qt", "", "", "lxqt-config", "lxqt-config-input", "lxqt-config-input",
      "lxqt-admin-time", "lxqt-config-monitor", "", "", "lxqt-config-locale", "lxqt-about", home}},
};

// Each desktop's own page comes first; where it has none, only the neutral tools are tried.
// No list names a command twice. GNOME's pages change at version 46; the end-to-end tests take
// GNOME 43's.
TEST(SettingsPages, EachDesktopOpensItsOwnPageFirstOrElseOnlyTheNeutralTools) {
    for (std::size_t d = 0; d < desktopPages.size(); ++d) {
        const auto& [desktop, pages] = desktopPages[d];
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const std::string_view button = appletCommands[i].button;
            SCOPED_TRACE("desktop row " + std::to_string(d) + ", " + std::string(button));
            const std::vector<std::string> candidates = candidatesFor(button, desktop);
            const std::set<std::string> unique(candidates.begin(), candidates.end());
            EXPECT_EQ(unique.size(), candidates.size());
            if (pages[i].empty()) {
                Desktop neutral = desktop;
                neutral.kind = Unknown;
                EXPECT_EQ(candidates, candidatesFor(button, neutral));
            } else {
                ASSERT_FALSE(candidates.empty());
                EXPECT_EQ(candidates.front(), pages[i]);
            }
        }
    }
}

// Where a desktop prefers its own version of the neutral tools (Plasma 5), has two tools of its
// own (MATE 1.26 and 1.28), or cannot use one (no lxrandr on Wayland).
TEST(SettingsPages, DesktopPagesComeBeforeTheNeutralToolsWithoutRepeats) {
    const std::vector<std::tuple<Desktop, std::string_view, std::vector<std::string>>> cases{
        {Desktop{Plasma, 5, {}, false},
         "Cmm1",
         {"systemsettings kcm_pulseaudio", "pavucontrol", "pavucontrol-qt",
          "kcmshell5 kcm_pulseaudio", "kcmshell6 kcm_pulseaudio", "mate-volume-control"}},
        {Desktop{Mate, 0, {}, false},
         "Command17",
         {"mate-system-info", "mate-system-monitor --show-system-tab", "kinfocenter",
          "xfce4-about"}},
        {Desktop{Unknown, 0, {}, true},
         "Command5",
         {"kcmshell6 kcm_kscreen", "kcmshell5 kcm_kscreen", "xfce4-display-settings",
          "mate-display-properties", "cinnamon-settings display", "lxqt-config-monitor"}},
    };
    for (const auto& [desktop, button, expected] : cases) {
        EXPECT_EQ(candidatesFor(button, desktop), expected) << button;
    }
}

const Variables gnome{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}};
const Variables plasma6{{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "6"}};
const Variables xfce{{"XDG_CURRENT_DESKTOP", "XFCE"}};

// A system whose environment, installed programs (name to full path) and GNOME version are the
// test's.
struct FakeSystem {
    Variables variables;
    std::map<std::string, std::string> installed;
    std::optional<int> gnomeVersion = 46;
    int gnomeProbes = 0;

    PosixSystem make() {
        return PosixSystem(SystemLookups{
            environmentOf(variables),
            [this](std::string_view program) -> std::optional<std::string> {
                const auto found = installed.find(std::string(program));
                return found == installed.end() ? std::nullopt : std::optional(found->second);
            },
            [this] {
                ++gnomeProbes;
                return gnomeVersion;
            },
            VolumePaths{},
        });
    }
};

struct NothingInstalledCase {
    Variables variables;
    std::string_view button;
    std::string_view target;
    std::vector<std::string_view> tried;
    int gnomeProbes; // asked only on GNOME, where the pages depend on it
};

TEST(PosixSystem, WithNothingInstalledTheErrorNamesThePageAndEveryProgramTried) {
    const std::vector<NothingInstalledCase> cases{
        {gnome,
         "Cmm1",
         "the sound settings",
         {"gnome-control-center sound", "pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio",
          "kcmshell5 kcm_pulseaudio", "mate-volume-control"},
         1},
        {plasma6,
         "Command10",
         "the web page https://zanthera.example/",
         {"xdg-open https://zanthera.example/"},
         0},
        {xfce, "Command16", "the regional settings", {}, 0},
    };
    for (const NothingInstalledCase& test : cases) {
        SCOPED_TRACE(test.button);
        FakeSystem fake{test.variables, {}};
        const Status started = fake.make().startProgram(commandLineOf(test.button));
        ASSERT_FALSE(started.ok());
        const std::string& message = started.error().message;
        EXPECT_NE(message.find(test.target), std::string::npos) << message;
        std::size_t position = 0;
        for (std::string_view command : test.tried) {
            position = message.find("\n  " + std::string(command) + ": not installed", position);
            EXPECT_NE(position, std::string::npos) << command << " in order in:\n" << message;
        }
        if (test.tried.empty()) {
            EXPECT_NE(message.find("no program"), std::string::npos) << message;
        }
        EXPECT_EQ(fake.gnomeProbes, test.gnomeProbes);
    }
    EXPECT_FALSE((FakeSystem{gnome, {}}.make().startProgram("notepad.exe").ok()));
}

// The program chosen is started with the page's arguments, for the GNOME version found; the
// end-to-end tests start each page on three desktops.
TEST(PosixSystem, AProgramThatCannotStartIsReportedAndTheNextOneTried) {
    FakeSystem fake{gnome, {{"gnome-control-center", "/nonexistent/gnome-control-center"}}, 43};
    const Status failed = fake.make().startProgram(commandLineOf("Command3"));
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(
        failed.error().message.find("gnome-control-center datetime: Could not start "
                                    "/nonexistent/gnome-control-center: No such file or directory"),
        std::string::npos)
        << failed.error().message;

    fake.installed["kcmshell6"] = probeProgram;
    const ProbeOutput output;
    const Status started = fake.make().startProgram(commandLineOf("Command3"));
    ASSERT_TRUE(started.ok()) << started.error().message;
    std::optional<ProbeReport> report = output.wait();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ((*report)["arg"], (Arguments{probeProgram, "kcm_clock"}));
}

} // namespace
} // namespace zanthera::posix
