#pragma once

#include <cstdint>
#include <span>

namespace zanthera::qt {

// The program on a Linux desktop: Qt's application object, the Qt forms engine and the desktop's
// platform services, running the window that `definition` describes.
int runOnDesktop(int argc, char* argv[], std::span<const std::uint8_t> definition);

} // namespace zanthera::qt
