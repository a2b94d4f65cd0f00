// Where each setting of a record lives in the window model, and the model's values as property
// values and back. The reader and the writer share this one map, so a setting read is the setting
// written.
#pragma once

#include "DefinitionProperties.h"

#include <optional>
#include <span>
#include <string_view>

namespace zanthera::definition {

// A setting's name in the model, for messages.
std::string_view settingName(Setting setting);

// The settings that the window and a control have, whether or not a kind can store them.
std::span<const Setting> formSettings();
std::span<const Setting> controlSettings();

// A setting's value in the model, or nothing when the model holds none (an empty optional).
std::optional<PropertyValue> settingValue(const FormModel& form, Setting setting);
std::optional<PropertyValue> settingValue(const ControlModel& control, Setting setting);

// True when the model holds the platform's default for the setting: the member default of the
// model, which a reader leaves in place when a record does not store the setting.
bool atDefault(const FormModel& form, Setting setting);
bool atDefault(const ControlModel& control, Setting setting);

// Stores a value read from a record into the model. The value's encoding is the one that the
// setting's rule gives, which the reader guarantees.
void applySetting(FormModel& form, Setting setting, const PropertyValue& value);
void applySetting(ControlModel& control, Setting setting, const PropertyValue& value);

} // namespace zanthera::definition
