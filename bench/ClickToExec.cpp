// Time from a real click to the moment the started program runs, for any window that starts a
// program named gnome-control-center found through PATH when clicked.
#include "ClickToExec.h"

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

long long realtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::vector<long long> stamps(const fs::path& file) {
    std::vector<long long> out;
    std::ifstream in(file);
    for (long long v; in >> v;)
        out.push_back(v);
    return out;
}

// Clicks `runs` times and returns each click's delay in milliseconds, as far as they arrived.
std::vector<double> clickRepeatedly(Display* d, Window window, const ClickTarget& target,
                                    const fs::path& stampFile, int runs) {
    std::vector<double> delays;
    for (int i = 0; i < runs; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        XWindowAttributes a;
        XGetWindowAttributes(d, window, &a);
        Window child;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(d, window, a.root, target.x, target.y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(d, -1, rootX, rootY, CurrentTime);
        XSync(d, False);
        const long long before = realtimeNs();
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XSync(d, False);
        for (int wait = 0; wait < 4000 && stamps(stampFile).size() <= std::size_t(i); ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto seen = stamps(stampFile);
        if (seen.size() <= std::size_t(i))
            break;
        delays.push_back(double(seen[std::size_t(i)] - before) / 1e6);
    }
    return delays;
}

} // namespace

std::optional<ClickFigures> clickToExec(Display* d, const ClickTarget& target,
                                        const std::string& stampTool, int runs) {
    const fs::path dir = fs::temp_directory_path() / ("zanthera-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path tool = dir / "gnome-control-center";
    fs::copy_file(stampTool, tool, fs::copy_options::overwrite_existing);
    const fs::path stampFile = dir / "stamps";
    const std::string path = "PATH=" + dir.string() + ":/usr/bin:/bin";
    const std::string stamp = "ZANTHERA_STAMP=" + stampFile.string();
    const std::string display = std::string("DISPLAY=") + DisplayString(d);
    char* env[] = {const_cast<char*>(path.c_str()), const_cast<char*>(stamp.c_str()),
                   const_cast<char*>(display.c_str()),
                   const_cast<char*>("XDG_CURRENT_DESKTOP=GNOME"), nullptr};
    std::vector<std::string> words = target.argv;
    if (target.passTool)
        words.push_back(tool.string());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env) != 0)
        return std::nullopt;
    std::optional<Window> window;
    for (int i = 0; i < 400 && !window; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = findWindow(d, target.title);
    }
    std::vector<double> delays;
    if (window)
        delays = clickRepeatedly(d, *window, target, stampFile, runs);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    fs::remove_all(dir);
    if (delays.size() != std::size_t(runs)) {
        std::fprintf(stderr, "zanthera-bench: only %zu of %d clicks on %s reached the tool\n",
                     delays.size(), runs, target.title.c_str());
        return std::nullopt;
    }
    const double first = delays.front();
    std::sort(delays.begin(), delays.end());
    return ClickFigures{delays[delays.size() / 2], first};
}
