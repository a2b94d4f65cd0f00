// The POSIX platform: which desktop this is, what a launcher line asks for and which settings
// tools open that page; starting programs (the starter's hygiene: descriptors, zombies, session,
// signals), reading a program's output under a time limit, and the launcher that picks and starts
// a settings tool; and the facts the information buttons show, against the system's own tools.
#include "actions/AppletCommands.h"
#include "platform/posix/Desktop.h"
#include "platform/posix/LaunchTarget.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ProcessStarter.h"
#include "platform/posix/ProgramOutput.h"
#include "platform/posix/ProgramSearch.h"
#include "platform/posix/SettingsPages.h"
#include "platform/posix/SystemNames.h"
#include "platform/posix/TextUtilities.h"
#include "platform/posix/VolumeSerial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

// Helpers: scratch directories, small scripts, what the process table and descriptor table look
// like from inside the test, and the probe program's report.
namespace zanthera::posix::testing {

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zanthera-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, std::string_view content, unsigned mode = 0644) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}

inline void writeScript(const std::string& path, std::string_view body) {
    writeFile(path, "#!/bin/sh\n" + std::string(body) + "\n", 0755);
}

inline std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::optional<std::string>({std::istreambuf_iterator<char>(in), {}}) : std::nullopt;
}

// Waits until `done` holds, giving up after ten seconds; the limit only guards against a hang,
// it is not what the test measures.
template <typename Predicate> bool waitFor(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Until the process is gone or a zombie. Its state letter follows the command name in
// /proc/PID/stat, which is in parentheses and may itself hold spaces or parentheses.
inline bool waitUntilDead(int pid) {
    return waitFor([pid] {
        const std::optional<std::string> stat = readFile("/proc/" + std::to_string(pid) + "/stat");
        return !stat || stat->find(") Z", stat->rfind(')')) != std::string::npos;
    });
}

// Until this process has no child left, running or a zombie. WNOWAIT looks without reaping, so
// a zombie the code under test failed to reap stays and is seen.
inline bool waitForNoChildren() {
    return waitFor([] {
        siginfo_t child{};
        errno = 0;
        return ::waitid(P_ALL, 0, &child, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
    });
}

// The descriptors open in this process. The listing's own descriptor takes the lowest free
// number, the same in every call unless a descriptor was opened or closed in between.
inline std::set<int> openDescriptors() {
    std::set<int> descriptors;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        descriptors.insert(std::stoi(entry.path().filename()));
    }
    return descriptors;
}

inline std::string_view commandLineOf(std::string_view button) {
    return std::ranges::find(appletCommands, button, &AppletCommand::button)->commandLine;
}

using Variables = std::map<std::string, std::string>;

inline EnvironmentLookup environmentOf(Variables variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

// The stand-in program that writes down how it was started (ProcessProbe.cpp).
inline const std::string probeProgram = ZANTHERA_PROCESS_PROBE;

// What the probe wrote, each key's values in order: "arg" its arguments, "fd" each open descriptor
// and what it refers to, "session-leader" yes or no, "parent", and the lines of its
// /proc/self/status, among them "SigBlk:" and "SigIgn:", the blocked and the ignored signals.
using ProbeReport = std::map<std::string, std::vector<std::string>>;

// Points the probe, through the environment that started programs inherit, at a fresh file.
class ProbeOutput {
  public:
    ProbeOutput() { ::setenv("ZANTHERA_PROBE_OUTPUT", path_.c_str(), 1); }
    ~ProbeOutput() { ::unsetenv("ZANTHERA_PROBE_OUTPUT"); }
    ProbeOutput(const ProbeOutput&) = delete;
    ProbeOutput& operator=(const ProbeOutput&) = delete;

    // The report, once the probe has written it (aside, then renamed into place).
    std::optional<ProbeReport> wait() const {
        std::optional<std::string> text;
        if (!waitFor([&] { return (text = readFile(path_)).has_value(); })) {
            return std::nullopt;
        }
        ProbeReport report;
        std::istringstream lines(*text);
        std::string key;
        std::string value;
        while (lines >> key && std::getline(lines, value)) {
            // One space after our own keys, as an argument may be empty; tabs after the kernel's.
            value.erase(0, key.ends_with(':') ? value.find_first_not_of(" \t") : 1);
            report[key].push_back(value);
        }
        return report;
    }

  private:
    ScratchDirectory scratch_;
    std::string path_ = scratch_.file("report");
};

} // namespace zanthera::posix::testing

namespace zanthera::posix {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using Arguments = std::vector<std::string>;
using enum DesktopKind;

struct DetectionCase {
    Variables variables;
    DesktopKind kind;
    int plasmaVersion = 0;
    bool wayland = false;
};

TEST(Desktop, DetectsTheDesktopAndWaylandFromTheSessionVariables) {
    const std::string xdg = "XDG_CURRENT_DESKTOP";
    const std::vector<DetectionCase> cases{
        {{{xdg, "GNOME"}, {"XDG_SESSION_TYPE", "wayland"}}, Gnome, 0, true},
        {{{xdg, "ubuntu:GNOME"}, {"DISPLAY", ":0"}}, Gnome},
        {{{xdg, "gnome"}}, Gnome},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "5"}, {"XDG_SESSION_TYPE", "x11"}}, Plasma, 5},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "6"}}, Plasma, 6},
        {{{xdg, "KDE"}, {"KDE_SESSION_VERSION", "7"}}, Plasma, 0}, // a version not known
        {{{xdg, "XFCE"}, {"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", "wayland-0"}}, Xfce},
        {{{xdg, "MATE"}}, Mate},
        {{{xdg, "MATE-wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}, Mate, 0, true},
        {{{xdg, "X-Cinnamon"}}, Cinnamon},
        {{{xdg, "LXQt"}}, Lxqt},
        {{{xdg, "Unity:XFCE:GNOME"}}, Xfce},   // the first known token wins
        {{{xdg, "GNOMEish:KDEish"}}, Unknown}, // no token is a prefix match
        // An unknown or missing desktop falls back to the session names, then to KDE and MATE's
        // own variables.
        {{{xdg, "Hyprland"}, {"DESKTOP_SESSION", "xfce"}}, Xfce},
        {{{"XDG_SESSION_DESKTOP", "gnome-xorg"}, {"DESKTOP_SESSION", "xfce"}}, Gnome},
        {{{"XDG_SESSION_DESKTOP", "plasmawayland"}}, Plasma},
        {{{"DESKTOP_SESSION", "/usr/share/xsessions/plasma"}}, Plasma},
        {{{"DESKTOP_SESSION", "cinnamon2d"}}, Cinnamon},
        {{{xdg, ""}, {"DESKTOP_SESSION", "Lubuntu"}}, Lxqt},
        {{{"KDE_FULL_SESSION", "true"}}, Plasma},
        {{{"KDE_FULL_SESSION", "false"}}, Unknown},
        {{{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}}, Mate},
        {{{"DESKTOP_SESSION", "mate"}, {"KDE_FULL_SESSION", "true"}}, Mate},
        {{{"DESKTOP_SESSION", "i3"}}, Unknown},
        {{}, Unknown},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Desktop desktop = detectDesktop(environmentOf(cases[i].variables));
        EXPECT_EQ(desktop.kind, cases[i].kind);
        EXPECT_EQ(desktop.plasmaVersion, cases[i].plasmaVersion);
        EXPECT_EQ(desktop.wayland, cases[i].wayland);
        EXPECT_FALSE(desktop.gnomeVersion.has_value());
    }
}

TEST(Desktop, ReadsTheMajorVersionOfGnomeControlCenter) {
    const std::vector<std::pair<std::string_view, std::optional<int>>> cases{
        {"gnome-control-center 43.6\n", 43},
        {"GNOME Control Center 47.alpha\n", 47},
        {"gnome-control-center\n45.2", 45},
        {"", std::nullopt},
        {"gnome-control-center 4x.1", std::nullopt},
        {"gnome-control-center 99999999999999999999", std::nullopt},
        {"Segmentation fault", std::nullopt},
    };
    for (const auto& [output, version] : cases) {
        EXPECT_EQ(parseGnomeVersion(output), version) << output;
    }
}

// Every launcher line is read by the settings-page tests below; these are the other spellings
// Windows accepts, and forms it does not, refused with a message quoting the line.
TEST(LaunchTarget, AcceptsTheSpellingsWindowsAcceptsAndRefusesEveryOtherForm) {
    const auto opens = [](Page page, std::string address = {}) {
        return std::optional(LaunchTarget{page, std::move(address)});
    };
    const std::vector<std::pair<std::string_view, std::optional<LaunchTarget>>> cases{
        {"RUNDLL32.EXE SHELL32.DLL,Control_RunDLL MMSYS.CPL", opens(Page::Sound)},
        {"rundll32 shell32,Control_RunDLL timedate.cpl", opens(Page::DateAndTime)},
        {"  rundll32.exe   shell32.dll,Control_RunDLL   main.cpl   @1  ", opens(Page::Keyboard)},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl,@0", opens(Page::Mouse)},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl", opens(Page::Mouse)},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,@0,3", opens(Page::Display)},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,5", opens(Page::Display)},
        {"rundll32.exe url.dll,FileProtocolHandler http://a.example/x?y=1&z=2",
         opens(Page::WebAddress, "http://a.example/x?y=1&z=2")},
        {"rundll32.exe url,FileProtocolHandler mailto:someone@example.org",
         opens(Page::WebAddress, "mailto:someone@example.org")},
        {"", {}},
        {"notepad.exe", {}},
        {"rundll32.exe.bak shell32.dll,Control_RunDLL mmsys.cpl", {}},
        {"rundll32.exe shell32.dll", {}},
        {"rundll32.exe shell32.dll,control_rundll mmsys.cpl", {}},
        {"rundll32.exe shell33.dll,Control_RunDLL mmsys.cpl", {}},
        {"rundll32.exe shell32.dll,FileProtocolHandler https://a.example/", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL nosuch.cpl", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl @2", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL main.cpl @99999999999", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl @1", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0,1", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl extra words", {}},
        {"RUNDLL32.EXE URL.DLL,FileProtocolHandler --help", {}},
        {"RUNDLL32.EXE URL.DLL,FileProtocolHandler https://a.example/\x01", {}},
        {"\xff\xfe garbage \x80", {}},
    };
    for (const auto& [line, expected] : cases) {
        const Result<LaunchTarget> target = parseCommandLine(line);
        ASSERT_EQ(target.ok(), expected.has_value()) << line;
        if (expected) {
            EXPECT_EQ(target.value(), *expected) << line;
        } else {
            EXPECT_NE(target.error().message.find("\"" + std::string(line) + "\""),
                      std::string::npos)
                << target.error().message;
        }
    }
}

