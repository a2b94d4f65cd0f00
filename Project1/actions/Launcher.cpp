#include "AppletCommands.h"
#include "Handlers.h"

namespace zanthera {

namespace {

constexpr std::string_view notOpened = "تعذر فتح الصفحة المطلوبة.";

} // namespace

Status launchApplet(PlatformServices& services, std::string_view button) {
    for (const auto& row : appletCommands) {
        if (row.button != button)
            continue;
        if (Status started = services.startProgram(row.commandLine, normalWindowFocus); !started)
            return explained(notOpened, started.error());
        return success();
    }
    return explained(notOpened,
                     Error{"No command line is set for the button " + std::string(button) + "."});
}

Status Cmm1_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Cmm1");
}
Status Cmm8_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Cmm8");
}
Status Cmm9_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Cmm9");
}
Status Cmm11_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Cmm11");
}
Status Cmm12_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Cmm12");
}
Status Command3_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command3");
}
Status Command5_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command5");
}
Status Command6_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command6");
}
Status Command7_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command7");
}
Status Command10_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command10");
}
Status Command15_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command15");
}
Status Command16_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command16");
}
Status Command17_Click(PlatformServices& s, FormWindow&) {
    return launchApplet(s, "Command17");
}

} // namespace zanthera
