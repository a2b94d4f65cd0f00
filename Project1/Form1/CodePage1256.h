// Windows code page 1256 (Arabic), the single-byte text of the stored window definition. Every one
// of the 256 bytes stands for a character, so decoding cannot fail; encoding fails on any character
// that the code page lacks, because a silent substitute would change the window's texts unseen.
#pragma once

#include "base/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zanthera {

// The Unicode code point that one code page 1256 byte stands for.
char32_t cp1256ToUnicode(std::uint8_t byte);

// Code page 1256 bytes to UTF-8.
std::string decodeCp1256(std::span<const std::uint8_t> bytes);

// UTF-8 to code page 1256. Malformed UTF-8 and characters outside the code page are errors whose
// message names the byte position in the UTF-8 text.
Result<std::vector<std::uint8_t>> encodeCp1256(std::string_view utf8);

} // namespace zanthera