std::vector<std::string> candidatesFor(std::string_view button, const Desktop& desktop) {
    std::vector<std::string> texts;
    for (const CommandWords& words :
         candidateCommands(parseCommandLine(commandLineOf(button)).value(), desktop)) {
        texts.push_back(joinWords(words));
    }
    return texts;
}

// In launcher order; an empty cell means the desktop has no page of its own for the button.
using PerButton = std::array<std::string_view, appletCommands.size()>;
constexpr std::string_view home = "xdg-open https://zanthera.example/";

const PerButton gnomeTwoWords{
    {"gnome-control-center sound", "gnome-control-center universal-access",
     "gnome-control-center network", "gnome-control-center", "gnome-control-center keyboard",
     "gnome-control-center mouse", "gnome-control-center system datetime",
     "gnome-control-center display", "gnome-software --mode=installed", "",
     "gnome-control-center system region", "gnome-control-center system about", home}};

// Before GNOME 46 the date, region and system pages had one-word names.
PerButton gnomeOneWord() {
    PerButton pages = gnomeTwoWords;
    pages[6] = "gnome-control-center datetime";
    pages[10] = "gnome-control-center region";
    pages[11] = "gnome-control-center info-overview";
    return pages;
}

PerButton plasmaPages(std::string_view gameControllers) {
    return {{"systemsettings kcm_pulseaudio", "systemsettings kcm_access",
             "systemsettings kcm_proxy", "systemsettings", "systemsettings kcm_keyboard",
             "systemsettings kcm_mouse", "systemsettings kcm_clock", "systemsettings kcm_kscreen",
             "plasma-discover --mode installed", gameControllers,
             "systemsettings kcm_regionandlang", "systemsettings kcm_about-distro", home}};
}

