// The Windows program files as Windows' loader and Explorer see them: the executable's kind, the
// DLLs it needs, its key icon, its version record and the window definition it carries. A small
// reader of the PE format; every offset is checked, so a damaged file fails a test, not the run.
#include "Form1/DefinitionReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace zanthera {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PeFile {
  public:
    explicit PeFile(Bytes bytes) : b_(std::move(bytes)) {
        pe_ = u32(0x3C);
        optional_ = pe_ + 24;
        const std::uint32_t sections = optional_ + u16(pe_ + 20);
        for (std::uint32_t i = 0, at = sections; i < u16(pe_ + 6); ++i, at += 40)
            sections_.push_back({u32(at + 12), std::max(u32(at + 8), u32(at + 16)), u32(at + 20)});
    }

    bool signed_() const { return u16(0) == 0x5A4D && u32(pe_) == 0x4550; }
    std::uint32_t machine() const { return u16(pe_ + 4); }
    std::uint32_t magic() const { return u16(optional_); }
    std::uint32_t subsystem() const { return u16(optional_ + 68); }
    const Bytes& bytes() const { return b_; }

    // The names of the DLLs in the import directory, in lower case.
    std::set<std::string> imports() const {
        std::set<std::string> names;
        for (std::uint32_t at = fileOffset(directory(1)); at && u32(at + 12); at += 20) {
            std::string name;
            for (std::uint32_t c = fileOffset(u32(at + 12)); c && c < b_.size() && b_[c]; ++c)
                name += char(std::tolower(b_[c]));
            names.insert(name);
        }
        return names;
    }

    // A resource's bytes by type and numeric name, in its first language; empty when absent.
    Bytes resource(std::uint32_t type, std::uint32_t id) const {
        const std::uint32_t root = fileOffset(directory(2));
        std::uint32_t at = entry(root, root, type);
        at = at ? entry(root, at, id) : 0;
        at = at ? entry(root, at, std::nullopt) : 0;
        const std::uint32_t data = at ? fileOffset(u32(at)) : 0;
        const std::uint32_t size = at ? u32(at + 4) : 0;
        if (!data || std::uint64_t(data) + size > b_.size())
            return {};
        return Bytes(b_.begin() + data, b_.begin() + data + size);
    }

  private:
    struct Section {
        std::uint32_t address, size, offset;
    };

    std::uint32_t u16(std::uint64_t at) const {
        return at + 2 <= b_.size() ? std::uint32_t(b_[at] | b_[at + 1] << 8) : 0;
    }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::uint32_t directory(int index) const {
        return u32(optional_ + (magic() == 0x20B ? 112 : 96) + 8 * index);
    }
    std::uint32_t fileOffset(std::uint32_t rva) const {
        for (const auto& s : sections_)
            if (rva >= s.address && rva - s.address < s.size)
                return rva - s.address + s.offset;
        return 0;
    }
    // Within a resource directory: the entry with this numeric name (or the first entry), as
    // the file offset of the subdirectory or data entry it points to.
    std::uint32_t entry(std::uint32_t root, std::uint32_t dir,
                        std::optional<std::uint32_t> id) const {
        const std::uint32_t count = u16(dir + 12) + u16(dir + 14);
        for (std::uint32_t i = 0, at = dir + 16; i < count && at + 8 <= b_.size(); ++i, at += 8)
            if (!id || u32(at) == *id)
                return root + (u32(at + 4) & 0x7FFFFFFF);
        return 0;
    }

    Bytes b_;
    std::uint32_t pe_ = 0, optional_ = 0;
    std::vector<Section> sections_;
};

// A string of the version record's string table: the UTF-16 key, its NUL, padding to four bytes,
// then the value up to its NUL.
std::string versionString(const Bytes& record, std::string_view key) {
    Bytes pattern;
    for (char c : key)
        pattern.insert(pattern.end(), {std::uint8_t(c), 0});
    pattern.insert(pattern.end(), {0, 0});
    auto at = std::search(record.begin(), record.end(), pattern.begin(), pattern.end());
    if (at == record.end())
        return "<" + std::string(key) + " missing>";
    std::size_t i = (std::size_t(at - record.begin()) + pattern.size() + 3) & ~std::size_t(3);
    std::string value;
    for (; i + 1 < record.size() && (record[i] || record[i + 1]); i += 2)
        value += char(record[i]);
    return value;
}

