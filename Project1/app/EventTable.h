// Which handler answers which event. Events without a row are ignored, as are clicks on labels,
// the text box and the window's background.
#pragma once

#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"

#include <array>
#include <string_view>

namespace zanthera {

// Title of the box that reports a handler's failure to the user.
inline constexpr std::string_view failureTitle = "Zanthera";

// Runs the handler of (control, event), if there is one. A handler that fails has already
// stopped writing; its message is shown to the user and the program goes on. A failing timer
// tick is reported once only: the tick comes back every second, and a box for each would stack
// faster than the user can close them.
class EventDispatcher {
  public:
    EventDispatcher(PlatformServices& services, FormWindow& window)
        : services_(services), window_(window) {}
    void operator()(std::string_view control, FormEvent event);

  private:
    PlatformServices& services_;
    FormWindow& window_;
    bool tickFailureShown_ = false;
};

// The controls the handlers write, with the kind each must be.
struct WrittenControl {
    std::string_view name;
    ControlKind kind;
};
inline constexpr std::array<WrittenControl, 7> writtenControls{{
    {"Label1", ControlKind::Label},
    {"Label2", ControlKind::Label},
    {"Label5", ControlKind::Label},
    {"Label6", ControlKind::Label},
    {"Label10", ControlKind::Label},
    {"Text1", ControlKind::TextBox},
    {"Timer1", ControlKind::Timer},
}};

// Checks, before the window is built, that every control a handler writes is there and of the
// right kind, so a faulty window is refused at start rather than failing on every tick.
Status checkWrittenControls(const WindowModel& model);

} // namespace zanthera
