// Starting programs (the starter's hygiene: descriptors, zombies, session, signals) and reading a
// program's output under a time limit.
#include "Support.h"

namespace zanthera::posix {
namespace {

std::optional<ProbeReport> startProbe(const Arguments& arguments, ChildReaper& reaper) {
    const ProbeOutput output;
    Arguments argv{probeProgram};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const Status started = startDetached(argv, reaper);
    EXPECT_TRUE(started.ok()) << started.error().message;
    return started.ok() ? output.wait() : std::nullopt;
}

// Stands in for the window's event loop: keeps what the reaper asks it to watch and runs each
// callback once its descriptor turns readable.
class EventLoopStandIn {
  public:
    DescriptorWatch watch() {
        return [this](int fd, std::function<void()> onReadable) {
            watched_.emplace_back(fd, std::move(onReadable));
        };
    }
    // Runs until nothing is left to watch; false if that takes longer than ten seconds.
    bool drain() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!watched_.empty() && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{watched_.back().first, POLLIN, 0};
            if (::poll(&entry, 1, 100) == 1) {
                watched_.back().second();
                watched_.pop_back();
            }
        }
        return watched_.empty();
    }

  private:
    std::vector<std::pair<int, std::function<void()>>> watched_;
};

TEST(ProcessStarter, ManyStartsLeaveNoZombieAndNoDescriptorBehind) {
    for (const bool eventLoop : {true, false}) {
        SCOPED_TRACE(eventLoop ? "reaped from the event loop" : "reaped by waiting threads");
        const std::set<int> before = openDescriptors();
        EventLoopStandIn loop;
        ChildReaper reaper(eventLoop ? loop.watch() : DescriptorWatch{});
        for (int i = 0; i < 300; ++i) {
            const Status started = startDetached(Arguments{"/bin/true"}, reaper);
            ASSERT_TRUE(started.ok()) << "start " << i << ": " << started.error().message;
        }
        ASSERT_TRUE(loop.drain());
        EXPECT_TRUE(waitForNoChildren()); // no zombie either
        EXPECT_EQ(openDescriptors(), before);
    }
}

