#include "platform/posix/ProgramSearch.h"

#include "platform/posix/TextUtilities.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zanthera::posix {
namespace {

constexpr std::string_view defaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::optional<std::string> findInPath(std::string_view program, std::string_view searchPath) {
    if (program.empty()) {
        return std::nullopt;
    }
    if (program.find('/') != std::string_view::npos) {
        std::string path(program);
        return program.front() == '/' && isExecutableFile(path) ? std::optional(path)
                                                                : std::nullopt;
    }
    for (std::string_view directory : splitOn(searchPath, ':')) {
        // An empty or relative entry would make the answer depend on the current directory,
        // which a settings launcher has no reason to trust.
        if (directory.empty() || directory.front() != '/') {
            continue;
        }
        std::string path(directory);
        if (path.back() != '/') {
            path += '/';
        }
        path += program;
        if (isExecutableFile(path)) {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> findInProcessPath(std::string_view program) {
    const char* searchPath = std::getenv("PATH");
    return findInPath(program, searchPath != nullptr ? searchPath : defaultSearchPath);
}

} // namespace zanthera::posix
