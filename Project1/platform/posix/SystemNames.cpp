#include "platform/posix/SystemNames.h"

#include "platform/posix/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace zanthera::posix {
namespace {

// getpwuid_r reports ERANGE until the buffer is large enough; this bounds the growth.
constexpr std::size_t accountBufferCap = 1 << 20;

} // namespace

Result<std::string> hostName() {
    // One byte more than Linux allows, so that a name is always followed by its NUL.
    std::vector<char> name(HOST_NAME_MAX + 2, '\0');
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        return Error{"Could not read the computer's name: " + describeErrno(errno)};
    }
    return std::string(name.data());
}

Result<std::string> accountName(uid_t user) {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> storage(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    while (true) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = ::getpwuid_r(user, &entry, storage.data(), storage.size(), &found);
        if (error == ERANGE && storage.size() < accountBufferCap) {
            storage.resize(storage.size() * 2);
            continue;
        }
        if (error != 0) {
            return Error{"Could not read the user's account: " + describeErrno(error)};
        }
        if (found == nullptr || found->pw_name == nullptr) {
            return Error{"The user id " + std::to_string(user) + " has no account"};
        }
        return std::string(found->pw_name);
    }
}

} // namespace zanthera::posix
