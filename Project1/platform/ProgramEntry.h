// The program's way into its front end. Every front end (Qt on a Linux desktop, Win32 on Windows)
// implements it once, so that main stays the same on every platform.
#pragma once

#include <cstdint>
#include <span>

namespace zanthera {

// Builds the window that `definition` describes with the front end's forms engine and platform
// services, runs it until the program ends and returns the exit status.
int runProgram(int argc, char* argv[], std::span<const std::uint8_t> definition);

} // namespace zanthera
