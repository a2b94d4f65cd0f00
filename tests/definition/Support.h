// Windows, blocks and byte helpers shared by the definition tests (and the fuzzer's seeds).
#pragma once

#include "Form1/DefinitionReader.h"
#include "Form1/DefinitionWriter.h"
#include "Form1/WindowModel.h"
#include "ImageEncoders.h"

#include <cctype>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zanthera::testing {

using Bytes = std::vector<std::uint8_t>;

// The pictures of a window, made by the program's own encoders.
inline Bytes bitmapFile(int width, int height, int bitsPerPixel) {
    const auto depth = bitsPerPixel == 24 ? BitmapDepth::Bits24 : BitmapDepth::Bits32;
    return encodeBitmap(PixelBuffer::filled(width, height, 0x112233), depth).value();
}

inline Bytes iconFile(const std::vector<int>& sides) {
    std::vector<IconImage> images;
    for (int side : sides)
        images.push_back({PixelBuffer::filled(side, side, 0), std::vector<bool>(side * side)});
    return encodeIcon(images).value();
}

// The block of a model, which must be writable.
inline Bytes blockOf(const WindowModel& model) {
    auto block = writeDefinition(model, zantheraDefinitionIds);
    if (!block)
        throw std::runtime_error(block.error().message);
    return std::move(block).value();
}

// Bytes from a listing such as "1A 00 00 00 | 06 | 06 00"; bars and spaces separate groups.
inline Bytes hexBytes(std::string_view listing) {
    Bytes out;
    std::string digits;
    for (char c : listing) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
        if (digits.size() == 2) {
            out.push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return out;
}

// The parsed layout of a block that must be valid.
inline ParsedDefinition layoutOf(std::span<const std::uint8_t> block) {
    auto parsed = parseDefinition(block);
    if (!parsed)
        throw std::runtime_error(parsed.error().message);
    return std::move(parsed).value();
}

inline const StoredRecord& recordNamed(const ParsedDefinition& parsed, std::string_view name) {
    for (const auto& r : parsed.records)
        if (r.name == name)
            return r;
    throw std::runtime_error("no record " + std::string(name));
}

// Little-endian writes into a block, for planting faults at known offsets.
inline void put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

namespace detail {

inline ControlModel control(std::string name, std::uint8_t index, ControlKind kind) {
    ControlModel c;
    c.name = std::move(name);
    c.index = index;
    c.kind = kind;
    return c;
}

} // namespace detail

// A window with one control of each kind, every encoding and tiny pictures: small enough to
// corrupt byte by byte.
inline WindowModel smallWindow() {
    WindowModel m;
    m.form.caption = "Small";
    m.form.colour = StoredColour::rgb(1, 0, 66);
    m.form.background = bitmapFile(3, 2, 24);
    m.form.borderStyle = Border::FixedSingle;
    m.form.icon = iconFile({2});
    m.form.linkTopic = "Form1";
    m.form.minimizeButton = false;
    m.form.client = {4770, 2085, 6375, 7620};
    ControlModel button = detail::control("Command8", 1, ControlKind::Button);
    button.backColour = StoredColour::rgb(0, 0, 255);
    button.extents = {240, 240, 375, 375};
    button.tabIndex = 0;
    button.font = FontSpec{1, 178, 0, 400, 180000, "MS Sans Serif"};
    button.picture = bitmapFile(1, 1, 32);
    button.buttonStyle = ButtonStyle::Graphical;
    ControlModel timer = detail::control("Timer1", 2, ControlKind::Timer);
    timer.timerLeft = 0x14A0;
    timer.timerTop = 0x0528;
    ControlModel text = detail::control("Text1", 3, ControlKind::TextBox);
    text.backColour = StoredColour::system(SystemColour::InactiveCaption);
    text.extents = {720, 3960, 2655, 615};
    text.tabIndex = 1;
    text.alignment = Alignment::Centre;
    text.multiLine = true;
    ControlModel label = detail::control("Label8", 4, ControlKind::Label);
    label.caption = "اليوم";
    label.extents = {5280, 2640, 615, 255};
    label.tabIndex = 2;
    label.alignment = Alignment::Centre;
    label.backStyle = BackStyle::Transparent;
    m.controls = {button, timer, text, label};
    return m;
}

} // namespace zanthera::testing
