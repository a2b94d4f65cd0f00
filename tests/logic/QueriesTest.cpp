// The information buttons, against a scripted platform: what each writes into Text1, and that a
// failure writes nothing.
#include "Form1/WindowPlacement.h"
#include "actions/Handlers.h"
#include "app/EventTable.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWindow.h"

#include <gtest/gtest.h>

namespace zanthera {
namespace {

using testing::FakeServices;
using testing::FakeWindow;

// Both forms engines open the window through this rule: the designed place where the whole
// window fits, moved only as far as needed, and top-left on the free area where it cannot fit.
TEST(WindowPlacement, KeepsTheDesignedPlaceWhereItFitsAndMovesOnlyAsFarAsNeeded) {
    struct Case {
        ScreenRect available;
        ScreenRect expected;
    } cases[] = {
        {{0, 0, 1024, 768}, {318, 139, 431, 537}},   // fits where designed
        {{0, 0, 640, 480}, {209, 0, 431, 537}},      // too tall: against the top, pulled left
        {{0, 0, 800, 560}, {318, 23, 431, 537}},     // pushed up just enough
        {{400, 0, 1024, 768}, {400, 139, 431, 537}}, // a task bar on the left
        {{-1280, 0, 1280, 1024}, {-431, 139, 431, 537}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeOnScreen({318, 139, 431, 537}, c.available), c.expected)
            << c.available.left << "," << c.available.top << " " << c.available.width;
}

TEST(ResolutionButton, WritesTheRealSizeInPixelsForEverySize) {
    const std::pair<ScreenPixels, const char*> cases[] = {
        {{640, 480}, "640 * 480"},     {{800, 600}, "800 * 600"},     {{1366, 768}, "1366 * 768"},
        {{1920, 1080}, "1920 * 1080"}, {{2560, 1440}, "2560 * 1440"}, {{0, 0}, nullptr},
    };
    for (const auto& [screen, text] : cases) {
        SCOPED_TRACE(screen.width);
        FakeServices services;
        services.screen = screen;
        FakeWindow window;
        window.values["Text1"] = "earlier";
        dispatch(services, window, "Command1", FormEvent::Click);
        EXPECT_EQ(window.value("Text1"), text ? text : "earlier");
        EXPECT_EQ(services.boxes.size(), text ? 0u : 1u);
    }
}

// A name is shown whole; a fact that cannot be read is a message saying what, in Arabic, and
// why, and the box keeps the answer it held.
TEST(InformationButtons, ShowTheWholeAnswerOrSayWhatCouldNotBeReadAndWhy) {
    const Error why{"the system's reason"};
    const struct {
        const char* button;
        Result<std::string> host, login;
        const char* serialError;
        const char* shown;
        const char* headline; // null: no message
    } cases[] = {
        {"Command13", std::string(40, 'c'), why, "", "cccccccccccccccccccccccccccccccccccccccc",
         nullptr},
        {"Command4", why, std::string("مستخدم"), "", "مستخدم", nullptr},
        {"Command13", why, std::string("u"), "", "earlier", "تعذرت قراءة اسم الكمبيوتر."},
        {"Command4", std::string("h"), why, "", "earlier", "تعذرت قراءة اسم المستخدم."},
        {"Command2", why, why, "the system's reason", "earlier",
         "تعذرت قراءة الرقم التسلسلي لقرص النظام."},
    };
    for (const auto& c : cases) {
        FakeServices services;
        services.hostName = c.host;
        services.loginName = c.login;
        services.serialError = c.serialError;
        FakeWindow window;
        window.values["Text1"] = "earlier";
        dispatch(services, window, c.button, FormEvent::Click);
        EXPECT_EQ(window.value("Text1"), c.shown) << c.button;
        const std::string box = c.headline ? std::string(c.headline) + "\n" + why.message : "";
        EXPECT_EQ(services.boxes.empty() ? "" : services.boxes.back().prompt, box) << c.button;
        EXPECT_LE(services.boxes.size(), 1u);
    }
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
