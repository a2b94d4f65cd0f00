// The operating-system half of the program's platform services on Linux and other POSIX
// systems: starting settings pages and the browser, and the facts the information buttons
// show. The Qt side forwards to it; it knows nothing of Qt.
#pragma once

#include "base/Result.h"
#include "platform/PlatformServices.h"
#include "platform/posix/ChildProcess.h"
#include "platform/posix/Desktop.h"
#include "platform/posix/SettingsPages.h"
#include "platform/posix/VolumeSerial.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zanthera::posix {

// Returns the major version of gnome-control-center, or nothing when it is not known (yet).
// It never makes the caller wait.
using GnomeVersionProbe = std::function<std::optional<int>()>;

// Everything PosixSystem asks of its surroundings, so that tests can stand in for them. A
// lookup left empty is replaced by the real one: the process's environment, its PATH, and on a
// GNOME session the GNOME version, learned in the background from the start.
struct SystemLookups {
    EnvironmentLookup environment;
    ProgramLookup findProgram;
    GnomeVersionProbe gnomeVersion;
    VolumePaths volumePaths;
    // The event loop that tells when a started program has ended; without one, each started
    // program is waited for on a thread of its own.
    DescriptorWatch watchDescriptor{};
};

// Where GNOME installs state their version, e.g. <platform>46</platform>.
inline constexpr std::string_view gnomeVersionFile = "/usr/share/gnome/gnome-version.xml";

// The major version named in gnome-version.xml's text; nothing when it names none.
std::optional<int> parseGnomeVersionFile(std::string_view text);

// Reads `versionFile`, or when it is missing runs "gnome-control-center --version", found
// through findProgram; nothing when neither tells, or the program takes longer than `timeout`.
std::optional<int> probeGnomeVersion(const std::string& versionFile,
                                     const ProgramLookup& findProgram,
                                     std::chrono::milliseconds timeout);

// Starts probeGnomeVersion on a thread of its own at once; the probe returned answers nothing
// until that thread is done, and its answer from then on.
GnomeVersionProbe gnomeVersionInBackground(std::string versionFile, ProgramLookup findProgram,
                                           std::chrono::milliseconds timeout);

// Meant for one thread, the window's, like the handlers that use it.
class PosixSystem {
  public:
    PosixSystem();
    explicit PosixSystem(SystemLookups lookups);

    // Opens the page or web address that a launcher command line names, with the first
    // installed program that can. The error names the page and every program tried.
    Status startProgram(std::string_view commandLine);

    // The host name and the login name of the user running the program, or why they cannot
    // be read (a failing call, a user id with no account).
    Result<std::string> computerName();
    Result<std::string> userName();

    // Milliseconds since boot, time spent suspended included, as Windows counts them.
    std::uint64_t millisecondsSinceStart();

    // The date and time of day in the system's time zone, looked up again on every call (the C
    // library checks TZ and /etc/localtime), so a change of zone shows on the next tick.
    LocalTime localTime();

    // The serial of the volume holding the root directory, for drive "c:\".
    Result<std::int32_t> volumeSerial(std::string_view drive);

  private:
    Desktop currentDesktop();

    SystemLookups lookups_;
    ChildReaper reaper_;
};

} // namespace zanthera::posix
