#include "platform/posix/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

namespace zanthera::posix {
namespace {

// Descriptors are numbered far below this on any sane system; the cap keeps the fallback
// closing loop short when the limit is set to "unlimited".
constexpr rlim_t descriptorLoopCap = 1 << 16;

// Moves a new descriptor above the standard ones, keeping it close-on-exec.
int aboveStandard(int fd) {
    if (fd > 2) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ExecImage::ExecImage(std::span<const std::string> argv) : words_(argv.begin(), argv.end()) {
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        environment_.emplace_back(*entry);
    }
    argv_ = pointersTo(words_);
    envp_ = pointersTo(environment_);
}

AllSignalsBlocked::AllSignalsBlocked() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous_);
}

AllSignalsBlocked::~AllSignalsBlocked() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

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

int descriptorLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return static_cast<int>(descriptorLoopCap);
    }
    return static_cast<int>(std::min(limit.rlim_cur, descriptorLoopCap));
}

void resetSignalsForExec() noexcept {
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    // Handlers are reset by exec anyway, but ignored signals would stay ignored in the new
    // program; SIGKILL, SIGSTOP and the C library's own signals refuse and are left alone.
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &defaultAction, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

void openMissingStandardDescriptors() noexcept {
    // open() takes the lowest free number, so filling the gaps in order puts /dev/null exactly
    // on the descriptor that was missing.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            ::open("/dev/null", O_RDWR);
        }
    }
}

void closeInheritedDescriptors(int keep, int limit) noexcept {
    // Marking them close-on-exec lets `keep` report an exec failure and still vanish at exec.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) {
        return;
    }
    // Kernels before 5.11 lack that flag; close everything but `keep` instead (it is itself
    // close-on-exec already).
    const bool lowOk = keep == 3 || ::close_range(3, static_cast<unsigned>(keep - 1), 0) == 0;
    if (lowOk && ::close_range(static_cast<unsigned>(keep + 1), ~0U, 0) == 0) {
        return;
    }
    for (int fd = 3; fd < limit; ++fd) {
        if (fd != keep) {
            ::close(fd);
        }
    }
}

void reportFailure(int pipeWrite, ChildStep step, int error) noexcept {
    const ChildFailure failure{step, error};
    // A write this small to a pipe is atomic; if it fails, the parent sees a plain success,
    // which is the best a child that cannot talk can offer.
    [[maybe_unused]] ssize_t written = ::write(pipeWrite, &failure, sizeof failure);
}

std::optional<ChildFailure> readFailure(int pipeRead, int timeoutMs) {
    pollfd entry{pipeRead, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
        return std::nullopt;
    }
    ChildFailure failure{};
    ssize_t got = 0;
    do {
        got = ::read(pipeRead, &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof failure)) {
        return std::nullopt;
    }
    return failure;
}

std::optional<int> reapChild(pid_t child) {
    int status = 0;
    pid_t result = 0;
    do {
        result = ::waitpid(child, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result == child ? std::optional<int>(status) : std::nullopt;
}

std::string describeErrno(int error) {
    return std::generic_category().message(error);
}

} // namespace zanthera::posix
