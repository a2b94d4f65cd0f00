#include "TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zanthera::posix::testing {
namespace {

constexpr auto waitLimit = std::chrono::seconds(10);
constexpr auto waitStep = std::chrono::milliseconds(10);

template <typename Predicate> bool waitFor(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + waitLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(waitStep);
    }
    return true;
}

// The state letter and parent id from /proc/PID/stat; the command name before them is in
// parentheses and may itself hold spaces or parentheses.
bool readStat(const std::string& pid, char& state, int& parent) {
    const std::optional<std::string> stat = readFile("/proc/" + pid + "/stat");
    if (!stat) {
        return false;
    }
    const std::size_t close = stat->rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(stat->substr(close + 1));
    return static_cast<bool>(fields >> state >> parent);
}

} // namespace

ScratchDirectory::ScratchDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zanthera-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, std::string_view content, unsigned mode) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}

void writeScript(const std::string& path, std::string_view body) {
    writeFile(path, "#!/bin/sh\n" + std::string(body) + "\n", 0755);
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::optional<std::string> waitForFile(const std::string& path) {
    std::optional<std::string> content;
    waitFor([&] { return (content = readFile(path)).has_value(); });
    return content;
}

bool waitUntilDead(int pid) {
    return waitFor([pid] {
        char state = 0;
        int parent = 0;
        return !readStat(std::to_string(pid), state, parent) || state == 'Z';
    });
}

std::set<int> openDescriptors() {
    std::set<int> descriptors;
    DIR* listing = ::opendir("/proc/self/fd");
    if (listing == nullptr) {
        throw std::runtime_error("cannot list /proc/self/fd");
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] != '.') {
            descriptors.insert(std::atoi(entry->d_name));
        }
    }
    descriptors.erase(::dirfd(listing));
    ::closedir(listing);
    return descriptors;
}

std::set<int> zombieChildren() {
    std::set<int> zombies;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        char state = 0;
        int parent = 0;
        if (name.find_first_not_of("0123456789") == std::string::npos &&
            readStat(name, state, parent) && parent == ::getpid() && state == 'Z') {
            zombies.insert(std::stoi(name));
        }
    }
    return zombies;
}

std::string shellOutput(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("popen failed: " + command);
    }
    char chunk[256];
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) {
        output.append(chunk, got);
    }
    ::pclose(pipe);
    return output;
}

EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

} // namespace zanthera::posix::testing
