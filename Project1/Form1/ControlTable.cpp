#include "ControlTable.h"

namespace zanthera::design {

const ControlRow* findControl(std::string_view name) {
    for (const auto& row : controls)
        if (row.name == name)
            return &row;
    return nullptr;
}

namespace {

ControlKind kindOf(Role role) {
    switch (role) {
    case Role::Button:
        return ControlKind::Button;
    case Role::CaptionLabel:
    case Role::ValueLabel:
        return ControlKind::Label;
    case Role::TextBox:
        return ControlKind::TextBox;
    case Role::Timer:
        return ControlKind::Timer;
    }
    return ControlKind::Label;
}

ControlModel controlFromRow(const ControlRow& row, std::uint8_t index) {
    ControlModel c;
    c.name = std::string(row.name);
    c.index = index;
    c.kind = kindOf(row.role);
    c.extents = row.extents;
    if (row.tabIndex >= 0)
        c.tabIndex = static_cast<std::uint16_t>(row.tabIndex);
    switch (row.role) {
    case Role::Button:
        c.buttonStyle = ButtonStyle::Graphical;
        if (row.name == "Command8") {
            c.backColour = exitButtonFace;
            c.font = exitButtonFont;
        }
        break;
    case Role::CaptionLabel:
        c.caption = std::string(row.text);
        c.alignment = Alignment::Centre;
        c.backStyle = BackStyle::Transparent;
        break;
    case Role::ValueLabel:
        c.backColour = inactiveCaption;
        c.borderStyle = Border::FixedSingle;
        c.alignment = Alignment::Centre;
        break;
    case Role::TextBox:
        c.backColour = inactiveCaption;
        c.alignment = Alignment::Centre;
        c.multiLine = true;
        break;
    case Role::Timer:
        c.timerLeft = timerLeft;
        c.timerTop = timerTop;
        break;
    }
    return c;
}

} // namespace

WindowModel designedWindow() {
    WindowModel model;
    model.form.name = std::string(windowName);
    model.form.caption = std::string(caption);
    model.form.colour = windowColour;
    model.form.borderStyle = Border::FixedSingle;
    model.form.linkTopic = std::string(windowName);
    model.form.minimizeButton = false;
    model.form.maximizeButton = false;
    model.form.client = client;
    std::uint8_t index = 1;
    for (const auto& row : controls)
        model.controls.push_back(controlFromRow(row, index++));
    return model;
}

} // namespace zanthera::design
