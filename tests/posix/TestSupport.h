// Helpers shared by the POSIX tests: scratch directories, small scripts, and what the
// process table and descriptor table look like from inside the test.
#pragma once

#include "platform/posix/Desktop.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace zanthera::posix::testing {

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Writes `content` to `path` with the given permission bits.
void writeFile(const std::string& path, std::string_view content, unsigned mode = 0644);

// Writes an executable /bin/sh script.
void writeScript(const std::string& path, std::string_view body);

std::optional<std::string> readFile(const std::string& path);

// Waits for a file that another process writes and renames into place, giving up after ten
// seconds; the limit only guards against a hang, it is not what the test measures.
std::optional<std::string> waitForFile(const std::string& path);

// Waits, with the same guard, until the process is gone or a zombie.
bool waitUntilDead(int pid);

// The descriptors open in this process, not counting the one used to list them.
std::set<int> openDescriptors();

// The ids of this process's children that are zombies.
std::set<int> zombieChildren();

// What a shell command prints, for comparing with the system's own tools.
std::string shellOutput(const std::string& command);

// An environment made of the given variables only.
EnvironmentLookup environmentOf(std::map<std::string, std::string> variables);

} // namespace zanthera::posix::testing