const std::vector<std::pair<Desktop, PerButton>> desktopPages{
    {Desktop{Gnome, 0, 45, false}, gnomeOneWord()},
    {Desktop{Gnome, 0, 3, false}, gnomeOneWord()},
    {Desktop{Gnome, 0, 46, false}, gnomeTwoWords},
    {Desktop{Gnome, 0, {}, false}, gnomeTwoWords},
    {Desktop{Plasma, 5, {}, false}, plasmaPages("systemsettings kcm_joystick")},
    {Desktop{Plasma, 6, {}, false}, plasmaPages("systemsettings kcm_gamecontroller")},
    {Desktop{Plasma, 0, {}, false}, plasmaPages("")},
    {Desktop{Xfce, 0, {}, false},
     {"pavucontrol", "xfce4-accessibility-settings", "", "xfce4-settings-manager",
      "xfce4-keyboard-settings", "xfce4-mouse-settings", "", "xfce4-display-settings", "", "", "",
      "xfce4-about", home}},
    {Desktop{Mate, 0, {}, false},
     {"mate-volume-control", "mate-at-properties", "mate-network-properties", "mate-control-center",
      "mate-keyboard-properties", "mate-mouse-properties", "mate-time-admin",
      "mate-display-properties", "", "", "", "mate-system-info", home}},
    {Desktop{Cinnamon, 0, {}, false},
     {"cinnamon-settings sound", "cinnamon-settings accessibility", "cinnamon-settings network",
      "cinnamon-settings", "cinnamon-settings keyboard", "cinnamon-settings mouse",
      "cinnamon-settings calendar", "cinnamon-settings display", "", "", "",
      "cinnamon-settings info", home}},
    {Desktop{Lxqt, 0, {}, false},
     {"pavucontrol-qt", "", "", "lxqt-config", "lxqt-config-input", "lxqt-config-input",
      "lxqt-admin-time", "lxqt-config-monitor", "", "", "lxqt-config-locale", "lxqt-about", home}},
};

// Each desktop's own page comes first; where it has none, only the neutral tools are tried.
// No list names a command twice. GNOME's pages change at version 46; the end-to-end tests take
// GNOME 43's.
TEST(SettingsPages, EachDesktopOpensItsOwnPageFirstOrElseOnlyTheNeutralTools) {
    for (std::size_t d = 0; d < desktopPages.size(); ++d) {
        const auto& [desktop, pages] = desktopPages[d];
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const std::string_view button = appletCommands[i].button;
            SCOPED_TRACE("desktop row " + std::to_string(d) + ", " + std::string(button));
            const std::vector<std::string> candidates = candidatesFor(button, desktop);
            const std::set<std::string> unique(candidates.begin(), candidates.end());
            EXPECT_EQ(unique.size(), candidates.size());
            if (pages[i].empty()) {
                Desktop neutral = desktop;
                neutral.kind = Unknown;
                EXPECT_EQ(candidates, candidatesFor(button, neutral));
            } else {
                ASSERT_FALSE(candidates.empty());
                EXPECT_EQ(candidates.front(), pages[i]);
            }
        }
    }
}

