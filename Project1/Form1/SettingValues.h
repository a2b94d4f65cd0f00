// A model member's value as a property value, and a property value put back into a member. Every
// member type maps to exactly one encoding; an optional member holds no value until one is read.
#pragma once

#include "DefinitionProperties.h"

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

namespace zanthera::definition {

PropertyValue toValue(const std::string& v);
PropertyValue toValue(const Extents& v);
PropertyValue toValue(const ClientRect& v);
PropertyValue toValue(const StoredColour& v);
PropertyValue toValue(bool v);
PropertyValue toValue(std::uint16_t v);
PropertyValue toValue(const ImageFile& v);
PropertyValue toValue(const FontSpec& v);
PropertyValue toValue(std::uint32_t v);

void fromValue(const PropertyValue& v, std::string& m);
void fromValue(const PropertyValue& v, Extents& m);
void fromValue(const PropertyValue& v, ClientRect& m);
void fromValue(const PropertyValue& v, StoredColour& m);
void fromValue(const PropertyValue& v, bool& m);
void fromValue(const PropertyValue& v, std::uint16_t& m);
void fromValue(const PropertyValue& v, FontSpec& m);
void fromValue(const PropertyValue& v, std::uint32_t& m);
void fromValue(const PropertyValue& v, ImageFile& m);

// The model's choices are typed; each is stored as its one-byte code.
template <typename T>
    requires std::is_enum_v<T>
PropertyValue toValue(T v) {
    return Choice{static_cast<std::uint8_t>(v)};
}
template <typename T>
    requires std::is_enum_v<T>
void fromValue(const PropertyValue& v, T& m) {
    m = static_cast<T>(std::get<Choice>(v).value);
}

template <typename T> std::optional<PropertyValue> optionalValue(const T& member) {
    return toValue(member);
}
template <typename T> std::optional<PropertyValue> optionalValue(const std::optional<T>& member) {
    if (!member)
        return std::nullopt;
    return toValue(*member);
}

template <typename T> void fromValue(const PropertyValue& v, std::optional<T>& m) {
    T value{};
    fromValue(v, value);
    m = std::move(value);
}

} // namespace zanthera::definition
