#include "platform/posix/VolumeSerial.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/stat.h>

namespace zanthera::posix {
namespace {

using testing::ScratchDirectory;

std::int32_t signedSerial(std::uint32_t serial) {
    return static_cast<std::int32_t>(serial);
}

TEST(VolumeSerial, TurnsEachKindOfUuidIntoTheSerialWindowsShows) {
    const std::vector<std::pair<std::string_view, std::int32_t>> cases{
        {"1A2B-3C4D", 0x1A2B3C4D},
        {"ABCD-1234", signedSerial(0xABCD1234)},
        {"abcd-1234", signedSerial(0xABCD1234)},
        {"0000-0001", 1},
        {"7FFF-FFFF", INT32_MAX},
        {"8000-0000", INT32_MIN},
        {"FFFF-FFFF", -1},
        {"01D9A2B3C4D5E6F7", signedSerial(0xC4D5E6F7)},
        {"0123456789abcdef", signedSerial(0x89ABCDEF)},
        {"FFFFFFFF00000002", 2},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"F0E1D2C3-B4A5-4697-8879-6A5B4C3D2E1F", signedSerial(0xF0E1D2C3)},
        {"12345678", 0x12345678},
        {"2023-01-01-12-00-00-00", 0x20230101},
    };
    for (const auto& [uuid, serial] : cases) {
        SCOPED_TRACE(uuid);
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.value(), serial);
    }
}

TEST(VolumeSerial, RejectsMalformedUuidsWithAMessageQuotingThem) {
    const std::vector<std::string_view> malformed{
        "",          "-",         "ABCD",          "ABCD-123", "ABCG-1234", "ABCD--1234",
        "-ABCD1234", "ABCD1234-", "3e6be9de 8139", "zzzzzzzz", "ABCD_1234", "\xd8\xb3\xd8\xa7-1234",
    };
    for (std::string_view uuid : malformed) {
        SCOPED_TRACE(uuid);
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error().message.find("\"" + std::string(uuid) + "\""), std::string::npos);
    }
}

TEST(VolumeSerial, OnlyDriveCIsKnown) {
    const std::vector<std::pair<std::string_view, bool>> cases{
        {"c:\\", true}, {"C:\\", true}, {"c:", true}, {"C:/", true},          {"d:\\", false},
        {"c", false},   {"", false},    {"/", false}, {"c:\\windows", false},
    };
    for (const auto& [drive, known] : cases) {
        SCOPED_TRACE(drive);
        const Status status = checkSystemDrive(drive);
        EXPECT_EQ(status.ok(), known);
        if (!known) {
            EXPECT_NE(status.error().message.find(std::string(drive)), std::string::npos);
        }
    }
}

TEST(VolumeSerial, MatchesOnlyABlockDeviceWithTheSameNumber) {
    const std::vector<UuidLink> links{
        {"CHAR-0005", false, 5},
        {"BLOCK-0007", true, 7},
        {"BLOCK-0005", true, 5},
        {"BLOCK-0005-AGAIN", true, 5},
    };
    const std::vector<std::pair<dev_t, std::optional<std::string>>> cases{
        {5, "BLOCK-0005"}, {7, "BLOCK-0007"}, {9, std::nullopt}};
    for (const auto& [device, uuid] : cases) {
        EXPECT_EQ(uuidOfDevice(links, device), uuid);
    }
    EXPECT_EQ(uuidOfDevice({}, 5), std::nullopt);
}

// A block device node whose number is the device of `path`, if this machine has one in /dev.
std::optional<std::string> blockDeviceHolding(const std::string& path) {
    struct stat holder {};
    if (::stat(path.c_str(), &holder) != 0) {
        return std::nullopt;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        struct stat node {};
        if (::stat(entry.path().c_str(), &node) == 0 && S_ISBLK(node.st_mode) &&
            node.st_rdev == holder.st_dev) {
            return entry.path().string();
        }
    }
    return std::nullopt;
}

TEST(VolumeSerial, ListsWhereEachUuidLinkLeads) {
    const ScratchDirectory scratch;
    testing::writeFile(scratch.file("file"), "");
    std::filesystem::create_symlink("/dev/null", scratch.file("1111-2222"));
    std::filesystem::create_symlink(scratch.file("file"), scratch.file("3333-4444"));
    std::filesystem::create_symlink(scratch.file("missing"), scratch.file("5555-6666"));
    const Result<std::vector<UuidLink>> links = readUuidLinks(scratch.path().string());
    ASSERT_TRUE(links.ok()) << links.error().message;
    std::map<std::string, bool> blockByUuid;
    for (const UuidLink& link : links.value()) {
        blockByUuid[link.uuid] = link.isBlockDevice;
    }
    const std::map<std::string, bool> expected{
        {"1111-2222", false}, {"3333-4444", false}, {"file", false}};
    EXPECT_EQ(blockByUuid, expected);

    const Result<std::vector<UuidLink>> none = readUuidLinks(scratch.file("no-such-directory"));
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none.value().empty());
}

std::int32_t fileSystemIdFromStat(const std::string& path) {
    // stat prints the kernel's two fsid words, first word first, as sixteen hex digits.
    const std::string hex = testing::shellOutput("stat -f -c %i '" + path + "'");
    return signedSerial(static_cast<std::uint32_t>(std::stoul(hex.substr(0, 8), nullptr, 16)));
}

TEST(VolumeSerial, FallsBackToTheFileSystemIdWhenNoUsableUuidIsFound) {
    const ScratchDirectory scratch;
    const std::string root = scratch.path().string();
    std::filesystem::create_directories(scratch.file("by-uuid"));
    std::filesystem::create_symlink("/dev/null", scratch.file("by-uuid/ABCD-1234"));
    const std::vector<VolumePaths> setups{
        {root, scratch.file("no-such-directory")},
        {root, scratch.file("by-uuid")},
    };
    for (const VolumePaths& paths : setups) {
        SCOPED_TRACE(paths.uuidDirectory);
        const Result<std::int32_t> serial = volumeSerialOf(paths);
        ASSERT_TRUE(serial.ok()) << serial.error().message;
        EXPECT_EQ(serial.value(), fileSystemIdFromStat(root));
    }
}

TEST(VolumeSerial, UsesTheUuidOfTheDeviceHoldingTheRoot) {
    const std::optional<std::string> device = blockDeviceHolding("/");
    if (!device) {
        GTEST_SKIP() << "/ is not on a block device listed in /dev";
    }
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases{
        {"ABCD-1234", signedSerial(0xABCD1234)},
        {"01D9A2B3C4D5E6F7", signedSerial(0xC4D5E6F7)},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"not-a-uuid", std::nullopt},
    };
    for (const auto& [uuid, expected] : cases) {
        SCOPED_TRACE(uuid);
        const ScratchDirectory scratch;
        std::filesystem::create_symlink(*device, scratch.file(uuid));
        const Result<std::int32_t> serial = volumeSerialOf({"/", scratch.path().string()});
        ASSERT_TRUE(serial.ok()) << serial.error().message;
        EXPECT_EQ(serial.value(), expected.value_or(fileSystemIdFromStat("/")));
    }
}

TEST(VolumeSerial, AMissingRootIsAnErrorNamingIt) {
    const ScratchDirectory scratch;
    const Result<std::int32_t> serial = volumeSerialOf({scratch.file("gone"), "/dev/disk/by-uuid"});
    ASSERT_FALSE(serial.ok());
    EXPECT_NE(serial.error().message.find(scratch.file("gone")), std::string::npos);
}

} // namespace
} // namespace zanthera::posix
