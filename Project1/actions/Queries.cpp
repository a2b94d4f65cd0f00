#include "Handlers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace zanthera {

namespace {

// The resolution test has always divided by a fixed 15 twips per pixel, whatever the screen's
// real scale; a 12-twips-per-pixel 800 by 600 screen therefore reads as 640 by 480.
constexpr float twipsPerPixel = 15.0f;

constexpr std::size_t computerNameBuffer = 32;
constexpr std::size_t userNameBuffer = 144;

struct Resolution {
    float width;
    int height;
    std::string_view text;
};

constexpr std::array<Resolution, 3> knownResolutions{{
    {640.0f, 480, "640 * 480"},
    {800.0f, 600, "800 * 600"},
    {1024.0f, 768, "1024 * 768"},
}};

// The height is held as a 16-bit whole number, rounded half to even; a value that does not fit
// cannot match any of the known sizes.
std::optional<std::int16_t> heightInPixels(float twips) {
    const double exact = static_cast<double>(twips / twipsPerPixel);
    const double below = std::floor(exact);
    const double fraction = exact - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

// Runs one of the 8-bit name calls. When the name does not fit the prepared buffer the call says
// how much it needs, and it is asked again with a buffer of that size, so that a long name is
// shown whole rather than as the buffer's filler.
std::string askName(bool (PlatformServices::*call)(std::string&, std::uint32_t&),
                    PlatformServices& services, std::size_t size, char filler,
                    std::uint32_t& count) {
    std::string buffer(size, filler);
    count = static_cast<std::uint32_t>(size);
    if (!(services.*call)(buffer, count) && count > buffer.size()) {
        buffer.assign(count, filler);
        (services.*call)(buffer, count);
    }
    return buffer;
}

} // namespace

Status Command1_Click(PlatformServices& services, FormWindow& window) {
    const ScreenTwips screen = services.screenSize();
    const float width = screen.width / twipsPerPixel;
    const auto height = heightInPixels(screen.height);
    for (const auto& known : knownResolutions) {
        if (height && width == known.width && *height == known.height) {
            if (auto written = window.setText("Text1", known.text); !written)
                return written;
        }
    }
    return success();
}

Status Command13_Click(PlatformServices& services, FormWindow& window) {
    std::uint32_t count = 0;
    const std::string buffer =
        askName(&PlatformServices::computerName, services, computerNameBuffer, 'X', count);
    return window.setText("Text1", buffer.substr(0, std::min<std::size_t>(count, buffer.size())));
}

Status Command4_Click(PlatformServices& services, FormWindow& window) {
    // The whole buffer goes to the text box: the name, its NUL and the rest of the spaces. The
    // box ends its text at the NUL, so what shows is the name.
    std::uint32_t count = 0;
    return window.setText(
        "Text1", askName(&PlatformServices::userName, services, userNameBuffer, ' ', count));
}

Status Command2_Click(PlatformServices& services, FormWindow& window) {
    const auto serial = services.volumeSerial("c:\\");
    if (!serial)
        return serial.error();
    return window.setText("Text1", std::to_string(*serial));
}

} // namespace zanthera
