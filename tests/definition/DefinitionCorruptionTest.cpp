// A damaged block never crashes the reader and never reads outside the block: each damage gives
// a clean error or a window that is itself consistent. Run under the sanitizers, these sweeps
// also catch any read past the end of a buffer.

#include "CleanOutcome.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zanthera::testing {
namespace {

TEST(Corruption, EveryTruncationOfASmallBlockIsRefused) {
    const Bytes block = blockOf(smallWindow());
    for (std::size_t length = 0; length < block.size(); ++length) {
        // A copy of exactly that many bytes, so that a sanitizer sees any read past them.
        const Bytes cut(block.begin(), block.begin() + long(length));
        EXPECT_FALSE(expectCleanOutcome(cut, "cut to " + std::to_string(length)));
    }
}

TEST(Corruption, TruncationsAtRecordBoundariesOfTheFullBlockAreRefused) {
    const Bytes block = blockOf(designedWindowWithBlankPictures());
    std::set<std::size_t> cuts{89, 93};
    for (const auto& record : layoutOf(block).records)
        for (std::size_t edge : {record.offset, record.offset + record.length})
            for (std::size_t cut : {edge - 1, edge, edge + 1})
                cuts.insert(cut);
    cuts.insert(block.size() - 1);
    for (std::size_t length : cuts) {
        const Bytes cut(block.begin(), block.begin() + long(length));
        EXPECT_FALSE(expectCleanOutcome(cut, "cut to " + std::to_string(length)));
    }
}

TEST(Corruption, EveryBitFlipOfASmallBlockIsHandledCleanly) {
    const Bytes block = blockOf(smallWindow());
    for (std::size_t i = 0; i < block.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = block;
            damaged[i] ^= static_cast<std::uint8_t>(1u << bit);
            expectCleanOutcome(damaged,
                               "byte " + std::to_string(i) + " bit " + std::to_string(bit));
        }
    }
}

TEST(Corruption, FlipsInTheFramingAreAlwaysRefused) {
    const Bytes block = blockOf(smallWindow());
    const ParsedDefinition layout = layoutOf(block);
    // The signature, the tree length, every record's length field and every marker: a flip in
    // any of these leaves the block without a consistent frame.
    std::set<std::size_t> framing{0, 1, 2, 3, 89, 90, 91, 92, block.size() - 1};
    for (const auto& record : layout.records) {
        for (std::size_t i = 0; i < 4; ++i)
            framing.insert(record.offset + i);
        framing.insert(record.offset + record.length);
        framing.insert(record.offset + record.length - 1);
    }
    for (std::size_t i : framing) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = block;
            damaged[i] ^= static_cast<std::uint8_t>(1u << bit);
            EXPECT_FALSE(expectCleanOutcome(damaged, "byte " + std::to_string(i) + " bit " +
                                                         std::to_string(bit)));
        }
    }
}

TEST(Corruption, SettingEveryByteOfASmallBlockTo0Or255IsHandledCleanly) {
    const Bytes block = blockOf(smallWindow());
    for (std::uint8_t value : {std::uint8_t(0x00), std::uint8_t(0xFF)}) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            Bytes damaged = block;
            damaged[i] = value;
            expectCleanOutcome(damaged,
                               "byte " + std::to_string(i) + " = " + std::to_string(value));
        }
    }
}

} // namespace
} // namespace zanthera::testing
