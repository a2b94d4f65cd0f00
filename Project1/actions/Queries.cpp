#include "Handlers.h"

#include <string>

namespace zanthera {

namespace {

// What each information button tells the user when the platform cannot answer; the system's own
// reason follows on the next line.
constexpr std::string_view screenUnknown = "تعذرت معرفة دقة الشاشة.";
constexpr std::string_view computerNameUnread = "تعذرت قراءة اسم الكمبيوتر.";
constexpr std::string_view userNameUnread = "تعذرت قراءة اسم المستخدم.";
constexpr std::string_view serialUnread = "تعذرت قراءة الرقم التسلسلي لقرص النظام.";

// A name goes into the box whole; a name that cannot be read is reported and the box keeps
// what it held, so a failure is never shown as if it were the answer.
Status writeName(const Result<std::string>& name, std::string_view headline, FormWindow& window) {
    if (!name)
        return explained(headline, name.error());
    return window.setText("Text1", *name);
}

} // namespace

// The screen's real size in pixels, whatever it is: the old fixed 15 twips per pixel misread
// every scaled screen, and a list of three known sizes left today's screens unanswered.
Status Command1_Click(PlatformServices& services, FormWindow& window) {
    const ScreenPixels screen = services.screenPixels();
    if (screen.width <= 0 || screen.height <= 0)
        return explained(screenUnknown, Error{"No screen reported a size."});
    return window.setText("Text1",
                          std::to_string(screen.width) + " * " + std::to_string(screen.height));
}

Status Command13_Click(PlatformServices& services, FormWindow& window) {
    return writeName(services.computerName(), computerNameUnread, window);
}

Status Command4_Click(PlatformServices& services, FormWindow& window) {
    return writeName(services.userName(), userNameUnread, window);
}

Status Command2_Click(PlatformServices& services, FormWindow& window) {
    const auto serial = services.volumeSerial("c:\\");
    if (!serial)
        return explained(serialUnread, serial.error());
    return window.setText("Text1", std::to_string(*serial));
}

} // namespace zanthera
