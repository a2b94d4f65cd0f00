#include "platform/posix/SettingsPages.h"

#include "platform/posix/TextUtilities.h"

#include <algorithm>
#include <span>

namespace zanthera::posix {
namespace {

// One cell of a desktop's table: the commands that open a page, best first, separated by "|".
// No word of these commands holds a space, so a space separates the words.
struct PageCommands {
    Page page;
    std::string_view commands;
};

// clang-format off
// GNOME 46 and later: the two-word "system ..." panels; older forms are in gnomeBefore46.
constexpr PageCommands gnomePages[] = {
    {Page::Sound,         "gnome-control-center sound"},
    {Page::Accessibility, "gnome-control-center universal-access"},
    {Page::Internet,      "gnome-control-center network"},
    {Page::ControlPanel,  "gnome-control-center"},
    {Page::Keyboard,      "gnome-control-center keyboard"},
    {Page::Mouse,         "gnome-control-center mouse"},
    {Page::DateAndTime,   "gnome-control-center system datetime"},
    {Page::Display,       "gnome-control-center display"},
    {Page::Programs,      "gnome-software --mode=installed"},
    {Page::Regional,      "gnome-control-center system region"},
    {Page::System,        "gnome-control-center system about"},
};

// GNOME 46 aborts on these one-word forms, and 47 accepts both, so they are kept for 40 to 45.
constexpr PageCommands gnomeBefore46[] = {
    {Page::DateAndTime,   "gnome-control-center datetime"},
    {Page::Regional,      "gnome-control-center region"},
    {Page::System,        "gnome-control-center info-overview"},
};

// The game controller module changed its name in Plasma 6; see plasmaGameControllers.
constexpr PageCommands plasmaPages[] = {
    {Page::Sound,         "systemsettings kcm_pulseaudio"},
    {Page::Accessibility, "systemsettings kcm_access"},
    {Page::Internet,      "systemsettings kcm_proxy"},
    {Page::ControlPanel,  "systemsettings"},
    {Page::Keyboard,      "systemsettings kcm_keyboard"},
    {Page::Mouse,         "systemsettings kcm_mouse"},
    {Page::DateAndTime,   "systemsettings kcm_clock"},
    {Page::Display,       "systemsettings kcm_kscreen"},
    {Page::Programs,      "plasma-discover --mode installed"},
    {Page::Regional,      "systemsettings kcm_regionandlang"},
    {Page::System,        "systemsettings kcm_about-distro|kinfocenter"},
};

constexpr PageCommands xfcePages[] = {
    {Page::Sound,         "pavucontrol"},
    {Page::Accessibility, "xfce4-accessibility-settings"},
    {Page::ControlPanel,  "xfce4-settings-manager"},
    {Page::Keyboard,      "xfce4-keyboard-settings"},
    {Page::Mouse,         "xfce4-mouse-settings"},
    {Page::Display,       "xfce4-display-settings"},
    {Page::System,        "xfce4-about"},
};

// MATE 1.28 has mate-system-info; 1.26 shows the same facts in a tab of its system monitor.
constexpr PageCommands matePages[] = {
    {Page::Sound,         "mate-volume-control"},
    {Page::Accessibility, "mate-at-properties"},
    {Page::Internet,      "mate-network-properties"},
    {Page::ControlPanel,  "mate-control-center"},
    {Page::Keyboard,      "mate-keyboard-properties"},
    {Page::Mouse,         "mate-mouse-properties"},
    {Page::DateAndTime,   "mate-time-admin"},
    {Page::Display,       "mate-display-properties"},
    {Page::System,        "mate-system-info|mate-system-monitor --show-system-tab"},
};

constexpr PageCommands cinnamonPages[] = {
    {Page::Sound,         "cinnamon-settings sound"},
    {Page::Accessibility, "cinnamon-settings accessibility"},
    {Page::Internet,      "cinnamon-settings network"},
    {Page::ControlPanel,  "cinnamon-settings"},
    {Page::Keyboard,      "cinnamon-settings keyboard"},
    {Page::Mouse,         "cinnamon-settings mouse"},
    {Page::DateAndTime,   "cinnamon-settings calendar"},
    {Page::Display,       "cinnamon-settings display"},
    {Page::System,        "cinnamon-settings info"},
};

constexpr PageCommands lxqtPages[] = {
    {Page::Sound,         "pavucontrol-qt"},
    {Page::ControlPanel,  "lxqt-config"},
    {Page::Keyboard,      "lxqt-config-input"},
    {Page::Mouse,         "lxqt-config-input"},
    {Page::DateAndTime,   "lxqt-admin-time"},
    {Page::Display,       "lxqt-config-monitor"},
    {Page::Regional,      "lxqt-config-locale"},
    {Page::System,        "lxqt-about"},
};

// Tools that work whatever the desktop, tried after the desktop's own. "kcmshell" stands for
// kcmshell6 and kcmshell5, the running Plasma's first. Keyboard, mouse and display end with the
// desktops' own tools that also run outside their desktop (gnome-control-center 46 refuses to).
constexpr PageCommands neutralPages[] = {
    {Page::Sound,           "pavucontrol|pavucontrol-qt|kcmshell kcm_pulseaudio|"
                            "mate-volume-control"},
    {Page::Accessibility,   "kcmshell kcm_access|xfce4-accessibility-settings"},
    {Page::Internet,        "nm-connection-editor|connman-gtk|kcmshell kcm_proxy|"
                            "mate-network-properties"},
    {Page::ControlPanel,    "systemsettings|xfce4-settings-manager|mate-control-center|"
                            "cinnamon-settings|lxqt-config"},
    {Page::Keyboard,        "lxinput|kcmshell kcm_keyboard|xfce4-keyboard-settings|"
                            "mate-keyboard-properties|cinnamon-settings keyboard|"
                            "lxqt-config-input"},
    {Page::Mouse,           "lxinput|kcmshell kcm_mouse|xfce4-mouse-settings|"
                            "mate-mouse-properties|cinnamon-settings mouse|lxqt-config-input"},
    {Page::DateAndTime,     "lxqt-admin-time|mate-time-admin|kcmshell kcm_clock"},
    {Page::Display,         "lxrandr|kcmshell kcm_kscreen|xfce4-display-settings|"
                            "mate-display-properties|cinnamon-settings display|"
                            "lxqt-config-monitor"},
    {Page::Programs,        "gnome-software --mode=installed|plasma-discover --mode installed"},
    {Page::GameControllers, "jstest-gtk|kcmshell6 kcm_gamecontroller|kcmshell5 kcm_joystick"},
    {Page::System,          "kinfocenter|xfce4-about|mate-system-monitor --show-system-tab"},
};
// clang-format on

// lxrandr drives the X server directly and does nothing on Wayland.
constexpr std::string_view x11OnlyProgram = "lxrandr";

std::string_view lookUp(std::span<const PageCommands> table, Page page) {
    const auto found = std::ranges::find(table, page, &PageCommands::page);
    return found == table.end() ? std::string_view{} : found->commands;
}

std::string_view desktopCell(Page page, const Desktop& desktop) {
    const bool gnomeTwoWords = !desktop.gnomeVersion || *desktop.gnomeVersion >= 46;
    switch (desktop.kind) {
    case DesktopKind::Gnome:
        if (std::string_view old = lookUp(gnomeBefore46, page); !old.empty() && !gnomeTwoWords) {
            return old;
        }
        return lookUp(gnomePages, page);
    case DesktopKind::Plasma:
        if (page == Page::GameControllers && desktop.plasmaVersion != 0) {
            return desktop.plasmaVersion == 5 ? "systemsettings kcm_joystick"
                                              : "systemsettings kcm_gamecontroller";
        }
        return lookUp(plasmaPages, page);
    case DesktopKind::Xfce:
        return lookUp(xfcePages, page);
    case DesktopKind::Mate:
        return lookUp(matePages, page);
    case DesktopKind::Cinnamon:
        return lookUp(cinnamonPages, page);
    case DesktopKind::Lxqt:
        return lookUp(lxqtPages, page);
    case DesktopKind::Unknown:
        break;
    }
    return {};
}

// Splits a cell into commands, expanding "kcmshell" into both versions of the tool.
void appendCell(std::string_view cell, const Desktop& desktop, std::vector<CommandWords>& out) {
    if (cell.empty()) {
        return;
    }
    const bool plasma5First = desktop.plasmaVersion == 5;
    for (std::string_view command : splitOn(cell, '|')) {
        CommandWords words;
        for (std::string_view word : splitOn(command, ' ')) {
            words.emplace_back(word);
        }
        if (words.front() == x11OnlyProgram && desktop.wayland) {
            continue;
        }
        if (words.front() != "kcmshell") {
            out.push_back(std::move(words));
            continue;
        }
        for (std::string_view version : {plasma5First ? "5" : "6", plasma5First ? "6" : "5"}) {
            words.front() = "kcmshell" + std::string(version);
            out.push_back(words);
        }
    }
}

void removeRepeats(std::vector<CommandWords>& commands) {
    std::vector<CommandWords> unique;
    for (CommandWords& command : commands) {
        if (std::ranges::find(unique, command) == unique.end()) {
            unique.push_back(std::move(command));
        }
    }
    commands = std::move(unique);
}

} // namespace

std::vector<CommandWords> candidateCommands(const LaunchTarget& target, const Desktop& desktop) {
    if (target.page == Page::WebAddress) {
        return {{"xdg-open", target.address}};
    }
    std::vector<CommandWords> commands;
    appendCell(desktopCell(target.page, desktop), desktop, commands);
    appendCell(lookUp(neutralPages, target.page), desktop, commands);
    removeRepeats(commands);
    return commands;
}

std::optional<CommandWords> resolveCommand(const CommandWords& command,
                                           const ProgramLookup& findProgram) {
    if (command.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> path = findProgram(command.front());
    if (!path) {
        return std::nullopt;
    }
    CommandWords resolved = command;
    resolved.front() = std::move(*path);
    return resolved;
}

std::optional<CommandWords> firstInstalled(const std::vector<CommandWords>& candidates,
                                           const ProgramLookup& findProgram) {
    for (const CommandWords& command : candidates) {
        if (auto resolved = resolveCommand(command, findProgram)) {
            return resolved;
        }
    }
    return std::nullopt;
}

} // namespace zanthera::posix
