// What the POSIX platform's tests share: scratch directories, small scripts, what the process
// table and descriptor table look like from inside the test, and the probe program's report.
#pragma once

#include "actions/AppletCommands.h"
#include "platform/posix/Desktop.h"
#include "platform/posix/LaunchTarget.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ProcessStarter.h"
#include "platform/posix/ProgramOutput.h"
#include "platform/posix/ProgramSearch.h"
#include "platform/posix/SettingsPages.h"
#include "platform/posix/SystemNames.h"
#include "platform/posix/TextUtilities.h"
#include "platform/posix/VolumeSerial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace zanthera::posix::testing {

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zanthera-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, std::string_view content, unsigned mode = 0644) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}

inline void writeScript(const std::string& path, std::string_view body) {
    writeFile(path, "#!/bin/sh\n" + std::string(body) + "\n", 0755);
}

inline std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::optional<std::string>({std::istreambuf_iterator<char>(in), {}}) : std::nullopt;
}

// Waits until `done` holds, giving up after ten seconds; the limit only guards against a hang,
// it is not what the test measures.
template <typename Predicate> bool waitFor(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Until the process is gone or a zombie. Its state letter follows the command name in
// /proc/PID/stat, which is in parentheses and may itself hold spaces or parentheses.
inline bool waitUntilDead(int pid) {
    return waitFor([pid] {
        const std::optional<std::string> stat = readFile("/proc/" + std::to_string(pid) + "/stat");
        return !stat || stat->find(") Z", stat->rfind(')')) != std::string::npos;
    });
}

// Until this process has no child left, running or a zombie. WNOWAIT looks without reaping, so
// a zombie the code under test failed to reap stays and is seen.
inline bool waitForNoChildren() {
    return waitFor([] {
        siginfo_t child{};
        errno = 0;
        return ::waitid(P_ALL, 0, &child, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
    });
}

// The descriptors open in this process. The listing's own descriptor takes the lowest free
// number, the same in every call unless a descriptor was opened or closed in between.
inline std::set<int> openDescriptors() {
    std::set<int> descriptors;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        descriptors.insert(std::stoi(entry.path().filename()));
    }
    return descriptors;
}

inline std::string_view commandLineOf(std::string_view button) {
    return std::ranges::find(appletCommands, button, &AppletCommand::button)->commandLine;
}

using Variables = std::map<std::string, std::string>;

inline EnvironmentLookup environmentOf(Variables variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

// The stand-in program that writes down how it was started (ProcessProbe.cpp).
inline const std::string probeProgram = ZANTHERA_PROCESS_PROBE;

// What the probe wrote, each key's values in order: "arg" its arguments, "fd" each open descriptor
// and what it refers to, "session-leader" yes or no, "parent", and the lines of its
// /proc/self/status, among them "SigBlk:" and "SigIgn:", the blocked and the ignored signals.
using ProbeReport = std::map<std::string, std::vector<std::string>>;

// Points the probe, through the environment that started programs inherit, at a fresh file.
class ProbeOutput {
  public:
    ProbeOutput() { ::setenv("ZANTHERA_PROBE_OUTPUT", path_.c_str(), 1); }
    ~ProbeOutput() { ::unsetenv("ZANTHERA_PROBE_OUTPUT"); }
    ProbeOutput(const ProbeOutput&) = delete;
    ProbeOutput& operator=(const ProbeOutput&) = delete;

    // The report, once the probe has written it (aside, then renamed into place).
    std::optional<ProbeReport> wait() const {
        std::optional<std::string> text;
        if (!waitFor([&] { return (text = readFile(path_)).has_value(); })) {
            return std::nullopt;
        }
        ProbeReport report;
        std::istringstream lines(*text);
        std::string key;
        std::string value;
        while (lines >> key && std::getline(lines, value)) {
            // One space after our own keys, as an argument may be empty; tabs after the kernel's.
            value.erase(0, key.ends_with(':') ? value.find_first_not_of(" \t") : 1);
            report[key].push_back(value);
        }
        return report;
    }

  private:
    ScratchDirectory scratch_;
    std::string path_ = scratch_.file("report");
};

// Generous: these programs end at once, and the limit only guards against a hang.
inline constexpr std::chrono::milliseconds ample = std::chrono::seconds(10);

} // namespace zanthera::posix::testing

// What every test file of the POSIX platform uses.
namespace zanthera::posix {
using namespace std::chrono_literals;
using namespace testing;
using Arguments = std::vector<std::string>;
using enum DesktopKind;
} // namespace zanthera::posix
