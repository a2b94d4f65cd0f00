#include "platform/posix/LaunchTarget.h"

#include "platform/posix/TextUtilities.h"

#include <array>
#include <charconv>
#include <vector>

namespace zanthera::posix {
namespace {

struct AppletFile {
    std::string_view name;
    Page page;
};

// main.cpl is absent: it holds two applets, told apart by their number.
constexpr std::array<AppletFile, 9> appletFiles{{
    {"mmsys.cpl", Page::Sound},
    {"access.cpl", Page::Accessibility},
    {"inetcpl.cpl", Page::Internet},
    {"timedate.cpl", Page::DateAndTime},
    {"desk.cpl", Page::Display},
    {"appwiz.cpl", Page::Programs},
    {"joy.cpl", Page::GameControllers},
    {"intl.cpl", Page::Regional},
    {"sysdm.cpl", Page::System},
}};

Error unknownForm(std::string_view commandLine, std::string_view reason) {
    return Error{"Cannot open \"" + std::string(commandLine) + "\": " + std::string(reason) + "."};
}

// Windows finds a program or library with or without its extension, in any letter case.
bool namesFile(std::string_view word, std::string_view stem, std::string_view extension) {
    if (equalsIgnoringCase(word, stem)) {
        return true;
    }
    return word.size() == stem.size() + extension.size() &&
           equalsIgnoringCase(word.substr(0, stem.size()), stem) &&
           equalsIgnoringCase(word.substr(stem.size()), extension);
}

std::optional<int> parseSmallNumber(std::string_view digits) {
    int value = 0;
    if (digits.empty() || digits.size() > 3) {
        return std::nullopt;
    }
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// Control_RunDLL takes "file", "file,@applet", "file,@applet,tab" or "file,,tab"; the older
// "file @applet" with a space means the same as "file,@applet". Returns the applet number.
std::optional<int> appletNumber(const std::vector<std::string_view>& fields) {
    if (fields.size() > 3) {
        return std::nullopt;
    }
    if (fields.size() == 3 && !parseSmallNumber(fields[2])) {
        return std::nullopt;
    }
    if (fields.size() == 1) {
        return 0;
    }
    if (fields[1].empty()) {
        // "file,,tab" skips the applet number and so opens the first applet; a lone trailing
        // comma is not a form Windows documents.
        return fields.size() == 3 ? std::optional<int>(0) : std::nullopt;
    }
    if (fields[1].front() != '@') {
        return std::nullopt;
    }
    return parseSmallNumber(fields[1].substr(1));
}

Result<LaunchTarget> parseApplet(std::string_view commandLine, std::string_view arguments) {
    if (arguments.empty()) {
        return LaunchTarget{Page::ControlPanel, {}};
    }
    std::string joined(arguments);
    if (std::size_t space = joined.find(' '); space != std::string::npos) {
        joined = joined.substr(0, space) + "," + std::string(trimSpaces(arguments.substr(space)));
    }
    const std::vector<std::string_view> fields = splitOn(joined, ',');
    const std::optional<int> number = appletNumber(fields);
    if (!number) {
        return unknownForm(commandLine, "the applet's arguments are not understood");
    }
    const std::string file = lowerAscii(fields[0]);
    if (file == "main.cpl" && *number <= 1) {
        return LaunchTarget{*number == 0 ? Page::Mouse : Page::Keyboard, {}};
    }
    for (const AppletFile& applet : appletFiles) {
        if (applet.name == file && *number == 0) {
            return LaunchTarget{applet.page, {}};
        }
    }
    return unknownForm(commandLine, "it names an applet this program does not know");
}

Result<LaunchTarget> parseAddress(std::string_view commandLine, std::string_view address) {
    // The address becomes one argument of the browser launcher; a leading dash would be read
    // as one of its options rather than as an address.
    if (address.empty() || address.front() == '-') {
        return unknownForm(commandLine, "it gives no web address");
    }
    for (char c : address) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return unknownForm(commandLine, "the web address holds a control character");
        }
    }
    return LaunchTarget{Page::WebAddress, std::string(address)};
}

} // namespace

Result<LaunchTarget> parseCommandLine(std::string_view commandLine) {
    const auto [program, afterProgram] = splitFirstWord(trimSpaces(commandLine));
    if (!namesFile(program, "rundll32", ".exe")) {
        return unknownForm(commandLine, "only rundll32.exe command lines are understood");
    }
    const auto [entryWord, arguments] = splitFirstWord(afterProgram);
    const std::size_t comma = entryWord.find(',');
    if (comma == std::string_view::npos) {
        return unknownForm(commandLine, "it names no library entry");
    }
    const std::string_view library = entryWord.substr(0, comma);
    // Library names are file names and ignore case; entry names are exported symbols and, as
    // on Windows, must match exactly.
    const std::string_view entry = entryWord.substr(comma + 1);
    if (namesFile(library, "shell32", ".dll") && entry == "Control_RunDLL") {
        return parseApplet(commandLine, arguments);
    }
    if (namesFile(library, "url", ".dll") && entry == "FileProtocolHandler") {
        return parseAddress(commandLine, arguments);
    }
    return unknownForm(commandLine, "the library entry is not one this program knows");
}

std::string_view pageDescription(Page page) {
    switch (page) {
    case Page::Sound:
        return "sound settings";
    case Page::Accessibility:
        return "accessibility settings";
    case Page::Internet:
        return "network and internet settings";
    case Page::ControlPanel:
        return "system settings";
    case Page::Keyboard:
        return "keyboard settings";
    case Page::Mouse:
        return "mouse settings";
    case Page::DateAndTime:
        return "date and time settings";
    case Page::Display:
        return "display settings";
    case Page::Programs:
        return "list of installed programs";
    case Page::GameControllers:
        return "game controller settings";
    case Page::Regional:
        return "regional settings";
    case Page::System:
        return "system information";
    case Page::WebAddress:
        return "web page";
    }
    return "settings";
}

} // namespace zanthera::posix
