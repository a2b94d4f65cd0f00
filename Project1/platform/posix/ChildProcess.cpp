#include "platform/posix/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zanthera::posix {
namespace {

// Moves a new descriptor above the standard ones, keeping it close-on-exec.
int aboveStandard(int fd) {
    if (fd > 2) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

// A standard descriptor the program can use as it is: open, and not one of our own
// close-on-exec descriptors that merely took a free low number (as the X connection does when
// we were started with 0 to 2 closed), which would vanish at the exec.
bool heldAsStream(int fd) {
    const int flags = ::fcntl(fd, F_GETFD);
    return flags >= 0 && (flags & FD_CLOEXEC) == 0;
}

// The attributes and file actions of one spawn, released however the spawn ends.
class SpawnSetup {
  public:
    explicit SpawnSetup(const SpawnOptions& options) {
        ::posix_spawnattr_init(&attributes_);
        ::posix_spawn_file_actions_init(&actions_);
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigemptyset(&none);
        ::posix_spawnattr_setsigdefault(&attributes_, &all);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        const int group = options.newSession ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP;
        const int flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | group;
        ::posix_spawnattr_setflags(&attributes_, static_cast<short>(flags));
        ::posix_spawnattr_setpgroup(&attributes_, 0);
        for (int fd = 0; fd <= 2; ++fd) {
            if (fd == 1 && options.standardOutput >= 0) {
                ::posix_spawn_file_actions_adddup2(&actions_, options.standardOutput, 1);
            } else if (options.standardOutput >= 0 || !heldAsStream(fd)) {
                ::posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", O_RDWR, 0);
            }
        }
        // glibc 2.34 and later close the rest with close_range in the child.
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

  private:
    posix_spawnattr_t attributes_{};
    posix_spawn_file_actions_t actions_{};
};

void waitOnThread(pid_t child) {
    std::thread([child] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

Result<PipeEnds> openPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return Error{"Could not create a pipe: " + describeErrno(errno)};
    }
    PipeEnds pipe{aboveStandard(ends[0]), aboveStandard(ends[1])};
    if (pipe.read < 0 || pipe.write < 0) {
        const int error = errno;
        closePipe(pipe);
        return Error{"Could not create a pipe: " + describeErrno(error)};
    }
    return pipe;
}

void closePipe(PipeEnds& pipe) {
    for (int* end : {&pipe.read, &pipe.write}) {
        if (*end >= 0) {
            ::close(*end);
            *end = -1;
        }
    }
}

Result<pid_t> spawnProgram(std::span<const std::string> argv, const SpawnOptions& options) {
    std::vector<char*> words;
    words.reserve(argv.size() + 1);
    for (const std::string& word : argv) {
        words.push_back(const_cast<char*>(word.c_str()));
    }
    words.push_back(nullptr);
    const SpawnSetup setup(options);
    pid_t child = -1;
    const int error = ::posix_spawn(&child, words.front(), setup.actions(), setup.attributes(),
                                    words.data(), environ);
    if (error != 0) {
        return Error{describeErrno(error)};
    }
    return child;
}

void ChildReaper::adopt(pid_t child) {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    if (pidfd < 0 || !watch_) {
        if (pidfd >= 0) {
            ::close(pidfd);
        }
        waitOnThread(child);
        return;
    }
    // The pidfd turns readable once the child has ended, so this wait returns at once.
    watch_(pidfd, [child, pidfd] {
        ::waitpid(child, nullptr, WNOHANG);
        ::close(pidfd);
    });
}

std::string describeErrno(int error) {
    return std::generic_category().message(error);
}

} // namespace zanthera::posix
