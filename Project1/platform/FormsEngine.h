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

// A toolkit's share of the window: make the window and its controls, show a text, run a timer.
// Whether a write is allowed is decided in front of the engine, once for every toolkit
// (app/CheckedWindow.h): an engine is asked only to show a new caption on a label it made or a
// text without NULs in its text box, and to run its timer at a pace of 0 or more.
class FormsEngine {
  public:
    virtual ~FormsEngine() = default;
    // Creates the window and its controls in creation order; nothing is shown yet. Called once.
    virtual Status create(const WindowModel& model) = 0;
    // Where events go; the window's own Load is delivered through it by the caller.
    virtual void setEventSink(EventSink sink) = 0;
    // Shows the window and runs the event loop until the program ends; returns the exit status.
    virtual int run() = 0;

    // A label's caption or the text box's text.
    virtual void showText(std::string_view control, std::string_view text) = 0;
    // Ticks every `milliseconds`, or no more at 0.
    virtual Status runTimer(std::string_view timer, int milliseconds) = 0;
};

} // namespace zanthera
