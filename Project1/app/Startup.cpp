#include "Startup.h"

#include "EventTable.h"
#include "WindowSource.h"

#include <cstdio>

namespace zanthera {

namespace {

// The model, with its copies of the pictures, lives only until the window holds what it
// shows; the block itself is not read again once the model stands.
Status buildWindow(FormsEngine& forms, std::span<const std::uint8_t> definition,
                   const std::function<void()>& blockRead) {
    auto model = loadWindow(definition);
    if (blockRead)
        blockRead();
    return model ? forms.create(*model) : Status(model.error());
}

} // namespace

int startWindow(FormsEngine& forms, PlatformServices& services,
                std::span<const std::uint8_t> definition, const std::function<void()>& blockRead) {
    Status created = buildWindow(forms, definition, blockRead);
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
