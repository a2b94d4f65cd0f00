// Reads a stored window definition into the window model.
//
// The block may come from anywhere, so the reader trusts none of it: every length is checked
// against the bytes that are really there before it is used, only known kinds of record are
// accepted, and counts, texts and pictures have hard limits. Any fault is an Error whose message
// begins with the byte offset of the fault, e.g. "offset 1234: record length 99999 runs past the
// end of the block".
//
// An opcode missing from the tables of known properties does not fail the read: the reader cannot
// tell how long its value is, so it steps over the rest of that record by the record's length.
// The settings read before the unknown opcode are kept; the settings after it cannot be found and
// keep their defaults. The record must still end with its end byte FF where its length says.
#pragma once

#include "DefinitionFormat.h"
#include "DefinitionProperties.h"
#include "WindowModel.h"
#include "base/Result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zanthera {

// One property as it stands in a record. Pictures point into the block that was read.
struct StoredProperty {
    std::size_t offset = 0; // of the opcode
    const definition::PropertyRule* rule = nullptr;
    definition::PropertyValue value;
};

// Where a record's properties stopped being readable because of an unknown opcode.
struct SteppedOver {
    std::size_t offset = 0;
    std::uint8_t opcode = 0;
};

struct StoredRecord {
    std::size_t offset = 0; // of the record length field
    std::uint32_t length = 0;
    std::uint8_t index = 0;
    std::string name;
    ControlKind kind = ControlKind::Window;
    std::vector<StoredProperty> properties;
    std::optional<SteppedOver> steppedOver;
};

// The block as it is laid out: the header's identifiers and every record, the window's first.
// It refers to the block's bytes, which must outlive it.
struct ParsedDefinition {
    DefinitionIds ids;
    std::vector<StoredRecord> records;
    std::size_t size = 0;
};

// Checks and takes apart a whole block; the span must be exactly the block.
Result<ParsedDefinition> parseDefinition(std::span<const std::uint8_t> block);

enum class Pictures { Copied, Referred };

// The window that a block defines, with its texts decoded to UTF-8. Its pictures are copied out
// of the block, or, for a block that lasts as long as the program, only referred to.
Result<WindowModel> readDefinition(std::span<const std::uint8_t> block,
                                   Pictures pictures = Pictures::Copied);

// The window model of an already parsed block; its pictures refer to the block's bytes, which
// must last as long as the model and whatever is made from its pictures.
WindowModel modelFromParsed(const ParsedDefinition& parsed);

} // namespace zanthera
