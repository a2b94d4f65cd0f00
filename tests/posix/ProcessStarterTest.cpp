#include "platform/posix/ProcessStarter.h"

#include "ProbeReport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zanthera::posix {
namespace {

using testing::ProbeOutput;
using testing::probeProgram;

bool hasNoChildren() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
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
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
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

bool waitForNoChildren() {
    for (int i = 0; i < 1000 && !hasNoChildren(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return hasNoChildren();
}

TEST(ProcessStarter, ManyStartsLeaveNoZombieAndNoDescriptorBehind) {
    for (const bool eventLoop : {true, false}) {
        SCOPED_TRACE(eventLoop ? "reaped from the event loop" : "reaped by waiting threads");
        const std::set<int> before = testing::openDescriptors();
        EventLoopStandIn loop;
        ChildReaper reaper(eventLoop ? loop.watch() : DescriptorWatch{});
        const std::vector<std::string> argv{"/bin/true"};
        for (int i = 0; i < 300; ++i) {
            const Status started = startDetached(argv, reaper);
            ASSERT_TRUE(started.ok()) << "start " << i << ": " << started.error().message;
        }
        ASSERT_TRUE(loop.drain());
        EXPECT_TRUE(waitForNoChildren());
        EXPECT_EQ(testing::zombieChildren(), std::set<int>{});
        EXPECT_EQ(testing::openDescriptors(), before);
    }
}

// Puts each of the standard descriptors in the given state for the life of the object: closed,
// or taken by a close-on-exec descriptor as one opened later would take the free number.
class StandardDescriptorsTaken {
  public:
    explicit StandardDescriptorsTaken(bool closed) {
        const int ours = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        for (int fd = 0; fd <= 2; ++fd) {
            saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
            if (closed) {
                ::close(fd);
            } else {
                ::dup3(ours, fd, O_CLOEXEC);
            }
        }
        ::close(ours);
    }
    ~StandardDescriptorsTaken() {
        for (int fd = 0; fd <= 2; ++fd) {
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
    }

  private:
    int saved_[3] = {-1, -1, -1};
};

TEST(ProcessStarter, StandardDescriptorsWeDoNotHoldAreDevNullInTheProgram) {
    for (const bool closed : {true, false}) {
        SCOPED_TRACE(closed ? "closed" : "close-on-exec");
        const ProbeOutput output;
        ChildReaper reaper;
        Status started = success();
        {
            const StandardDescriptorsTaken taken(closed);
            started = startDetached(std::vector<std::string>{probeProgram}, reaper);
        }
        ASSERT_TRUE(started.ok()) << started.error().message;
        const std::optional<testing::ProbeReport> report = output.wait();
        ASSERT_TRUE(report.has_value());
        const std::map<int, std::string> expected{
            {0, "/dev/null"}, {1, "/dev/null"}, {2, "/dev/null"}};
        EXPECT_EQ(report->targets, expected);
    }
}

TEST(ProcessStarter, TheProgramReceivesExactlyTheArgumentsGiven) {
    const std::vector<std::vector<std::string>> argumentLists{
        {},
        {"sound"},
        {"system", "datetime"},
        {"two words", "", "$HOME", "; touch /tmp/zanthera-shell-ran", "'single'", "\"double\"", "*",
         "\xd9\x86\xd8\xb8\xd8\xa7\xd9\x85", "--mode=installed", "a\\b"},
    };
    ChildReaper reaper;
    for (const std::vector<std::string>& arguments : argumentLists) {
        const ProbeOutput output;
        std::vector<std::string> argv{probeProgram};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const Status started = startDetached(argv, reaper);
        ASSERT_TRUE(started.ok()) << started.error().message;
        const std::optional<testing::ProbeReport> report = output.wait();
        ASSERT_TRUE(report.has_value());
        EXPECT_EQ(report->argv, argv);
    }
}

// Leaves a descriptor of each common kind open without close-on-exec, blocks a signal and
// ignores another, so that the started program can show it inherited none of them.
class MessyCaller {
  public:
    MessyCaller() {
        file_ = ::open("/dev/null", O_RDONLY);
        if (::pipe(pipe_) != 0) {
            pipe_[0] = pipe_[1] = -1;
        }
        sigset_t usr1;
        sigemptyset(&usr1);
        sigaddset(&usr1, SIGUSR1);
        ::sigprocmask(SIG_BLOCK, &usr1, &previousMask_);
        previousPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
    }
    ~MessyCaller() {
        std::signal(SIGPIPE, previousPipeHandler_);
        ::sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
        ::close(file_);
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }
    MessyCaller(const MessyCaller&) = delete;
    MessyCaller& operator=(const MessyCaller&) = delete;

  private:
    int file_ = -1;
    int pipe_[2] = {-1, -1};
    sigset_t previousMask_{};
    void (*previousPipeHandler_)(int) = nullptr;
};

TEST(ProcessStarter, TheProgramStartsCleanInASessionOfItsOwn) {
    const ProbeOutput output;
    std::optional<testing::ProbeReport> report;
    ChildReaper reaper;
    {
        const MessyCaller messy;
        ASSERT_GT(testing::openDescriptors().size(), 5u);
        const Status started = startDetached(std::vector<std::string>{probeProgram}, reaper);
        ASSERT_TRUE(started.ok()) << started.error().message;
        report = output.wait();
    }
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->descriptors, (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(report->sessionLeader);
    EXPECT_EQ(report->parent, ::getpid()); // our own child, which we reap
    EXPECT_EQ(report->blockedSignals, "0000000000000000");
    // Signals 32 and 33 belong to the C library, which sets them up afresh in every program it
    // starts; whatever the caller's caller left on them says nothing about the starter.
    constexpr std::uint64_t libraryOwned = (1ull << 31) | (1ull << 32);
    EXPECT_EQ(std::stoull(report->ignoredSignals, nullptr, 16) & ~libraryOwned, 0u)
        << report->ignoredSignals;
}

TEST(ProcessStarter, AProgramThatCannotRunIsAnErrorNamingItAndTheReason) {
    const testing::ScratchDirectory scratch;
    testing::writeFile(scratch.file("not-executable"), "#!/bin/sh\n", 0644);
    testing::writeFile(scratch.file("bad-interpreter"), "#!/nonexistent/shell\n", 0755);
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/nonexistent/zanthera-missing", "No such file or directory"},
        {scratch.file("not-executable"), "Permission denied"},
        {scratch.file("bad-interpreter"), "No such file or directory"},
        {scratch.path().string(), "Permission denied"},
    };
    const std::set<int> before = testing::openDescriptors();
    ChildReaper reaper;
    for (const auto& [program, reason] : cases) {
        SCOPED_TRACE(program);
        const Status started = startDetached(std::vector<std::string>{program, "argument"}, reaper);
        ASSERT_FALSE(started.ok());
        EXPECT_NE(started.error().message.find(program), std::string::npos);
        EXPECT_NE(started.error().message.find(reason), std::string::npos)
            << started.error().message;
    }
    EXPECT_TRUE(hasNoChildren());
    EXPECT_EQ(testing::openDescriptors(), before);
}

TEST(ProcessStarter, OnlyAnAbsoluteProgramPathIsStarted) {
    const std::vector<std::vector<std::string>> cases{{}, {""}, {"true"}, {"bin/true"}};
    ChildReaper reaper;
    for (const std::vector<std::string>& argv : cases) {
        const Status started = startDetached(argv, reaper);
        ASSERT_FALSE(started.ok());
        EXPECT_FALSE(started.error().message.empty());
    }
}

} // namespace
} // namespace zanthera::posix
