#include "Startup.h"

#include "EventTable.h"
#include "WindowSource.h"

#include <cstdio>

namespace zanthera {

int startWindow(FormsEngine& forms, PlatformServices& services,
                std::span<const std::uint8_t> definition) {
    auto model = loadWindow(definition);
    Status created = model ? forms.create(*model) : Status(model.error());
    if (!created) {
        std::fprintf(stderr, "zanthera: %s\n", created.error().message.c_str());
        services.messageBox(created.error().message, criticalOk, failureTitle);
        return 1;
    }
    forms.setEventSink([&services, &forms](std::string_view control, FormEvent event) {
        dispatch(services, forms, control, event);
    });
    dispatch(services, forms, "Form1", FormEvent::Load);
    return forms.run();
}

} // namespace zanthera
