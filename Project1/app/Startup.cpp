#include "Startup.h"

#include "CheckedWindow.h"
#include "EventTable.h"
#include "WindowSource.h"

#include <cstdio>

namespace zanthera {

namespace {

constexpr std::string_view windowNotBuilt = "تعذر بناء نافذة البرنامج.";

// The model refers to the pictures in the block and lives only until the window holds what it
// shows; the block itself is not read again once the window stands. A window that lacks a
// control the handlers write is refused here rather than failing on every tick.
Status buildWindow(CheckedWindow& window, std::span<const std::uint8_t> definition,
                   const std::function<void()>& blockRead) {
    auto model = loadWindow(definition);
    Status created = model ? checkWrittenControls(*model) : Status(model.error());
    if (created)
        created = window.create(*model);
    if (blockRead)
        blockRead();
    return created;
}

} // namespace

int startWindow(FormsEngine& forms, PlatformServices& services,
                std::span<const std::uint8_t> definition, const std::function<void()>& blockRead) {
    CheckedWindow window(forms);
    Status created = buildWindow(window, definition, blockRead);
    if (!created) {
        const Error shown = explained(windowNotBuilt, created.error());
        std::fprintf(stderr, "zanthera: %s\n", shown.message.c_str());
        services.messageBox(shown.message, MessageKind::Failure, failureTitle);
        return 1;
    }
    EventDispatcher dispatcher(services, window);
    forms.setEventSink(
        [&dispatcher](std::string_view control, FormEvent event) { dispatcher(control, event); });
    dispatcher("Form1", FormEvent::Load);
    return forms.run();
}

int startWindow(FrontEnd& frontEnd, std::span<const std::uint8_t> definition) {
    return startWindow(frontEnd.forms(), frontEnd.services(), definition,
                       [&frontEnd, definition] { frontEnd.definitionRead(definition); });
}

} // namespace zanthera
