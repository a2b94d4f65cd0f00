#include "EventTable.h"

#include "actions/Handlers.h"
#include "panel/Panel.h"

#include <array>

namespace zanthera {

namespace {

using enum FormEvent;

#define ZANTHERA_ROW(control, event, handler)                                                      \
    { control, event, &handler, #handler }

// clang-format off
constexpr std::array<EventRow, 21> rows{{
    ZANTHERA_ROW("Form1", Load, Form_Load),
    ZANTHERA_ROW("Timer1", Timer, Timer1_Timer),
    ZANTHERA_ROW("Cmm1", Click, Cmm1_Click),
    ZANTHERA_ROW("Cmm8", Click, Cmm8_Click),
    ZANTHERA_ROW("Cmm9", Click, Cmm9_Click),
    ZANTHERA_ROW("Cmm11", Click, Cmm11_Click),
    ZANTHERA_ROW("Cmm12", Click, Cmm12_Click),
    ZANTHERA_ROW("Command3", Click, Command3_Click),
    ZANTHERA_ROW("Command5", Click, Command5_Click),
    ZANTHERA_ROW("Command6", Click, Command6_Click),
    ZANTHERA_ROW("Command7", Click, Command7_Click),
    ZANTHERA_ROW("Command10", Click, Command10_Click),
    ZANTHERA_ROW("Command15", Click, Command15_Click),
    ZANTHERA_ROW("Command16", Click, Command16_Click),
    ZANTHERA_ROW("Command17", Click, Command17_Click),
    ZANTHERA_ROW("Command1", Click, Command1_Click),
    ZANTHERA_ROW("Command2", Click, Command2_Click),
    ZANTHERA_ROW("Command4", Click, Command4_Click),
    ZANTHERA_ROW("Command13", Click, Command13_Click),
    ZANTHERA_ROW("Command8", Click, Command8_Click),
    ZANTHERA_ROW("Command9", Click, Command9_Click),
}};
// clang-format on

#undef ZANTHERA_ROW

} // namespace

std::span<const EventRow> eventTable() {
    return rows;
}

namespace {

Status runHandler(PlatformServices& services, FormWindow& window, std::string_view control,
                  FormEvent event) {
    for (const auto& row : rows)
        if (row.control == control && row.event == event)
            return row.handler(services, window);
    return success();
}

} // namespace

void dispatch(PlatformServices& services, FormWindow& window, std::string_view control,
              FormEvent event) {
    if (auto result = runHandler(services, window, control, event); !result)
        services.messageBox(result.error().message, criticalOk, failureTitle);
}

void EventDispatcher::operator()(std::string_view control, FormEvent event) {
    const Status result = runHandler(services_, window_, control, event);
    if (result || (event == FormEvent::Timer && tickFailureShown_))
        return;
    tickFailureShown_ = tickFailureShown_ || event == FormEvent::Timer;
    services_.messageBox(result.error().message, criticalOk, failureTitle);
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
