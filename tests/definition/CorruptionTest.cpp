// A damaged block never crashes the reader and never reads outside the block: each damage gives
// a clean error or a window that is itself consistent. Run under the sanitizers, these sweeps
// also catch any read past the end of a buffer. Inputs that once broke the reader are kept as
// files, and every one must be refused cleanly.

#include "Support.h"

#include "ArtFiles.h"

#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace zanthera::testing {
namespace {

// Either the read fails with an error that names an offset, or it gives a window that the writer
// accepts and that reads back to the same window. Returns whether the read succeeded; failures
// are reported as gtest failures labelled with `what`.
bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what) {
    auto read = readDefinition(block);
    if (!read) {
        EXPECT_EQ(read.error().message.rfind("offset ", 0), 0u)
            << what << ": " << read.error().message;
        return false;
    }
    auto again = writeDefinition(*read, zantheraDefinitionIds);
    if (!again) {
        ADD_FAILURE() << what << ": read but cannot be written: " << again.error().message;
        return true;
    }
    auto reread = readDefinition(*again);
    if (!reread)
        ADD_FAILURE() << what << ": written but cannot be read: " << reread.error().message;
    else
        EXPECT_TRUE(*reread == *read) << what << ": reads back differently";
    return true;
}

void expectCutsRefused(std::span<const std::uint8_t> block, const std::set<std::size_t>& lengths) {
    for (std::size_t length : lengths) {
        // A copy of exactly that many bytes, so that a sanitizer sees any read past them.
        const Bytes cut(block.begin(), block.begin() + long(length));
        EXPECT_FALSE(expectCleanOutcome(cut, "cut to " + std::to_string(length)));
    }
}

// Every truncation of a small block, and those at the record boundaries of the stored one.
TEST(Corruption, TruncationsAreRefused) {
    const Bytes small = blockOf(smallWindow());
    std::set<std::size_t> lengths;
    for (std::size_t length = 0; length < small.size(); ++length)
        lengths.insert(length);
    expectCutsRefused(small, lengths);
    const auto block = storedDefinition();
    std::set<std::size_t> cuts{89, 93, block.size() - 1};
    for (const auto& record : layoutOf(block).records)
        for (std::size_t edge : {record.offset, record.offset + record.length})
            cuts.insert({edge - 1, edge, edge + 1});
    expectCutsRefused(block, cuts);
}

// Every bit flip and every byte set to 0 or 255 is handled cleanly. A flip in the signature, the
// tree length, a record's length field or a marker leaves the block without a consistent frame,
// so there it must be refused.
TEST(Corruption, EveryFlipOrByteSetIsHandledCleanlyAndFlipsInTheFramingAreRefused) {
    const Bytes block = blockOf(smallWindow());
    std::set<std::size_t> framing{0, 1, 2, 3, 89, 90, 91, 92, block.size() - 1};
    for (const auto& record : layoutOf(block).records) {
        const std::size_t end = record.offset + record.length;
        framing.insert(
            {record.offset, record.offset + 1, record.offset + 2, record.offset + 3, end - 1, end});
    }
    for (std::size_t i = 0; i < block.size(); ++i) {
        for (int bit = -2; bit < 8; ++bit) {
            Bytes damaged = block;
            damaged[i] = bit == -2   ? 0x00
                         : bit == -1 ? 0xFF
                                     : static_cast<std::uint8_t>(damaged[i] ^ (1u << bit));
            const bool read = expectCleanOutcome(damaged, "byte " + std::to_string(i) + " change " +
                                                              std::to_string(bit));
            EXPECT_FALSE(read && bit >= 0 && framing.contains(i)) << "byte " << i << " bit " << bit;
        }
    }
}

TEST(Regressions, EveryKeptInputIsRefusedCleanly) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZANTHERA_REGRESSIONS_DIR)) {
        if (entry.path().extension() != ".bin")
            continue;
        ++inputs;
        const auto bytes = formdef::readFile(entry.path());
        ASSERT_TRUE(bytes) << bytes.error().message;
        EXPECT_FALSE(expectCleanOutcome(*bytes, entry.path().filename().string()));
    }
    EXPECT_GE(inputs, 10) << "inputs missing from " << ZANTHERA_REGRESSIONS_DIR;
}

} // namespace
} // namespace zanthera::testing
