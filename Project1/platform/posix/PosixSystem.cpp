#include "platform/posix/PosixSystem.h"

#include "platform/posix/LaunchTarget.h"
#include "platform/posix/ProcessStarter.h"
#include "platform/posix/ProgramOutput.h"
#include "platform/posix/ProgramSearch.h"
#include "platform/posix/SystemNames.h"
#include "platform/posix/TextUtilities.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <unistd.h>
#include <vector>

namespace zanthera::posix {
namespace {

// gnome-control-center answers --version at once; a stuck one must not freeze the window.
constexpr std::chrono::milliseconds gnomeProbeTimeout{2000};

std::optional<std::string> processEnvironment(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::string describeTarget(const LaunchTarget& target) {
    if (target.page == Page::WebAddress) {
        return "the web page " + target.address;
    }
    return "the " + std::string(pageDescription(target.page));
}

// One line per program, so that the message box shows what to install.
Error openFailure(const LaunchTarget& target, const std::vector<std::string>& tried) {
    if (tried.empty()) {
        return Error{"Could not open " + describeTarget(target) +
                     ": no program that opens it is known on this desktop."};
    }
    std::string message = "Could not open " + describeTarget(target) + ".\nPrograms tried:";
    for (const std::string& line : tried) {
        message += "\n  " + line;
    }
    return Error{std::move(message)};
}

GnomeVersionProbe realGnomeVersion(const EnvironmentLookup& environment) {
    if (detectDesktop(environment).kind != DesktopKind::Gnome) {
        return [] { return std::optional<int>(); };
    }
    return gnomeVersionInBackground(std::string(gnomeVersionFile), findInProcessPath,
                                    gnomeProbeTimeout);
}

} // namespace

std::optional<int> parseGnomeVersionFile(std::string_view text) {
    constexpr std::string_view open = "<platform>";
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = text.substr(start + open.size());
    return parseGnomeVersion(rest.substr(0, rest.find('<')));
}

std::optional<int> probeGnomeVersion(const std::string& versionFile,
                                     const ProgramLookup& findProgram,
                                     std::chrono::milliseconds timeout) {
    if (std::ifstream file(versionFile); file) {
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        if (std::optional<int> version = parseGnomeVersionFile(text)) {
            return version;
        }
    }
    const std::optional<std::string> program = findProgram("gnome-control-center");
    if (!program) {
        return std::nullopt;
    }
    const std::vector<std::string> argv{*program, "--version"};
    const Result<std::string> output = readProgramOutput(argv, timeout);
    return output ? parseGnomeVersion(output.value()) : std::nullopt;
}

GnomeVersionProbe gnomeVersionInBackground(std::string versionFile, ProgramLookup findProgram,
                                           std::chrono::milliseconds timeout) {
    auto answer = std::make_shared<std::shared_future<std::optional<int>>>(
        std::async(std::launch::async, [versionFile = std::move(versionFile),
                                        findProgram = std::move(findProgram), timeout] {
            return probeGnomeVersion(versionFile, findProgram, timeout);
        }).share());
    return [answer]() -> std::optional<int> {
        if (answer->wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            return std::nullopt;
        }
        return answer->get();
    };
}

PosixSystem::PosixSystem() : PosixSystem(SystemLookups{}) {}

PosixSystem::PosixSystem(SystemLookups lookups)
    : lookups_(std::move(lookups)), reaper_(lookups_.watchDescriptor) {
    if (!lookups_.environment) {
        lookups_.environment = processEnvironment;
    }
    if (!lookups_.findProgram) {
        lookups_.findProgram = findInProcessPath;
    }
    if (!lookups_.gnomeVersion) {
        lookups_.gnomeVersion = realGnomeVersion(lookups_.environment);
    }
}

Desktop PosixSystem::currentDesktop() {
    Desktop desktop = detectDesktop(lookups_.environment);
    if (desktop.kind == DesktopKind::Gnome) {
        desktop.gnomeVersion = lookups_.gnomeVersion();
    }
    return desktop;
}

Status PosixSystem::startProgram(std::string_view commandLine) {
    const Result<LaunchTarget> target = parseCommandLine(commandLine);
    if (!target) {
        return target.error();
    }
    std::vector<std::string> tried;
    for (const CommandWords& command : candidateCommands(*target, currentDesktop())) {
        const std::optional<CommandWords> resolved = resolveCommand(command, lookups_.findProgram);
        if (!resolved) {
            tried.push_back(joinWords(command) + ": not installed");
            continue;
        }
        Status started = startDetached(*resolved, reaper_);
        if (started) {
            return started;
        }
        tried.push_back(joinWords(command) + ": " + started.error().message);
    }
    return openFailure(*target, tried);
}

Result<std::string> PosixSystem::computerName() {
    return hostName();
}

Result<std::string> PosixSystem::userName() {
    return accountName(::getuid());
}

std::uint64_t PosixSystem::millisecondsSinceStart() {
    timespec now{};
    // CLOCK_BOOTTIME keeps counting while suspended, as GetTickCount does; the monotonic
    // clock is the nearest thing on a kernel without it.
    if (::clock_gettime(CLOCK_BOOTTIME, &now) != 0 && ::clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
}

LocalTime PosixSystem::localTime() {
    ::tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        return {};
    return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
            {local.tm_hour, local.tm_min, local.tm_sec}};
}

Result<std::int32_t> PosixSystem::volumeSerial(std::string_view drive) {
    if (Status drivePresent = checkSystemDrive(drive); !drivePresent) {
        return drivePresent.error();
    }
    return volumeSerialOf(lookups_.volumePaths);
}

} // namespace zanthera::posix
