// Windows, blocks and byte helpers shared by the definition tests.
#pragma once

#include "Form1/DefinitionReader.h"
#include "Form1/WindowModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zanthera::testing {

using Bytes = std::vector<std::uint8_t>;

// A window with one control of each kind, every encoding and tiny pictures: small enough to
// corrupt byte by byte.
WindowModel smallWindow();

// The pictures of a window, made by the program's own encoders.
Bytes bitmapFile(int width, int height, int bitsPerPixel);
Bytes iconFile(std::initializer_list<int> sides);

// The block of a model, which must be writable.
Bytes blockOf(const WindowModel& model);

// Bytes from a listing such as "1A 00 00 00 | 06 | 06 00"; bars and spaces separate groups.
Bytes hexBytes(std::string_view listing);

// The parsed layout of a block that must be valid.
ParsedDefinition layoutOf(std::span<const std::uint8_t> block);

const StoredRecord& recordNamed(const ParsedDefinition& parsed, std::string_view name);

// Little-endian writes into a block, for planting faults at known offsets.
void put16(Bytes& b, std::size_t at, std::uint16_t v);
void put32(Bytes& b, std::size_t at, std::uint32_t v);

// Either the read fails with an error that names an offset, or it gives a window that the writer
// accepts and that reads back to the same window. Returns whether the read succeeded; failures
// are reported as gtest failures labelled with `what`.
bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what);

} // namespace zanthera::testing
