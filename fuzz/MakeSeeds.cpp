// Writes the fuzzer's seed corpus: in DIR/small, small blocks that cover every kind of record and
// encoding; in DIR/full, when one is given, the real block of the program.
//
//   make_seeds DIR [REAL_BLOCK]

#include "Support.h"

#include "Form1/DefinitionFormat.h"
#include "Form1/DefinitionWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace zanthera;

bool save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<WindowModel> seedWindows() {
    WindowModel small = testing::smallWindow();
    WindowModel empty = small;
    empty.controls.clear();
    WindowModel labelOnly;
    labelOnly.controls = {small.controls[3]};
    labelOnly.controls[0].index = 1;
    return {small, empty, labelOnly};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds DIR [REAL_BLOCK]\n");
        return 2;
    }
    const std::filesystem::path small = std::filesystem::path(argv[1]) / "small";
    const std::filesystem::path full = std::filesystem::path(argv[1]) / "full";
    std::filesystem::create_directories(small);
    std::filesystem::create_directories(full);
    int n = 0;
    for (const auto& window : seedWindows()) {
        auto block = writeDefinition(window, zantheraDefinitionIds);
        if (!block || !save(small / ("small-" + std::to_string(n++) + ".bin"), *block)) {
            std::fprintf(stderr, "make_seeds: cannot write a seed\n");
            return 1;
        }
    }
    if (argc > 2 && std::filesystem::exists(argv[2]))
        std::filesystem::copy_file(argv[2], full / "real-block.bin",
                                   std::filesystem::copy_options::overwrite_existing);
    return 0;
}
