// Starting programs with posix_spawn: the one place that decides what a started program
// inherits. posix_spawn shares the caller's memory until the exec (vfork semantics), so a
// start costs the same however large the calling program has grown, and glibc reports an exec
// failure as the call's own result.
#pragma once

#include "base/Result.h"

#include <functional>
#include <span>
#include <string>
#include <sys/types.h>

namespace zanthera::posix {

// A pipe whose ends are both close-on-exec and numbered above 2, so that neither can be
// mistaken for a standard stream in a child.
struct PipeEnds {
    int read = -1;
    int write = -1;
};
Result<PipeEnds> openPipe();
void closePipe(PipeEnds& pipe);

struct SpawnOptions {
    // A session of its own (the program outlives us, detached from our terminal) or else a
    // process group of its own (so that a timeout can end whatever it started).
    bool newSession = true;
    // When set, this descriptor becomes the program's standard output and /dev/null its input
    // and error output; otherwise it shares our standard streams.
    int standardOutput = -1;
};

// Starts argv[0], an absolute path, with exactly argv (no shell), our environment, every
// signal at its default disposition, an empty signal mask, and no descriptor beyond 0 to 2.
// Any of 0 to 2 that we do not hold as a real stream (closed, or a close-on-exec descriptor
// of ours that took the number) is /dev/null in the program. Returns the child's id, or why
// it could not be started ("No such file or directory").
Result<pid_t> spawnProgram(std::span<const std::string> argv, const SpawnOptions& options);

// Arranges for `onReadable` to run on the caller's event loop once `fd` turns readable.
using DescriptorWatch = std::function<void(int fd, std::function<void()> onReadable)>;

// Reaps the programs it is given once they end, so that none is left a zombie, without ever
// waiting on the caller's thread: a pidfd that the event loop watches when the kernel and the
// caller offer both, a waiting thread of the child's own otherwise.
class ChildReaper {
  public:
    explicit ChildReaper(DescriptorWatch watch = {}) : watch_(std::move(watch)) {}
    void adopt(pid_t child);

  private:
    DescriptorWatch watch_;
};

// "No such file or directory" and the like, for messages.
std::string describeErrno(int error);

} // namespace zanthera::posix
