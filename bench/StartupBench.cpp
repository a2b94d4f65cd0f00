// Start-up and launch figures, on the display named by $DISPLAY:
//   zanthera-bench PROGRAM BARE-WINDOW EXEC-STAMP [RUNS]
//   zanthera-bench --wine WINE-LOADER ZANTHERA.EXE BAREWINDOW.EXE [RUNS]
// 1. Time from starting a program to its first painted window, for the program and for a bare Qt
//    window of the same size, run alternately; median, and the peak resident memory of each.
// 2. Time from a click on the sounds button to the settings tool's first instruction.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Probe {
    std::string title;
    int x, y;          // a client pixel that shows a known colour once painted
    unsigned long rgb; // that colour
};

std::string titleOf(Display* d, Window w) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 256, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

std::optional<Window> findWindow(Display* d, const std::string& title) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    std::optional<Window> found;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
            titleOf(d, children[i]) == title)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

bool painted(Display* d, Window w, const Probe& probe) {
    XImage* image = XGetImage(d, w, probe.x, probe.y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const bool same = (XGetPixel(image, 0, 0) & 0xFFFFFF) == probe.rgb;
    XDestroyImage(image);
    return same;
}

using Command = std::vector<std::string>;

pid_t start(const Command& command, char** env) {
    pid_t pid = 0;
    std::vector<char*> argv;
    for (const auto& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), env) != 0)
        return -1;
    return pid;
}

long peakRssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

struct Sample {
    double ms;
    long rssKiB;
};

std::optional<Sample> startupOnce(Display* d, const Command& program, const Probe& probe) {
    const auto t0 = Clock::now();
    const pid_t pid = start(program, environ);
    if (pid < 0)
        return std::nullopt;
    std::optional<Sample> sample;
    while (Clock::now() - t0 < std::chrono::seconds(20)) {
        if (auto w = findWindow(d, probe.title); w && painted(d, *w, probe)) {
            sample = Sample{std::chrono::duration<double, std::milli>(Clock::now() - t0).count(),
                            peakRssKiB(pid)};
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    stop(pid);
    return sample;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

std::optional<Window> findZantheraWindow(Display* d) {
    return findWindow(d, "Zanthera ver 0.1");
}

int clickToExec(Display* d, const std::string& program, const std::string& stampTool, int runs);

// The Windows program and a bare Win32 window of its size, both under the same Wine, whose
// server the caller keeps running so that neither pays for starting it; the first pair warms up
// the prefix's files and is not counted. One line: figure, baseline, ratio, goal.
int wineStartup(Display* d, const std::string& wine, const std::string& program,
                const std::string& bareWindow, int runs) {
    // Wine paints the inactive-caption colour of the minutes label as 128, 128, 128.
    const Probe probe{"Zanthera ver 0.1", 51, 227, 0x808080};
    const Probe bare{"Bare window", 10, 10, 0x007AFF};
    std::vector<double> programMs, bareMs;
    for (int i = 0; i <= runs; ++i) {
        auto p = startupOnce(d, {wine, program}, probe);
        auto b = startupOnce(d, {wine, bareWindow}, bare);
        if (!p || !b) {
            std::fprintf(stderr, "zanthera-bench: a window did not paint under Wine within 20 s\n");
            return 1;
        }
        if (i > 0)
            programMs.push_back(p->ms), bareMs.push_back(b->ms);
    }
    const double pm = median(programMs), bm = median(bareMs);
    std::printf("Wine start-up to first paint, x86_64 zanthera.exe (median of %d): %.1f ms; "
                "baseline bare Win32 window %.1f ms; ratio %.2f; goal <= 1.30\n",
                runs, pm, bm, pm / bm);
    return 0;
}

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(
            stderr,
            "usage: zanthera-bench PROGRAM BARE-WINDOW EXEC-STAMP [RUNS]\n"
            "       zanthera-bench --wine WINE-LOADER ZANTHERA.EXE BAREWINDOW.EXE [RUNS]\n");
        return 2;
    }
    const bool underWine = std::string(argv[1]) == "--wine";
    const int runsAt = underWine ? 5 : 4;
    const int runs = argc > runsAt ? std::max(15, std::atoi(argv[runsAt])) : 15;
    Display* d = XOpenDisplay(nullptr);
    // Windows come and go while the tree is walked (Wine makes short-lived ones): a request on
    // one that has gone fails, and the walk simply skips it.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (!d) {
        std::fprintf(stderr, "zanthera-bench: no display\n");
        return 1;
    }
    if (underWine) {
        const int rc = argc > 4 ? wineStartup(d, argv[2], argv[3], argv[4], runs) : 2;
        XCloseDisplay(d);
        return rc;
    }
    // The program is painted once its minutes label shows its colour; the bare window once its
    // fill shows.
    const Probe program{"Zanthera ver 0.1", 51, 227, 0xBFCDDB};
    const Probe bare{"Bare window", 10, 10, 0x007AFF};
    std::vector<double> programMs, bareMs;
    long programRss = 0, bareRss = 0;
    for (int i = 0; i < runs; ++i) {
        auto p = startupOnce(d, {argv[1]}, program);
        auto b = startupOnce(d, {argv[2]}, bare);
        if (!p || !b) {
            std::fprintf(stderr, "zanthera-bench: a window did not paint within 20 s\n");
            return 1;
        }
        programMs.push_back(p->ms);
        bareMs.push_back(b->ms);
        programRss = std::max(programRss, p->rssKiB);
        bareRss = std::max(bareRss, b->rssKiB);
    }
    const double pm = median(programMs), bm = median(bareMs);
    std::printf("start-up to first paint, median of %d runs:\n", runs);
    std::printf("  zanthera     %8.1f ms   peak RSS %6ld KiB\n", pm, programRss);
    std::printf("  bare Qt      %8.1f ms   peak RSS %6ld KiB\n", bm, bareRss);
    std::printf("  ratio        %8.2f x    RSS ratio %5.2f x\n", pm / bm,
                double(programRss) / double(bareRss));
    const int rc = clickToExec(d, argv[1], argv[3], runs);
    XCloseDisplay(d);
    return rc;
}
