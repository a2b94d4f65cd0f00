#include "SettingValues.h"

namespace zanthera::definition {

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

} // namespace zanthera::definition
