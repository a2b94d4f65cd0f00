#include "platform/posix/ProcessStarter.h"

namespace zanthera::posix {

Status startDetached(std::span<const std::string> argv, ChildReaper& reaper) {
    if (argv.empty() || argv.front().empty() || argv.front().front() != '/') {
        return Error{"Could not start a program: no absolute program path was given"};
    }
    const Result<pid_t> child = spawnProgram(argv, SpawnOptions{});
    if (!child) {
        return Error{"Could not start " + argv.front() + ": " + child.error().message};
    }
    reaper.adopt(child.value());
    return success();
}

} // namespace zanthera::posix
