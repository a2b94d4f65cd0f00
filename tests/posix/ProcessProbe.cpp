// A stand-in for a settings tool: it writes down how it was started, into the file named by
// ZANTHERA_PROBE_OUTPUT, so that the tests can check what the started program received.
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* output = std::getenv("ZANTHERA_PROBE_OUTPUT");
    if (output == nullptr) {
        return 2;
    }
    std::ostringstream report;
    for (int i = 0; i < argc; ++i) {
        report << "arg " << argv[i] << '\n';
    }
    report << "session-leader " << (getsid(0) == getpid() ? "yes" : "no") << '\n';
    report << "parent " << getppid() << '\n';
    // Among the rest, SigBlk and SigIgn: the blocked and the ignored signals.
    report << std::ifstream("/proc/self/status").rdbuf();
    // Nothing listed when the listing cannot be read: the tests then see no descriptor at all.
    DIR* listing = opendir("/proc/self/fd");
    while (const dirent* entry = listing ? readdir(listing) : nullptr) {
        if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != dirfd(listing)) {
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            [[maybe_unused]] ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            report << "fd " << entry->d_name << ' ' << target << '\n';
        }
    }
    if (listing != nullptr) {
        closedir(listing);
    }
    // Written aside and renamed, so that the test never reads half a report.
    const std::string partial = std::string(output) + ".part";
    std::ofstream(partial) << report.str();
    return std::rename(partial.c_str(), output) == 0 ? 0 : 1;
}
