// Time from a real click on the sounds button to the moment the settings tool starts running.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

std::optional<Window> findZantheraWindow(Display* d);

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

// The sounds button's centre, in the window's client area at 96 DPI.
constexpr int soundsX = 328, soundsY = 420;

} // namespace

int clickToExec(Display* d, const std::string& program, const std::string& stampTool, int runs) {
    const fs::path dir = fs::temp_directory_path() / ("zanthera-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file(stampTool, dir / "gnome-control-center", fs::copy_options::overwrite_existing);
    const fs::path stampFile = dir / "stamps";
    const std::string path = "PATH=" + dir.string() + ":/usr/bin:/bin";
    const std::string stamp = "ZANTHERA_STAMP=" + stampFile.string();
    const std::string display = std::string("DISPLAY=") + DisplayString(d);
    char* env[] = {const_cast<char*>(path.c_str()), const_cast<char*>(stamp.c_str()),
                   const_cast<char*>(display.c_str()),
                   const_cast<char*>("XDG_CURRENT_DESKTOP=GNOME"), nullptr};
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, env) != 0)
        return 1;
    std::optional<Window> window;
    for (int i = 0; i < 400 && !window; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = findZantheraWindow(d);
    }
    std::vector<double> delays;
    for (int i = 0; window && i < runs; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        XWindowAttributes a;
        XGetWindowAttributes(d, *window, &a);
        Window child;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(d, *window, a.root, soundsX, soundsY, &rootX, &rootY, &child);
        XTestFakeMotionEvent(d, -1, rootX, rootY, CurrentTime);
        XSync(d, False);
        const long long before = realtimeNs();
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XSync(d, False);
        for (int wait = 0; wait < 4000 && stamps(stampFile).size() <= std::size_t(i); ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        const auto seen = stamps(stampFile);
        if (seen.size() > std::size_t(i))
            delays.push_back(double(seen[std::size_t(i)] - before) / 1e6);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    fs::remove_all(dir);
    if (delays.size() != std::size_t(runs)) {
        std::fprintf(stderr, "zanthera-bench: only %zu of %d clicks reached the tool\n",
                     delays.size(), runs);
        return 1;
    }
    const double first = delays.front();
    std::sort(delays.begin(), delays.end());
    std::printf("click to the settings tool's exec, %d clicks:\n", runs);
    std::printf("  median %.2f ms   fastest %.2f ms   slowest %.2f ms   first click %.2f ms\n",
                delays[delays.size() / 2], delays.front(), delays.back(), first);
    return 0;
}
