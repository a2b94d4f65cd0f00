#include "Handlers.h"

namespace zanthera {

Status Command8_Click(PlatformServices& services, FormWindow&) {
    services.endProgram();
    return success();
}

Status Command9_Click(PlatformServices& services, FormWindow&) {
    services.messageBox(aboutPrompt, MessageKind::Notice, aboutTitle);
    return success();
}

} // namespace zanthera
