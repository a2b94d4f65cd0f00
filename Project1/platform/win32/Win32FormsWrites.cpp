// What the handlers write, once the checked window in front of the engine has let it through: a
// label's caption, the result box's text, the timer's pace.
#include "Win32Forms.h"

#include "Utf16.h"
#include "WallClockTimer.h"

namespace zanthera::win32 {

// Only a changed caption comes this far, so an idle clock redraws nothing. A label keeps its text
// for its own painting, and in its window text for screen readers; once Windows has destroyed the
// window there is nothing left to draw.
void Win32Forms::showText(std::string_view control, std::string_view text) {
    Control* c = find(control);
    if (!c)
        return;
    std::wstring wide = widen(text);
    if (c->handle)
        SetWindowTextW(c->handle, wide.c_str());
    if (c->model.kind != ControlKind::Label)
        return;
    c->text = std::move(wide);
    c->font = nullptr;
    if (c->handle)
        InvalidateRect(c->handle, nullptr, FALSE);
}

// Every tick is armed on its own, just after the wall clock's next second for the clock's
// interval of 1000 ms; the interval the window's model holds stays as it is.
bool Win32Forms::armTimer(const Control& timer) {
    return window_ && armForNextTick(window_, idOf(timer), timer.interval);
}

// An interval of 0 switches the timer off; any other value keeps it running at that pace.
Status Win32Forms::runTimer(std::string_view timer, int milliseconds) {
    Control* c = find(timer);
    if (!c)
        return success();
    if (c->interval > 0 && window_)
        KillTimer(window_, idOf(*c));
    c->interval = milliseconds;
    if (milliseconds > 0 && !armTimer(*c)) {
        c->interval = 0;
        return Error{"Windows could not start the timer " + c->model.name + "."};
    }
    return success();
}

} // namespace zanthera::win32
