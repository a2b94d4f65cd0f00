// The engines' shared contract, through each toolkit's probe, on the program's own window written
// through the checked window; every expected pixel comes from the rule below, never an engine's.
#include "EngineContract.h"

#include "Form1/ControlTable.h"
#include "Form1/StoredDefinition.h"
#include "app/CheckedWindow.h"
#include "app/WindowSource.h"

#include <gtest/gtest.h>

namespace zanthera::contract {
namespace {

using namespace std::chrono_literals;

// Twips to pixels at `dpi`, halves up: 15 twips a pixel at 96 DPI, 12 at 120, 10 at 144, 7.5 at
// 192.
int px(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

struct Built {
    explicit Built(int dpi = 96) : probe(makeProbe(dpi)), window(probe->engine()) {
        EXPECT_TRUE(window.create(loadWindow(storedDefinition()).value()));
        probe->engine().setEventSink([this](std::string_view control, FormEvent event) {
            events.emplace_back(std::string(control), event);
        });
        probe->settle();
    }

    std::unique_ptr<EngineProbe> probe;
    CheckedWindow window;
    std::vector<std::pair<std::string, FormEvent>> events;
};

class EngineLayout : public ::testing::TestWithParam<int> {};

TEST_P(EngineLayout, EveryControlStandsAtItsPixelPlace) {
    const int dpi = GetParam();
    Built b(dpi);
    for (const auto& row : design::controls) {
        const Extents& e = row.extents;
        if (row.role == design::Role::Timer)
            continue;
        EXPECT_EQ(b.probe->place(row.name),
                  (PixelRect{px(e.left, dpi), px(e.top, dpi), px(e.width, dpi), px(e.height, dpi)}))
            << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(AtEveryScale, EngineLayout, ::testing::Values(96, 120, 144, 192));

// A fixed frame with only a close box; the focus on Cmm1, Tab walking the designed order past the
// labels; each button named by its lettering, each value label read with its caption.
TEST(EngineStart, AFixedFrameTheFocusWalkingTheDesignedOrderAndNamesForScreenReaders) {
    Built b;
    EXPECT_EQ(b.probe->frame(), (FrameSeen{true, false, false, false}));
    const std::vector<std::string> expected{
        "Cmm1",     "Command3", "Command5",  "Command6", "Command7",  "Cmm8",      "Cmm9",
        "Cmm11",    "Cmm12",    "Command13", "Text1",    "Command15", "Command16", "Command17",
        "Command4", "Command1", "Command2",  "Command8", "Command9",  "Command10", "Cmm1"};
    EXPECT_EQ(b.probe->focusWalk(expected.size() - 1), expected);
    for (const auto& row : design::controls) {
        if (row.role == design::Role::Button) {
            EXPECT_EQ(b.probe->accessibleName(row.name), row.lettering) << row.name;
        }
    }
    const char* values[] = {"Label1", "Label2", "Label6", "Label5", "Label10"};
    const char* captions[] = {"Label3", "Label4", "Label8", "Label7", "Label9"};
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(b.probe->readWith(values[i]), captions[i]) << values[i];
}

// Where the platform's accessibility runtime keeps names given to controls (not Wine's).
TEST(EngineStart, TheResultBoxIsNamedForScreenReaders) {
    Built b;
    const auto box = b.probe->accessibleName("Text1");
    if (!box)
        GTEST_SKIP() << "this platform's accessibility runtime keeps no names given to controls";
    EXPECT_EQ(*box, "النتيجة");
}

TEST(EngineWrites, AWriteReachesOnlyAControlOfItsKind) {
    Built b;
    CheckedWindow& w = b.window;
    EXPECT_EQ(b.probe->shownText("Label3"), "الوقت");
    ASSERT_TRUE(w.setCaption("Label6", "الأحد"));
    ASSERT_TRUE(w.setText("Text1", std::string("اسم\0   ", 10))); // shown up to the NUL

    const std::pair<Status, const char*> refused[] = {
        {w.setCaption("Cmm1", "x"), "The window has no label named Cmm1."},
        {w.setCaption("Text1", "x"), "The window has no label named Text1."},
        {w.setCaption("Label99", "x"), "The window has no label named Label99."},
        {w.setText("Label6", "x"), "The window has no text box named Label6."},
        {w.setInterval("Text1", 5), "The window has no timer named Text1."},
        {w.setInterval("Label6", 1000), "The window has no timer named Label6."},
        {w.setInterval("Timer1", -1), "A timer's interval cannot be negative."},
        {w.create(loadWindow(storedDefinition()).value()), "The window has already been created."},
    };
    for (const auto& [status, message] : refused) {
        ASSERT_FALSE(status) << message;
        EXPECT_EQ(status.error().message, message);
    }
    EXPECT_EQ(b.probe->shownText("Label6"), "الأحد");
    EXPECT_EQ(b.probe->shownText("Text1"), "اسم");
}

TEST(EngineEvents, ButtonClicksReachTheSinkAndNoOtherClickDoes) {
    Built b;
    for (const char* clicked : {"Cmm1", "Label6", "Text1", "Command9"})
        b.probe->click(clicked);
    const std::vector<std::pair<std::string, FormEvent>> clicks{{"Cmm1", FormEvent::Click},
                                                                {"Command9", FormEvent::Click}};
    EXPECT_EQ(b.events, clicks);
}

// Whole seconds tick just after the wall clock's second turns (a clock shows each second once).
TEST(EngineEvents, AWholeSecondTimerTicksJustAfterTheSecondTurnsUntilItsIntervalIsZero) {
    Built b;
    std::vector<long long> into; // milliseconds into the second at each tick
    b.probe->engine().setEventSink([&](std::string_view, FormEvent) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        into.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 1000);
    });
    ASSERT_TRUE(b.window.setInterval("Timer1", 1000));
    ASSERT_TRUE(b.probe->runUntil([&] { return into.size() >= 2; }, 5s));
    for (long long ms : into) {
        EXPECT_GE(ms, 20);
        EXPECT_LT(ms, 300);
    }
    ASSERT_TRUE(b.window.setInterval("Timer1", 20)); // any other pace is kept as it is
    ASSERT_TRUE(b.probe->runUntil([&] { return into.size() > 2; }, 1s));
    ASSERT_TRUE(b.window.setInterval("Timer1", 0));
    into.clear();
    EXPECT_FALSE(b.probe->runUntil([&] { return !into.empty(); }, 200ms));
}

} // namespace
} // namespace zanthera::contract
