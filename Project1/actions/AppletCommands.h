// The launcher table: one command line per button, character for character as the program has
// always started them. On Linux the program starter turns each line into a settings page.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace zanthera {

// A build setting (ZANTHERA_HOME_PAGE), so that whoever packages the program can point the
// home-page button at their own site.
inline constexpr std::string_view homePageAddress = ZANTHERA_HOME_PAGE;

namespace detail {

// The home-page line is the shell's URL handler followed by the address, joined at compile time
// so the address is written once.
inline constexpr std::string_view urlHandler = "RUNDLL32.EXE URL.DLL,FileProtocolHandler ";
inline constexpr auto homePageText = [] {
    std::array<char, urlHandler.size() + homePageAddress.size()> text{};
    std::copy(urlHandler.begin(), urlHandler.end(), text.begin());
    std::copy(homePageAddress.begin(), homePageAddress.end(), text.begin() + urlHandler.size());
    return text;
}();

} // namespace detail

inline constexpr std::string_view homePageLine{detail::homePageText.data(),
                                               detail::homePageText.size()};

struct AppletCommand {
    std::string_view button;
    std::string_view commandLine;
};

// clang-format off
inline constexpr std::array<AppletCommand, 13> appletCommands{{
    {"Cmm1",      "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl"},
    {"Cmm11",     "rundll32.exe shell32.dll,Control_RunDLL access.cpl"},
    {"Cmm12",     "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl"},
    {"Cmm8",      "rundll32.exe shell32.dll,Control_RunDLL"},
    {"Cmm9",      "rundll32.exe shell32.dll,Control_RunDLL main.cpl @1"},
    {"Command7",  "rundll32.exe shell32.dll,Control_RunDLL main.cpl @0"},
    {"Command3",  "rundll32.exe shell32.dll,Control_RunDLL timedate.cpl"},
    {"Command5",  "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0"},
    {"Command6",  "rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl"},
    {"Command15", "rundll32.exe shell32.dll,Control_RunDLL joy.cpl"},
    {"Command16", "rundll32.exe shell32.dll,Control_RunDLL intl.cpl"},
    {"Command17", "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl"},
    {"Command10", homePageLine},
}};
// clang-format on

} // namespace zanthera
