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

// Where each setting lives in the model. The member's type decides how its value is encoded.
template <typename Model, typename T> struct Field {
    Setting setting;
    T Model::*member;
    std::string_view name;
};
template <typename Model, typename T>
Field(Setting, T Model::*, std::string_view) -> Field<Model, T>;

constexpr std::tuple formFields{
    Field{S::Caption, &FormModel::caption, "caption"},
    Field{S::WindowColour, &FormModel::colour, "colour"},
    Field{S::Background, &FormModel::background, "picture"},
    Field{S::BorderStyle, &FormModel::borderStyle, "border style"},
    Field{S::Icon, &FormModel::icon, "icon"},
    Field{S::LinkTopic, &FormModel::linkTopic, "link topic"},
    Field{S::MinimizeButton, &FormModel::minimizeButton, "minimize button"},
    Field{S::MaximizeButton, &FormModel::maximizeButton, "maximize button"},
    Field{S::ClientArea, &FormModel::client, "client area"},
};
constexpr std::tuple controlFields{
    Field{S::Caption, &ControlModel::caption, "caption"},
    Field{S::BackColour, &ControlModel::backColour, "back colour"},
    Field{S::Extents, &ControlModel::extents, "extents"},
    Field{S::TabIndex, &ControlModel::tabIndex, "tab index"},
    Field{S::BorderStyle, &ControlModel::borderStyle, "border style"},
    Field{S::Alignment, &ControlModel::alignment, "alignment"},
    Field{S::BackStyle, &ControlModel::backStyle, "back style"},
    Field{S::ButtonStyle, &ControlModel::buttonStyle, "button style"},
    Field{S::Font, &ControlModel::font, "font"},
    Field{S::Picture, &ControlModel::picture, "picture"},
    Field{S::MultiLine, &ControlModel::multiLine, "multi-line"},
    Field{S::TimerLeft, &ControlModel::timerLeft, "timer left"},
    Field{S::TimerTop, &ControlModel::timerTop, "timer top"},
};

template <typename Fields> constexpr auto settingsIn(const Fields& fields) {
    return std::apply([](const auto&... f) { return std::array{f.setting...}; }, fields);
}
constexpr auto formSettingList = settingsIn(formFields);
constexpr auto controlSettingList = settingsIn(controlFields);

// Calls `visit` with the model's member that holds the setting; false if the model has none.
template <typename Model, typename Fields, typename Visit>
bool visitField(Model& model, const Fields& fields, Setting setting, Visit&& visit) {
    bool found = false;
    auto tryField = [&](const auto& field) {
        if (!found && field.setting == setting) {
            visit(model.*(field.member));
            found = true;
        }
    };
    std::apply([&](const auto&... field) { (tryField(field), ...); }, fields);
    return found;
}

// A member's value as a property value. Every member type maps to exactly one encoding.
PropertyValue toValue(const std::string& v) {
    return v;
}
PropertyValue toValue(const Extents& v) {
    return v;
}
PropertyValue toValue(const ClientRect& v) {
    return v;
}
PropertyValue toValue(const StoredColour& v) {
    return v;
}
PropertyValue toValue(std::uint8_t v) {
    return Choice{v};
}
PropertyValue toValue(bool v) {
    return v;
}
PropertyValue toValue(std::uint16_t v) {
    return TabIndex{v};
}
PropertyValue toValue(const ImageFile& v) {
    return PictureBytes{v};
}
PropertyValue toValue(const FontSpec& v) {
    return v;
}
PropertyValue toValue(std::uint32_t v) {
    return FourBytes{v};
}

template <typename T> std::optional<PropertyValue> optionalValue(const T& member) {
    return toValue(member);
}
template <typename T> std::optional<PropertyValue> optionalValue(const std::optional<T>& member) {
    if (!member)
        return std::nullopt;
    return toValue(*member);
}

void fromValue(const PropertyValue& v, std::string& m) {
    m = std::get<std::string>(v);
}
void fromValue(const PropertyValue& v, Extents& m) {
    m = std::get<Extents>(v);
}
void fromValue(const PropertyValue& v, ClientRect& m) {
    m = std::get<ClientRect>(v);
}
void fromValue(const PropertyValue& v, StoredColour& m) {
    m = std::get<StoredColour>(v);
}
void fromValue(const PropertyValue& v, std::uint8_t& m) {
    m = std::get<Choice>(v).value;
}
void fromValue(const PropertyValue& v, bool& m) {
    m = std::get<bool>(v);
}
void fromValue(const PropertyValue& v, std::uint16_t& m) {
    m = std::get<TabIndex>(v).value;
}
void fromValue(const PropertyValue& v, FontSpec& m) {
    m = std::get<FontSpec>(v);
}
void fromValue(const PropertyValue& v, std::uint32_t& m) {
    m = std::get<FourBytes>(v).value;
}
void fromValue(const PropertyValue& v, ImageFile& m) {
    m = ImageFile::referringTo(std::get<PictureBytes>(v).file);
}
template <typename T> void fromValue(const PropertyValue& v, std::optional<T>& m) {
    T value{};
    fromValue(v, value);
    m = std::move(value);
}

template <typename Model, typename Fields>
std::optional<PropertyValue> valueIn(const Model& model, const Fields& fields, Setting setting) {
    std::optional<PropertyValue> value;
    visitField(model, fields, setting, [&](const auto& member) { value = optionalValue(member); });
    return value;
}

template <typename Fields> std::string_view nameIn(const Fields& fields, Setting setting) {
    std::string_view name;
    std::apply([&](const auto&... f) { ((name = f.setting == setting ? f.name : name), ...); },
               fields);
    return name;
}

} // namespace

std::string_view settingName(Setting setting) {
    const auto name = nameIn(controlFields, setting);
    return name.empty() ? nameIn(formFields, setting) : name;
}

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

std::span<const Setting> formSettings() {
    return formSettingList;
}
std::span<const Setting> controlSettings() {
    return controlSettingList;
}

std::optional<PropertyValue> settingValue(const FormModel& form, Setting setting) {
    return valueIn(form, formFields, setting);
}
std::optional<PropertyValue> settingValue(const ControlModel& control, Setting setting) {
    return valueIn(control, controlFields, setting);
}

bool atDefault(const FormModel& form, Setting setting) {
    return settingValue(form, setting) == settingValue(FormModel{}, setting);
}
bool atDefault(const ControlModel& control, Setting setting) {
    return settingValue(control, setting) == settingValue(ControlModel{}, setting);
}

void applySetting(FormModel& form, Setting setting, const PropertyValue& value) {
    visitField(form, formFields, setting, [&](auto& member) { fromValue(value, member); });
}
void applySetting(ControlModel& control, Setting setting, const PropertyValue& value) {
    visitField(control, controlFields, setting, [&](auto& member) { fromValue(value, member); });
}

} // namespace zanthera::definition
