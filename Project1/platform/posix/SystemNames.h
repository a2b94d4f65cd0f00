// The computer's and the user's names, and the buffer rules of the Windows "A" calls that the
// handlers were written against.
#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace zanthera::posix {

// Copies `text` and a NUL into the caller's buffer, whose usable length is the smaller of
// `count` and its size. When the text and its NUL fit, the rest of the buffer is left as it
// was, `count` becomes the text's length and the result is true. Otherwise the buffer is not
// touched, `count` becomes the length needed with the NUL, and the result is false.
bool writeAnsiText(std::string_view text, std::string& buffer, std::uint32_t& count);

// The host name as the kernel reports it (at most 64 bytes on Linux).
Result<std::string> hostName();

// The login name of the account with this user id, as stored (UTF-8 on any modern system).
Result<std::string> accountName(uid_t user);

} // namespace zanthera::posix
