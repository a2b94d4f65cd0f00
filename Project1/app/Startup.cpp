#include "Startup.h"

#include "EventTable.h"
#include "WindowSource.h"

#include <cstdio>

namespace zanthera {

namespace {

constexpr std::string_view windowNotBuilt = "تعذر بناء نافذة البرنامج.";

// The model, with its copies of the pictures, lives only until the window holds what it
// shows; the block itself is not read again once the model stands. A window that lacks a
// control the handlers write is refused here rather than failing on every tick.
Status buildWindow(FormsEngine& forms, std::span<const std::uint8_t> definition,
                   const std::function<void()>& blockRead) {
    auto model = loadWindow(definition);
    if (blockRead)
        blockRead();
    Status created = model ? checkWrittenControls(*model) : Status(model.error());
    return created ? forms.create(*model) : created;
}

} // namespace

int startWindow(FormsEngine& forms, PlatformServices& services,
                std::span<const std::uint8_t> definition, const std::function<void()>& blockRead) {
    Status created = buildWindow(forms, definition, blockRead);
    if (!created) {
        const Error shown = explained(windowNotBuilt, created.error());
        std::fprintf(stderr, "zanthera: %s\n", shown.message.c_str());
        services.messageBox(shown.message, criticalOk, failureTitle);
        return 1;
    }
    EventDispatcher dispatcher(services, forms);
    forms.setEventSink(
        [&dispatcher](std::string_view control, FormEvent event) { dispatcher(control, event); });
    dispatcher("Form1", FormEvent::Load);
    return forms.run();
}

} // namespace zanthera
