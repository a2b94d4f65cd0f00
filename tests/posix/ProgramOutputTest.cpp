#include "platform/posix/ProgramOutput.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ProgramSearch.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace zanthera::posix {
namespace {

using namespace std::chrono_literals;
using testing::ScratchDirectory;

// Generous: these programs end at once, and the limit only guards against a hang.
constexpr std::chrono::milliseconds ample = 10s;

struct OutputCase {
    std::string_view name;
    std::string script;
    std::size_t maxBytes;
    std::string expected;
};

TEST(ProgramOutput, ReturnsWhatTheProgramWritesToItsStandardOutput) {
    const std::vector<OutputCase> cases{
        {"two lines", "printf 'line one\\nline two\\n'", 4096, "line one\nline two\n"},
        {"error output is not kept", "echo out; echo err >&2", 4096, "out\n"},
        {"input is empty", "cat; echo done", 4096, "done\n"},
        {"nothing", "true", 4096, ""},
        {"a long output is cut, not blocked on", "head -c 300000 /dev/zero | tr '\\0' a", 100,
         std::string(100, 'a')},
    };
    for (const OutputCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        testing::writeScript(scratch.file("program"), test.script);
        const std::vector<std::string> argv{scratch.file("program")};
        const Result<std::string> output = readProgramOutput(argv, ample, test.maxBytes);
        ASSERT_TRUE(output.ok()) << output.error().message;
        EXPECT_EQ(output.value(), test.expected);
    }
}

TEST(ProgramOutput, FailuresAreErrorsNamingTheProgram) {
    const ScratchDirectory scratch;
    testing::writeScript(scratch.file("fails"), "echo partial; exit 3");
    testing::writeScript(scratch.file("killed"), "kill -9 $$");
    const std::vector<std::pair<std::string, std::string>> cases{
        {scratch.file("fails"), "failed"},
        {scratch.file("killed"), "failed"},
        {scratch.file("missing"), "No such file or directory"},
    };
    for (const auto& [program, reason] : cases) {
        SCOPED_TRACE(program);
        const Result<std::string> output = readProgramOutput(std::vector{program}, ample);
        ASSERT_FALSE(output.ok());
        EXPECT_NE(output.error().message.find(program), std::string::npos);
        EXPECT_NE(output.error().message.find(reason), std::string::npos) << output.error().message;
    }
    EXPECT_FALSE(readProgramOutput(std::vector<std::string>{"sh"}, ample).ok());
}

TEST(ProgramOutput, AProgramPastItsTimeIsKilledWithWhatItStartedAndReaped) {
    const ScratchDirectory scratch;
    const std::string pidFile = scratch.file("sleeper.pid");
    testing::writeScript(scratch.file("hangs"),
                         "sleep 600 & echo $! > '" + pidFile + "'; echo started; wait");
    const std::set<int> before = testing::openDescriptors();
    const Result<std::string> output = readProgramOutput(std::vector{scratch.file("hangs")}, 3s);
    ASSERT_FALSE(output.ok());
    EXPECT_NE(output.error().message.find("did not finish"), std::string::npos);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(testing::openDescriptors(), before);
    // The sleeper is the program's own child; the kill of the process group must reach it.
    const std::optional<std::string> sleeper = testing::readFile(pidFile);
    ASSERT_TRUE(sleeper.has_value()) << "the program never started its child";
    EXPECT_TRUE(testing::waitUntilDead(std::stoi(*sleeper)));
}

struct VersionCase {
    std::string_view name;
    std::optional<std::string> script; // Nothing: the program is not installed.
    std::optional<int> version;
    std::chrono::milliseconds timeout = ample;
    std::string versionFile{}; // gnome-version.xml's text; empty: there is none
};

TEST(ProgramOutput, TheGnomeVersionComesFromTheVersionFileOrTheInstalledProgram) {
    const std::vector<VersionCase> cases{
        {"GNOME 46", "echo 'gnome-control-center 46.2'", 46},
        {"GNOME 43", "echo 'gnome-control-center 43.9'", 43},
        {"asks with --version", "[ \"$1\" = --version ] && echo 'gnome-control-center 47.0'", 47},
        {"fails", "echo 'gnome-control-center 46.2'; exit 1", std::nullopt},
        {"says nothing useful", "echo 'Segmentation fault'", std::nullopt},
        {"hangs", "exec sleep 600", std::nullopt, 300ms},
        {"not installed", std::nullopt, std::nullopt},
        {"the file, not the program", "exit 1", 45, ample,
         "<gnome-version>\n  <platform>45</platform>\n  <minor>2</minor>\n</gnome-version>\n"},
        {"GNOME 3 in the file", std::nullopt, 3, ample, "<platform>3</platform><minor>38</minor>"},
        {"a file that names none", "echo 'gnome-control-center 44.1'", 44, ample, "<gnome/>"},
    };
    for (const VersionCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        if (test.script) {
            testing::writeScript(scratch.file("gnome-control-center"), *test.script);
        }
        if (!test.versionFile.empty()) {
            testing::writeFile(scratch.file("gnome-version.xml"), test.versionFile);
        }
        const std::string directory = scratch.path().string();
        const ProgramLookup lookup = [&](std::string_view program) {
            return findInPath(program, directory);
        };
        EXPECT_EQ(probeGnomeVersion(scratch.file("gnome-version.xml"), lookup, test.timeout),
                  test.version);
    }
    EXPECT_EQ(testing::zombieChildren(), std::set<int>{});
}

TEST(ProgramOutput, TheBackgroundGnomeProbeNeverMakesTheCallerWait) {
    const ScratchDirectory scratch;
    testing::writeScript(scratch.file("gnome-control-center"),
                         "read line < '" + scratch.file("go") +
                             "'; echo 'gnome-control-center 44.1'");
    ::mkfifo(scratch.file("go").c_str(), 0600);
    const std::string directory = scratch.path().string();
    const GnomeVersionProbe probe = gnomeVersionInBackground(
        scratch.file("none.xml"),
        [directory](std::string_view program) { return findInPath(program, directory); }, ample);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(probe(), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s) << "the caller was made to wait";
    testing::writeFile(scratch.file("go"), "go\n");
    std::optional<int> version;
    for (int i = 0; i < 1000 && !version; ++i) {
        std::this_thread::sleep_for(10ms);
        version = probe();
    }
    EXPECT_EQ(version, 44);
}

} // namespace
} // namespace zanthera::posix
