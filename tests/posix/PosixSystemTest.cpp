#include "platform/posix/PosixSystem.h"
#include "actions/AppletCommands.h"

#include "ProbeReport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace zanthera::posix {
namespace {

using testing::environmentOf;
using testing::ProbeOutput;
using testing::probeProgram;
using Variables = std::map<std::string, std::string>;
using Installed = std::map<std::string, std::string>; // program name to its full path

std::string_view commandLineOf(std::string_view button) {
    return std::ranges::find(appletCommands, button, &AppletCommand::button)->commandLine;
}

// A system whose environment, installed programs and GNOME version are the test's.
struct FakeSystem {
    Variables variables;
    Installed installed;
    std::optional<int> gnomeVersion;
    int gnomeProbes = 0;
    int programLookups = 0;

    PosixSystem make() {
        return PosixSystem(SystemLookups{
            environmentOf(variables),
            [this](std::string_view program) -> std::optional<std::string> {
                ++programLookups;
                const auto found = installed.find(std::string(program));
                return found == installed.end() ? std::nullopt : std::optional(found->second);
            },
            [this] {
                ++gnomeProbes;
                return gnomeVersion;
            },
            VolumePaths{},
        });
    }
};

const Variables gnome{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}};
const Variables plasma5{{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "5"}};
const Variables plasma6{{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "6"}};
const Variables xfce{{"XDG_CURRENT_DESKTOP", "XFCE"}};
const Variables cinnamon{{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}};

TEST(PosixSystem, ACommandLineOfUnknownFormStartsNothing) {
    for (std::string_view line :
         {"", "notepad.exe", "rundll32.exe shell32.dll,Control_RunDLL x.cpl"}) {
        FakeSystem fake{gnome, {{"gnome-control-center", probeProgram}}, 46};
        const Status started = fake.make().startProgram(line);
        ASSERT_FALSE(started.ok());
        EXPECT_NE(started.error().message.find("\"" + std::string(line) + "\""), std::string::npos);
        EXPECT_EQ(fake.programLookups, 0);
    }
}

struct NothingInstalledCase {
    Variables variables;
    std::string_view button;
    std::string_view target;
    std::vector<std::string_view> tried;
};

TEST(PosixSystem, WithNothingInstalledTheErrorNamesThePageAndEveryProgramTried) {
    const std::vector<NothingInstalledCase> cases{
        {gnome,
         "Cmm1",
         "the sound settings",
         {"gnome-control-center sound", "pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio",
          "kcmshell5 kcm_pulseaudio", "mate-volume-control"}},
        {plasma5,
         "Command15",
         "the game controller settings",
         {"systemsettings kcm_joystick", "jstest-gtk", "kcmshell6 kcm_gamecontroller",
          "kcmshell5 kcm_joystick"}},
        {{},
         "Command10",
         "the web page https://zanthera.example/",
         {"xdg-open https://zanthera.example/"}},
        {xfce, "Command16", "the regional settings", {}},
    };
    for (const NothingInstalledCase& test : cases) {
        SCOPED_TRACE(test.button);
        FakeSystem fake{test.variables, {}, 46};
        const Status started = fake.make().startProgram(commandLineOf(test.button));
        ASSERT_FALSE(started.ok());
        const std::string& message = started.error().message;
        EXPECT_NE(message.find(test.target), std::string::npos) << message;
        std::size_t position = 0;
        for (std::string_view command : test.tried) {
            position = message.find("\n  " + std::string(command) + ": not installed", position);
            EXPECT_NE(position, std::string::npos) << command << " in order in:\n" << message;
        }
        if (test.tried.empty()) {
            EXPECT_NE(message.find("no program"), std::string::npos) << message;
        }
    }
}

struct StartCase {
    std::string_view name;
    Variables variables;
    std::optional<int> gnomeVersion;
    std::string_view button;
    std::vector<std::string> installed;
    std::vector<std::string> arguments;
};

const std::vector<StartCase> startCases{
    {"GNOME 46 date", gnome, 46, "Command3", {"gnome-control-center"}, {"system", "datetime"}},
    {"GNOME 43 date", gnome, 43, "Command3", {"gnome-control-center"}, {"datetime"}},
    {"GNOME, version unknown",
     gnome,
     std::nullopt,
     "Command17",
     {"gnome-control-center"},
     {"system", "about"}},
    {"GNOME control panel", gnome, 46, "Cmm8", {"gnome-control-center"}, {}},
    {"Plasma 5 controllers", plasma5, {}, "Command15", {"systemsettings"}, {"kcm_joystick"}},
    {"Plasma 6 controllers", plasma6, {}, "Command15", {"systemsettings"}, {"kcm_gamecontroller"}},
    {"programs on Plasma", plasma6, {}, "Command6", {"plasma-discover"}, {"--mode", "installed"}},
    {"desktop tool missing", plasma6, {}, "Cmm1", {"kcmshell5"}, {"kcm_pulseaudio"}},
    {"Cinnamon mouse", cinnamon, {}, "Command7", {"cinnamon-settings"}, {"mouse"}},
    {"home page", xfce, {}, "Command10", {"xdg-open"}, {"https://zanthera.example/"}},
};

