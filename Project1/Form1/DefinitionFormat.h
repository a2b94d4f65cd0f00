// What is fixed in the stored window definition's byte format: the header's layout, the record
// markers, the identifiers, and the limits that a reader enforces before it trusts any length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zanthera {

// A 16-byte identifier. It is stored with its first three fields little-endian and the last eight
// bytes in their written order, the usual layout of a GUID in memory.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    std::array<std::uint8_t, 16> stored() const;
    static Guid fromStored(std::span<const std::uint8_t, 16> bytes);
    std::string text() const; // "{33AD4F3A-6699-11CF-B70C-00AA0060D393}"
    friend bool operator==(const Guid&, const Guid&) = default;
};

// The identifiers that a project gives its window: the window's own, which the project's window
// table repeats, and a second one that the project description holds after the window's name.
struct DefinitionIds {
    Guid window;
    Guid second;
    friend bool operator==(const DefinitionIds&, const DefinitionIds&) = default;
};

// Zanthera's own pair, made once for this project. They must never change: the program's window
// table and any tool that recognises the window depend on them.
inline constexpr DefinitionIds zantheraDefinitionIds{
    {0x035BE033, 0x023E, 0x48A9, {0xAB, 0x11, 0x9C, 0xE7, 0x27, 0x06, 0x1D, 0x8F}},
    {0xE9CC4AAF, 0x44E1, 0x401A, {0x84, 0x7A, 0x4D, 0x13, 0xBE, 0xAB, 0x01, 0xC5}},
};

namespace definition {

// The forms runtime's class identifier for a window; the header carries it for every window.
inline constexpr Guid formClassId{
    0x33AD4F3A, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

inline constexpr std::array<std::uint8_t, 4> signature{0xFF, 0xCC, 0x31, 0x00};

// Header layout, in bytes from the block's first byte.
inline constexpr std::size_t controlCountOffset = 4;
inline constexpr std::size_t windowIdOffset = 5;
inline constexpr std::size_t secondIdOffset = 21;
inline constexpr std::size_t formClassIdOffset = 37;
inline constexpr std::size_t zeroBytesOffset = 53;
inline constexpr std::size_t zeroBytesCount = 36;
inline constexpr std::size_t treeLengthOffset = 89; // also the header's length
inline constexpr std::size_t treeOffset = 93;

// Markers between records: the controls' list opens, continues, closes, and the window ends.
inline constexpr std::uint8_t markerOpen = 0x01;
inline constexpr std::uint8_t markerClose = 0x02;
inline constexpr std::uint8_t markerNext = 0x03;
inline constexpr std::uint8_t markerEnd = 0x04;

// The byte that ends a record's property list where an opcode would otherwise stand.
inline constexpr std::uint8_t recordEnd = 0xFF;

// The picture stream header that precedes every embedded image file: "lt" and two zero bytes.
inline constexpr std::array<std::uint8_t, 4> pictureTag{0x6C, 0x74, 0x00, 0x00};

// Record layout: length (4), creation index (1), name length (2), name, 00, type code (1),
// properties, end byte (1). The smallest record has a one-letter name and no properties.
inline constexpr std::size_t recordFixedBytes = 4 + 1 + 2 + 1 + 1 + 1;
inline constexpr std::size_t smallestRecord = recordFixedBytes + 1;

// Hard limits. They are far above anything a window of this kind holds and keep a damaged or
// hostile block from making the reader allocate or loop without bound. The header stores the
// number of controls in one byte, which caps the controls at 255.
inline constexpr std::size_t maxControls = 255;
inline constexpr std::size_t maxNameBytes = 40;
inline constexpr std::size_t maxTextBytes = 4096;
inline constexpr std::size_t maxFontNameBytes = 31;
inline constexpr std::size_t maxPictureBytes = 16u << 20;

} // namespace definition
} // namespace zanthera
