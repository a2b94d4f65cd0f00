#include "BlockSearch.h"

#include "Form1/DefinitionBytes.h"
#include "Form1/DefinitionFormat.h"

#include <algorithm>

namespace zanthera::formdef {

using namespace definition;

namespace {

bool startsWithSignature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= signature.size() &&
           std::ranges::equal(bytes.first(signature.size()), signature);
}

// The header of a block at `at`, if it looks like one; the span then covers the whole block.
std::optional<FoundBlock> plausibleBlock(std::span<const std::uint8_t> file, std::size_t at) {
    const auto rest = file.subspan(at);
    if (rest.size() < treeOffset)
        return std::nullopt;
    const auto formClass = formClassId.stored();
    if (!std::ranges::equal(rest.subspan(formClassIdOffset, formClass.size()), formClass))
        return std::nullopt;
    const auto zeros = rest.subspan(zeroBytesOffset, zeroBytesCount);
    if (std::ranges::any_of(zeros, [](std::uint8_t b) { return b != 0; }))
        return std::nullopt;
    const std::uint64_t total = treeLengthOffset + std::uint64_t(loadU32(rest, treeLengthOffset));
    if (total > rest.size())
        return std::nullopt;
    return FoundBlock{at, rest.first(static_cast<std::size_t>(total))};
}

} // namespace

std::vector<FoundBlock> candidateBlocks(std::span<const std::uint8_t> file) {
    std::vector<FoundBlock> found;
    if (startsWithSignature(file))
        found.push_back({0, file});
    auto from = file.begin();
    for (;;) {
        const auto hit = std::search(from, file.end(), signature.begin(), signature.end());
        if (hit == file.end())
            break;
        const auto at = static_cast<std::size_t>(hit - file.begin());
        if (auto block = plausibleBlock(file, at);
            block && !(at == 0 && block->bytes.size() == file.size()))
            found.push_back(*block);
        from = hit + 1;
    }
    return found;
}

Result<LocatedDefinition> locateDefinition(std::span<const std::uint8_t> file) {
    const auto candidates = candidateBlocks(file);
    if (candidates.empty())
        return Error{"no stored window definition found (no signature FF CC 31 00 before a "
                     "plausible header)"};
    std::optional<Error> first;
    for (const auto& candidate : candidates) {
        auto parsed = parseDefinition(candidate.bytes);
        if (parsed)
            return LocatedDefinition{candidate, std::move(parsed).value()};
        if (!first) {
            first = parsed.error();
            if (candidate.fileOffset != 0 || candidate.bytes.size() != file.size())
                first->message = "block at file offset " + std::to_string(candidate.fileOffset) +
                                 ": " + first->message;
        }
    }
    return *first;
}

} // namespace zanthera::formdef
