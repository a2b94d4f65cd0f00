// Reading the report that the probe program writes about how it was started.
#pragma once

#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zanthera::posix::testing {

inline const std::string probeProgram = ZANTHERA_PROCESS_PROBE;

struct ProbeReport {
    std::vector<std::string> argv;
    std::set<int> descriptors;
    std::map<int, std::string> targets; // what each descriptor refers to, e.g. "/dev/null"
    bool sessionLeader = false;
    int parent = 0;
    std::string blockedSignals;
    std::string ignoredSignals;
};

inline ProbeReport parseProbeReport(const std::string& text) {
    ProbeReport report;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t space = line.find_first_of(" \t");
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "arg") {
            report.argv.push_back(value);
        } else if (key == "fd") {
            const int fd = std::stoi(value);
            report.descriptors.insert(fd);
            report.targets[fd] = value.substr(std::min(value.size(), value.find(' ') + 1));
        } else if (key == "session-leader") {
            report.sessionLeader = value == "yes";
        } else if (key == "parent") {
            report.parent = std::stoi(value);
        } else if (key == "SigBlk:") {
            report.blockedSignals = value.substr(value.find_first_not_of(" \t"));
        } else if (key == "SigIgn:") {
            report.ignoredSignals = value.substr(value.find_first_not_of(" \t"));
        }
    }
    return report;
}

// Points the probe, through the environment that started programs inherit, at a fresh file.
class ProbeOutput {
  public:
    ProbeOutput() : path_(scratch_.file("report")) {
        ::setenv("ZANTHERA_PROBE_OUTPUT", path_.c_str(), 1);
    }
    ~ProbeOutput() { ::unsetenv("ZANTHERA_PROBE_OUTPUT"); }
    ProbeOutput(const ProbeOutput&) = delete;
    ProbeOutput& operator=(const ProbeOutput&) = delete;

    std::optional<ProbeReport> wait() const {
        const std::optional<std::string> text = waitForFile(path_);
        return text ? std::optional(parseProbeReport(*text)) : std::nullopt;
    }

  private:
    ScratchDirectory scratch_;
    std::string path_;
};

} // namespace zanthera::posix::testing
