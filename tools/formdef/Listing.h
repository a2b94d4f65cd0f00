// A readable table of a parsed definition's records, opcodes and values, and the pictures taken
// out of it as files.
#pragma once

#include "Form1/DefinitionReader.h"
#include "base/Result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zanthera::formdef {

// One value as a maintainer reads it: texts quoted, colours as RGB or system colours, pictures
// by kind, size in pixels and length in bytes.
std::string describeValue(const definition::PropertyValue& value);

// The header and every record with its properties, one line each, offsets counted in the block.
std::string listDefinition(const ParsedDefinition& parsed);

// Writes every picture into `dir` as <record>.bmp or <record>.ico (with the setting's name added
// when a record holds two pictures of one kind) and returns the files written.
Result<std::vector<std::filesystem::path>> extractPictures(const ParsedDefinition& parsed,
                                                           const std::filesystem::path& dir);

} // namespace zanthera::formdef
