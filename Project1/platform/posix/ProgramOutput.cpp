#include "platform/posix/ProgramOutput.h"

#include "platform/posix/ChildProcess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <optional>
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
                                    std::string output) {
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
};

// Starts the program in a process group of its own, writing into a pipe whose reading end
// alone stays here.
Result<RunningProgram> startWithOutputPipe(std::span<const std::string> argv) {
    Result<PipeEnds> opened = openPipe();
    if (!opened) {
        return opened.error();
    }
    PipeEnds output = opened.value();
    const Result<pid_t> child = spawnProgram(argv, SpawnOptions{false, output.write});
    ::close(std::exchange(output.write, -1));
    if (!child) {
        closePipe(output);
        return child.error();
    }
    return RunningProgram{child.value(), output};
}

} // namespace

Result<std::string> readProgramOutput(std::span<const std::string> argv,
                                      std::chrono::milliseconds timeout, std::size_t maxBytes) {
    if (argv.empty() || argv.front().empty() || argv.front().front() != '/') {
        return Error{"Could not run a program: no absolute program path was given"};
    }
    const std::string& program = argv.front();
    const Clock::time_point deadline = Clock::now() + timeout;
    Result<RunningProgram> started = startWithOutputPipe(argv);
    if (!started) {
        return Error{"Could not run " + program + ": " + started.error().message};
    }
    RunningProgram& running = started.value();
    std::string text = readUntilEnd(running.output.read, deadline, maxBytes);
    closePipe(running.output);
    const WaitOutcome outcome = waitUntil(running.pid, deadline);
    if (outcome.timedOut) {
        ::kill(-running.pid, SIGKILL);
        ::kill(running.pid, SIGKILL);
        while (::waitpid(running.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return outcomeToResult(program, outcome, std::move(text));
}

} // namespace zanthera::posix
