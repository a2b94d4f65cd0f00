// Starting a program that lives on by itself: the caller does not wait for it, and it shares
// nothing with the caller but the standard streams and the environment.
#pragma once

#include "base/Result.h"
#include "platform/posix/ChildProcess.h"

#include <span>
#include <string>

namespace zanthera::posix {

// Starts argv[0], which must be an absolute path, with argv as its argument vector, in a new
// session and without a shell, and hands it to `reaper`. Returns once the program has been
// executed, or with an error naming the program and the reason when it could not be.
Status startDetached(std::span<const std::string> argv, ChildReaper& reaper);

} // namespace zanthera::posix
