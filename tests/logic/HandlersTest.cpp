// The handlers and the event table against a scripted platform and a window that records every
// write: the launcher's lines, the information buttons' answers, the clock panel and the
// window's placement.
#include "actions/Handlers.h"
#include "Form1/ControlTable.h"
#include "Form1/StoredDefinition.h"
#include "Form1/WindowPlacement.h"
#include "actions/AppletCommands.h"
#include "app/CheckedWindow.h"
#include "app/EventTable.h"
#include "app/Startup.h"
#include "panel/Panel.h"
#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

namespace zanthera {
namespace {

struct StartedProgram {
    std::string commandLine;
    int windowStyle;
};

struct ShownBox {
    std::string prompt;
    MessageKind kind;
};

// Every answer is set by the test, every request recorded.
class FakeServices : public PlatformServices {
  public:
    Status startAnswer = success();
    Result<std::string> hostName = std::string("DESKTOP");
    Result<std::string> loginName = std::string("user");
    std::uint64_t uptimeMs = 0;
    std::int32_t serial = 0;
    std::string serialError; // when set, the serial query fails with it
    ScreenPixels screen{1024, 768};
    CalendarDate date{2026, 12, 6};
    TimeOfDay time{16, 40, 5};
    std::optional<int> weekdayOverride;

    std::vector<StartedProgram> started;
    std::vector<ShownBox> boxes;
    int endCalls = 0;

    Status startProgram(std::string_view commandLine, int windowStyle) override {
        started.push_back({std::string(commandLine), windowStyle});
        return startAnswer;
    }
    void messageBox(std::string_view prompt, MessageKind kind, std::string_view) override {
        boxes.push_back({std::string(prompt), kind});
    }
    void endProgram() override { ++endCalls; }

    Result<std::string> computerName() override { return hostName; }
    Result<std::string> userName() override { return loginName; }
    std::uint64_t millisecondsSinceStart() override { return uptimeMs; }
    Result<std::int32_t> volumeSerial(std::string_view) override {
        if (!serialError.empty())
            return Error{serialError};
        return serial;
    }
    ScreenPixels screenPixels() override { return screen; }
    LocalTime localTime() override { return {date, time}; }
    std::string dateText(const CalendarDate& d) override {
        return std::to_string(d.day) + "/" + std::to_string(d.month) + "/" + std::to_string(d.year);
    }
    std::string timeText(const TimeOfDay& t) override {
        return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
               std::to_string(t.second);
    }
    // The real weekday, counted from Sunday as one, so that tests can pick calendar dates.
    int weekday(const CalendarDate& d) override {
        const std::chrono::year_month_day day{std::chrono::year(d.year),
                                              std::chrono::month(unsigned(d.month)),
                                              std::chrono::day(unsigned(d.day))};
        return weekdayOverride.value_or(std::chrono::weekday(day).c_encoding() + 1);
    }
    std::string monthName(int month) override { return "month" + std::to_string(month); }
    std::string numberText(double value) override {
        return std::to_string(static_cast<long long>(std::round(value)));
    }
};

struct Write {
    std::string control;
    std::string value;
    friend bool operator==(const Write&, const Write&) = default;
};

// Records every text and pace shown; its loop notes what was written before it, delivers events
// without a handler, clicks `Command13` and ends with status 7.
class FakeEngine : public FormsEngine {
  public:
    std::vector<Write> writes;
    std::map<std::string, std::string, std::less<>> values;
    std::size_t built = 0; // controls
    std::vector<Write> writtenBeforeLoop;
    EventSink sink;

    Status create(const WindowModel& model) override {
        built = model.controls.size();
        return success();
    }
    void setEventSink(EventSink eventSink) override { sink = std::move(eventSink); }
    int run() override {
        writtenBeforeLoop = writes;
        for (std::string_view control : {"Label1", "Label9", "Text1", "Form1", "Timer1", "Nothing"})
            sink(control, FormEvent::Click);
        sink("Cmm1", FormEvent::Timer);
        sink("Command13", FormEvent::Click);
        return 7;
    }
    void showText(std::string_view control, std::string_view text) override {
        writes.push_back({std::string(control), std::string(text)});
        values[std::string(control)] = std::string(text);
    }
    Status runTimer(std::string_view timer, int ms) override {
        showText(timer, std::to_string(ms));
        return success();
    }

