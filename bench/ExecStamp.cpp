// Stands in for a settings tool: the moment it runs, it appends the wall-clock time in
// nanoseconds to $ZANTHERA_STAMP, so the benchmark can see how long a click took to reach it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

int main(int argc, char* argv[]) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("gnome-control-center 43.9");
        return 0;
    }
    const char* path = std::getenv("ZANTHERA_STAMP");
    if (!path)
        return 1;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fclose(f);
    }
    return 0;
}
