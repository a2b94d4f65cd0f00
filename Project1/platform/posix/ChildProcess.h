// The pieces shared by everything here that forks and executes a program. The calling program
// has other threads, so a forked child may only make async-signal-safe calls: all memory it
// needs is prepared before the fork, and every function marked "child side" keeps to that rule.
#pragma once

#include "platform/Result.h"

#include <csignal>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zanthera::posix {

// The program path, argument vector and environment block for execve, built before forking.
// The environment is a copy of the process's environment at construction.
class ExecImage {
  public:
    explicit ExecImage(std::span<const std::string> argv);
    ExecImage(const ExecImage&) = delete;
    ExecImage& operator=(const ExecImage&) = delete;

    const char* path() const { return argv_.front(); }
    char* const* argv() const { return argv_.data(); }
    char* const* envp() const { return envp_.data(); }

  private:
    std::vector<std::string> words_;
    std::vector<std::string> environment_;
    std::vector<char*> argv_;
    std::vector<char*> envp_;
};

// Blocks every signal in the calling thread while alive, so that no handler of the program
// runs in a freshly forked child before it has reset the dispositions.
class AllSignalsBlocked {
  public:
    AllSignalsBlocked();
    ~AllSignalsBlocked();
    AllSignalsBlocked(const AllSignalsBlocked&) = delete;
    AllSignalsBlocked& operator=(const AllSignalsBlocked&) = delete;

  private:
    sigset_t previous_{};
};

// A pipe whose ends are both close-on-exec and numbered above 2, so that neither can be
// mistaken for a standard stream in a child.
struct PipeEnds {
    int read = -1;
    int write = -1;
};
Result<PipeEnds> openPipe();
void closePipe(PipeEnds& pipe);

// What a child reports through its failure pipe when it cannot reach exec.
enum class ChildStep : int { Fork = 1, Session = 2, Streams = 3, Exec = 4 };
struct ChildFailure {
    ChildStep step;
    int error;
};

// One past the highest descriptor the child may have to close; computed before forking.
int descriptorLimit();

// Child side: default dispositions and an empty signal mask, as a fresh program expects.
void resetSignalsForExec() noexcept;
// Child side: opens /dev/null on any of descriptors 0, 1 and 2 that is closed.
void openMissingStandardDescriptors() noexcept;
// Child side: makes sure no descriptor above 2 survives exec; `keep` stays open until then.
void closeInheritedDescriptors(int keep, int limit) noexcept;
// Child side: writes the failure into the pipe.
void reportFailure(int pipeWrite, ChildStep step, int error) noexcept;

// Parent side: waits for the child's failure report, or for the pipe to close at exec. Gives
// up after timeoutMs, treating the silence as success, so that a child stopped before exec
// cannot hang the caller.
std::optional<ChildFailure> readFailure(int pipeRead, int timeoutMs);

// Parent side: waits for a child that is known to end promptly, retrying on interruption.
// Returns its wait status, or nothing when it could not be waited for.
std::optional<int> reapChild(pid_t child);

// "No such file or directory" and the like, for messages.
std::string describeErrno(int error);

} // namespace zanthera::posix
