// Running a short-lived program to read what it prints, such as a tool's version.
#pragma once

#include "base/Result.h"

#include <chrono>
#include <cstddef>
#include <span>
#include <string>

namespace zanthera::posix {

// Runs argv[0], an absolute path, with argv and no shell; its input and error output are
// /dev/null. Returns its standard output (at most maxBytes of it) once it has ended with
// status 0. A program still running after `timeout` is killed with its process group, reaped,
// and reported as an error, as is a program that fails or cannot be started.
Result<std::string> readProgramOutput(std::span<const std::string> argv,
                                      std::chrono::milliseconds timeout,
                                      std::size_t maxBytes = 4096);

} // namespace zanthera::posix
