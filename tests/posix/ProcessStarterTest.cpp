#include "platform/posix/ProcessStarter.h"

#include "ProbeReport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zanthera::posix {
namespace {

using testing::ProbeOutput;
using testing::probeProgram;

bool hasNoChildren() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(ProcessStarter, ManyStartsLeaveNoZombieAndNoDescriptorBehind) {
    const std::set<int> before = testing::openDescriptors();
    const std::vector<std::string> argv{"/bin/true"};
    for (int i = 0; i < 500; ++i) {
        const Status started = startDetached(argv);
        ASSERT_TRUE(started.ok()) << "start " << i << ": " << started.error().message;
    }
    EXPECT_EQ(testing::zombieChildren(), std::set<int>{});
    EXPECT_TRUE(hasNoChildren());
    EXPECT_EQ(testing::openDescriptors(), before);
}

TEST(ProcessStarter, TheProgramReceivesExactlyTheArgumentsGiven) {
    const std::vector<std::vector<std::string>> argumentLists{
        {},
        {"sound"},
        {"system", "datetime"},
        {"two words", "", "$HOME", "; touch /tmp/zanthera-shell-ran", "'single'", "\"double\"", "*",
         "\xd9\x86\xd8\xb8\xd8\xa7\xd9\x85", "--mode=installed", "a\\b"},
    };
    for (const std::vector<std::string>& arguments : argumentLists) {
        const ProbeOutput output;
        std::vector<std::string> argv{probeProgram};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const Status started = startDetached(argv);
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
    {
        const MessyCaller messy;
        ASSERT_GT(testing::openDescriptors().size(), 5u);
        const Status started = startDetached(std::vector<std::string>{probeProgram});
        ASSERT_TRUE(started.ok()) << started.error().message;
        report = output.wait();
    }
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->descriptors, (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(report->sessionLeader);
    EXPECT_NE(report->parent, ::getpid());
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
    for (const auto& [program, reason] : cases) {
        SCOPED_TRACE(program);
        const Status started = startDetached(std::vector<std::string>{program, "argument"});
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
    for (const std::vector<std::string>& argv : cases) {
        const Status started = startDetached(argv);
        ASSERT_FALSE(started.ok());
        EXPECT_FALSE(started.error().message.empty());
    }
}

} // namespace
} // namespace zanthera::posix
