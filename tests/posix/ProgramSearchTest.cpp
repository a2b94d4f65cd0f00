#include "platform/posix/ProgramSearch.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace zanthera::posix {
namespace {

using testing::ScratchDirectory;

struct SearchCase {
    std::string_view name;
    std::string program;
    std::string searchPath;
    std::optional<std::string> found;
};

TEST(ProgramSearch, FindsTheFirstExecutableRegularFileOnThePath) {
    const ScratchDirectory scratch;
    const std::string a = scratch.file("a");
    const std::string b = scratch.file("b");
    std::filesystem::create_directories(a + "/folder");
    std::filesystem::create_directories(b);
    testing::writeScript(a + "/tool", "true");
    testing::writeScript(b + "/tool", "true");
    testing::writeFile(a + "/plain", "not a program", 0644);
    testing::writeScript(b + "/plain", "true");
    testing::writeScript(b + "/folder", "true");
    std::filesystem::create_symlink(b + "/tool", a + "/linked");

    const std::vector<SearchCase> cases{
        {"first directory wins", "tool", a + ":" + b, a + "/tool"},
        {"order of the path", "tool", b + ":" + a, b + "/tool"},
        {"skips a file that cannot run", "plain", a + ":" + b, b + "/plain"},
        {"skips a directory", "folder", a + ":" + b, b + "/folder"},
        {"follows a link", "linked", a, a + "/linked"},
        {"trailing slash and empty entries", "tool", "::" + a + "/:", a + "/tool"},
        {"not installed", "missing", a + ":" + b, std::nullopt},
        {"empty path", "tool", "", std::nullopt},
        {"empty name", "", a, std::nullopt},
        {"absolute path", a + "/tool", "", a + "/tool"},
        {"absolute path that cannot run", a + "/plain", a, std::nullopt},
        {"relative path with a slash", "a/tool", scratch.path().string(), std::nullopt},
    };
    for (const SearchCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(findInPath(test.program, test.searchPath), test.found);
    }
}

TEST(ProgramSearch, IgnoresDirectoriesRelativeToTheCurrentOne) {
    const ScratchDirectory scratch;
    std::filesystem::create_directories(scratch.file("a"));
    testing::writeScript(scratch.file("a/tool"), "true");
    testing::writeScript(scratch.file("tool"), "true");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    const std::optional<std::string> found = findInPath("tool", "a:.:");
    std::filesystem::current_path(previous);
    EXPECT_EQ(found, std::nullopt);
}

TEST(ProgramSearch, FindsTheShellOnTheProcessPath) {
    const std::optional<std::string> shell = findInProcessPath("sh");
    ASSERT_TRUE(shell.has_value());
    EXPECT_EQ(shell->front(), '/');
    EXPECT_FALSE(findInProcessPath("zanthera-no-such-program").has_value());
}

} // namespace
} // namespace zanthera::posix
