#include "CheckedWindow.h"

namespace zanthera {

namespace {

Error noSuchControl(std::string_view kind, std::string_view name) {
    return Error{"The window has no " + std::string(kind) + " named " + std::string(name) + "."};
}

} // namespace

Status CheckedWindow::create(const WindowModel& model) {
    if (created_)
        return Error{"The window has already been created."};
    created_ = true;
    if (Status made = engine_.create(model); !made)
        return made;
    // The model refers to the definition's pictures and goes once the window stands; what the
    // checks need is kept apart from it.
    controls_.reserve(model.controls.size());
    for (const ControlModel& c : model.controls)
        controls_.push_back({c.name, c.kind, c.kind == ControlKind::Label ? c.caption : ""});
    return success();
}

CheckedWindow::Control* CheckedWindow::find(std::string_view name, ControlKind kind) {
    for (Control& c : controls_)
        if (c.name == name && c.kind == kind)
            return &c;
    return nullptr;
}

Status CheckedWindow::setCaption(std::string_view label, std::string_view text) {
    Control* c = find(label, ControlKind::Label);
    if (!c)
        return noSuchControl("label", label);
    if (c->caption == text)
        return success();
    c->caption.assign(text);
    engine_.showText(label, text);
    return success();
}

// A Windows edit control shows its text up to the first NUL; every toolkit shows it so.
Status CheckedWindow::setText(std::string_view textBox, std::string_view text) {
    if (!find(textBox, ControlKind::TextBox))
        return noSuchControl("text box", textBox);
    engine_.showText(textBox, text.substr(0, text.find('\0')));
    return success();
}

// An interval of 0 switches the timer off, as it always has; any other value keeps it running at
// that pace.
Status CheckedWindow::setInterval(std::string_view timer, int milliseconds) {
    if (!find(timer, ControlKind::Timer))
        return noSuchControl("timer", timer);
    if (milliseconds < 0)
        return Error{"A timer's interval cannot be negative."};
    return engine_.runTimer(timer, milliseconds);
}

} // namespace zanthera