// Where a desktop prefers its own version of the neutral tools (Plasma 5), has two tools of its
// own (MATE 1.26 and 1.28), or cannot use one (no lxrandr on Wayland).
TEST(SettingsPages, DesktopPagesComeBeforeTheNeutralToolsWithoutRepeats) {
    const std::vector<std::tuple<Desktop, std::string_view, std::vector<std::string>>> cases{
        {Desktop{Plasma, 5, {}, false},
         "Cmm1",
         {"systemsettings kcm_pulseaudio", "pavucontrol", "pavucontrol-qt",
          "kcmshell5 kcm_pulseaudio", "kcmshell6 kcm_pulseaudio", "mate-volume-control"}},
        {Desktop{Mate, 0, {}, false},
         "Command17",
         {"mate-system-info", "mate-system-monitor --show-system-tab", "kinfocenter",
          "xfce4-about"}},
        {Desktop{Unknown, 0, {}, true},
         "Command5",
         {"kcmshell6 kcm_kscreen", "kcmshell5 kcm_kscreen", "xfce4-display-settings",
          "mate-display-properties", "cinnamon-settings display", "lxqt-config-monitor"}},
    };
    for (const auto& [desktop, button, expected] : cases) {
        EXPECT_EQ(candidatesFor(button, desktop), expected) << button;
    }
}

// Generous: these programs end at once, and the limit only guards against a hang.
constexpr std::chrono::milliseconds ample = 10s;

std::optional<ProbeReport> startProbe(const Arguments& arguments, ChildReaper& reaper) {
    const ProbeOutput output;
    Arguments argv{probeProgram};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const Status started = startDetached(argv, reaper);
    EXPECT_TRUE(started.ok()) << started.error().message;
    return started.ok() ? output.wait() : std::nullopt;
}

// Stands in for the window's event loop: keeps what the reaper asks it to watch and runs each
// callback once its descriptor turns readable.
class EventLoopStandIn {
  public:
    DescriptorWatch watch() {
        return [this](int fd, std::function<void()> onReadable) {
            watched_.emplace_back(fd, std::move(onReadable));
        };
    }
    // Runs until nothing is left to watch; false if that takes longer than ten seconds.
    bool drain() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!watched_.empty() && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{watched_.back().first, POLLIN, 0};
            if (::poll(&entry, 1, 100) == 1) {
                watched_.back().second();
                watched_.pop_back();
            }
        }
        return watched_.empty();
    }

  private:
    std::vector<std::pair<int, std::function<void()>>> watched_;
};

TEST(ProcessStarter, ManyStartsLeaveNoZombieAndNoDescriptorBehind) {
    for (const bool eventLoop : {true, false}) {
        SCOPED_TRACE(eventLoop ? "reaped from the event loop" : "reaped by waiting threads");
        const std::set<int> before = openDescriptors();
        EventLoopStandIn loop;
        ChildReaper reaper(eventLoop ? loop.watch() : DescriptorWatch{});
        for (int i = 0; i < 300; ++i) {
            const Status started = startDetached(Arguments{"/bin/true"}, reaper);
            ASSERT_TRUE(started.ok()) << "start " << i << ": " << started.error().message;
        }
        ASSERT_TRUE(loop.drain());
        EXPECT_TRUE(waitForNoChildren()); // no zombie either
        EXPECT_EQ(openDescriptors(), before);
    }
}

