#include "DefinitionFormat.h"

#include "LittleEndian.h"

#include <cstdio>

namespace zanthera {

std::array<std::uint8_t, 16> Guid::stored() const {
    std::array<std::uint8_t, 16> b{};
    storeU32(b, 0, data1);
    storeU16(b, 4, data2);
    storeU16(b, 6, data3);
    for (std::size_t i = 0; i < 8; ++i)
        b[8 + i] = data4[i];
    return b;
}

Guid Guid::fromStored(std::span<const std::uint8_t, 16> b) {
    Guid g;
    g.data1 = loadU32(b, 0);
    g.data2 = loadU16(b, 4);
    g.data3 = loadU16(b, 6);
    for (std::size_t i = 0; i < 8; ++i)
        g.data4[i] = b[8 + i];
    return g;
}

std::string Guid::text() const {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(data1), static_cast<unsigned>(data2),
                  static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3], data4[4],
                  data4[5], data4[6], data4[7]);
    return buffer;
}

} // namespace zanthera
