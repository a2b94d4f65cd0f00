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

TEST(ResolutionButton, WritesTheRealSizeInPixelsOrReportsAnUnknownScreen) {
    const std::pair<ScreenPixels, const char*> cases[] = {
        {{640, 480}, "640 * 480"}, {{1366, 768}, "1366 * 768"}, {{2560, 1440}, "2560 * 1440"},
        {{0, 768}, nullptr},       {{1024, -1}, nullptr},
    };
    for (const auto& [screen, expected] : cases) {
        SCOPED_TRACE(::testing::Message() << screen.width << "x" << screen.height);
        FakeServices services;
        services.screen = screen;
        FakeWindow window;
        window.values["Text1"] = "earlier";
        dispatch(services, window, "Command1", FormEvent::Click);
        EXPECT_EQ(window.value("Text1"), expected ? expected : "earlier");
        EXPECT_EQ(services.boxes.size(), expected ? 0u : 1u);
    }
}

// Each name button shows the whole name, or a message and the box as it was.
TEST(NameButtons, ShowTheWholeNameOrReportWhyItCouldNotBeRead) {
    struct Case {
        const char* button;
        Result<std::string> FakeServices::*answer;
    };
    const Case buttons[] = {{"Command13", &FakeServices::hostName},
                            {"Command4", &FakeServices::loginName}};
    const Result<std::string> answers[] = {std::string("مستخدم"), std::string(200, 'u'),
                                           Error{"تعذّرت قراءة الاسم: no such account"}};
    for (const auto& button : buttons) {
        for (const auto& answer : answers) {
            SCOPED_TRACE(button.button);
            FakeServices services;
            services.*button.answer = answer;
            FakeWindow window;
            window.values["Text1"] = "earlier";
            dispatch(services, window, button.button, FormEvent::Click);
            EXPECT_EQ(window.value("Text1"), answer ? *answer : "earlier");
            ASSERT_EQ(services.boxes.size(), answer ? 0u : 1u);
            if (!answer)
                EXPECT_EQ(services.boxes[0].prompt, answer.error().message);
        }
    }
}

TEST(ComputerThenUserName, LeavesOnlyTheUserNameInTheBox) {
    FakeServices services;
    services.hostName = std::string("HOST-WITH-A-VERY-LONG-NAME");
    services.loginName = std::string("ali");
    FakeWindow window;
    dispatch(services, window, "Command13", FormEvent::Click);
    dispatch(services, window, "Command4", FormEvent::Click);
    ASSERT_EQ(window.writes.size(), 2u);
    EXPECT_EQ(window.value("Text1"), "ali");
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