// Leaves a descriptor of each common kind open without close-on-exec, blocks a signal, ignores
// another and puts the standard descriptors in the given state: closed, or taken by a
// close-on-exec descriptor as one opened later would take the free number. The started program
// must inherit none of it.
class MessyCaller {
  public:
    explicit MessyCaller(bool standardClosed) {
        file_ = ::open("/dev/null", O_RDONLY);
        if (::pipe(pipe_) != 0) {
            pipe_[0] = pipe_[1] = -1;
        }
        sigset_t usr1;
        sigemptyset(&usr1);
        sigaddset(&usr1, SIGUSR1);
        ::sigprocmask(SIG_BLOCK, &usr1, &previousMask_);
        previousPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
        const int ours = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        for (int fd = 0; fd <= 2; ++fd) {
            saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
            standardClosed ? ::close(fd) : ::dup3(ours, fd, O_CLOEXEC);
        }
        ::close(ours);
    }
    ~MessyCaller() {
        for (int fd = 0; fd <= 2; ++fd) {
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
        std::signal(SIGPIPE, previousPipeHandler_);
        ::sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
        for (int fd : {file_, pipe_[0], pipe_[1]}) {
            ::close(fd);
        }
    }
    MessyCaller(const MessyCaller&) = delete;
    MessyCaller& operator=(const MessyCaller&) = delete;

  private:
    int file_ = -1;
    int pipe_[2] = {-1, -1};
    int saved_[3] = {-1, -1, -1};
    sigset_t previousMask_{};
    void (*previousPipeHandler_)(int) = nullptr;
};

TEST(ProcessStarter, TheProgramStartsCleanInASessionOfItsOwnWithDevNullForItsStandardFiles) {
    for (const bool closed : {true, false}) {
        SCOPED_TRACE(closed ? "standard descriptors closed" : "taken, close-on-exec");
        std::optional<ProbeReport> report;
        ChildReaper reaper;
        {
            const MessyCaller messy(closed);
            report = startProbe({}, reaper);
        }
        ASSERT_TRUE(report.has_value());
        using Values = std::vector<std::string>;
        EXPECT_EQ((*report)["fd"], (Values{"0 /dev/null", "1 /dev/null", "2 /dev/null"}));
        EXPECT_EQ((*report)["session-leader"], Values{"yes"});
        EXPECT_EQ((*report)["parent"], Values{std::to_string(::getpid())}); // ours, which we reap
        EXPECT_EQ((*report)["SigBlk:"], Values{"0000000000000000"});
        // Signals 32 and 33 belong to the C library, which sets them up afresh in every program
        // it starts; whatever the caller's caller left on them says nothing about the starter.
        constexpr std::uint64_t libraryOwned = (1ull << 31) | (1ull << 32);
        const std::string ignored = (*report)["SigIgn:"].at(0);
        EXPECT_EQ(std::stoull(ignored, nullptr, 16) & ~libraryOwned, 0u) << ignored;
    }
}

TEST(ProcessStarter, TheProgramReceivesExactlyTheArgumentsGiven) {
    ChildReaper reaper;
    for (const Arguments& arguments : std::vector<Arguments>{
             {},
             {"two words", "", "$HOME", "; touch /tmp/zanthera-shell-ran", "'single'", "\"double\"",
              "*", "\xd9\x86\xd8\xb8\xd8\xa7\xd9\x85", "--mode=installed", "a\\b"}}) {
        std::optional<ProbeReport> report = startProbe(arguments, reaper);
        ASSERT_TRUE(report.has_value());
        EXPECT_EQ(Arguments((*report)["arg"].begin() + 1, (*report)["arg"].end()), arguments);
    }
}

TEST(ProcessStarter, OnlyARunnableAbsolutePathIsStartedElseTheErrorNamesItAndWhy) {
    const ScratchDirectory scratch;
    writeFile(scratch.file("not-executable"), "#!/bin/sh\n", 0644);
    writeFile(scratch.file("bad-interpreter"), "#!/nonexistent/shell\n", 0755);
    const std::vector<std::pair<Arguments, std::string>> cases{
        {{"/nonexistent/zanthera-missing", "x"}, "No such file or directory"},
        {{scratch.file("not-executable")}, "Permission denied"},
        {{scratch.file("bad-interpreter")}, "No such file or directory"},
        {{scratch.path().string()}, "Permission denied"},
        {{"true"}, "absolute"}, // no search of the path, nor of the current directory
        {{"bin/true"}, "absolute"},
        {{""}, "absolute"},
        {{}, "absolute"},
    };
    const std::set<int> before = openDescriptors();
    ChildReaper reaper;
    for (const auto& [argv, reason] : cases) {
        SCOPED_TRACE(argv.empty() ? "nothing" : argv[0]);
        const Status started = startDetached(argv, reaper);
        ASSERT_FALSE(started.ok());
        const std::string named = reason == "absolute" ? "" : argv[0];
        EXPECT_NE(started.error().message.find(named), std::string::npos);
        EXPECT_NE(started.error().message.find(reason), std::string::npos)
            << started.error().message;
    }
    EXPECT_TRUE(waitForNoChildren());
    EXPECT_EQ(openDescriptors(), before);
}

struct OutputCase {
    std::string_view name;
    std::string script;
    std::size_t maxBytes;
    std::optional<std::string> expected; // nothing: an error naming the program and `reason`
    std::string reason{};
};

TEST(ProgramOutput, ReturnsTheStandardOutputOrAnErrorNamingTheProgram) {
    const std::vector<OutputCase> cases{
        {"two lines", "printf 'line one\\nline two\\n'", 4096, "line one\nline two\n"},
        {"error output is not kept", "echo out; echo err >&2", 4096, "out\n"},
        {"input is empty", "cat; echo done", 4096, "done\n"},
        {"nothing", "true", 4096, ""},
        {"a long output is cut, not blocked on", "head -c 300000 /dev/zero | tr '\\0' a", 100,
         std::string(100, 'a')},
        {"fails", "echo partial; exit 3", 4096, std::nullopt, "failed"},
        {"killed", "kill -9 $$", 4096, std::nullopt, "failed"},
    };
    for (const OutputCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        writeScript(scratch.file("program"), test.script);
        const Arguments argv{scratch.file("program")};
        const Result<std::string> output = readProgramOutput(argv, ample, test.maxBytes);
        ASSERT_EQ(output.ok(), test.expected.has_value());
        if (output.ok()) {
            EXPECT_EQ(output.value(), test.expected);
        } else {
            EXPECT_NE(output.error().message.find(argv[0]), std::string::npos);
            EXPECT_NE(output.error().message.find(test.reason), std::string::npos);
        }
    }
    EXPECT_FALSE(readProgramOutput(Arguments{"sh"}, ample).ok());
    EXPECT_FALSE(readProgramOutput(Arguments{"/nonexistent/program"}, ample).ok());
}

TEST(ProgramOutput, AProgramPastItsTimeIsKilledWithWhatItStartedAndReaped) {
    const ScratchDirectory scratch;
    const std::string pidFile = scratch.file("sleeper.pid");
    writeScript(scratch.file("hangs"), "sleep 600 & echo $! > '" + pidFile + "'; echo hi; wait");
    const std::set<int> before = openDescriptors();
    const Result<std::string> output = readProgramOutput(Arguments{scratch.file("hangs")}, 3s);
    ASSERT_FALSE(output.ok());
    EXPECT_NE(output.error().message.find("did not finish"), std::string::npos);
    EXPECT_TRUE(waitForNoChildren());
    EXPECT_EQ(openDescriptors(), before);
    // The sleeper is the program's own child; the kill of the process group must reach it.
    const std::optional<std::string> sleeper = readFile(pidFile);
    ASSERT_TRUE(sleeper.has_value()) << "the program never started its child";
    EXPECT_TRUE(waitUntilDead(std::stoi(*sleeper)));
}

struct VersionCase {
    std::string_view name;
    std::optional<std::string> script; // Nothing: the program is not installed.
    std::optional<int> version;
    std::chrono::milliseconds timeout = ample;
    std::string versionFile{}; // gnome-version.xml's text; empty: there is none
};

TEST(GnomeVersion, ComesFromTheVersionFileOrTheInstalledProgram) {
    const std::vector<VersionCase> cases{
        {"asks with --version", "[ \"$1\" = --version ] && echo 'gnome-control-center 47.0'", 47},
        {"fails", "echo 'gnome-control-center 46.2'; exit 1", std::nullopt},
        {"hangs", "exec sleep 600", std::nullopt, 300ms},
        {"not installed", std::nullopt, std::nullopt},
        {"the file, not the program", "exit 1", 45, ample,
         "<gnome-version>\n  <platform>45</platform>\n  <minor>2</minor>\n</gnome-version>\n"},
        {"GNOME 3 in the file", std::nullopt, 3, ample, "<platform>3</platform><minor>38</minor>"},
        {"a file that names none", "echo 'gnome-control-center 44.1'", 44, ample, "<gnome/>"},
    };
    for (const VersionCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ScratchDirectory scratch;
        if (test.script) {
            writeScript(scratch.file("gnome-control-center"), *test.script);
        }
        if (!test.versionFile.empty()) {
            writeFile(scratch.file("gnome-version.xml"), test.versionFile);
        }
        const std::string directory = scratch.path().string();
        const ProgramLookup lookup = [&](std::string_view program) {
            return findInPath(program, directory);
        };
        EXPECT_EQ(probeGnomeVersion(scratch.file("gnome-version.xml"), lookup, test.timeout),
                  test.version);
    }
    EXPECT_TRUE(waitForNoChildren());
}

// The installed program answers only once the test lets it: a probe that made its caller wait
// for that answer would hang here until CTest's time limit ends the test.
TEST(GnomeVersion, TheBackgroundProbeAnswersWhileTheProgramStillRuns) {
    const ScratchDirectory scratch;
    writeScript(scratch.file("gnome-control-center"),
                "read line < '" + scratch.file("go") + "'; echo 'gnome-control-center 44.1'");
    ::mkfifo(scratch.file("go").c_str(), 0600);
    const std::string directory = scratch.path().string();
    const GnomeVersionProbe probe = gnomeVersionInBackground(
        scratch.file("none.xml"),
        [directory](std::string_view program) { return findInPath(program, directory); }, ample);
    EXPECT_EQ(probe(), std::nullopt);
    writeFile(scratch.file("go"), "go\n"); // opening the pipe waits for the program to read it
    EXPECT_TRUE(waitFor([&] { return probe() == 44; }));
}

const Variables gnome{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}};
const Variables plasma6{{"XDG_CURRENT_DESKTOP", "KDE"}, {"KDE_SESSION_VERSION", "6"}};
const Variables xfce{{"XDG_CURRENT_DESKTOP", "XFCE"}};

