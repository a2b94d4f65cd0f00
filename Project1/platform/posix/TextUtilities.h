// Small text helpers shared by the command-line reader, the desktop detection and the messages.
// Everything here works on bytes and ASCII case only, which is all these texts need.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanthera::posix {

std::string lowerAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Removes spaces and tabs at both ends.
std::string_view trimSpaces(std::string_view text);

// The text up to the first space, and the rest without its leading spaces.
std::pair<std::string_view, std::string_view> splitFirstWord(std::string_view text);

// Every field between separators, empty fields included.
std::vector<std::string_view> splitOn(std::string_view text, char separator);

// The words joined by single spaces, as a person would type the command.
std::string joinWords(const std::vector<std::string>& words);

} // namespace zanthera::posix
