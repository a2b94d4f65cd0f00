// Which handler answers which event. Events without a row are ignored, as are clicks on labels,
// the text box and the window's background.
#pragma once

#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"

#include <span>
#include <string_view>

namespace zanthera {

using Handler = Status (*)(PlatformServices&, FormWindow&);

struct EventRow {
    std::string_view control;
    FormEvent event;
    Handler handler;
    std::string_view name; // the handler's name, for messages
};

std::span<const EventRow> eventTable();

// Title of the box that reports a handler's failure to the user.
inline constexpr std::string_view failureTitle = "Zanthera";

// Runs the handler of (control, event), if there is one. A handler that fails has already
// stopped writing; its message is shown to the user and the program goes on.
void dispatch(PlatformServices& services, FormWindow& window, std::string_view control,
              FormEvent event);

} // namespace zanthera
