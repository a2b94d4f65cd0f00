#include "TestWindows.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionFormat.h"
#include "Form1/DefinitionPictures.h"
#include "Form1/DefinitionWriter.h"

#include <array>
#include <cctype>
#include <stdexcept>
#include <string>

namespace zanthera::testing {

using definition::blankBitmap;
using definition::blankIcon;

namespace {

ControlModel control(std::string name, std::uint8_t index, ControlKind kind) {
    ControlModel c;
    c.name = std::move(name);
    c.index = index;
    c.kind = kind;
    return c;
}

void storeU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t loadU32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b.at(at)) | std::uint32_t(b.at(at + 1)) << 8 |
           std::uint32_t(b.at(at + 2)) << 16 | std::uint32_t(b.at(at + 3)) << 24;
}

} // namespace

WindowModel smallWindow() {
    static constexpr std::array<std::uint8_t, 1> iconSide{2};
    WindowModel m;
    m.form.caption = "Small";
    m.form.colour = StoredColour::rgb(1, 0, 66);
    m.form.background = blankBitmap(3, 2, 24, 0x11);
    m.form.borderStyle = 1;
    m.form.icon = blankIcon(iconSide);
    m.form.linkTopic = "Form1";
    m.form.button26 = false;
    m.form.client = {4770, 2085, 6375, 7620};
    ControlModel button = control("Command8", 1, ControlKind::Button);
    button.backColour = StoredColour::rgb(0, 0, 255);
    button.extents = {240, 240, 375, 375};
    button.tabIndex = 0;
    button.font = FontSpec{1, 178, 0, 400, 180000, "MS Sans Serif"};
    button.picture = blankBitmap(1, 1, 32, 0xFF);
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

WindowModel designedWindowWithBlankPictures() {
    static constexpr std::array<std::uint8_t, 2> iconSides{32, 16};
    WindowModel m = design::designedWindow();
    m.form.background = blankBitmap(426, 509, 24, 0x40);
    m.form.icon = blankIcon(iconSides);
    for (auto& c : m.controls) {
        if (c.kind != ControlKind::Button)
            continue;
        const auto* row = design::findControl(c.name);
        c.picture = blankBitmap(static_cast<std::uint16_t>(row->picture.width),
                                static_cast<std::uint16_t>(row->picture.height), 32, 0xFF);
    }
    return m;
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

void adjustLengths(Bytes& block, const StoredRecord& record, long delta) {
    storeU32(block, record.offset, static_cast<std::uint32_t>(long(record.length) + delta));
    const std::size_t tree = definition::treeLengthOffset;
    storeU32(block, tree, static_cast<std::uint32_t>(long(loadU32(block, tree)) + delta));
}

} // namespace zanthera::testing
