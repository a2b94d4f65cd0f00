#include "platform/posix/VolumeSerial.h"

#include "platform/posix/ChildProcess.h"
#include "platform/posix/TextUtilities.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace zanthera::posix {
namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool allHex(std::string_view text) {
    return std::ranges::all_of(text, isHexDigit);
}

std::uint32_t hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint32_t>(c - 'a' + 10);
    }
    return static_cast<std::uint32_t>(c - 'A' + 10);
}

// At most eight digits, all already checked to be hexadecimal.
std::uint32_t hexValue(std::string_view digits) {
    std::uint32_t value = 0;
    for (char c : digits) {
        value = (value << 4) | hexDigitValue(c);
    }
    return value;
}

std::int32_t asSigned(std::uint32_t serial) {
    return static_cast<std::int32_t>(serial);
}

Error malformed(std::string_view uuid) {
    return Error{"\"" + std::string(uuid) + "\" is not a volume UUID"};
}

// A UUID of any other file system: groups of hex digits joined by single dashes, with at
// least eight digits in all.
std::optional<std::string> digitsOfGeneralUuid(std::string_view uuid) {
    std::string digits;
    for (std::string_view group : splitOn(uuid, '-')) {
        if (group.empty() || !allHex(group)) {
            return std::nullopt;
        }
        digits += group;
    }
    return digits.size() >= 8 ? std::optional(digits) : std::nullopt;
}

Result<std::int32_t> fileSystemIdSerial(const std::string& root) {
    struct statvfs info {};
    if (::statvfs(root.c_str(), &info) != 0) {
        return Error{"Could not read the volume of " + root + ": " + describeErrno(errno)};
    }
    // glibc keeps the kernel's first fsid word in the low half.
    return asSigned(static_cast<std::uint32_t>(info.f_fsid & 0xFFFFFFFFu));
}

} // namespace

Status checkSystemDrive(std::string_view drive) {
    const std::string lower = lowerAscii(drive);
    if (lower == "c:" || lower == "c:\\" || lower == "c:/") {
        return success();
    }
    return Error{"There is no drive \"" + std::string(drive) +
                 "\" on this system; only drive C:, the volume of /, is known"};
}

Result<std::int32_t> serialFromUuid(std::string_view uuid) {
    if (uuid.size() == 9 && uuid[4] == '-' && allHex(uuid.substr(0, 4)) && allHex(uuid.substr(5))) {
        return asSigned((hexValue(uuid.substr(0, 4)) << 16) | hexValue(uuid.substr(5)));
    }
    if (uuid.size() == 16 && allHex(uuid)) {
        return asSigned(hexValue(uuid.substr(8)));
    }
    if (std::optional<std::string> digits = digitsOfGeneralUuid(uuid)) {
        return asSigned(hexValue(std::string_view(*digits).substr(0, 8)));
    }
    return malformed(uuid);
}

Result<std::vector<UuidLink>> readUuidLinks(const std::string& directory) {
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(directory.c_str()), ::closedir);
    if (!listing) {
        if (errno == ENOENT) {
            return std::vector<UuidLink>{};
        }
        return Error{"Could not list " + directory + ": " + describeErrno(errno)};
    }
    std::vector<UuidLink> links;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        struct stat target {};
        if (name == "." || name == ".." || ::stat((directory + "/" + name).c_str(), &target) != 0) {
            continue;
        }
        links.push_back(UuidLink{name, S_ISBLK(target.st_mode), target.st_rdev});
    }
    return links;
}

std::optional<std::string> uuidOfDevice(std::span<const UuidLink> links, dev_t device) {
    const auto found = std::ranges::find_if(links, [device](const UuidLink& link) {
        return link.isBlockDevice && link.device == device;
    });
    return found == links.end() ? std::nullopt : std::optional(found->uuid);
}

Result<std::int32_t> volumeSerialOf(const VolumePaths& paths) {
    struct stat root {};
    if (::stat(paths.root.c_str(), &root) != 0) {
        return Error{"Could not read the volume of " + paths.root + ": " + describeErrno(errno)};
    }
    // Any trouble with the UUID directory only means falling back to the file system id.
    if (Result<std::vector<UuidLink>> links = readUuidLinks(paths.uuidDirectory)) {
        if (std::optional<std::string> uuid = uuidOfDevice(links.value(), root.st_dev)) {
            if (Result<std::int32_t> serial = serialFromUuid(*uuid)) {
                return serial;
            }
        }
    }
    return fileSystemIdSerial(paths.root);
}

} // namespace zanthera::posix
