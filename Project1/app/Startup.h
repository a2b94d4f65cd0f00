#pragma once

#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"
#include "platform/ProgramEntry.h"

#include <cstdint>
#include <functional>
#include <span>

namespace zanthera {

// Builds the window from the definition block, runs the Load handler before the window shows,
// then hands every event to the event table until the program ends; returns the exit status. A
// block that cannot be read is reported to the user and the program ends with status 1.
// `blockRead`, when given, runs as soon as the window has taken its pictures from the block, so
// that the platform can let go of the block's pages.
int startWindow(FormsEngine& forms, PlatformServices& services,
                std::span<const std::uint8_t> definition,
                const std::function<void()>& blockRead = {});

// The same with the front end's engine and services; the front end learns when the block is read.
int startWindow(FrontEnd& frontEnd, std::span<const std::uint8_t> definition);

} // namespace zanthera
