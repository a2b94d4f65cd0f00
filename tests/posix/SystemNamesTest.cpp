#include "platform/posix/SystemNames.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

namespace zanthera::posix {
namespace {

using namespace std::string_literals;

struct BufferCase {
    std::string_view name;
    std::string text;
    std::string buffer;
    std::uint32_t count;
    bool ok;
    std::string bufferAfter;
    std::uint32_t countAfter;
};

TEST(SystemNames, FollowTheBufferRulesOfTheWindowsACalls) {
    const std::string arabic = "\xd8\xb3\xd8\xa7\xd8\xb1\xd8\xa9"; // Four letters, eight bytes.
    const std::vector<BufferCase> cases{
        {"room to spare", "host", "XXXXXXXX", 8, true, "host\0XXX"s, 4},
        {"exact fit", "host", "XXXXX", 5, true, "host\0"s, 4},
        {"no room for the NUL", "host", "XXXX", 4, false, "XXXX", 5},
        {"count smaller than the buffer", "host", std::string(32, 'X'), 3, false,
         std::string(32, 'X'), 5},
        {"count larger than the buffer", "host", "XXX", 100, false, "XXX", 5},
        {"empty name", "", "  ", 2, true, "\0 "s, 0},
        {"empty buffer", "", "", 0, false, "", 1},
        {"UTF-8 name", arabic, std::string(144, ' '), 144, true,
         arabic + "\0"s + std::string(135, ' '), 8},
        {"UTF-8 name one byte short", arabic, std::string(8, ' '), 8, false, std::string(8, ' '),
         9},
    };
    for (const BufferCase& test : cases) {
        SCOPED_TRACE(test.name);
        std::string buffer = test.buffer;
        std::uint32_t count = test.count;
        EXPECT_EQ(writeAnsiText(test.text, buffer, count), test.ok);
        EXPECT_EQ(buffer, test.bufferAfter);
        EXPECT_EQ(count, test.countAfter);
    }
}

TEST(SystemNames, TheHostNameIsTheKernelsNodeName) {
    utsname system{};
    ASSERT_EQ(::uname(&system), 0);
    const Result<std::string> name = hostName();
    ASSERT_TRUE(name.ok()) << name.error().message;
    EXPECT_EQ(name.value(), system.nodename);
}

TEST(SystemNames, TheAccountNameIsTheOneIdReports) {
    std::string expected = testing::shellOutput("id -un");
    ASSERT_FALSE(expected.empty());
    expected.pop_back(); // The line's end.
    const Result<std::string> name = accountName(::getuid());
    ASSERT_TRUE(name.ok()) << name.error().message;
    EXPECT_EQ(name.value(), expected);
}

TEST(SystemNames, AUserIdWithoutAccountIsAnError) {
    const uid_t unused = 2147480000;
    const Result<std::string> name = accountName(unused);
    ASSERT_FALSE(name.ok());
    EXPECT_NE(name.error().message.find(std::to_string(unused)), std::string::npos);
}

} // namespace
} // namespace zanthera::posix
