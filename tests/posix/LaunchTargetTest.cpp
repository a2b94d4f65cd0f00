#include "platform/posix/LaunchTarget.h"
#include "actions/AppletCommands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace zanthera::posix {
namespace {

TEST(LaunchTarget, EveryLauncherCommandLineNamesItsPage) {
    const std::map<std::string_view, LaunchTarget> expected{
        {"Cmm1", {Page::Sound, ""}},
        {"Cmm11", {Page::Accessibility, ""}},
        {"Cmm12", {Page::Internet, ""}},
        {"Cmm8", {Page::ControlPanel, ""}},
        {"Cmm9", {Page::Keyboard, ""}},
        {"Command7", {Page::Mouse, ""}},
        {"Command3", {Page::DateAndTime, ""}},
        {"Command5", {Page::Display, ""}},
        {"Command6", {Page::Programs, ""}},
        {"Command15", {Page::GameControllers, ""}},
        {"Command16", {Page::Regional, ""}},
        {"Command17", {Page::System, ""}},
        {"Command10", {Page::WebAddress, std::string(homePageAddress)}},
    };
    ASSERT_EQ(expected.size(), appletCommands.size());
    for (const AppletCommand& command : appletCommands) {
        SCOPED_TRACE(command.button);
        const Result<LaunchTarget> target = parseCommandLine(command.commandLine);
        ASSERT_TRUE(target.ok()) << target.error().message;
        EXPECT_EQ(target.value(), expected.at(command.button));
    }
}

TEST(LaunchTarget, AcceptsTheSpellingsWindowsAccepts) {
    const std::vector<std::pair<std::string_view, LaunchTarget>> cases{
        {"RUNDLL32.EXE SHELL32.DLL,Control_RunDLL MMSYS.CPL", {Page::Sound, ""}},
        {"rundll32 shell32,Control_RunDLL timedate.cpl", {Page::DateAndTime, ""}},
        {"  rundll32.exe   shell32.dll,Control_RunDLL   main.cpl   @1  ", {Page::Keyboard, ""}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl,@0", {Page::Mouse, ""}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl", {Page::Mouse, ""}},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,@0,3", {Page::Display, ""}},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,5", {Page::Display, ""}},
        {"rundll32.exe url.dll,FileProtocolHandler http://a.example/x?y=1&z=2",
         {Page::WebAddress, "http://a.example/x?y=1&z=2"}},
        {"rundll32.exe url,FileProtocolHandler mailto:someone@example.org",
         {Page::WebAddress, "mailto:someone@example.org"}},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        const Result<LaunchTarget> target = parseCommandLine(line);
        ASSERT_TRUE(target.ok()) << target.error().message;
        EXPECT_EQ(target.value(), expected);
    }
}

TEST(LaunchTarget, RejectsEveryOtherFormWithAMessageQuotingIt) {
    const std::vector<std::string_view> lines{
        "",
        "   ",
        "notepad.exe",
        "rundll32.exe",
        "rundll32.exe.bak shell32.dll,Control_RunDLL mmsys.cpl",
        "xrundll32.exe shell32.dll,Control_RunDLL mmsys.cpl",
        "rundll32.exe shell32.dll",
        "rundll32.exe shell32.dll,control_rundll mmsys.cpl",
        "rundll32.exe shell33.dll,Control_RunDLL mmsys.cpl",
        "rundll32.exe url.dll,Control_RunDLL mmsys.cpl",
        "rundll32.exe shell32.dll,FileProtocolHandler https://a.example/",
        "rundll32.exe shell32.dll,Control_RunDLL nosuch.cpl",
        "rundll32.exe shell32.dll,Control_RunDLL mmsys",
        "rundll32.exe shell32.dll,Control_RunDLL main.cpl @2",
        "rundll32.exe shell32.dll,Control_RunDLL main.cpl @",
        "rundll32.exe shell32.dll,Control_RunDLL main.cpl @1x",
        "rundll32.exe shell32.dll,Control_RunDLL main.cpl @99999999999",
        "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl @1",
        "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,",
        "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0,1",
        "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,x",
        "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl extra words",
        "RUNDLL32.EXE URL.DLL,FileProtocolHandler",
        "RUNDLL32.EXE URL.DLL,FileProtocolHandler --help",
        "RUNDLL32.EXE URL.DLL,FileProtocolHandler https://a.example/\x01",
        "\xff\xfe garbage \x80",
    };
    for (std::string_view line : lines) {
        SCOPED_TRACE(line);
        const Result<LaunchTarget> target = parseCommandLine(line);
        ASSERT_FALSE(target.ok());
        EXPECT_NE(target.error().message.find("\"" + std::string(line) + "\""), std::string::npos)
            << target.error().message;
    }
}

TEST(LaunchTarget, EveryPageHasItsOwnDescription) {
    std::set<std::string_view> descriptions;
    for (const AppletCommand& command : appletCommands) {
        const Page page = parseCommandLine(command.commandLine).value().page;
        EXPECT_TRUE(descriptions.insert(pageDescription(page)).second) << pageDescription(page);
    }
}

} // namespace
} // namespace zanthera::posix
