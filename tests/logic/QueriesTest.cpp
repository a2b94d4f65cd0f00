// The information buttons, against a scripted platform: what each writes into Text1, and that a
// failure writes nothing.
#include "actions/Handlers.h"
#include "app/EventTable.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWindow.h"

#include <gtest/gtest.h>

namespace zanthera {
namespace {

using testing::FakeServices;
using testing::FakeWindow;

struct ScreenCase {
    float twipsPerPixel;
    float width;
    float height;
    const char* expected; // null: Text1 keeps what it held
};

TEST(ResolutionButton, WritesOnlyTheThreeKnownSizesJudgedAtFifteenTwipsPerPixel) {
    const ScreenCase cases[] = {
        {15, 640, 480, "640 * 480"}, {15, 800, 600, "800 * 600"}, {15, 1024, 768, "1024 * 768"},
        {12, 800, 600, "640 * 480"}, {12, 1024, 768, nullptr},    {15, 1280, 1024, nullptr},
        {15, 1024, 600, nullptr},    {15, 800, 768, nullptr},     {20, 1024, 768, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " @" << c.twipsPerPixel);
        FakeServices services;
        services.screen = {c.width * c.twipsPerPixel, c.height * c.twipsPerPixel};
        FakeWindow window;
        window.values["Text1"] = "earlier";
        ASSERT_TRUE(Command1_Click(services, window));
        EXPECT_EQ(window.value("Text1"), c.expected ? c.expected : "earlier");
        EXPECT_LE(window.writes.size(), 1u);
    }
}

TEST(ResolutionButton, HeightRoundsHalfToEvenWidthMustBeExact) {
    FakeServices services;
    FakeWindow window;
    // 480.5 px tall rounds to 480 (even); 600.5 would round to 600 as well.
    services.screen = {640 * 15.0f, 480.5f * 15.0f};
    ASSERT_TRUE(Command1_Click(services, window));
    EXPECT_EQ(window.value("Text1"), "640 * 480");
    // 479.5 rounds to 480 too, but 481.5 rounds to 482.
    services.screen = {800 * 15.0f, 599.5f * 15.0f};
    ASSERT_TRUE(Command1_Click(services, window));
    EXPECT_EQ(window.value("Text1"), "800 * 600");
    window.values.clear();
    services.screen = {1024 * 15.0f, 767.5f * 15.0f}; // rounds to 768
    ASSERT_TRUE(Command1_Click(services, window));
    EXPECT_EQ(window.value("Text1"), "1024 * 768");
    window.values.clear();
    services.screen = {640.5f * 15.0f, 480 * 15.0f}; // a fractional width never matches
    ASSERT_TRUE(Command1_Click(services, window));
    EXPECT_EQ(window.value("Text1"), "");
}

TEST(ComputerNameButton, ShowsTheWholeNameWhateverItsLength) {
    for (std::string name : {std::string("DESKTOP-7Q4K2LM"), std::string(31, 'a'),
                             std::string(32, 'b'), std::string(64, 'c')}) {
        SCOPED_TRACE(name.size());
        FakeServices services;
        services.hostName = name;
        FakeWindow window;
        ASSERT_TRUE(Command13_Click(services, window));
        EXPECT_EQ(window.value("Text1"), name);
        EXPECT_EQ(services.nameBufferSizes.front(), 32u);
    }
}

TEST(UserNameButton, GivesTheBufferWhoseTextEndsAtTheNul) {
    FakeServices services;
    services.loginName = "مستخدم";
    FakeWindow window;
    ASSERT_TRUE(Command4_Click(services, window));
    const std::string written = window.value("Text1");
    EXPECT_EQ(written.size(), 144u);
    EXPECT_EQ(written.substr(0, written.find('\0')), "مستخدم");
    EXPECT_EQ(written.find_first_not_of(' ', written.find('\0') + 1), std::string::npos);
}

TEST(UserNameButton, ALongerNameThanTheBufferStillComesThroughWhole) {
    FakeServices services;
    services.loginName = std::string(200, 'u');
    FakeWindow window;
    ASSERT_TRUE(Command4_Click(services, window));
    const std::string written = window.value("Text1");
    EXPECT_EQ(written.substr(0, written.find('\0')), services.loginName);
}

TEST(ComputerThenUserName, LeavesOnlyTheUserNameInTheBox) {
    FakeServices services;
    services.hostName = "HOST-WITH-A-VERY-LONG-NAME";
    services.loginName = "ali";
    FakeWindow window;
    dispatch(services, window, "Command13", FormEvent::Click);
    dispatch(services, window, "Command4", FormEvent::Click);
    ASSERT_EQ(window.writes.size(), 2u);
    const std::string last = window.value("Text1");
    EXPECT_EQ(last.substr(0, last.find('\0')), "ali");
}

TEST(SerialButton, WritesTheSignedDecimalSerial) {
    const std::pair<std::int32_t, const char*> cases[] = {{0, "0"},
                                                          {305419896, "305419896"},
                                                          {-1, "-1"},
                                                          {std::int32_t(0x9A3C1F07), "-1707335929"},
                                                          {INT32_MIN, "-2147483648"}};
    for (const auto& [serial, text] : cases) {
        FakeServices services;
        services.serial = serial;
        FakeWindow window;
        ASSERT_TRUE(Command2_Click(services, window));
        EXPECT_EQ(window.value("Text1"), text);
    }
}

TEST(SerialButton, AFailingQueryLeavesTheBoxUntouchedAndTellsTheUser) {
    FakeServices services;
    services.serialError = "The system volume's serial number cannot be read.";
    FakeWindow window;
    window.values["Text1"] = "800 * 600";
    dispatch(services, window, "Command2", FormEvent::Click);
    EXPECT_TRUE(window.writes.empty());
    EXPECT_EQ(window.value("Text1"), "800 * 600");
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].prompt, "The system volume's serial number cannot be read.");
}

TEST(AboutAndExit, AboutShowsOneOkBoxWithItsTitleAndPromptExitEndsAtOnce) {
    FakeServices services;
    FakeWindow window;
    dispatch(services, window, "Command9", FormEvent::Click);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].title, "Zanthera ver 0,1");
    EXPECT_EQ(services.boxes[0].prompt, aboutPrompt);
    EXPECT_EQ(services.boxes[0].buttons, okOnly);
    EXPECT_EQ(services.endCalls, 0);
    dispatch(services, window, "Command8", FormEvent::Click);
    EXPECT_EQ(services.endCalls, 1);
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(window.writes.empty());
}

} // namespace
} // namespace zanthera
