// Windows and byte helpers shared by the definition tests.
#pragma once

#include "Form1/DefinitionReader.h"
#include "Form1/WindowModel.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zanthera::testing {

using Bytes = std::vector<std::uint8_t>;

// A window with one control of each kind, every encoding and tiny pictures: small enough to
// corrupt byte by byte.
WindowModel smallWindow();

// The designed window with blank pictures of the artwork's exact sizes.
WindowModel designedWindowWithBlankPictures();

// The block of a model, which must be writable.
Bytes blockOf(const WindowModel& model);

// Bytes from a listing such as "1A 00 00 00 | 06 | 06 00"; bars and spaces separate groups.
Bytes hexBytes(std::string_view listing);

// The parsed layout of a block that must be valid.
ParsedDefinition layoutOf(std::span<const std::uint8_t> block);

const StoredRecord& recordNamed(const ParsedDefinition& parsed, std::string_view name);

// Little-endian writes into a block, for planting faults at known offsets.
inline void put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// Rewrites a record's length field and the tree length after `delta` bytes were inserted into
// (or, when negative, removed from) the record.
void adjustLengths(Bytes& block, const StoredRecord& record, long delta);

} // namespace zanthera::testing
