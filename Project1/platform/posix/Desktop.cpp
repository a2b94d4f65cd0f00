#include "platform/posix/Desktop.h"

#include "platform/posix/TextUtilities.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace zanthera::posix {
namespace {

struct DesktopName {
    std::string_view name;
    DesktopKind kind;
};

// The tokens desktops write into XDG_CURRENT_DESKTOP, compared without regard to case.
constexpr std::array<DesktopName, 8> currentDesktopTokens{{
    {"gnome", DesktopKind::Gnome},
    {"kde", DesktopKind::Plasma},
    {"xfce", DesktopKind::Xfce},
    {"mate", DesktopKind::Mate},
    {"mate-wayland", DesktopKind::Mate},
    {"x-cinnamon", DesktopKind::Cinnamon},
    {"cinnamon", DesktopKind::Cinnamon},
    {"lxqt", DesktopKind::Lxqt},
}};

// Session names (XDG_SESSION_DESKTOP, DESKTOP_SESSION) come in many spellings, such as
// "gnome-xorg", "plasmawayland" or "cinnamon2d", so they are matched by their beginning.
// Distribution sessions whose desktop is plain from their name are listed too.
constexpr std::array<DesktopName, 10> sessionNamePrefixes{{
    {"gnome", DesktopKind::Gnome},
    {"ubuntu", DesktopKind::Gnome},
    {"plasma", DesktopKind::Plasma},
    {"kde", DesktopKind::Plasma},
    {"xfce", DesktopKind::Xfce},
    {"xubuntu", DesktopKind::Xfce},
    {"mate", DesktopKind::Mate},
    {"cinnamon", DesktopKind::Cinnamon},
    {"lxqt", DesktopKind::Lxqt},
    {"lubuntu", DesktopKind::Lxqt},
}};

std::optional<std::string> nonEmpty(const EnvironmentLookup& environment, std::string_view name) {
    std::optional<std::string> value = environment(name);
    if (value && value->empty()) {
        return std::nullopt;
    }
    return value;
}

DesktopKind fromCurrentDesktop(std::string_view value) {
    for (std::string_view token : splitOn(value, ':')) {
        for (const DesktopName& known : currentDesktopTokens) {
            if (equalsIgnoringCase(token, known.name)) {
                return known.kind;
            }
        }
    }
    return DesktopKind::Unknown;
}

DesktopKind fromSessionName(std::string_view value) {
    // Older display managers give the path of the session file rather than its name.
    if (std::size_t slash = value.rfind('/'); slash != std::string_view::npos) {
        value.remove_prefix(slash + 1);
    }
    const std::string lower = lowerAscii(value);
    for (const DesktopName& known : sessionNamePrefixes) {
        if (std::string_view(lower).starts_with(known.name)) {
            return known.kind;
        }
    }
    return DesktopKind::Unknown;
}

DesktopKind detectKind(const EnvironmentLookup& environment) {
    if (auto current = nonEmpty(environment, "XDG_CURRENT_DESKTOP")) {
        if (DesktopKind kind = fromCurrentDesktop(*current); kind != DesktopKind::Unknown) {
            return kind;
        }
    }
    for (std::string_view name : {"XDG_SESSION_DESKTOP", "DESKTOP_SESSION"}) {
        if (auto session = nonEmpty(environment, name)) {
            if (DesktopKind kind = fromSessionName(*session); kind != DesktopKind::Unknown) {
                return kind;
            }
        }
    }
    if (auto full = nonEmpty(environment, "KDE_FULL_SESSION");
        full && lowerAscii(*full) == "true") {
        return DesktopKind::Plasma;
    }
    if (nonEmpty(environment, "MATE_DESKTOP_SESSION_ID")) {
        return DesktopKind::Mate;
    }
    return DesktopKind::Unknown;
}

int plasmaVersionOf(const EnvironmentLookup& environment) {
    const std::optional<std::string> version = environment("KDE_SESSION_VERSION");
    if (version == "5") {
        return 5;
    }
    if (version == "6") {
        return 6;
    }
    return 0;
}

bool isWayland(const EnvironmentLookup& environment) {
    if (auto type = nonEmpty(environment, "XDG_SESSION_TYPE")) {
        return lowerAscii(*type) == "wayland";
    }
    return nonEmpty(environment, "WAYLAND_DISPLAY").has_value();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "46.2" or "46" gives 46; "46b" is not a version.
std::optional<int> majorVersionOf(std::string_view word) {
    int major = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), major);
    if (error != std::errc{} || (end != word.data() + word.size() && *end != '.')) {
        return std::nullopt;
    }
    return major;
}

} // namespace

Desktop detectDesktop(const EnvironmentLookup& environment) {
    Desktop desktop;
    desktop.kind = detectKind(environment);
    desktop.plasmaVersion = plasmaVersionOf(environment);
    desktop.wayland = isWayland(environment);
    return desktop;
}

std::optional<int> parseGnomeVersion(std::string_view versionOutput) {
    // The version is the first word that starts with a digit; the program's name before it
    // has changed spelling over the years, so it is not checked.
    constexpr std::string_view blanks = " \t\r\n";
    std::size_t start = versionOutput.find_first_not_of(blanks);
    while (start != std::string_view::npos) {
        const std::size_t end =
            std::min(versionOutput.find_first_of(blanks, start), versionOutput.size());
        const std::string_view word = versionOutput.substr(start, end - start);
        if (isDigit(word.front())) {
            return majorVersionOf(word);
        }
        start = versionOutput.find_first_not_of(blanks, end);
    }
    return std::nullopt;
}

} // namespace zanthera::posix