// Leaves a descriptor of each common kind open without close-on-exec, blocks a signal, ignores
// another and puts the standard descriptors in the given state: closed, or taken by a
// close-on-exec descriptor as one opened later would take the free number. The started program
// must inherit none of it.
class MessyCaller {
  public:
    explicit MessyCaller(bool standardClosed) {
        file_ = ::open("/dev/null", O_RDONLY);
        if (::pipe(pipe_) != 0) {
            pipe_[0] = pipe_[1] = -1;
        }
        sigset_t usr1;
        sigemptyset(&usr1);
        sigaddset(&usr1, SIGUSR1);
        ::sigprocmask(SIG_BLOCK, &usr1, &previousMask_);
        previousPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
        const int ours = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        for (int fd = 0; fd <= 2; ++fd) {
            saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
            standardClosed ? ::close(fd) : ::dup3(ours, fd, O_CLOEXEC);
        }
        ::close(ours);
    }
    ~MessyCaller() {
        for (int fd = 0; fd <= 2; ++fd) {
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
        std::signal(SIGPIPE, previousPipeHandler_);
        ::sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
        for (int fd : {file_, pipe_[0], pipe_[1]}) {
            ::close(fd);
        }
    }
    MessyCaller(const MessyCaller&) = delete;
    MessyCaller& operator=(const MessyCaller&) = delete;

  private:
    int file_ = -1;
    int pipe_[2] = {-1, -1};
    int saved_[3] = {-1, -1, -1};
    sigset_t previousMask_{};
    void (*previousPipeHandler_)(int) = nullptr;
};

TEST(ProcessStarter, TheProgramStartsCleanInASessionOfItsOwnWithDevNullForItsStandardFiles) {
    for (const bool closed : {true, false}) {
        SCOPED_TRACE(closed ? "standard descriptors closed" : "taken, close-on-exec");
        std::optional<ProbeReport> report;
        ChildReaper reaper;
        {
            const MessyCaller messy(closed);
            report = startProbe({}, reaper);
        }
        ASSERT_TRUE(report.has_value());
        using Values = std::vector<std::string>;
        EXPECT_EQ((*report)["fd"], (Values{"0 /dev/null", "1 /dev/null", "2 /dev/null"}));
        EXPECT_EQ((*report)["session-leader"], Values{"yes"});
        EXPECT_EQ((*report)["parent"], Values{std::to_string(::getpid())}); // ours, which we reap
        EXPECT_EQ((*report)["SigBlk:"], Values{"0000000000000000"});
        // Signals 32 and 33 belong to the C library, which sets them up afresh in every program
        // it starts; whatever the caller's caller left on them says nothing about the starter.
        constexpr std::uint64_t libraryOwned = (1ull << 31) | (1ull << 32);
        const std::string ignored = (*report)["SigIgn:"].at(0);
        EXPECT_EQ(std::stoull(ignored, nullptr, 16) & ~libraryOwned, 0u) << ignored;
    }
}

TEST(ProcessStarter, TheProgramReceivesExactlyTheArgumentsGiven) {
    ChildReaper reaper;
    for (const Arguments& arguments : std::vector<Arguments>{
             {},
             {"two words", "", "$HOME", "; touch /tmp/zanthera-shell-ran", "'single'", "\"double\"",
              "*", "\xd9\x86\xd8\xb8\xd8\xa7\xd9\x85", "--mode=installed", "a\\b"}}) {
        std::optional<ProbeReport> report = startProbe(arguments, reaper);
        ASSERT_TRUE(report.has_value());
        EXPECT_EQ(Arguments((*report)["arg"].begin() + 1, (*report)["arg"].end()), arguments);
    }
}

TEST(ProcessStarter, OnlyARunnableAbsolutePathIsStartedElseTheErrorNamesItAndWhy) {
    const ScratchDirectory scratch;
    writeFile(scratch.file("not-executable"), "#!/bin/sh\n", 0644);
    writeFile(scratch.file("bad-interpreter"), "#!/nonexistent/shell\n", 0755);
    const std::vector<std::pair<Arguments, std::string>> cases{
        {{"/nonexistent/zanthera-missing", "x"}, "No such file or directory"},
        {{scratch.file("not-executable")}, "Permission denied"},
        {{scratch.file("bad-interpreter")}, "No such file or directory"},
        {{scratch.path().string()}, "Permission denied"},
        {{"true"}, "absolute"}, // no search of the path, nor of the current directory
        {{"bin/true"}, "absolute"},
        {{""}, "absolute"},
        {{}, "absolute"},
    };
    const std::set<int> before = openDescriptors();
    ChildReaper reaper;
    for (const auto& [argv, reason] : cases) {
        SCOPED_TRACE(argv.empty() ? "nothing" : argv[0]);
        const Status started = startDetached(argv, reaper);
        ASSERT_FALSE(started.ok());
        const std::string named = reason == "absolute" ? "" : argv[0];
        EXPECT_NE(started.error().message.find(named), std::string::npos);
        EXPECT_NE(started.error().message.find(reason), std::string::npos)
            << started.error().message;
    }
    EXPECT_TRUE(waitForNoChildren());
    EXPECT_EQ(openDescriptors(), before);
}

struct OutputCase {
    std::string_view name;
    std::string script;
    std::size_t maxBytes;
    std::optional<std::string> expected; // nothing: an error naming the program and `reason`
    std::string reason{};
};

TEST(ProgramOutput, ReturnsTheStandardOutputOrAnErrorNamingTheProgram) {
    const std::vector<OutputCase> cases{
        {"two lines", "printf 'line one\\nline two\\n'", 4096, "line one\nline two\n"},
        {"error output is not kept", "echo out; echo err >&2", 4096, "out\n"},
        {"input is empty", "cat; echo done", 4096, "done\n"},
        {"nothing", "true", 4096, ""},
        {"a long output is cut, not blocked on", "head -c 300000 /dev/zero | tr '\\0' a", 100,
         std::string(100, 'a')},
        {"fails", "echo partial; exit 3", 4096, std::nullopt, "failed"},
        {"killed", "kill -9 $$", 4096, std::nullopt, "failed"},
    };
    for (const OutputCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        writeScript(scratch.file("program"), test.script);
        const Arguments argv{scratch.file("program")};
        const Result<std::string> output = readProgramOutput(argv, ample, test.maxBytes);
        ASSERT_EQ(output.ok(), test.expected.has_value());
        if (output.ok()) {
            EXPECT_EQ(output.value(), test.expected);
        } else {
            EXPECT_NE(output.error().message.find(argv[0]), std::string::npos);
            EXPECT_NE(output.error().message.find(test.reason), std::string::npos);
        }
    }
    EXPECT_FALSE(readProgramOutput(Arguments{"sh"}, ample).ok());
    EXPECT_FALSE(readProgramOutput(Arguments{"/nonexistent/program"}, ample).ok());
}

TEST(ProgramOutput, AProgramPastItsTimeIsKilledWithWhatItStartedAndReaped) {
    const ScratchDirectory scratch;
    const std::string pidFile = scratch.file("sleeper.pid");
    writeScript(scratch.file("hangs"), "sleep 600 & echo $! > '" + pidFile + "'; echo hi; wait");
    const std::set<int> before = openDescriptors();
    const Result<std::string> output = readProgramOutput(Arguments{scratch.file("hangs")}, 3s);
    ASSERT_FALSE(output.ok());
    EXPECT_NE(output.error().message.find("did not finish"), std::string::npos);
    EXPECT_TRUE(waitForNoChildren());
    EXPECT_EQ(openDescriptors(), before);
    // The sleeper is the program's own child; the kill of the process group must reach it.
    const std::optional<std::string> sleeper = readFile(pidFile);
    ASSERT_TRUE(sleeper.has_value()) << "the program never started its child";
    EXPECT_TRUE(waitUntilDead(std::stoi(*sleeper)));
}

} // namespace
} // namespace zanthera::posix
