// The facts the information buttons show, against the system's own tools and files.
#include "Support.h"

namespace zanthera::posix {
namespace {

// /proc/uptime counts the same boot clock in hundredths, cut rather than rounded.
TEST(PosixSystem, MillisecondsSinceStartAgreeWithTheKernelsUptime) {
    PosixSystem system;
    double before = 0;
    double after = 0;
    std::ifstream("/proc/uptime") >> before;
    const std::uint64_t milliseconds = system.millisecondsSinceStart();
    std::ifstream("/proc/uptime") >> after;
    ASSERT_GT(before, 0.0);
    EXPECT_GE(static_cast<double>(milliseconds), before * 1000.0);
    EXPECT_LE(static_cast<double>(milliseconds), after * 1000.0 + 10.0);
    EXPECT_GE(system.millisecondsSinceStart(), milliseconds);
}

// Every reading looks the time zone up again, so the clock follows a change of zone at once.
TEST(PosixSystem, LocalTimeFollowsAChangeOfTimeZone) {
    PosixSystem system;
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    const auto minuteOfDay = [&](const char* tz) {
        ::setenv("TZ", tz, 1);
        const TimeOfDay time = system.localTime().time;
        return time.hour * 60 + time.minute;
    };
    const int utc = minuteOfDay("UTC0");
    const int shift = (minuteOfDay("<+14>-14") - utc + 1440) % 1440;
    zone ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    EXPECT_TRUE(shift == 840 || shift == 841) << shift; // a minute may turn between the two
}

std::string systemSays(const std::vector<std::string>& argv) {
    return readProgramOutput(argv, std::chrono::seconds(10)).value();
}

struct SearchCase {
    std::string_view name;
    std::string program;
    std::string searchPath;
    std::optional<std::string> found;
};

TEST(ProgramSearch, FindsTheFirstExecutableRegularFileOnThePath) {
    const ScratchDirectory scratch;
    const std::string a = scratch.file("a");
    const std::string b = scratch.file("b");
    std::filesystem::create_directories(a + "/folder");
    std::filesystem::create_directories(b);
    for (const std::string& script : {a + "/tool", b + "/tool", b + "/plain", b + "/folder"}) {
        writeScript(script, "true");
    }
    writeFile(a + "/plain", "not a program", 0644);
    std::filesystem::create_symlink(b + "/tool", a + "/linked");

    const std::vector<SearchCase> cases{
        {"first directory wins", "tool", a + ":" + b, a + "/tool"},
        {"order of the path", "tool", b + ":" + a, b + "/tool"},
        {"skips a file that cannot run", "plain", a + ":" + b, b + "/plain"},
        {"skips a directory", "folder", a + ":" + b, b + "/folder"},
        {"follows a link", "linked", a, a + "/linked"},
        {"trailing slash and empty entries", "tool", "::" + a + "/:", a + "/tool"},
        {"not installed", "missing", a + ":" + b, std::nullopt},
        {"empty path", "tool", "", std::nullopt},
        {"empty name", "", a, std::nullopt},
        {"absolute path", a + "/tool", "", a + "/tool"},
        {"absolute path that cannot run", a + "/plain", a, std::nullopt},
        {"relative path with a slash", "a/tool", scratch.path().string(), std::nullopt},
    };
    for (const SearchCase& test : cases) {
        EXPECT_EQ(findInPath(test.program, test.searchPath), test.found) << test.name;
    }
    // Directories relative to the current one are never searched.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    const std::optional<std::string> relative = findInPath("tool", "a:.:b/");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, std::nullopt);
    EXPECT_EQ(findInProcessPath("sh").value_or("").front(), '/');
    EXPECT_FALSE(findInProcessPath("zanthera-no-such-program").has_value());
}

TEST(SystemNames, AreTheKernelsNodeNameAndTheAccountIdReports) {
    utsname system{};
    ASSERT_EQ(::uname(&system), 0);
    EXPECT_EQ(hostName().value(), system.nodename);
    EXPECT_EQ(accountName(::getuid()).value() + "\n", systemSays({"/usr/bin/id", "-un"}));
    const uid_t unused = 2147480000;
    const Result<std::string> none = accountName(unused);
    ASSERT_FALSE(none.ok());
    EXPECT_NE(none.error().message.find(std::to_string(unused)), std::string::npos);
}

// NTFS keeps the lower half of its 64-bit serial, FAT shows its 32 bits, and other file
// systems give the first 32 bits of their UUID.
TEST(VolumeSerial, TurnsEachKindOfUuidIntoTheSerialWindowsShowsOrRefusesIt) {
    const std::vector<std::pair<std::string_view, std::int32_t>> cases{
        {"1A2B-3C4D", 0x1A2B3C4D},
        {"abcd-1234", std::int32_t(0xABCD1234)},
        {"8000-0000", INT32_MIN},
        {"FFFF-FFFF", -1},
        {"01D9A2B3C4D5E6F7", std::int32_t(0xC4D5E6F7)},
        {"FFFFFFFF00000002", 2},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"12345678", 0x12345678},
        {"2023-01-01-12-00-00-00", 0x20230101},
    };
    for (const auto& [uuid, serial] : cases) {
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.value(), serial) << uuid;
    }
    for (std::string_view uuid :
         {"", "-", "ABCD", "ABCD-123", "ABCG-1234", "ABCD--1234", "-ABCD1234", "ABCD1234-",
          "3e6be9de 8139", "zzzzzzzz", "ABCD_1234", "\xd8\xb3\xd8\xa7-1234"}) {
        const Result<std::int32_t> result = serialFromUuid(uuid);
        ASSERT_FALSE(result.ok()) << uuid;
        EXPECT_NE(result.error().message.find("\"" + std::string(uuid) + "\""), std::string::npos);
    }
}

