#include "EventTable.h"

#include "actions/Handlers.h"
#include "panel/Panel.h"

#include <array>

namespace zanthera {

namespace {

using enum FormEvent;

struct EventRow {
    std::string_view control;
    FormEvent event;
    Status (*handler)(PlatformServices&, FormWindow&);
};

// clang-format off
constexpr std::array<EventRow, 21> rows{{
    {"Form1", Load, &Form_Load},
    {"Timer1", Timer, &Timer1_Timer},
    {"Cmm1", Click, &Cmm1_Click},
    {"Cmm8", Click, &Cmm8_Click},
    {"Cmm9", Click, &Cmm9_Click},
    {"Cmm11", Click, &Cmm11_Click},
    {"Cmm12", Click, &Cmm12_Click},
    {"Command3", Click, &Command3_Click},
    {"Command5", Click, &Command5_Click},
    {"Command6", Click, &Command6_Click},
    {"Command7", Click, &Command7_Click},
    {"Command10", Click, &Command10_Click},
    {"Command15", Click, &Command15_Click},
    {"Command16", Click, &Command16_Click},
    {"Command17", Click, &Command17_Click},
    {"Command1", Click, &Command1_Click},
    {"Command2", Click, &Command2_Click},
    {"Command4", Click, &Command4_Click},
    {"Command13", Click, &Command13_Click},
    {"Command8", Click, &Command8_Click},
    {"Command9", Click, &Command9_Click},
}};
// clang-format on

Status runHandler(PlatformServices& services, FormWindow& window, std::string_view control,
                  FormEvent event) {
    for (const auto& row : rows)
        if (row.control == control && row.event == event)
            return row.handler(services, window);
    return success();
}

} // namespace

void EventDispatcher::operator()(std::string_view control, FormEvent event) {
    const Status result = runHandler(services_, window_, control, event);
    if (result || (event == FormEvent::Timer && tickFailureShown_))
        return;
    tickFailureShown_ = tickFailureShown_ || event == FormEvent::Timer;
    services_.messageBox(result.error().message, MessageKind::Failure, failureTitle);
}

Status checkWrittenControls(const WindowModel& model) {
    for (const auto& [name, kind] : writtenControls) {
        const ControlModel* control = model.find(name);
        if (!control)
            return Error{"The window has no control named " + std::string(name) + "."};
        if (control->kind != kind)
            return Error{"The control " + std::string(name) +
                         " is not of the kind its handler writes."};
    }
    return success();
}

} // namespace zanthera
