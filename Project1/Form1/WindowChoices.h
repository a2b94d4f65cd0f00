// What every forms engine decides the same way from the window model, so that no toolkit decides
// it on its own: what the window's frame offers the user, the order a screen reader reads the
// controls in, and where the Tab key takes the focus.
#pragma once

#include "WindowModel.h"

#include <vector>

namespace zanthera {

// The title bar always has the system menu and the close box; the rest is the window's choice.
struct WindowFrame {
    bool minimizeButton = false;
    bool maximizeButton = false;
    bool resizable = false; // by dragging the frame
    friend bool operator==(const WindowFrame&, const WindowFrame&) = default;
};

WindowFrame frameOf(const FormModel& form);

// A toolkit's value for where a text stands across its control, picked from the toolkit's three;
// a stored alignment of no known meaning reads from the left, as the platform's default does.
template <typename Value>
Value byAlignment(Alignment alignment, Value left, Value centre, Value right) {
    return alignment == Alignment::Centre ? centre : alignment == Alignment::Right ? right : left;
}

// Every control in the order a screen reader reads them: rising tab index (those without one
// last), except that each caption label comes just before the value label it names, so that the
// caption is read first.
std::vector<const ControlModel*> readingOrder(const WindowModel& model);

// The controls that take the focus, in the order the Tab key walks them (and round again from the
// last to the first): the buttons and text boxes of the reading order. Labels hold tab indices
// too but never take the focus; a control without a tab index is left out of the walk.
std::vector<const ControlModel*> focusOrder(const WindowModel& model);

} // namespace zanthera
