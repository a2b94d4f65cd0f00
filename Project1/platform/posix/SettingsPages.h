// What to start for a page on the running desktop: the desktop's own settings tool first, then
// tools that work on any desktop, and the choice of the first one that is installed.
#pragma once

#include "platform/posix/Desktop.h"
#include "platform/posix/LaunchTarget.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanthera::posix {

// A command as argument words: the program's name, then its arguments.
using CommandWords = std::vector<std::string>;

// Returns the full path of an installed program, or nothing when it is not installed.
using ProgramLookup = std::function<std::optional<std::string>(std::string_view program)>;

// Every command that could open the target, best first, without repeats. Empty when nothing is
// known to open it on this desktop.
std::vector<CommandWords> candidateCommands(const LaunchTarget& target, const Desktop& desktop);

// The command with its program replaced by the full path, or nothing when it is not installed.
std::optional<CommandWords> resolveCommand(const CommandWords& command,
                                           const ProgramLookup& findProgram);

// The first candidate whose program is installed, resolved as by resolveCommand.
std::optional<CommandWords> firstInstalled(const std::vector<CommandWords>& candidates,
                                           const ProgramLookup& findProgram);

} // namespace zanthera::posix