    std::string value(std::string_view control) const {
        const auto it = values.find(control);
        return it == values.end() ? std::string() : it->second;
    }
};

// The checked window over a recording engine, from the design less `missing` (a faulty window).
struct FakeWindow : FakeEngine {
    explicit FakeWindow(std::string_view missing = "") {
        WindowModel model = design::designedWindow();
        std::erase_if(model.controls, [&](const ControlModel& c) { return c.name == missing; });
        EXPECT_TRUE(checked.create(model));
    }
    operator FormWindow&() { return checked; }
    CheckedWindow checked{*this};
};

// What follows "Control_RunDLL" in each applet's line, as the shell has always been given it.
constexpr std::pair<std::string_view, std::string_view> applets[] = {
    {"Cmm1", " mmsys.cpl"},        {"Cmm11", " access.cpl"},
    {"Cmm12", " inetcpl.cpl"},     {"Cmm8", ""},
    {"Cmm9", " main.cpl @1"},      {"Command7", " main.cpl @0"},
    {"Command3", " timedate.cpl"}, {"Command5", " desk.cpl,,0"},
    {"Command6", " appwiz.cpl"},   {"Command15", " joy.cpl"},
    {"Command16", " intl.cpl"},    {"Command17", " sysdm.cpl"}};

TEST(Launcher, EachClickStartsItsLineOnceWithANormalWindowAndLeavesTheWindowAlone) {
    std::vector<std::pair<std::string, std::string>> lines{
        {"Command10", "RUNDLL32.EXE URL.DLL,FileProtocolHandler https://zanthera.example/"}};
    for (const auto& [button, applet] : applets)
        lines.emplace_back(button, "rundll32.exe shell32.dll,Control_RunDLL" + std::string(applet));
    ASSERT_EQ(appletCommands.size(), lines.size());
    for (const auto& [button, line] : lines) {
        SCOPED_TRACE(button);
        FakeServices services;
        FakeWindow window;
        EventDispatcher dispatch(services, window);
        dispatch(button, FormEvent::Click);
        dispatch(button, FormEvent::Click);
        ASSERT_EQ(services.started.size(), 2u);
        for (const StartedProgram& started : services.started) {
            EXPECT_EQ(started.commandLine, line);
            EXPECT_EQ(started.windowStyle, 1);
        }
        EXPECT_TRUE(window.writes.empty());
        EXPECT_TRUE(services.boxes.empty());
    }
}

// A failure is shown to the user and the program goes on: a failing click every time, what could
// not be done first; a tick that fails every second once only, though it still does what it can.
TEST(EventDispatcher, ShowsEveryFailingClickAndAFailingTickOnce) {
    FakeServices services;
    services.startAnswer = Error{"No program for the sound settings is installed."};
    FakeWindow window("Label2");
    EventDispatcher dispatch(services, window);
    dispatch("Cmm1", FormEvent::Click);
    for (int second = 0; second < 5; ++second)
        dispatch("Timer1", FormEvent::Timer);
    dispatch("Cmm1", FormEvent::Click);
    EXPECT_EQ(window.value("Label1"), "16:40:5");
    EXPECT_EQ(services.started.size(), 2u);
    ASSERT_EQ(services.boxes.size(), 3u);
    EXPECT_EQ(services.boxes[0].prompt,
              "تعذر فتح الصفحة المطلوبة.\nNo program for the sound settings is installed.");
    EXPECT_EQ(services.boxes[0].kind, MessageKind::Failure);
    EXPECT_EQ(services.boxes[1].prompt, "The window has no label named Label2.");
    EXPECT_EQ(services.boxes[2].prompt, services.boxes[0].prompt);
}

TEST(EventTable, EveryWrittenControlMustExistWithItsKind) {
    EXPECT_TRUE(checkWrittenControls(design::designedWindow()));
    // A control of kind Window stands for one missing from the window.
    const std::pair<const char*, ControlKind> faults[] = {{"Label2", ControlKind::Window},
                                                          {"Text1", ControlKind::Label},
                                                          {"Timer1", ControlKind::Button}};
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

TEST(ResolutionButton, WritesTheRealSizeInPixelsForEverySize) {
    const std::pair<ScreenPixels, const char*> cases[] = {
        {{640, 480}, "640 * 480"},     {{800, 600}, "800 * 600"},     {{1366, 768}, "1366 * 768"},
        {{1920, 1080}, "1920 * 1080"}, {{2560, 1440}, "2560 * 1440"}, {{0, 0}, nullptr},
        {{0, 768}, nullptr},           {{1024, 0}, nullptr},
    };
    for (const auto& [screen, text] : cases) {
        SCOPED_TRACE(screen.width);
        FakeServices services;
        services.screen = screen;
        FakeWindow window;
        EventDispatcher dispatch(services, window);
        window.values["Text1"] = "earlier";
        dispatch("Command1", FormEvent::Click);
        EXPECT_EQ(window.value("Text1"), text ? text : "earlier");
        EXPECT_EQ(services.boxes.size(), text ? 0u : 1u);
    }
}

// A name is shown whole, the serial in signed decimal; a fact that cannot be read is a message
// saying what, in Arabic, and why, and the box keeps the answer it held.
TEST(InformationButtons, ShowTheWholeAnswerOrSayWhatCouldNotBeReadAndWhy) {
    const Error why{"the system's reason"};
    const struct {
        const char* button;
        Result<std::string> host, login;
        std::int32_t serial;
        const char* serialError;
        const char* shown;
        const char* headline; // null: no message
    } cases[] = {
        {"Command13", std::string(40, 'c'), why, 0, "", "cccccccccccccccccccccccccccccccccccccccc",
         nullptr},
        {"Command4", why, std::string("مستخدم"), 0, "", "مستخدم", nullptr},
        {"Command13", why, std::string("u"), 0, "", "earlier", "تعذرت قراءة اسم الكمبيوتر."},
        {"Command4", std::string("h"), why, 0, "", "earlier", "تعذرت قراءة اسم المستخدم."},
        {"Command2", why, why, 0, "the system's reason", "earlier",
         "تعذرت قراءة الرقم التسلسلي لقرص النظام."},
        {"Command2", why, why, 305419896, "", "305419896", nullptr},
        {"Command2", why, why, std::int32_t(0x9A3C1F07), "", "-1707335929", nullptr},
        {"Command2", why, why, INT32_MIN, "", "-2147483648", nullptr},
    };
    for (const auto& c : cases) {
        FakeServices services;
        services.hostName = c.host;
        services.loginName = c.login;
        services.serial = c.serial;
        services.serialError = c.serialError;
        FakeWindow window;
        EventDispatcher dispatch(services, window);
        window.values["Text1"] = "earlier";
        dispatch(c.button, FormEvent::Click);
        EXPECT_EQ(window.value("Text1"), c.shown) << c.button;
        const std::string box = c.headline ? std::string(c.headline) + "\n" + why.message : "";
        EXPECT_EQ(services.boxes.empty() ? "" : services.boxes.back().prompt, box) << c.button;
        EXPECT_LE(services.boxes.size(), 1u);
    }
}

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

// A weekday outside one to seven leaves the label as it was, and loading goes on.
TEST(PanelLoad, NamesTheWeekdayCountedFromSunday) {
    const struct {
        CalendarDate date;
        std::optional<int> weekday; // as the platform reports it; nothing: the real one
        const char* name;
    } cases[] = {
        {{2026, 12, 6}, {}, "الأحد"},    {{2026, 12, 7}, {}, "الاثنين"},
        {{2026, 12, 9}, {}, "الأربعاء"}, {{2026, 12, 12}, {}, "السبت"},
        {{2024, 2, 29}, {}, "الخميس"},   {{2026, 12, 6}, 0, nullptr},
        {{2026, 12, 6}, 8, nullptr},     {{2026, 12, 6}, -1, nullptr},
    };
    for (const auto& c : cases) {
        FakeServices services;
        services.date = c.date;
        services.weekdayOverride = c.weekday;
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.values.count("Label6"), c.name ? 1u : 0u) << c.date.day;
        EXPECT_EQ(window.value("Label6"), c.name ? c.name : "") << c.date.day;
    }
}

TEST(PanelLoad, CountsWholeMinutesSinceStartOnA64BitClock) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0"},
        {29'999, "0"},
        {30'000, "1"}, // exactly half a minute goes up
        {59'999, "1"},
        {75 * 60'000, "75"},
        {(1ull << 31) + 1, "35791"},      // past the largest signed 32-bit count
        {(1ull << 32) + 60'000, "71584"}, // past where a 32-bit tick count wraps
        {400ull * 24 * 3'600'000, "576000"},
    };
    for (const auto& [ms, minutes] : cases) {
        FakeServices services;
        services.uptimeMs = ms;
        FakeWindow window;
        ASSERT_TRUE(Form_Load(services, window));
        EXPECT_EQ(window.value("Label10"), std::string(minutes) + "دقيقة") << ms;
    }
}

// Each tick keeps all five value labels current: past midnight the weekday and month follow the
// date, and the minutes go on counting. The month is today's, never its day.
TEST(PanelTick, KeepsEveryValueLabelCurrentAcrossMidnight) {
    struct Moment {
        CalendarDate date;
        TimeOfDay time;
        std::uint64_t uptimeMs;
        const char *clock, *day, *weekday, *month, *minutes;
    };
    const Moment moments[] = {
        {{2026, 12, 31}, {23, 59, 59}, 60'000, "23:59:59", "31/12/2026", "الخميس", "month12", "1"},
        {{2027, 1, 1}, {0, 0, 0}, 121'000, "0:0:0", "1/1/2027", "الجمعة", "month1", "2"},
        {{2027, 2, 6}, {8, 30, 0}, 108'000'000, "8:30:0", "6/2/2027", "السبت", "month2", "1800"},
    };
    FakeServices services;
    FakeWindow window;
    EventDispatcher dispatch(services, window);
    for (const auto& m : moments) {
        services.date = m.date;
        services.time = m.time;
        services.uptimeMs = m.uptimeMs;
        window.writes.clear();
        dispatch("Timer1", FormEvent::Timer);
        EXPECT_EQ(window.writes,
                  (std::vector<Write>{{"Label1", m.clock},
                                      {"Label2", m.day},
                                      {"Label6", m.weekday},
                                      {"Label5", m.month},
                                      {"Label10", std::string(m.minutes) + "دقيقة"}}));
    }
    window.writes.clear();
    dispatch("Timer1", FormEvent::Timer); // the same moment: an unchanged caption goes no further
    EXPECT_TRUE(window.writes.empty());
    EXPECT_TRUE(services.boxes.empty());
}

// The window as the program starts it: built from the stored definition, its Load handler run
// through the program's dispatcher before the event loop starts, the loop's events handed to the
// same dispatcher, and the block's pages let go only once the window holds its pictures.
TEST(Startup, BuildsTheStoredWindowRunsLoadBeforeTheLoopAndHandsTheLoopToTheHandlers) {
    FakeServices services;
    services.uptimeMs = 120'000;
    FakeEngine window;
    std::size_t builtWhenBlockRead = 0;
    const auto whenRead = [&] { builtWhenBlockRead = window.built; };
    ASSERT_EQ(startWindow(window, services, storedDefinition(), whenRead), 7);
    EXPECT_EQ(window.built, 31u);
    EXPECT_EQ(builtWhenBlockRead, 31u);
    EXPECT_EQ(window.writtenBeforeLoop, (std::vector<Write>{{"Label6", "الأحد"},
                                                            {"Label5", "month12"},
                                                            {"Label10", "2دقيقة"},
                                                            {"Timer1", "1000"}}));
    // In the loop, only the click with a handler did anything.
    EXPECT_EQ(std::vector<Write>(window.writes.begin() + long(window.writtenBeforeLoop.size()),
                                 window.writes.end()),
              (std::vector<Write>{{"Text1", "DESKTOP"}}));
    EXPECT_TRUE(services.started.empty());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(services.endCalls, 0);
}

} // namespace
} // namespace zanthera
