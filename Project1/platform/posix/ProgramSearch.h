// Finding an installed program the way a shell would, without starting anything.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zanthera::posix {

// The full path of `program` in the colon-separated directory list `searchPath`: the first
// executable regular file found. An absolute path is checked as it stands; any other name
// holding a slash is refused.
std::optional<std::string> findInPath(std::string_view program, std::string_view searchPath);

// findInPath with the process's own PATH, or the usual system directories when it is unset.
std::optional<std::string> findInProcessPath(std::string_view program);

} // namespace zanthera::posix
