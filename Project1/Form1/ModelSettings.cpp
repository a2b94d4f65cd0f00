#include "ModelSettings.h"

#include "SettingValues.h"

#include <tuple>

namespace zanthera::definition {

namespace {

using S = Setting;

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
