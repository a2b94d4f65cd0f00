// The operating-system half of the program's platform services on Linux and other POSIX
// systems: starting settings pages and the browser, and the facts the information buttons
// show. The Qt side forwards to it; it knows nothing of Qt.
#pragma once

#include "platform/Result.h"
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

// Returns the major version of gnome-control-center, or nothing when it cannot be learned.
using GnomeVersionProbe = std::function<std::optional<int>()>;

// Everything PosixSystem asks of its surroundings, so that tests can stand in for them. A
// lookup left empty is replaced by the real one.
struct SystemLookups {
    EnvironmentLookup environment;
    ProgramLookup findProgram;
    GnomeVersionProbe gnomeVersion;
    VolumePaths volumePaths;
};

// The process's environment, its PATH, and "gnome-control-center --version".
SystemLookups realSystemLookups();

// Runs "gnome-control-center --version", found through findProgram, and reads its major
// version; nothing when the program is missing, fails, or takes longer than `timeout`.
std::optional<int> probeGnomeVersion(const ProgramLookup& findProgram,
                                     std::chrono::milliseconds timeout);

// Meant for one thread, the window's, like the handlers that use it.
class PosixSystem {
  public:
    PosixSystem();
    explicit PosixSystem(SystemLookups lookups);

    // Opens the page or web address that a launcher command line names, with the first
    // installed program that can. The error names the page and every program tried.
    Status startProgram(std::string_view commandLine);

    // The host name and the login name of the user running the program.
    Result<std::string> computerName();
    Result<std::string> userName();

    // Milliseconds since boot, time spent suspended included, as Windows counts them.
    std::uint64_t millisecondsSinceStart();

    // The serial of the volume holding the root directory, for drive "c:\".
    Result<std::int32_t> volumeSerial(std::string_view drive);

  private:
    Desktop currentDesktop();

    SystemLookups lookups_;
    // Asked at most once: the installed version does not change while the program runs.
    std::optional<std::optional<int>> gnomeVersion_;
};

} // namespace zanthera::posix
