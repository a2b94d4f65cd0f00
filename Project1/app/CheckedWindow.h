// The window as the handlers write it, standing in front of whichever forms engine built it. Every
// write is checked here, once for every toolkit, against the controls the window was made with:
// a write to a control the window lacks, or of the wrong kind, is refused with an error that
// names it; a caption that does not change goes no further (the clock writes every label every
// second); a text ends at its first NUL.
#pragma once

#include "platform/FormsEngine.h"

#include <string>
#include <vector>

namespace zanthera {

class CheckedWindow final : public FormWindow {
  public:
    explicit CheckedWindow(FormsEngine& engine) : engine_(engine) {}

    // Has the engine make the window. A window is made once: a second call is refused, even
    // after a first that failed, since the engine may hold what it had made by then.
    Status create(const WindowModel& model);

    Status setCaption(std::string_view label, std::string_view text) override;
    Status setText(std::string_view textBox, std::string_view text) override;
    Status setInterval(std::string_view timer, int milliseconds) override;

  private:
    struct Control {
        std::string name;
        ControlKind kind;
        std::string caption; // what a label shows now
    };
    Control* find(std::string_view name, ControlKind kind);

    FormsEngine& engine_;
    std::vector<Control> controls_;
    bool created_ = false;
};

} // namespace zanthera
