// How long reading the stored definition into the window model takes, the way the program reads
// its built-in block (the pictures stay where they are), against merely copying the same bytes.
#include "Form1/DefinitionReader.h"
#include "Form1/StoredDefinition.h"
#include "GoalLine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsOf(auto&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    const auto block = zanthera::storedDefinition();
    constexpr int runs = 201;
    std::size_t controls = 0;
    std::size_t copied = 0;
    // The two run in turn, so that whatever else the machine does weighs on both alike.
    std::vector<double> reads, copies;
    for (int i = 0; i < runs; ++i) {
        reads.push_back(microsecondsOf([&] {
            const auto model = zanthera::readDefinition(block, zanthera::Pictures::Referred);
            controls += model ? model->controls.size() : 0;
        }));
        copies.push_back(microsecondsOf([&] {
            const std::vector<std::uint8_t> bytes(block.begin(), block.end());
            copied += bytes.size();
        }));
    }
    const double read = median(reads), copy = median(copies);
    if (controls != std::size_t(runs) * 31 || copied != std::size_t(runs) * block.size()) {
        std::fprintf(stderr, "definition bench: the block did not read back whole\n");
        return 1;
    }
    // The baseline is a plain copy of the block's bytes; the goal is 1.5 times it.
    printGoal("read the block (vs a plain copy)", read, copy, "us", "<= 1.5 x", read <= 1.5 * copy);
    return 0;
}
