// Finding a stored window definition in a file: either the file is the block itself, or it is a
// program that carries the block somewhere among its data.
#pragma once

#include "Form1/DefinitionReader.h"
#include "base/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zanthera::formdef {

struct FoundBlock {
    std::size_t fileOffset = 0;
    std::span<const std::uint8_t> bytes;
};

// The places that may hold a block, in the order to try them: the whole file when it begins with
// the signature, then every place where the signature stands before a plausible header (the
// window class identifier, the zero bytes, and a tree length that fits in the file).
std::vector<FoundBlock> candidateBlocks(std::span<const std::uint8_t> file);

struct LocatedDefinition {
    FoundBlock block;
    ParsedDefinition parsed;
};

// The first candidate that reads without a fault. When none does, the error is the first
// candidate's, so that a damaged raw block reports its own fault.
Result<LocatedDefinition> locateDefinition(std::span<const std::uint8_t> file);

} // namespace zanthera::formdef
