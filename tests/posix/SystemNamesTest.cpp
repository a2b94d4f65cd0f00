#include "platform/posix/SystemNames.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

namespace zanthera::posix {
namespace {

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
