// Inputs that once broke the reader, kept as files; every one must be refused cleanly.

#include "CleanOutcome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zanthera::testing {
namespace {

TEST(Regressions, EveryKeptInputIsRefusedCleanly) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(ZANTHERA_REGRESSIONS_DIR))
        if (entry.is_regular_file() && entry.path().extension() == ".bin")
            inputs.push_back(entry.path());
    ASSERT_FALSE(inputs.empty()) << "no inputs in " << ZANTHERA_REGRESSIONS_DIR;
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        EXPECT_FALSE(expectCleanOutcome(bytes, path.filename().string()));
    }
}

} // namespace
} // namespace zanthera::testing
