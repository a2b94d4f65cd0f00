#include "DefinitionFormat.h"

#include <cstdio>

namespace zanthera {

std::array<std::uint8_t, 16> Guid::stored() const {
    std::array<std::uint8_t, 16> b{};
    for (std::size_t i = 0; i < 4; ++i)
        b[i] = static_cast<std::uint8_t>(data1 >> (8 * i));
    for (std::size_t i = 0; i < 2; ++i) {
        b[4 + i] = static_cast<std::uint8_t>(data2 >> (8 * i));
        b[6 + i] = static_cast<std::uint8_t>(data3 >> (8 * i));
    }
    for (std::size_t i = 0; i < 8; ++i)
        b[8 + i] = data4[i];
    return b;
}

Guid Guid::fromStored(std::span<const std::uint8_t, 16> b) {
    Guid g;
    g.data1 = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
              std::uint32_t(b[3]) << 24;
    g.data2 = static_cast<std::uint16_t>(b[4] | b[5] << 8);
    g.data3 = static_cast<std::uint16_t>(b[6] | b[7] << 8);
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