TEST(VolumeSerial, MatchesOnlyABlockDeviceWithTheSameNumber) {
    const std::vector<UuidLink> links{{"CHAR-0005", false, 5},
                                      {"BLOCK-0007", true, 7},
                                      {"BLOCK-0005", true, 5},
                                      {"BLOCK-0005-AGAIN", true, 5}};
    EXPECT_EQ(uuidOfDevice(links, 5), "BLOCK-0005");
    EXPECT_EQ(uuidOfDevice(links, 7), "BLOCK-0007");
    EXPECT_EQ(uuidOfDevice(links, 9), std::nullopt);
    EXPECT_EQ(uuidOfDevice({}, 5), std::nullopt);
}

std::int32_t fileSystemIdFromStat(const std::string& path) {
    // stat prints the kernel's two fsid words, first word first, as sixteen hex digits.
    const std::string hex = systemSays({"/usr/bin/stat", "-f", "-c", "%i", path});
    return std::int32_t(std::stoul(hex.substr(0, 8), nullptr, 16));
}

// Without a block device's UUID (no directory, or links to anything else) the serial is the
// file system's id; only drive C is known, and a missing root is an error naming it.
TEST(VolumeSerial, FallsBackToTheFileSystemIdForDriveCOnly) {
    const ScratchDirectory scratch;
    const std::string root = scratch.path().string();
    std::filesystem::create_directories(scratch.file("by-uuid"));
    writeFile(scratch.file("file"), "");
    std::filesystem::create_symlink("/dev/null", scratch.file("by-uuid/ABCD-1234"));
    std::filesystem::create_symlink(scratch.file("file"), scratch.file("by-uuid/3333-4444"));
    std::filesystem::create_symlink(scratch.file("gone"), scratch.file("by-uuid/5555-6666"));
    for (const std::string& uuids : {scratch.file("no-such-directory"), scratch.file("by-uuid")}) {
        PosixSystem system(SystemLookups{{}, {}, {}, {root, uuids}});
        for (std::string_view drive : {"c:\\", "C:\\", "c:", "C:/"}) {
            const Result<std::int32_t> serial = system.volumeSerial(drive);
            ASSERT_TRUE(serial.ok()) << serial.error().message;
            EXPECT_EQ(serial.value(), fileSystemIdFromStat(root)) << uuids << " " << drive;
        }
        for (std::string_view drive : {"d:\\", "c", "", "/", "c:\\windows"}) {
            const Result<std::int32_t> serial = system.volumeSerial(drive);
            ASSERT_FALSE(serial.ok()) << drive;
            EXPECT_NE(serial.error().message.find(drive), std::string::npos);
        }
    }
    const Result<std::int32_t> gone = volumeSerialOf({scratch.file("gone"), root});
    ASSERT_FALSE(gone.ok());
    EXPECT_NE(gone.error().message.find(scratch.file("gone")), std::string::npos);
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

TEST(VolumeSerial, UsesTheUuidOfTheDeviceHoldingTheRoot) {
    const std::optional<std::string> device = blockDeviceHolding("/");
    if (!device) {
        GTEST_SKIP() << "/ is not on a block device listed in /dev";
    }
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases{
        {"01D9A2B3C4D5E6F7", std::int32_t(0xC4D5E6F7)},
        {"3e6be9de-8139-4cfc-9b6d-30c4b5ff8c55", 0x3E6BE9DE},
        {"not-a-uuid", std::nullopt},
    };
    for (const auto& [uuid, expected] : cases) {
        const ScratchDirectory scratch;
        std::filesystem::create_symlink(*device, scratch.file(uuid));
        const Result<std::int32_t> serial = volumeSerialOf({"/", scratch.path().string()});
        ASSERT_TRUE(serial.ok()) << serial.error().message;
        EXPECT_EQ(serial.value(), expected.value_or(fileSystemIdFromStat("/"))) << uuid;
    }
}

} // namespace
} // namespace zanthera::posix
