// The launcher: each applet button starts its own command line, exactly once per click, with a
// normal focused window, and never touches the window's texts.
#include "Form1/ControlTable.h"
#include "actions/AppletCommands.h"
#include "actions/Handlers.h"
#include "app/EventTable.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zanthera {
namespace {

using testing::FakeServices;
using testing::FakeWindow;

constexpr std::string_view controlRun = "rundll32.exe shell32.dll,Control_RunDLL";

struct ExpectedLine {
    std::string_view button;
    std::string_view applet; // what follows "Control_RunDLL", space included
};

// The applet part of each line, as the shell has always been given it.
constexpr ExpectedLine appletLines[] = {
    {"Cmm1", " mmsys.cpl"},        {"Cmm11", " access.cpl"},
    {"Cmm12", " inetcpl.cpl"},     {"Cmm8", ""},
    {"Cmm9", " main.cpl @1"},      {"Command7", " main.cpl @0"},
    {"Command3", " timedate.cpl"}, {"Command5", " desk.cpl,,0"},
    {"Command6", " appwiz.cpl"},   {"Command15", " joy.cpl"},
    {"Command16", " intl.cpl"},    {"Command17", " sysdm.cpl"},
};

TEST(AppletCommands, EveryAppletLineIsControlRunDllWithItsApplet) {
    for (const auto& expected : appletLines) {
        SCOPED_TRACE(expected.button);
        const auto row = std::find_if(appletCommands.begin(), appletCommands.end(),
                                      [&](auto& r) { return r.button == expected.button; });
        ASSERT_NE(row, appletCommands.end());
        EXPECT_EQ(row->commandLine, std::string(controlRun) + std::string(expected.applet));
    }
}

TEST(AppletCommands, HomePageLineIsUpperCaseUpToTheAddress) {
    const auto& row = appletCommands.back();
    EXPECT_EQ(row.button, "Command10");
    EXPECT_EQ(row.commandLine,
              "RUNDLL32.EXE URL.DLL,FileProtocolHandler " + std::string(homePageAddress));
}

TEST(AppletCommands, ThirteenDistinctButtonsEachWithAClickRow) {
    std::set<std::string_view> buttons;
    for (const auto& row : appletCommands) {
        buttons.insert(row.button);
        const auto events = eventTable();
        EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](auto& e) {
            return e.control == row.button && e.event == FormEvent::Click;
        })) << row.button;
    }
    EXPECT_EQ(buttons.size(), 13u);
}

TEST(Launcher, EachClickStartsItsLineOnceWithANormalWindowAndLeavesTheWindowAlone) {
    for (const auto& row : appletCommands) {
        SCOPED_TRACE(row.button);
        FakeServices services;
        FakeWindow window;
        dispatch(services, window, row.button, FormEvent::Click);
        ASSERT_EQ(services.started.size(), 1u);
        EXPECT_EQ(services.started[0].commandLine, row.commandLine);
        EXPECT_EQ(services.started[0].windowStyle, 1);
        EXPECT_TRUE(window.writes.empty());
        EXPECT_TRUE(services.boxes.empty());
    }
}

TEST(Launcher, TwoClicksStartTheLineTwice) {
    FakeServices services;
    FakeWindow window;
    dispatch(services, window, "Cmm9", FormEvent::Click);
    dispatch(services, window, "Cmm9", FormEvent::Click);
    ASSERT_EQ(services.started.size(), 2u);
    EXPECT_EQ(services.started[0].commandLine, services.started[1].commandLine);
}

TEST(Launcher, AFailedStartIsShownToTheUserAndTheProgramGoesOn) {
    FakeServices services;
    FakeWindow window;
    services.startAnswer = Error{"No program for the sound settings is installed."};
    dispatch(services, window, "Cmm1", FormEvent::Click);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].prompt,
              "تعذر فتح الصفحة المطلوبة.\nNo program for the sound settings is installed.");
    EXPECT_EQ(services.boxes[0].buttons, criticalOk);
    EXPECT_TRUE(window.writes.empty());

    services.startAnswer = success();
    dispatch(services, window, "Cmm1", FormEvent::Click);
    EXPECT_EQ(services.started.size(), 2u);
    EXPECT_EQ(services.boxes.size(), 1u);
}

TEST(EventTable, EventsWithoutARowAreIgnored) {
    FakeServices services;
    FakeWindow window;
    for (std::string_view control : {"Label1", "Label9", "Text1", "Form1", "Timer1", "Nothing"})
        dispatch(services, window, control, FormEvent::Click);
    dispatch(services, window, "Cmm1", FormEvent::Timer);
    EXPECT_TRUE(services.started.empty());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(window.writes.empty());
    EXPECT_EQ(services.endCalls, 0);
}

// A tick that fails every second is reported once; a failing click is reported every time.
TEST(EventDispatcher, ReportsAFailingTickOnceAndEveryFailingClick) {
    FakeServices services;
    services.serialError = "none";
    FakeWindow window;
    window.missingLabel = "Label2";
    EventDispatcher dispatcher(services, window);
    for (int second = 0; second < 5; ++second)
        dispatcher("Timer1", FormEvent::Timer);
    EXPECT_EQ(window.value("Label1"), "16:40:5"); // the tick still does what it can
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].prompt, "no label Label2");
    dispatcher("Command2", FormEvent::Click);
    dispatcher("Command2", FormEvent::Click);
    EXPECT_EQ(services.boxes.size(), 3u);
}

TEST(EventTable, EveryWrittenControlMustExistWithItsKind) {
    EXPECT_TRUE(checkWrittenControls(design::designedWindow()));
    // A control of kind Window stands for one missing from the window.
    const std::pair<const char*, ControlKind> faults[] = {{"Label2", ControlKind::Window},
                                                          {"Text1", ControlKind::Label},
                                                          {"Timer1", ControlKind::Button},
                                                          {"Label10", ControlKind::TextBox}};
    for (const auto& [name, kind] : faults) {
        WindowModel model = design::designedWindow();
        auto& control = *std::ranges::find(model.controls, name, &ControlModel::name);
        control.kind = kind;
        if (kind == ControlKind::Window)
            control.name = "Missing";
        const Status checked = checkWrittenControls(model);
        ASSERT_FALSE(checked) << name;
        EXPECT_NE(checked.error().message.find(name), std::string::npos);
    }
}

TEST(EventTable, TwentyOneHandlersEachNamedAfterItsControlAndEvent) {
    const auto rows = eventTable();
    EXPECT_EQ(rows.size(), 21u);
    for (const auto& row : rows) {
        const std::string expected =
            row.event == FormEvent::Load
                ? "Form_Load"
                : std::string(row.control) + (row.event == FormEvent::Click ? "_Click" : "_Timer");
        EXPECT_EQ(row.name, expected);
    }
}

} // namespace
} // namespace zanthera
