// The program's way into its front end. Every front end (Qt on a Linux desktop, Win32 on Windows)
// implements it once. The program's start opens the front end and builds the window with what it
// offers, so main stays the same on every platform and no front end calls back into start-up.
#pragma once

#include "FormsEngine.h"
#include "PlatformServices.h"

#include <cstdint>
#include <memory>
#include <span>

namespace zanthera {

// A started toolkit with its forms engine and its platform services, alive until the program
// ends.
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;
    virtual FormsEngine& forms() = 0;
    virtual PlatformServices& services() = 0;
    // The window holds all it shows from `definition`: the platform may let go of its pages.
    virtual void definitionRead(std::span<const std::uint8_t> definition) { (void)definition; }
};

// Starts the toolkit for the program's command line. A front end that cannot start (no display
// to reach) says so in one line and ends the program with status 1. `argc` must outlive the
// front end, as toolkits keep a reference to it.
std::unique_ptr<FrontEnd> openFrontEnd(int& argc, char* argv[]);

} // namespace zanthera
