#include "platform/posix/SettingsPages.h"
#include "actions/AppletCommands.h"
#include "platform/posix/TextUtilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

namespace zanthera::posix {
namespace {

constexpr std::size_t buttonCount = appletCommands.size();
using PerButton = std::array<std::string_view, buttonCount>;

Desktop desktopOf(DesktopKind kind, int plasmaVersion = 0, std::optional<int> gnome = {},
                  bool wayland = false) {
    return Desktop{kind, plasmaVersion, gnome, wayland};
}

LaunchTarget targetOf(std::string_view button) {
    const auto row = std::ranges::find(appletCommands, button, &AppletCommand::button);
    return parseCommandLine(row->commandLine).value();
}

std::vector<std::string> commandTexts(const std::vector<CommandWords>& commands) {
    std::vector<std::string> texts;
    for (const CommandWords& words : commands) {
        texts.push_back(joinWords(words));
    }
    return texts;
}

// In launcher order: Cmm1, Cmm11, Cmm12, Cmm8, Cmm9, Command7, Command3, Command5, Command6,
// Command15, Command16, Command17, Command10. An empty cell means the desktop has no page.
struct DesktopCase {
    std::string_view name;
    Desktop desktop;
    PerButton firstCommand;
};

constexpr std::string_view home = "xdg-open https://zanthera.example/";

const PerButton gnomeTwoWords{"gnome-control-center sound",
                              "gnome-control-center universal-access",
                              "gnome-control-center network",
                              "gnome-control-center",
                              "gnome-control-center keyboard",
                              "gnome-control-center mouse",
                              "gnome-control-center system datetime",
                              "gnome-control-center display",
                              "gnome-software --mode=installed",
                              "",
                              "gnome-control-center system region",
                              "gnome-control-center system about",
                              home};

const PerButton gnomeOneWord{"gnome-control-center sound",
                             "gnome-control-center universal-access",
                             "gnome-control-center network",
                             "gnome-control-center",
                             "gnome-control-center keyboard",
                             "gnome-control-center mouse",
                             "gnome-control-center datetime",
                             "gnome-control-center display",
                             "gnome-software --mode=installed",
                             "",
                             "gnome-control-center region",
                             "gnome-control-center info-overview",
                             home};

PerButton plasmaPages(std::string_view gameControllers) {
    return {"systemsettings kcm_pulseaudio",
            "systemsettings kcm_access",
            "systemsettings kcm_proxy",
            "systemsettings",
            "systemsettings kcm_keyboard",
            "systemsettings kcm_mouse",
            "systemsettings kcm_clock",
            "systemsettings kcm_kscreen",
            "plasma-discover --mode installed",
            gameControllers,
            "systemsettings kcm_regionandlang",
            "systemsettings kcm_about-distro",
            home};
}

std::vector<DesktopCase> desktopCases() {
    return {
        {"GNOME 43", desktopOf(DesktopKind::Gnome, 0, 43), gnomeOneWord},
        {"GNOME 45", desktopOf(DesktopKind::Gnome, 0, 45), gnomeOneWord},
        {"GNOME 3.38", desktopOf(DesktopKind::Gnome, 0, 3), gnomeOneWord},
        {"GNOME 46", desktopOf(DesktopKind::Gnome, 0, 46), gnomeTwoWords},
        {"GNOME 47", desktopOf(DesktopKind::Gnome, 0, 47), gnomeTwoWords},
        {"GNOME, version unknown", desktopOf(DesktopKind::Gnome), gnomeTwoWords},
        {"Plasma 5", desktopOf(DesktopKind::Plasma, 5), plasmaPages("systemsettings kcm_joystick")},
        {"Plasma 6", desktopOf(DesktopKind::Plasma, 6),
         plasmaPages("systemsettings kcm_gamecontroller")},
        {"Plasma, version unknown", desktopOf(DesktopKind::Plasma), plasmaPages("")},
        {"XFCE",
         desktopOf(DesktopKind::Xfce),
         {"pavucontrol", "xfce4-accessibility-settings", "", "xfce4-settings-manager",
          "xfce4-keyboard-settings", "xfce4-mouse-settings", "", "xfce4-display-settings", "", "",
          "", "xfce4-about", home}},
        {"MATE",
         desktopOf(DesktopKind::Mate),
         {"mate-volume-control", "mate-at-properties", "mate-network-properties",
          "mate-control-center", "mate-keyboard-properties", "mate-mouse-properties",
          "mate-time-admin", "mate-display-properties", "", "", "", "mate-system-info", home}},
        {"Cinnamon",
         desktopOf(DesktopKind::Cinnamon),
         {"cinnamon-settings sound", "cinnamon-settings accessibility", "cinnamon-settings network",
          "cinnamon-settings", "cinnamon-settings keyboard", "cinnamon-settings mouse",
          "cinnamon-settings calendar", "cinnamon-settings display", "", "", "",
          "cinnamon-settings info", home}},
        {"LXQt",
         desktopOf(DesktopKind::Lxqt),
         {"pavucontrol-qt", "", "", "lxqt-config", "lxqt-config-input", "lxqt-config-input",
          "lxqt-admin-time", "lxqt-config-monitor", "", "", "lxqt-config-locale", "lxqt-about",
          home}},
    };
}

TEST(SettingsPages, EachDesktopOpensItsOwnPageFirstOrElseOnlyTheNeutralTools) {
    for (const DesktopCase& test : desktopCases()) {
        for (std::size_t i = 0; i < buttonCount; ++i) {
            SCOPED_TRACE(std::string(test.name) + ", " + std::string(appletCommands[i].button));
            const LaunchTarget target = parseCommandLine(appletCommands[i].commandLine).value();
            const auto candidates = commandTexts(candidateCommands(target, test.desktop));
            if (!test.firstCommand[i].empty()) {
                ASSERT_FALSE(candidates.empty());
                EXPECT_EQ(candidates.front(), test.firstCommand[i]);
                continue;
            }
            Desktop neutral = test.desktop;
            neutral.kind = DesktopKind::Unknown;
            EXPECT_EQ(candidates, commandTexts(candidateCommands(target, neutral)));
        }
    }
}

TEST(SettingsPages, AnUnknownDesktopGetsTheNeutralToolsInOrder) {
    const std::vector<std::pair<std::string_view, std::vector<std::string>>> cases{
        {"Cmm1",
         {"pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio", "kcmshell5 kcm_pulseaudio",
          "mate-volume-control"}},
        {"Cmm11", {"kcmshell6 kcm_access", "kcmshell5 kcm_access", "xfce4-accessibility-settings"}},
        {"Cmm12",
         {"nm-connection-editor", "connman-gtk", "kcmshell6 kcm_proxy", "kcmshell5 kcm_proxy",
          "mate-network-properties"}},
        {"Cmm8",
         {"systemsettings", "xfce4-settings-manager", "mate-control-center", "cinnamon-settings",
          "lxqt-config"}},
        {"Cmm9",
         {"lxinput", "kcmshell6 kcm_keyboard", "kcmshell5 kcm_keyboard", "xfce4-keyboard-settings",
          "mate-keyboard-properties", "cinnamon-settings keyboard", "lxqt-config-input"}},
        {"Command7",
         {"lxinput", "kcmshell6 kcm_mouse", "kcmshell5 kcm_mouse", "xfce4-mouse-settings",
          "mate-mouse-properties", "cinnamon-settings mouse", "lxqt-config-input"}},
        {"Command3",
         {"lxqt-admin-time", "mate-time-admin", "kcmshell6 kcm_clock", "kcmshell5 kcm_clock"}},
        {"Command5",
         {"lxrandr", "kcmshell6 kcm_kscreen", "kcmshell5 kcm_kscreen", "xfce4-display-settings",
          "mate-display-properties", "cinnamon-settings display", "lxqt-config-monitor"}},
        {"Command6", {"gnome-software --mode=installed", "plasma-discover --mode installed"}},
        {"Command15", {"jstest-gtk", "kcmshell6 kcm_gamecontroller", "kcmshell5 kcm_joystick"}},
        {"Command16", {}},
        {"Command17", {"kinfocenter", "xfce4-about", "mate-system-monitor --show-system-tab"}},
        {"Command10", {std::string(home)}},
    };
    for (const auto& [button, expected] : cases) {
        SCOPED_TRACE(button);
        EXPECT_EQ(commandTexts(candidateCommands(targetOf(button), Desktop{})), expected);
    }
}

struct ListCase {
    std::string_view name;
    Desktop desktop;
    std::string_view button;
    std::vector<std::string> expected;
};

const std::vector<ListCase> listCases{
    {"GNOME sound",
     desktopOf(DesktopKind::Gnome, 0, 46),
     "Cmm1",
     {"gnome-control-center sound", "pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio",
      "kcmshell5 kcm_pulseaudio", "mate-volume-control"}},
    {"Plasma 5 prefers kcmshell5",
     desktopOf(DesktopKind::Plasma, 5),
     "Cmm1",
     {"systemsettings kcm_pulseaudio", "pavucontrol", "pavucontrol-qt", "kcmshell5 kcm_pulseaudio",
      "kcmshell6 kcm_pulseaudio", "mate-volume-control"}},
    {"XFCE's own tool is a neutral one",
     desktopOf(DesktopKind::Xfce),
     "Cmm1",
     {"pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio", "kcmshell5 kcm_pulseaudio",
      "mate-volume-control"}},
    {"MATE 1.26 and 1.28",
     desktopOf(DesktopKind::Mate),
     "Command17",
     {"mate-system-info", "mate-system-monitor --show-system-tab", "kinfocenter", "xfce4-about"}},
    {"Plasma system page",
     desktopOf(DesktopKind::Plasma, 6),
     "Command17",
     {"systemsettings kcm_about-distro", "kinfocenter", "xfce4-about",
      "mate-system-monitor --show-system-tab"}},
    {"LXQt keyboard",
     desktopOf(DesktopKind::Lxqt),
     "Cmm9",
     {"lxqt-config-input", "lxinput", "kcmshell6 kcm_keyboard", "kcmshell5 kcm_keyboard",
      "xfce4-keyboard-settings", "mate-keyboard-properties", "cinnamon-settings keyboard"}},
    {"no lxrandr on Wayland",
     desktopOf(DesktopKind::Unknown, 0, {}, true),
     "Command5",
     {"kcmshell6 kcm_kscreen", "kcmshell5 kcm_kscreen", "xfce4-display-settings",
      "mate-display-properties", "cinnamon-settings display", "lxqt-config-monitor"}},
    {"GNOME has no game controller page",
     desktopOf(DesktopKind::Gnome, 0, 46),
     "Command15",
     {"jstest-gtk", "kcmshell6 kcm_gamecontroller", "kcmshell5 kcm_joystick"}},
    {"Plasma 6 game controllers",
     desktopOf(DesktopKind::Plasma, 6),
     "Command15",
     {"systemsettings kcm_gamecontroller", "jstest-gtk", "kcmshell6 kcm_gamecontroller",
      "kcmshell5 kcm_joystick"}},
    {"XFCE has no regional page", desktopOf(DesktopKind::Xfce), "Command16", {}},
};

TEST(SettingsPages, DesktopPagesComeBeforeTheNeutralToolsWithoutRepeats) {
    for (const ListCase& test : listCases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(commandTexts(candidateCommands(targetOf(test.button), test.desktop)),
                  test.expected);
    }
}

TEST(SettingsPages, NoCandidateListRepeatsACommand) {
    for (const DesktopCase& test : desktopCases()) {
        for (const AppletCommand& command : appletCommands) {
            const auto texts =
                commandTexts(candidateCommands(targetOf(command.button), test.desktop));
            const std::set<std::string> unique(texts.begin(), texts.end());
            EXPECT_EQ(unique.size(), texts.size()) << test.name << ", " << command.button;
        }
    }
}

struct ChoiceCase {
    std::string_view name;
    std::set<std::string> installed;
    std::optional<std::string> chosen;
};

TEST(SettingsPages, TheFirstInstalledCandidateIsChosenWithItsFullPath) {
    const std::vector<ChoiceCase> cases{
        {"desktop tool installed",
         {"gnome-control-center", "pavucontrol"},
         "/opt/fake/gnome-control-center sound"},
        {"desktop tool missing",
         {"pavucontrol-qt", "mate-volume-control"},
         "/opt/fake/pavucontrol-qt"},
        {"only the last one", {"mate-volume-control"}, "/opt/fake/mate-volume-control"},
        {"only the older kcmshell", {"kcmshell5"}, "/opt/fake/kcmshell5 kcm_pulseaudio"},
        {"unrelated tools", {"xfce4-about", "lxqt-config"}, std::nullopt},
        {"nothing", {}, std::nullopt},
    };
    const auto candidates =
        candidateCommands(targetOf("Cmm1"), desktopOf(DesktopKind::Gnome, 0, 46));
    for (const ChoiceCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ProgramLookup lookup = [&](std::string_view program) -> std::optional<std::string> {
            if (!test.installed.contains(std::string(program))) {
                return std::nullopt;
            }
            return "/opt/fake/" + std::string(program);
        };
        const std::optional<CommandWords> chosen = firstInstalled(candidates, lookup);
        EXPECT_EQ(chosen ? std::optional(joinWords(*chosen)) : std::nullopt, test.chosen);
    }
}

} // namespace
} // namespace zanthera::posix
