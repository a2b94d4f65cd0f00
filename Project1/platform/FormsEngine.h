// The forms engine: builds the live window from a WindowModel and delivers its events, one at a
// time, on the window's thread. Handlers only see FormWindow, the writes the window allows.
#pragma once

#include "Form1/WindowModel.h"
#include "base/Result.h"

#include <functional>
#include <string_view>

namespace zanthera {

enum class FormEvent { Load, Click, Timer };

// The run-time writes the window permits: a label's caption, the text box's text and the timer's
// interval. A write to any other control, or of the wrong kind, is refused with an error.
class FormWindow {
  public:
    virtual ~FormWindow() = default;
    virtual Status setCaption(std::string_view label, std::string_view text) = 0;
    // The text box shows its text up to the first NUL, as a Windows edit control does.
    virtual Status setText(std::string_view textBox, std::string_view text) = 0;
    virtual Status setInterval(std::string_view timer, int milliseconds) = 0;
};

using EventSink = std::function<void(std::string_view control, FormEvent event)>;

class FormsEngine : public FormWindow {
  public:
    // Creates the window and its controls in creation order; nothing is shown yet.
    virtual Status create(const WindowModel& model) = 0;
    // Where events go; the window's own Load is delivered through it by the caller.
    virtual void setEventSink(EventSink sink) = 0;
    // Shows the window and runs the event loop until the program ends; returns the exit status.
    virtual int run() = 0;
};

} // namespace zanthera
