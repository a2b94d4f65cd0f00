// The contract every forms engine keeps (EngineContract.cpp). Each toolkit's test program supplies
// a probe that drives and reads its engine as the toolkit allows: Qt on a virtual X display, Win32
// under Wine.
#pragma once

#include "platform/FormsEngine.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zanthera::contract {

using PixelRect = std::array<int, 4>; // left, top, width, height

// What the toolkit's window offers: a close box, minimize, maximize, a frame that resizes it.
using FrameSeen = std::array<bool, 4>;

class EngineProbe {
  public:
    virtual ~EngineProbe() = default;
    virtual FormsEngine& engine() = 0;
    // Once the window is made: brings it to the probe's scale, where a toolkit only rescales.
    virtual void settle() = 0;

    virtual PixelRect place(std::string_view control) = 0;
    virtual FrameSeen frame() = 0;
    virtual std::string shownText(std::string_view control) = 0;
    // Nothing where the platform's accessibility runtime cannot tell.
    virtual std::optional<std::string> accessibleName(std::string_view control) = 0;
    // The control a screen reader reads along with a value label, as its caption.
    virtual std::string readWith(std::string_view valueLabel) = 0;
    // Shows the window; the control with the focus, then after each of `presses` Tab presses.
    virtual std::vector<std::string> focusWalk(std::size_t presses) = 0;
    virtual void click(std::string_view control) = 0;
    // Runs the event loop until `done` holds or `limit` has passed; returns `done()`.
    virtual bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) = 0;
};

// Made by each toolkit's test program: an engine that lays the window out at `dpi`.
std::unique_ptr<EngineProbe> makeProbe(int dpi);

} // namespace zanthera::contract
