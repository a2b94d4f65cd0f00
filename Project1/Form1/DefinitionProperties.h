// The properties that a record of the stored window definition can hold: for each kind of record,
// its opcodes, the encoding of each opcode's value, and the setting of the window model that the
// value belongs to. The reader and the writer share these tables, so they agree by construction.
#pragma once

#include "WindowModel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace zanthera::definition {

enum class Encoding : std::uint8_t {
    Text,       // u16 length, code page 1256 bytes, 00
    Extents,    // four u16: left, top, width, height
    ClientRect, // four u32: left, top, width, height
    Colour,     // u32, RGB or a system colour
    Choice,     // u8 from a fixed list
    Boolean,    // FF or 00
    TabIndex,   // u16
    Picture,    // u32 length, "lt" stream header, one whole image file
    Font,       // version, character set, style, weight, size, name
    FourBytes,  // a u32 whose meaning belongs to the setting
};

struct Choice {
    std::uint8_t value = 0;
    friend bool operator==(const Choice&, const Choice&) = default;
};
struct TabIndex {
    std::uint16_t value = 0;
    friend bool operator==(const TabIndex&, const TabIndex&) = default;
};
struct FourBytes {
    std::uint32_t value = 0;
    friend bool operator==(const FourBytes&, const FourBytes&) = default;
};
// One whole image file, seen in place: in the block for a reader, in the model for a writer.
struct PictureBytes {
    std::span<const std::uint8_t> file;
    friend bool operator==(const PictureBytes& a, const PictureBytes& b);
};

// A property's value. The alternatives stand in the order of Encoding, so that the index of the
// alternative is the encoding of the value; texts are UTF-8 here.
using PropertyValue = std::variant<std::string, Extents, ClientRect, StoredColour, Choice, bool,
                                   TabIndex, PictureBytes, FontSpec, FourBytes>;

inline Encoding encodingOf(const PropertyValue& v) {
    return static_cast<Encoding>(v.index());
}

template <Encoding e> using ValueOf = std::variant_alternative_t<std::size_t(e), PropertyValue>;
static_assert(std::is_same_v<ValueOf<Encoding::Text>, std::string>);
static_assert(std::is_same_v<ValueOf<Encoding::Boolean>, bool>);
static_assert(std::is_same_v<ValueOf<Encoding::Picture>, PictureBytes>);
static_assert(std::is_same_v<ValueOf<Encoding::FourBytes>, FourBytes>);
static_assert(std::variant_size_v<PropertyValue> == std::size_t(Encoding::FourBytes) + 1);

enum class Setting : std::uint8_t {
    Caption,
    BackColour,
    Extents,
    TabIndex,
    BorderStyle,
    Alignment,
    BackStyle,
    ButtonStyle,
    Font,
    Picture,
    MultiLine,
    TimerLeft,
    TimerTop,
    WindowColour,
    Background,
    Icon,
    LinkTopic,
    MinimizeButton,
    MaximizeButton,
    ClientArea,
};

struct PropertyRule {
    std::uint8_t opcode;
    Encoding encoding;
    Setting setting;
    std::string_view name;
    // Position, size and the timer's two values are stored even at their defaults.
    bool alwaysStored = false;
    // The largest value a choice may take; the smaller ones are the known choices.
    std::uint8_t maxChoice = 0;
};

// The kinds that may stand in a record, and their names for messages and listings.
bool isKnownKind(std::uint8_t typeCode);
std::string_view kindName(ControlKind kind);

// The opcodes of one kind, rising.
std::span<const PropertyRule> rulesFor(ControlKind kind);
const PropertyRule* ruleForOpcode(ControlKind kind, std::uint8_t opcode);
const PropertyRule* ruleForSetting(ControlKind kind, Setting setting);

} // namespace zanthera::definition
