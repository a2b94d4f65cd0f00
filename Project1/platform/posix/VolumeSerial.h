// The serial number of the system volume, in the form Windows gives it for drive C:. Linux
// has no such number, so it is derived from the file system's UUID, as Windows itself would
// show it for a FAT or NTFS volume, or else from the file system id.
#pragma once

#include "base/Result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace zanthera::posix {

// Where to look; tests point these at their own directories.
struct VolumePaths {
    std::string root = "/";
    std::string uuidDirectory = "/dev/disk/by-uuid";
};

// Drive C: ("c:\", "C:", "c:/") stands for the volume of the root directory; any other drive
// is an error, since nothing else has a drive letter here.
Status checkSystemDrive(std::string_view drive);

// "ABCD-1234" (FAT) gives 0xABCD1234, sixteen hex digits (NTFS) give their last eight, and any
// other UUID its first eight hex digits. The number is returned as Windows shows it, signed.
Result<std::int32_t> serialFromUuid(std::string_view uuid);

// One entry of the UUID directory and the device that its link leads to.
struct UuidLink {
    std::string uuid;
    bool isBlockDevice = false;
    dev_t device = 0;
};

// Every entry of the directory; a missing directory gives an empty list, as on systems
// without udev.
Result<std::vector<UuidLink>> readUuidLinks(const std::string& directory);

// The UUID whose link leads to the block device `device`, if any.
std::optional<std::string> uuidOfDevice(std::span<const UuidLink> links, dev_t device);

// The serial of the volume holding paths.root: from its UUID when its device is listed in
// paths.uuidDirectory with a usable UUID, else the first 32 bits of its file system id.
Result<std::int32_t> volumeSerialOf(const VolumePaths& paths);

} // namespace zanthera::posix
