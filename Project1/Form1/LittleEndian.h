// Little-endian numbers: the byte order of everything the window stores, the definition block
// and the bitmap and icon files inside it. Every reader and writer of those bytes goes through
// these four functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zanthera {

// The caller has checked that the span holds the field.
inline std::uint16_t loadU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
inline std::uint32_t loadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(loadU16(b, at)) | std::uint32_t(loadU16(b, at + 2)) << 16;
}

inline void storeU16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void storeU32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
    storeU16(b, at, static_cast<std::uint16_t>(v));
    storeU16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

} // namespace zanthera