TEST(PosixSystem, StartsTheFirstInstalledProgramWithThePagesArguments) {
    for (const StartCase& test : startCases) {
        SCOPED_TRACE(test.name);
        FakeSystem fake{test.variables, {}, test.gnomeVersion};
        for (const std::string& program : test.installed) {
            fake.installed[program] = probeProgram;
        }
        const ProbeOutput output;
        const Status started = fake.make().startProgram(commandLineOf(test.button));
        ASSERT_TRUE(started.ok()) << started.error().message;
        const std::optional<testing::ProbeReport> report = output.wait();
        ASSERT_TRUE(report.has_value());
        std::vector<std::string> expected{probeProgram};
        expected.insert(expected.end(), test.arguments.begin(), test.arguments.end());
        EXPECT_EQ(report->argv, expected);
    }
}

TEST(PosixSystem, AProgramThatCannotStartIsReportedAndTheNextOneTried) {
    FakeSystem fake{gnome, {{"gnome-control-center", "/nonexistent/gnome-control-center"}}, 46};
    const Status failed = fake.make().startProgram(commandLineOf("Cmm1"));
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.error().message.find(
                  "gnome-control-center sound: Could not start /nonexistent/gnome-control-center: "
                  "No such file or directory"),
              std::string::npos)
        << failed.error().message;

    fake.installed["pavucontrol-qt"] = probeProgram;
    const ProbeOutput output;
    const Status started = fake.make().startProgram(commandLineOf("Cmm1"));
    ASSERT_TRUE(started.ok()) << started.error().message;
    const std::optional<testing::ProbeReport> report = output.wait();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->argv, std::vector<std::string>{probeProgram});
}

TEST(PosixSystem, TheGnomeVersionIsAskedOnlyOnGnome) {
    const std::vector<std::pair<Variables, int>> cases{{gnome, 3}, {xfce, 0}, {plasma6, 0}};
    for (const auto& [variables, probes] : cases) {
        FakeSystem fake{variables, {}, 46};
        PosixSystem system = fake.make();
        for (std::string_view button : {"Command3", "Command16", "Cmm1"}) {
            EXPECT_FALSE(system.startProgram(commandLineOf(button)).ok());
        }
        EXPECT_EQ(fake.gnomeProbes, probes);
    }
}

double uptimeSeconds() {
    double seconds = 0;
    std::ifstream("/proc/uptime") >> seconds;
    return seconds;
}

TEST(PosixSystem, MillisecondsSinceStartAgreeWithTheKernelsUptime) {
    PosixSystem system;
    // /proc/uptime counts the same boot clock in hundredths, cut rather than rounded.
    const double before = uptimeSeconds();
    const std::uint64_t milliseconds = system.millisecondsSinceStart();
    const double after = uptimeSeconds();
    ASSERT_GT(before, 0.0);
    EXPECT_GE(static_cast<double>(milliseconds), before * 1000.0);
    EXPECT_LE(static_cast<double>(milliseconds), after * 1000.0 + 10.0);
    EXPECT_GE(system.millisecondsSinceStart(), milliseconds);
}

TEST(PosixSystem, TheVolumeSerialIsForDriveCOnly) {
    const testing::ScratchDirectory scratch;
    PosixSystem system(SystemLookups{{}, {}, {}, {scratch.path().string(), scratch.file("none")}});
    const Result<std::int32_t> expected =
        volumeSerialOf({scratch.path().string(), scratch.file("none")});
    ASSERT_TRUE(expected.ok());
    for (std::string_view drive : {"c:\\", "C:\\", "c:"}) {
        const Result<std::int32_t> serial = system.volumeSerial(drive);
        ASSERT_TRUE(serial.ok()) << serial.error().message;
        EXPECT_EQ(serial.value(), expected.value());
    }
    const Result<std::int32_t> other = system.volumeSerial("d:\\");
    ASSERT_FALSE(other.ok());
    EXPECT_NE(other.error().message.find("d:\\"), std::string::npos);
}

} // namespace
} // namespace zanthera::posix
