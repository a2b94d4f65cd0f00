// The thirteen launcher command lines name Windows applets through rundll32.exe. On Linux they
// are read back into the page the user asked for, so that each desktop can open its own tool.
#pragma once

#include "base/Result.h"

#include <string>
#include <string_view>

namespace zanthera::posix {

enum class Page {
    Sound,
    Accessibility,
    Internet,
    ControlPanel,
    Keyboard,
    Mouse,
    DateAndTime,
    Display,
    Programs,
    GameControllers,
    Regional,
    System,
    WebAddress,
};

// What a command line asks to open: a settings page, or a web address for the browser.
struct LaunchTarget {
    Page page = Page::ControlPanel;
    std::string address; // Only set for Page::WebAddress.
    friend bool operator==(const LaunchTarget&, const LaunchTarget&) = default;
};

// Reads a "rundll32.exe shell32.dll,Control_RunDLL ..." or "rundll32.exe
// url.dll,FileProtocolHandler ..." command line. Anything else is an error.
Result<LaunchTarget> parseCommandLine(std::string_view commandLine);

// The page in plain words for messages, such as "sound settings".
std::string_view pageDescription(Page page);

} // namespace zanthera::posix
