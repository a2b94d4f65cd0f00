// The window's icon: a silver key lying on its side, in a 32 x 32 and a 16 x 16 image.
#pragma once

#include "ImageEncoders.h"

#include <array>

namespace zanthera::art {

// The large image first, then the small one, as the icon file lists them.
std::array<IconImage, 2> drawKeyIcon();

} // namespace zanthera::art