// A system whose environment, installed programs (name to full path) and GNOME version are the
// test's.
struct FakeSystem {
    Variables variables;
    std::map<std::string, std::string> installed;
    std::optional<int> gnomeVersion = 46;
    int gnomeProbes = 0;

    PosixSystem make() {
        return PosixSystem(SystemLookups{
            environmentOf(variables),
            [this](std::string_view program) -> std::optional<std::string> {
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

struct NothingInstalledCase {
    Variables variables;
    std::string_view button;
    std::string_view target;
    std::vector<std::string_view> tried;
    int gnomeProbes; // asked only on GNOME, where the pages depend on it
};

TEST(PosixSystem, WithNothingInstalledTheErrorNamesThePageAndEveryProgramTried) {
    const std::vector<NothingInstalledCase> cases{
        {gnome,
         "Cmm1",
         "the sound settings",
         {"gnome-control-center sound", "pavucontrol", "pavucontrol-qt", "kcmshell6 kcm_pulseaudio",
          "kcmshell5 kcm_pulseaudio", "mate-volume-control"},
         1},
        {plasma6,
         "Command10",
         "the web page https://zanthera.example/",
         {"xdg-open https://zanthera.example/"},
         0},
        {xfce, "Command16", "the regional settings", {}, 0},
    };
    for (const NothingInstalledCase& test : cases) {
        SCOPED_TRACE(test.button);
        FakeSystem fake{test.variables, {}};
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
        EXPECT_EQ(fake.gnomeProbes, test.gnomeProbes);
    }
    EXPECT_FALSE((FakeSystem{gnome, {}}.make().startProgram("notepad.exe").ok()));
}

// The program chosen is started with the page's arguments, for the GNOME version found; the
// end-to-end tests start each page on three desktops.
TEST(PosixSystem, AProgramThatCannotStartIsReportedAndTheNextOneTried) {
    FakeSystem fake{gnome, {{"gnome-control-center", "/nonexistent/gnome-control-center"}}, 43};
    const Status failed = fake.make().startProgram(commandLineOf("Command3"));
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(
        failed.error().message.find("gnome-control-center datetime: Could not start "
                                    "/nonexistent/gnome-control-center: No such file or directory"),
        std::string::npos)
        << failed.error().message;

    fake.installed["kcmshell6"] = probeProgram;
    const ProbeOutput output;
    const Status started = fake.make().startProgram(commandLineOf("Command3"));
    ASSERT_TRUE(started.ok()) << started.error().message;
    std::optional<ProbeReport> report = output.wait();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ((*report)["arg"], (Arguments{probeProgram, "kcm_clock"}));
}

// /proc/uptime counts the same boot clock in hundredths, cut rather than rounded.
TEST(PosixSystem, MillisecondsSinceStartAgreeWithTheKernelsUptime) {
    PosixSystem system;
    double before = 0;
    double after = 0;
    std::ifstream("/proc/uptime") >> before;
    const std::uint64_t milliseconds = system.millisecondsSinceStart();
    std::ifstream("/proc/uptime") >> after;
    ASSERT_GT(before, 0.0);
    EXPECT_GE(static_cast<double>(milliseconds), before * 1000.0);
    EXPECT_LE(static_cast<double>(milliseconds), after * 1000.0 + 10.0);
    EXPECT_GE(system.millisecondsSinceStart(), milliseconds);
}

// Every reading looks the time zone up again, so the clock follows a change of zone at once.
TEST(PosixSystem, LocalTimeFollowsAChangeOfTimeZone) {
    PosixSystem system;
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    const auto minuteOfDay = [&](const char* tz) {
        ::setenv("TZ", tz, 1);
        const TimeOfDay time = system.localTime().time;
        return time.hour * 60 + time.minute;
    };
    const int utc = minuteOfDay("UTC0");
    const int shift = (minuteOfDay("<+14>-14") - utc + 1440) % 1440;
    zone ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    EXPECT_TRUE(shift == 840 || shift == 841) << shift; // a minute may turn between the two
}

std::string systemSays(const std::vector<std::string>& argv) {
    return readProgramOutput(argv, std::chrono::seconds(10)).value();
}

struct SearchCase {
    std::string_view name;
    std::string program;
    std::string searchPath;
    std::optional<std::string> found;
};

TEST(ProgramSearch, FindsTheFirstExecutableRegularFileOnThePath) {
    const ScratchDirectory scratch;
    const std::string a = scratch.file("a");
    const std::string b = scratch.file("b");
    std::filesystem::create_directories(a + "/folder");
    std::filesystem::create_directories(b);
    for (const std::string& script : {a + "/tool", b + "/tool", b + "/plain", b + "/folder"}) {
        writeScript(script, "true");
    }
    writeFile(a + "/plain", "not a program", 0644);
    std::filesystem::create_symlink(b + "/tool", a + "/linked");

    const std::vector<SearchCase> cases{
        {"first directory wins", "tool", a + ":" + b, a + "/tool"},
        {"order of the path", "tool", b + ":" + a, b + "/tool"},
        {"skips a file that cannot run", "plain", a + ":" + b, b + "/plain"},
        {"skips a directory", "folder", a + ":" + b, b + "/folder"},
        {"follows a link", "linked", a, a + "/linked"},
        {"trailing slash and empty entries", "tool", "::" + a + "/:", a + "/tool"},
        {"not installed", "missing", a + ":" + b, std::nullopt},
        {"empty path", "tool", "", std::nullopt},
        {"empty name", "", a, std::nullopt},
        {"absolute path", a + "/tool", "", a + "/tool"},
        {"absolute path that cannot run", a + "/plain", a, std::nullopt},
        {"relative path with a slash", "a/tool", scratch.path().string(), std::nullopt},
    };
    for (const SearchCase& test : cases) {
        EXPECT_EQ(findInPath(test.program, test.searchPath), test.found) << test.name;
    }
    // Directories relative to the current one are never searched.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    const std::optional<std::string> relative = findInPath("tool", "a:.:b/");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, std::nullopt);
    EXPECT_EQ(findInProcessPath("sh").value_or("").front(), '/');
    EXPECT_FALSE(findInProcessPath("zanthera-no-such-program").has_value());
}

TEST(SystemNames, AreTheKernelsNodeNameAndTheAccountIdReports) {
    utsname system{};
    ASSERT_EQ(::uname(&system), 0);
    EXPECT_EQ(hostName().value(), system.nodename);
    EXPECT_EQ(accountName(::getuid()).value() + "\n", systemSays({"/usr/bin/id", "-un"}));
    const uid_t unused = 2147480000;
    const Result<std::string> none = accountName(unused);
    ASSERT_FALSE(none.ok());
    EXPECT_NE(none.error().message.find(std::to_string(unused)), std::string::npos);
}

// NTFS keeps the lower half of its 64-bit serial, FAT shows its 32 bits, and other file
// systems give the first 32 bits of their UUID.
TEST(VolumeSerial, TurnsEachKindOfUuidIntoTheSerialWindowsShowsOrRefusesIt) {
    const std::vector<std::pair<std::string_view, std::int32_t>> cases{
        {"1A2B-3C4D", 0x1A2B3C4D},
        {"abcd-1234", std::int32_t(0xABCD1234)},
        {"8000-0000", INT32_MIN},
        {"FFFF-FFFF", -1},
        {"01D9A2B3C4D5E6F7", std::int32_t(0xC4D5E6F7)},
        {"FFFFFFFF00000002", 2},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"12345678", 0x12345678},
        {"2023-01-01-12-00-00-00", 0x20230101},
    };
    for (const auto& [uuid, serial] : cases) {
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.value(), serial) << uuid;
    }
    for (std::string_view uuid :
         {"", "-", "ABCD", "ABCD-123", "ABCG-1234", "ABCD--1234", "-ABCD1234", "ABCD1234-",
          "3e6be9de 8139", "zzzzzzzz", "ABCD_1234", "\xd8\xb3\xd8\xa7-1234"}) {
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_FALSE(result.ok()) << uuid;
        EXPECT_NE(result.error().message.find("\"" + std::string(uuid) + "\""), std::string::npos);
    }
}

TEST(VolumeSerial, MatchesOnlyABlockDeviceWithTheSameNumber) {
    const std::vector<UuidLink> links{{"CHAR-0005", false, 5},
                                      {"BLOCK-0007", true, 7},
                                      {"BLOCK-0005", true, 5},
                                      {"BLOCK-0005-AGAIN", true, 5}};
    EXPECT_EQ(uuidOfDevice(links, 5), "BLOCK-0005");
    EXPECT_EQ(uuidOfDevice(links, 7), "BLOCK-0007");
    EXPECT_EQ(uuidOfDevice(links, 9), std::nullopt);
    EXPECT_EQ(uuidOfDevice({}, 5), std::nullopt);
}

std::int32_t fileSystemIdFromStat(const std::string& path) {
    // stat prints the kernel's two fsid words, first word first, as sixteen hex digits.
    const std::string hex = systemSays({"/usr/bin/stat", "-f", "-c", "%i", path});
    return std::int32_t(std::stoul(hex.substr(0, 8), nullptr, 16));
}

// Without a block device's UUID (no directory, or links to anything else) the serial is the
// file system's id; only drive C is known, and a missing root is an error naming it.
TEST(VolumeSerial, FallsBackToTheFileSystemIdForDriveCOnly) {
    const ScratchDirectory scratch;
    const std::string root = scratch.path().string();
    std::filesystem::create_directories(scratch.file("by-uuid"));
    writeFile(scratch.file("file"), "");
    std::filesystem::create_symlink("/dev/null", scratch.file("by-uuid/ABCD-1234"));
    std::filesystem::create_symlink(scratch.file("file"), scratch.file("by-uuid/3333-4444"));
    std::filesystem::create_symlink(scratch.file("gone"), scratch.file("by-uuid/5555-6666"));
    for (const std::string& uuids : {scratch.file("no-such-directory"), scratch.file("by-uuid")}) {
        PosixSystem system(SystemLookups{{}, {}, {}, {root, uuids}});
        for (std::string_view drive : {"c:\\", "C:\\", "c:", "C:/"}) {
            const Result<std::int32_t> serial = system.volumeSerial(drive);
            ASSERT_TRUE(serial.ok()) << serial.error().message;
            EXPECT_EQ(serial.value(), fileSystemIdFromStat(root)) << uuids << " " << drive;
        }
        for (std::string_view drive : {"d:\\", "c", "", "/", "c:\\windows"}) {
            const Result<std::int32_t> serial = system.volumeSerial(drive);
            ASSERT_FALSE(serial.ok()) << drive;
            EXPECT_NE(serial.error().message.find(drive), std::string::npos);
        }
    }
    const Result<std::int32_t> gone = volumeSerialOf({scratch.file("gone"), root});
    ASSERT_FALSE(gone.ok());
    EXPECT_NE(gone.error().message.find(scratch.file("gone")), std::string::npos);
}

// A block device node whose number is the device of `path`, if this machine has one in /dev.
std::optional<std::string> blockDeviceHolding(const std::string& path) {
    struct stat holder {};
    if (::stat(path.c_str(), &holder) != 0) {
        return std::nullopt;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        struct stat node {};
        if (::stat(entry.path().c_str(), &node) == 0 && S_ISBLK(node.st_mode) &&
            node.st_rdev == holder.st_dev) {
            return entry.path().string();
        }
    }
    return std::nullopt;
}

TEST(VolumeSerial, UsesTheUuidOfTheDeviceHoldingTheRoot) {
    const std::optional<std::string> device = blockDeviceHolding("/");
    if (!device) {
        GTEST_SKIP() << "/ is not on a block device listed in /dev";
    }
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases{
        {"01D9A2B3C4D5E6F7", std::int32_t(0xC4D5E6F7)},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"not-a-uuid", std::nullopt},
    };
    for (const auto& [uuid, expected] : cases) {
        const ScratchDirectory scratch;
        std::filesystem::create_symlink(*device, scratch.file(uuid));
        const Result<std::int32_t> serial = volumeSerialOf({"/", scratch.path().string()});
        ASSERT_TRUE(serial.ok()) << serial.error().message;
        EXPECT_EQ(serial.value(), expected.value_or(fileSystemIdFromStat("/"))) << uuid;
    }
}

} // namespace
} // namespace zanthera::posix
