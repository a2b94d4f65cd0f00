#include "platform/posix/ProcessStarter.h"

#include "platform/posix/ChildProcess.h"

#include <cerrno>
#include <unistd.h>

namespace zanthera::posix {
namespace {

// How long to wait for the started program to reach exec. A healthy child gets there in
// milliseconds; the bound only matters if something stops it on the way.
constexpr int execReportTimeoutMs = 5000;

[[noreturn]] void runStartedProgram(const ExecImage& image, int reportPipe, int limit) noexcept {
    if (::setsid() < 0) {
        reportFailure(reportPipe, ChildStep::Session, errno);
        ::_exit(127);
    }
    resetSignalsForExec();
    openMissingStandardDescriptors();
    closeInheritedDescriptors(reportPipe, limit);
    ::execve(image.path(), image.argv(), image.envp());
    reportFailure(reportPipe, ChildStep::Exec, errno);
    ::_exit(127);
}

// The intermediate child forks the program and ends at once, so the program is adopted by
// init (or a subreaper) and never becomes a zombie of ours. _Fork, unlike fork, runs no
// atfork handlers and is safe to call here.
[[noreturn]] void runIntermediate(const ExecImage& image, int reportPipe, int limit) noexcept {
    const pid_t program = ::_Fork();
    if (program == 0) {
        runStartedProgram(image, reportPipe, limit);
    }
    if (program < 0) {
        reportFailure(reportPipe, ChildStep::Fork, errno);
    }
    ::_exit(0);
}

Error startFailure(const std::string& program, std::string_view reason) {
    return Error{"Could not start " + program + ": " + std::string(reason)};
}

Status failureToStatus(const std::string& program, const ChildFailure& failure) {
    const std::string reason = describeErrno(failure.error);
    switch (failure.step) {
    case ChildStep::Fork:
        return startFailure(program, "could not create a process: " + reason);
    case ChildStep::Session:
        return startFailure(program, "could not start a new session: " + reason);
    case ChildStep::Streams:
    case ChildStep::Exec:
        break;
    }
    return startFailure(program, reason);
}

} // namespace

Status startDetached(std::span<const std::string> argv) {
    if (argv.empty() || argv.front().empty() || argv.front().front() != '/') {
        return Error{"Could not start a program: no absolute program path was given"};
    }
    const std::string& program = argv.front();
    const ExecImage image(argv);
    Result<PipeEnds> opened = openPipe();
    if (!opened) {
        return startFailure(program, opened.error().message);
    }
    PipeEnds report = opened.value();
    const int limit = descriptorLimit();
    pid_t intermediate = -1;
    int forkError = 0;
    {
        const AllSignalsBlocked blocked;
        intermediate = ::fork();
        forkError = errno;
        if (intermediate == 0) {
            runIntermediate(image, report.write, limit);
        }
    }
    ::close(report.write);
    report.write = -1;
    if (intermediate < 0) {
        closePipe(report);
        return startFailure(program, "could not create a process: " + describeErrno(forkError));
    }
    reapChild(intermediate);
    const std::optional<ChildFailure> failure = readFailure(report.read, execReportTimeoutMs);
    closePipe(report);
    return failure ? failureToStatus(program, *failure) : success();
}

} // namespace zanthera::posix
