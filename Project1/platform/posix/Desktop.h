// Which Linux desktop the user is running, read from the variables that desktops set for the
// programs of a session. The caller passes the lookup so that tests can describe any session.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zanthera::posix {

// Returns the value of an environment variable, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

enum class DesktopKind { Unknown, Gnome, Plasma, Xfce, Mate, Cinnamon, Lxqt };

struct Desktop {
    DesktopKind kind = DesktopKind::Unknown;
    // 5 or 6 from KDE_SESSION_VERSION, 0 when the session does not say.
    int plasmaVersion = 0;
    // The major version of gnome-control-center; nothing when it could not be learned.
    std::optional<int> gnomeVersion;
    // Some X11-only tools must not be offered on a Wayland session.
    bool wayland = false;
};

// Looks at XDG_CURRENT_DESKTOP first, then the older session variables. Does not fill in
// gnomeVersion: learning it means running a program, which only a GNOME session needs.
Desktop detectDesktop(const EnvironmentLookup& environment);

// The major version from the output of "gnome-control-center --version", such as
// "gnome-control-center 46.2"; nothing when the text holds no version.
std::optional<int> parseGnomeVersion(std::string_view versionOutput);

} // namespace zanthera::posix
