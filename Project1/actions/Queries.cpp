#include "Handlers.h"

#include <string>

namespace zanthera {

Status Command1_Click(PlatformServices& services, FormWindow& window) {
    // The screen's real size in pixels, whatever its scale and whatever its size: judging twips
    // at a fixed 15 per pixel misread scaled screens, and only three sizes were ever answered.
    const ScreenPixels screen = services.screenPixels();
    if (screen.width <= 0 || screen.height <= 0)
        return Error{"تعذّرت معرفة دقة الشاشة."};
    return window.setText("Text1",
                          std::to_string(screen.width) + " * " + std::to_string(screen.height));
}

// A name that cannot be read is reported, and the result box keeps what it held.
Status Command13_Click(PlatformServices& services, FormWindow& window) {
    auto name = services.computerName();
    if (!name)
        return name.error();
    return window.setText("Text1", *name);
}

Status Command4_Click(PlatformServices& services, FormWindow& window) {
    auto name = services.userName();
    if (!name)
        return name.error();
    return window.setText("Text1", *name);
}

Status Command2_Click(PlatformServices& services, FormWindow& window) {
    const auto serial = services.volumeSerial("c:\\");
    if (!serial)
        return serial.error();
    return window.setText("Text1", std::to_string(*serial));
}

} // namespace zanthera
