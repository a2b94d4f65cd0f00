#include "ValueRules.h"

#include "DefinitionFormat.h"

#include <algorithm>
#include <cstdio>

namespace zanthera::definition {

namespace {

constexpr std::uint8_t fontVersion = 1;
constexpr std::uint16_t heaviestFont = 1000;
// The system colours that Windows numbers run from 0 to 30.
constexpr std::uint32_t lastSystemColour = 30;

} // namespace

std::string hexText(std::uint32_t v, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, static_cast<unsigned>(v));
    return buffer;
}

std::optional<std::string> textProblem(std::span<const std::uint8_t> text) {
    if (text.size() > maxTextBytes)
        return "text of " + std::to_string(text.size()) + " bytes exceeds the limit of " +
               std::to_string(maxTextBytes);
    if (std::ranges::find(text, 0) != text.end())
        return "text holds a 00 byte";
    return std::nullopt;
}

std::optional<std::string> colourProblem(std::uint32_t v) {
    const bool system = (v & StoredColour::systemFlag) != 0;
    if (system ? (v & ~StoredColour::systemFlag) > lastSystemColour : (v >> 24) != 0)
        return "colour " + hexText(v, 8) + " is neither an RGB colour nor a system colour";
    return std::nullopt;
}

std::optional<std::string> choiceProblem(std::uint8_t v, const PropertyRule& rule) {
    if (v > rule.maxChoice)
        return "choice " + std::to_string(v) + " of the " + std::string(rule.name) +
               " is not one of 0 to " + std::to_string(rule.maxChoice);
    return std::nullopt;
}

std::optional<std::string> fontProblem(const FontSpec& f) {
    if (f.version != fontVersion)
        return "font version " + std::to_string(f.version) + " is not known";
    if (f.weight > heaviestFont)
        return "font weight " + std::to_string(f.weight) + " is out of range";
    if (f.name.size() > maxFontNameBytes)
        return "font name of " + std::to_string(f.name.size()) + " bytes is too long";
    if (!std::ranges::all_of(f.name, [](char c) { return c >= 0x20 && c < 0x7F; }))
        return "font name is not printable ASCII";
    return std::nullopt;
}

std::optional<std::string> pictureSizeProblem(std::size_t fileBytes) {
    if (fileBytes > maxPictureBytes)
        return "picture of " + std::to_string(fileBytes) + " bytes exceeds the limit of " +
               std::to_string(maxPictureBytes);
    return std::nullopt;
}

std::optional<std::string> nameProblem(std::span<const std::uint8_t> name) {
    const auto letter = [](std::uint8_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
    const auto identifierChar = [&](std::uint8_t c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '_';
    };
    if (name.empty() || name.size() > maxNameBytes)
        return "name of " + std::to_string(name.size()) + " bytes is not 1 to " +
               std::to_string(maxNameBytes) + " bytes long";
    if (!letter(name[0]) || !std::ranges::all_of(name, identifierChar))
        return "name is not a letter followed by letters, digits and underscores";
    return std::nullopt;
}

std::optional<std::string> nameProblem(std::string_view name) {
    return nameProblem(std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
}

} // namespace zanthera::definition
