#include "platform/posix/ProgramOutput.h"

#include "platform/posix/ChildProcess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <utility>

namespace zanthera::posix {
namespace {

using Clock = std::chrono::steady_clock;

// How often to look whether the program has ended once its output is closed.
constexpr long waitStepNanoseconds = 5'000'000;

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

[[noreturn]] void runProgram(const ExecImage& image, PipeEnds output, int reportPipe,
                             int limit) noexcept {
    // A process group of its own lets a timeout kill whatever the program started as well.
    ::setpgid(0, 0);
    resetSignalsForExec();
    // /dev/null goes on 0 and 2 before the pipe goes on 1, so that whichever number open()
    // returns, no stream ends up on the wrong file.
    const int nullFd = ::open("/dev/null", O_RDWR);
    if (nullFd < 0 || ::dup2(nullFd, 0) < 0 || ::dup2(nullFd, 2) < 0 ||
        ::dup2(output.write, 1) < 0) {
        reportFailure(reportPipe, ChildStep::Streams, errno);
        ::_exit(127);
    }
    closeInheritedDescriptors(reportPipe, limit);
    ::execve(image.path(), image.argv(), image.envp());
    reportFailure(reportPipe, ChildStep::Exec, errno);
    ::_exit(127);
}

// Reads until the program closes its output or the deadline passes. Output beyond maxBytes is
// read and dropped, so that a talkative program never blocks on a full pipe.
std::string readUntilEnd(int fd, Clock::time_point deadline, std::size_t maxBytes) {
    std::string output;
    std::array<char, 1024> chunk{};
    while (true) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return output;
        }
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return output;
        }
        const std::size_t room = maxBytes - std::min(maxBytes, output.size());
        output.append(chunk.data(), std::min(room, static_cast<std::size_t>(got)));
    }
}

struct WaitOutcome {
    bool timedOut = false;
    std::optional<int> status; // Nothing when someone else reaped the program.
};

WaitOutcome waitUntil(pid_t child, Clock::time_point deadline) {
    while (true) {
        int status = 0;
        const pid_t result = ::waitpid(child, &status, WNOHANG);
        if (result == child) {
            return {false, status};
        }
        if (result < 0 && errno != EINTR) {
            return {false, std::nullopt};
        }
        if (Clock::now() >= deadline) {
            return {true, std::nullopt};
        }
        const timespec step{0, waitStepNanoseconds};
        ::nanosleep(&step, nullptr);
    }
}

Result<std::string> outcomeToResult(const std::string& program, const WaitOutcome& outcome,
                                    const std::optional<ChildFailure>& failure,
                                    std::string output) {
    if (failure) {
        return Error{"Could not run " + program + ": " + describeErrno(failure->error)};
    }
    if (outcome.timedOut) {
        return Error{program + " did not finish in time and was stopped"};
    }
    if (outcome.status && !(WIFEXITED(*outcome.status) && WEXITSTATUS(*outcome.status) == 0)) {
        return Error{program + " failed"};
    }
    return output;
}

struct RunningProgram {
    pid_t pid = -1;
    PipeEnds output;
    PipeEnds report;
};

// Forks the program with both pipes in place and keeps only their reading ends here.
Result<RunningProgram> forkProgram(const ExecImage& image) {
    Result<PipeEnds> output = openPipe();
    Result<PipeEnds> report = openPipe();
    if (!output || !report) {
        std::string reason = (output ? report : output).error().message;
        for (Result<PipeEnds>* opened : {&output, &report}) {
            if (*opened) {
                closePipe(opened->value());
            }
        }
        return Error{std::move(reason)};
    }
    RunningProgram running{-1, output.value(), report.value()};
    const int limit = descriptorLimit();
    int forkError = 0;
    {
        const AllSignalsBlocked blocked;
        running.pid = ::fork();
        forkError = errno;
        if (running.pid == 0) {
            runProgram(image, running.output, running.report.write, limit);
        }
    }
    ::close(std::exchange(running.output.write, -1));
    ::close(std::exchange(running.report.write, -1));
    if (running.pid < 0) {
        closePipe(running.output);
        closePipe(running.report);
        return Error{"could not create a process: " + describeErrno(forkError)};
    }
    // Done on both sides so that a kill after a timeout finds the group, whichever runs first.
    ::setpgid(running.pid, running.pid);
    return running;
}

} // namespace

Result<std::string> readProgramOutput(std::span<const std::string> argv,
                                      std::chrono::milliseconds timeout, std::size_t maxBytes) {
    if (argv.empty() || argv.front().empty() || argv.front().front() != '/') {
        return Error{"Could not run a program: no absolute program path was given"};
    }
    const std::string& program = argv.front();
    const ExecImage image(argv);
    const Clock::time_point deadline = Clock::now() + timeout;
    Result<RunningProgram> started = forkProgram(image);
    if (!started) {
        return Error{"Could not run " + program + ": " + started.error().message};
    }
    RunningProgram& running = started.value();
    const auto failure = readFailure(running.report.read, millisecondsLeft(deadline));
    std::string text =
        failure ? std::string() : readUntilEnd(running.output.read, deadline, maxBytes);
    closePipe(running.output);
    closePipe(running.report);
    const WaitOutcome outcome = waitUntil(running.pid, deadline);
    if (outcome.timedOut) {
        ::kill(-running.pid, SIGKILL);
        ::kill(running.pid, SIGKILL);
        reapChild(running.pid);
    }
    return outcomeToResult(program, outcome, failure, std::move(text));
}

} // namespace zanthera::posix
