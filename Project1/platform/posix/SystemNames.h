// The computer's and the user's names.
#pragma once

#include "base/Result.h"

#include <string>
#include <sys/types.h>

namespace zanthera::posix {

// The host name as the kernel reports it (at most 64 bytes on Linux).
Result<std::string> hostName();

// The login name of the account with this user id, as stored (UTF-8 on any modern system).
Result<std::string> accountName(uid_t user);

} // namespace zanthera::posix