// The 32-bit program, and the x86_64 one that the tests under Wine run.
class WindowsProgramFile : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        const auto path = std::filesystem::path(ZANTHERA_WINDOWS_DIR) / GetParam();
        ASSERT_TRUE(std::filesystem::exists(path)) << path << ": run make windows first";
        exe = std::make_unique<PeFile>(readFile(path));
    }
    std::unique_ptr<PeFile> exe;
};

TEST_P(WindowsProgramFile, IsAWindowsGuiProgramForItsProcessorNeedingOnlyTheSystemsDlls) {
    ASSERT_TRUE(exe->signed_());
    const bool x64 = GetParam().starts_with("x64/");
    EXPECT_EQ(exe->machine(), x64 ? 0x8664u : 0x14Cu);
    EXPECT_EQ(exe->magic(), x64 ? 0x20Bu : 0x10Bu); // PE32+ or PE32
    EXPECT_EQ(exe->subsystem(), 2);                 // the Windows GUI subsystem: no console window
    const std::set<std::string> system{
        "kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll", "shell32.dll",
        "advapi32.dll", "msvcrt.dll",   "ole32.dll",   "oleaut32.dll", "shlwapi.dll",
        "uxtheme.dll",  "comdlg32.dll", "version.dll", "ntdll.dll",    "imm32.dll",
        "winmm.dll",    "shcore.dll",   "dwmapi.dll",  "oleacc.dll",   "ws2_32.dll"};
    const auto imports = exe->imports();
    EXPECT_TRUE(imports.contains("kernel32.dll"));
    for (const auto& name : imports)
        EXPECT_TRUE(system.contains(name)) << name << " is not part of Windows";
}

TEST_P(WindowsProgramFile, CarriesTheWindowsKeyIconByteForByte) {
    const auto definition = readFile(ZANTHERA_DEFINITION_BLOCK);
    auto model = readDefinition(definition);
    ASSERT_TRUE(model) << model.error().message;
    const Bytes& ico = model->form.icon;
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    // The icon group: the file's directory with each image's file offset turned into a
    // resource number, 30001 for the 32 x 32 image and 30002 for the 16 x 16.
    const Bytes group = exe->resource(14, 1);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_TRUE(std::equal(group.begin(), group.begin() + 6, ico.begin()));
    for (int i = 0; i < 2; ++i) {
        const auto* dir = ico.data() + 6 + 16 * i;
        const auto* grp = group.data() + 6 + 14 * i;
        EXPECT_EQ(dir[0], i == 0 ? 32 : 16);
        EXPECT_TRUE(std::equal(dir, dir + 12, grp)) << "entry " << i;
        const std::uint32_t id = grp[12] | grp[13] << 8;
        EXPECT_EQ(id, 30001u + i);
        const std::uint32_t size = dir[8] | dir[9] << 8 | dir[10] << 16 | dir[11] << 24;
        const std::uint32_t offset = dir[12] | dir[13] << 8 | dir[14] << 16 | dir[15] << 24;
        ASSERT_LE(std::uint64_t(offset) + size, ico.size());
        EXPECT_EQ(exe->resource(3, id), Bytes(ico.begin() + offset, ico.begin() + offset + size));
    }
}

TEST_P(WindowsProgramFile, HasTheVersionRecord) {
    const Bytes record = exe->resource(16, 1);
    const Bytes fixed{0xBD, 0x04, 0xEF, 0xFE};
    auto at = std::search(record.begin(), record.end(), fixed.begin(), fixed.end());
    ASSERT_LE(at + 24, record.end());
    // File and product version 1.0.0.0: the high word of each first pair is the major number.
    const Bytes versions{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(versions.begin(), versions.end(), at + 8));
    EXPECT_EQ(versionString(record, "FileVersion"), "1.00");
    EXPECT_EQ(versionString(record, "ProductVersion"), "1.00");
    EXPECT_EQ(versionString(record, "ProductName"), "Project1");
}

TEST_P(WindowsProgramFile, CarriesTheLinuxBuildsDefinitionBlock) {
    const auto block = readFile(ZANTHERA_DEFINITION_BLOCK);
    ASSERT_GT(block.size(), 1'000'000u);
    const auto& file = exe->bytes();
    EXPECT_NE(std::search(file.begin(), file.end(),
                          std::boyer_moore_horspool_searcher(block.begin(), block.end())),
              file.end());
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowsProgramFile,
                         ::testing::Values("zanthera.exe", "x64/zanthera.exe"),
                         [](const auto& param) { return param.index == 0 ? "i386" : "x86_64"; });

} // namespace
} // namespace zanthera
