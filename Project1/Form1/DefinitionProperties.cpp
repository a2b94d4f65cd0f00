#include "DefinitionProperties.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace zanthera::definition {

bool operator==(const PictureBytes& a, const PictureBytes& b) {
    return std::ranges::equal(a.file, b.file);
}

namespace {

using E = Encoding;
using S = Setting;

// clang-format off
constexpr std::array windowRules{
    PropertyRule{0x01, E::Text, S::Caption, "caption"},
    PropertyRule{0x19, E::Colour, S::WindowColour, "colour"},
    PropertyRule{0x21, E::Picture, S::Background, "picture"},
    PropertyRule{0x22, E::Choice, S::BorderStyle, "border style", false, 5},
    PropertyRule{0x23, E::Picture, S::Icon, "icon"},
    PropertyRule{0x24, E::Text, S::LinkTopic, "link topic"},
    PropertyRule{0x26, E::Boolean, S::MinimizeButton, "minimize button"},
    PropertyRule{0x27, E::Boolean, S::MaximizeButton, "maximize button"},
    PropertyRule{0x35, E::ClientRect, S::ClientArea, "client area", true},
};
constexpr std::array buttonRules{
    PropertyRule{0x03, E::Colour, S::BackColour, "face colour"},
    PropertyRule{0x04, E::Extents, S::Extents, "extents", true},
    PropertyRule{0x11, E::TabIndex, S::TabIndex, "tab index"},
    PropertyRule{0x1D, E::Font, S::Font, "font"},
    PropertyRule{0x22, E::Picture, S::Picture, "picture"},
    PropertyRule{0x29, E::Choice, S::ButtonStyle, "style", false, 1},
};
constexpr std::array labelRules{
    PropertyRule{0x01, E::Text, S::Caption, "caption"},
    PropertyRule{0x03, E::Colour, S::BackColour, "back colour"},
    PropertyRule{0x05, E::Extents, S::Extents, "extents", true},
    PropertyRule{0x12, E::TabIndex, S::TabIndex, "tab index"},
    PropertyRule{0x13, E::Choice, S::BorderStyle, "border style", false, 1},
    PropertyRule{0x14, E::Choice, S::Alignment, "alignment", false, 2},
    PropertyRule{0x1F, E::Choice, S::BackStyle, "back style", false, 1},
};
constexpr std::array textBoxRules{
    PropertyRule{0x02, E::Colour, S::BackColour, "back colour"},
    PropertyRule{0x04, E::Extents, S::Extents, "extents", true},
    PropertyRule{0x12, E::TabIndex, S::TabIndex, "tab index"},
    PropertyRule{0x24, E::Choice, S::Alignment, "alignment", false, 2},
    PropertyRule{0x2D, E::Boolean, S::MultiLine, "multi-line"},
};
constexpr std::array timerRules{
    PropertyRule{0x07, E::FourBytes, S::TimerLeft, "timer left", true},
    PropertyRule{0x08, E::FourBytes, S::TimerTop, "timer top", true},
};

// clang-format on

} // namespace

bool isKnownKind(std::uint8_t typeCode) {
    switch (static_cast<ControlKind>(typeCode)) {
    case ControlKind::Label:
    case ControlKind::TextBox:
    case ControlKind::Button:
    case ControlKind::Timer:
    case ControlKind::Window:
        return true;
    }
    return false;
}

std::string_view kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "label";
    case ControlKind::TextBox:
        return "text box";
    case ControlKind::Button:
        return "button";
    case ControlKind::Timer:
        return "timer";
    case ControlKind::Window:
        return "window";
    }
    return "unknown";
}

std::span<const PropertyRule> rulesFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return labelRules;
    case ControlKind::TextBox:
        return textBoxRules;
    case ControlKind::Button:
        return buttonRules;
    case ControlKind::Timer:
        return timerRules;
    case ControlKind::Window:
        return windowRules;
    }
    return {};
}

const PropertyRule* ruleForOpcode(ControlKind kind, std::uint8_t opcode) {
    for (const auto& rule : rulesFor(kind))
        if (rule.opcode == opcode)
            return &rule;
    return nullptr;
}

const PropertyRule* ruleForSetting(ControlKind kind, Setting setting) {
    for (const auto& rule : rulesFor(kind))
        if (rule.setting == setting)
            return &rule;
    return nullptr;
}

} // namespace zanthera::definition
