#include "Support.h"

#include "Form1/DefinitionWriter.h"
#include "Form1/ImageFiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <stdexcept>

namespace zanthera::testing {

namespace {

ControlModel control(std::string name, std::uint8_t index, ControlKind kind) {
    ControlModel c;
    c.name = std::move(name);
    c.index = index;
    c.kind = kind;
    return c;
}

} // namespace

WindowModel smallWindow() {
    WindowModel m;
    m.form.caption = "Small";
    m.form.colour = StoredColour::rgb(1, 0, 66);
    m.form.background = bitmapFile(3, 2, 24);
    m.form.borderStyle = 1;
    m.form.icon = iconFile({2});
    m.form.linkTopic = "Form1";
    m.form.button26 = false;
    m.form.client = {4770, 2085, 6375, 7620};
    ControlModel button = control("Command8", 1, ControlKind::Button);
    button.backColour = StoredColour::rgb(0, 0, 255);
    button.extents = {240, 240, 375, 375};
    button.tabIndex = 0;
    button.font = FontSpec{1, 178, 0, 400, 180000, "MS Sans Serif"};
    button.picture = bitmapFile(1, 1, 32);
    button.buttonStyle = 1;
    ControlModel timer = control("Timer1", 2, ControlKind::Timer);
    timer.timerValue07 = 0x14A0;
    timer.timerValue08 = 0x0528;
    ControlModel text = control("Text1", 3, ControlKind::TextBox);
    text.backColour = StoredColour::system(3);
    text.extents = {720, 3960, 2655, 615};
    text.tabIndex = 1;
    text.alignment = 2;
    text.textBoxOption = true;
    ControlModel label = control("Label8", 4, ControlKind::Label);
    label.caption = "اليوم";
    label.extents = {5280, 2640, 615, 255};
    label.tabIndex = 2;
    label.alignment = 2;
    label.backStyle = 0;
    m.controls = {button, timer, text, label};
    return m;
}

Bytes bitmapFile(int width, int height, int bitsPerPixel) {
    const auto depth = bitsPerPixel == 24 ? BitmapDepth::Bits24 : BitmapDepth::Bits32;
    return encodeBitmap(PixelBuffer::filled(width, height, 0x112233), depth).value();
}

Bytes iconFile(std::initializer_list<int> sides) {
    std::vector<IconImage> images;
    for (int side : sides)
        images.push_back({PixelBuffer::filled(side, side, 0), std::vector<bool>(side * side)});
    return encodeIcon(images).value();
}

Bytes blockOf(const WindowModel& model) {
    auto block = writeDefinition(model, zantheraDefinitionIds);
    if (!block)
        throw std::runtime_error(block.error().message);
    return std::move(block).value();
}

Bytes hexBytes(std::string_view listing) {
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

ParsedDefinition layoutOf(std::span<const std::uint8_t> block) {
    auto parsed = parseDefinition(block);
    if (!parsed)
        throw std::runtime_error(parsed.error().message);
    return std::move(parsed).value();
}

const StoredRecord& recordNamed(const ParsedDefinition& parsed, std::string_view name) {
    for (const auto& r : parsed.records)
        if (r.name == name)
            return r;
    throw std::runtime_error("no record " + std::string(name));
}

void put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what) {
    auto read = readDefinition(block);
    if (!read) {
        EXPECT_EQ(read.error().message.rfind("offset ", 0), 0u)
            << what << ": " << read.error().message;
        return false;
    }
    auto again = writeDefinition(*read, zantheraDefinitionIds);
    if (!again) {
        ADD_FAILURE() << what << ": read but cannot be written: " << again.error().message;
        return true;
    }
    auto reread = readDefinition(*again);
    if (!reread)
        ADD_FAILURE() << what << ": written but cannot be read: " << reread.error().message;
    else
        EXPECT_TRUE(*reread == *read) << what << ": reads back differently";
    return true;
}

} // namespace zanthera::testing
