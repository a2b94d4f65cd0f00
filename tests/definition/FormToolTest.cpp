// The maintenance tool's pieces: finding a block in a file, listing it, taking its pictures out.

#include "Support.h"

#include "ArtFiles.h"
#include "BlockSearch.h"
#include "Listing.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zanthera::testing {
namespace {

// A program-like file: some code bytes, a stray signature without a header, the block, more data.
Bytes programCarrying(const Bytes& block, std::size_t& blockAt) {
    Bytes file = hexBytes("7F 45 4C 46 02 01 01 00");
    file.resize(300, 0x90);
    const Bytes stray = hexBytes("FF CC 31 00 1F 00 00");
    file.insert(file.end(), stray.begin(), stray.end());
    file.resize(517, 0);
    blockAt = file.size();
    file.insert(file.end(), block.begin(), block.end());
    file.resize(file.size() + 100, 0xCC);
    return file;
}

TEST(FormTool, FindsTheBlockInAProgramOrAsAWholeFileAndReportsItsFault) {
    const Bytes block = blockOf(smallWindow());
    Bytes damaged = block;
    damaged.back() = 0x05;
    std::size_t blockAt = 0;
    const Bytes program = programCarrying(block, blockAt);
    const Bytes damagedProgram = programCarrying(damaged, blockAt);
    const std::string fault = "offset " + std::to_string(block.size() - 1) +
                              ": marker 0x05 where the end marker 04 was expected";
    struct Case {
        const Bytes& file;
        std::string message; // empty: found at `offset`
        std::size_t offset;
    };
    const Case cases[] = {
        {program, "", blockAt},
        {block, "", 0},
        {damaged, fault, 0},
        {damagedProgram, "block at file offset " + std::to_string(blockAt) + ": " + fault, 0},
        {Bytes(4000, 0x90),
         "no stored window definition found (no signature FF CC 31 00 before a "
         "plausible header)",
         0},
    };
    for (const auto& c : cases) {
        auto located = formdef::locateDefinition(c.file);
        if (!c.message.empty()) {
            ASSERT_FALSE(located) << c.message;
            EXPECT_EQ(located.error().message, c.message);
            continue;
        }
        ASSERT_TRUE(located) << located.error().message;
        EXPECT_EQ(located->block.fileOffset, c.offset);
        EXPECT_EQ(located->block.bytes.size(), block.size());
        EXPECT_EQ(located->parsed.records.size(), 5u);
    }
}

TEST(FormTool, ListsEveryRecordAndValue) {
    const Bytes block = blockOf(smallWindow());
    const std::string listing = formdef::listDefinition(layoutOf(block));
    const char* lines[] = {
        "window identifier {035BE033-023E-48A9-AB11-9CE727061D8F}",
        "record 0   Form1        window   length",
        "    01    caption          \"Small\"",
        "    21    picture          bitmap 3 x 2, 24 bits, 78 bytes",
        "    23    icon             icon, 1 images, 142 bytes",
        "    03    face colour      RGB(0, 0, 255)",
        "    1D    font             \"MS Sans Serif\", 18.00 pt, character set 178, weight 400",
        "    07    timer value 07   0x000014A0 (5280)",
        "    02    back colour      system colour 3 (0x80000003)",
        "    2D    multi-line       true (FF)",
        "    01    caption          \"اليوم\"",
        "    05    extents          left 5280, top 2640, width 615, height 255",
    };
    for (const char* line : lines)
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
}

TEST(FormTool, ExtractsEachPictureAsItsOwnFile) {
    const WindowModel window = smallWindow();
    const Bytes block = blockOf(window);
    const auto dir = std::filesystem::path(::testing::TempDir()) / "zanthera-extract";
    std::filesystem::remove_all(dir);
    auto written = formdef::extractPictures(layoutOf(block), dir);
    ASSERT_TRUE(written) << written.error().message;
    struct Case {
        const char* file;
        const Bytes& bytes;
    };
    const Case cases[] = {{"Form1.bmp", window.form.background},
                          {"Form1.ico", window.form.icon},
                          {"Command8.bmp", window.controls[0].picture}};
    EXPECT_EQ(written->size(), std::size(cases));
    for (const auto& c : cases)
        EXPECT_EQ(formdef::readFile(dir / c.file).value(), c.bytes) << c.file;
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace zanthera::testing
