// The writer, byte by byte: the block built into the program holds the designed window in the
// designed layout, with the artwork's files unchanged; and what the format cannot hold is refused.

#include "Support.h"

#include "ArtFiles.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionWriter.h"
#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace zanthera::testing {
namespace {

Bytes recordBytes(std::string_view name) {
    const auto block = storedDefinition();
    const auto& r = recordNamed(layoutOf(block), name);
    return Bytes(block.begin() + long(r.offset), block.begin() + long(r.offset + r.length));
}

TEST(Writer, SmallRecordsMatchTheirByteListings) {
    struct Case {
        const char* name;
        const char* listing;
    };
    const Case cases[] = {
        {"Timer1", "1A 00 00 00 | 06 | 06 00 | 54 69 6D 65 72 31 | 00 | 0B | 07 A0 14 00 00 | "
                   "08 28 05 00 00 | FF"},
        {"Label8", "29 00 00 00 | 18 | 06 00 | 4C 61 62 65 6C 38 | 00 | 01 | "
                   "01 05 00 C7 E1 ED E6 E3 00 | 05 A0 14 50 0A 67 02 FF 00 | 12 16 00 | 14 02 | "
                   "1F 00 | FF"},
        {"Text1", "24 00 00 00 | 0B | 05 00 | 54 65 78 74 31 | 00 | 02 | 02 03 00 00 80 | "
                  "04 D0 02 78 0F 5F 0A 67 02 | 12 0A 00 | 24 02 | 2D FF | FF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recordBytes(c.name), hexBytes(c.listing)) << c.name;
}

TEST(Writer, ButtonRecordFramesItsBitmapFile) {
    const Bytes record = recordBytes("Cmm1");
    const Bytes head = hexBytes("C7 64 00 00 | 15 | 04 00 | 43 6D 6D 31 | 00 | 04 | "
                                "04 F0 0F 70 17 9F 06 67 02 | 11 00 00 | 22 A6 64 00 00 | "
                                "6C 74 00 00 9E 64 00 00 | 42 4D 9E 64 00 00");
    const Bytes tail = hexBytes("29 01 | FF");
    ASSERT_EQ(record.size(), 25799u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + long(head.size())), head);
    EXPECT_EQ(Bytes(record.end() - long(tail.size()), record.end()), tail);
}

TEST(Writer, HeaderCarriesSignatureCountIdentifiersAndTreeLength) {
    const auto block = storedDefinition();
    const Bytes expected = hexBytes("FF CC 31 00 | 1F | "
                                    "33 E0 5B 03 3E 02 A9 48 AB 11 9C E7 27 06 1D 8F | "
                                    "AF 4A CC E9 E1 44 1A 40 84 7A 4D 13 BE AB 01 C5 | "
                                    "3A 4F AD 33 99 66 CF 11 B7 0C 00 AA 00 60 D3 93");
    ASSERT_EQ(block.size(), 1020121u);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + long(expected.size())), expected);
    EXPECT_EQ(Bytes(block.begin() + 53, block.begin() + 89), Bytes(36, 0));
    EXPECT_EQ(Bytes(block.begin() + 89, block.begin() + 93), hexBytes("80 90 0F 00"));
}

struct ExpectedRecord {
    const char* name;
    int type;
    const char* opcodes;
    std::uint32_t length;
};

const char* const button = "04 11 22 29";
const char* const valueLabel = "03 05 12 13 14";
const char* const captionLabel = "01 05 12 14 1F";

// clang-format off
const ExpectedRecord designedRecords[] = {
    {"Form1", 13, "01 19 21 22 23 24 26 27 35", 652750},
    {"Command10", 4, button, 7044},       {"Command9", 4, button, 9523},
    {"Command8", 4, "03 04 11 1D 22 29", 2481}, {"Command2", 4, button, 9523},
    {"Command1", 4, button, 9523},        {"Timer1", 11, "07 08", 26},
    {"Command4", 4, button, 9523},        {"Command17", 4, button, 25804},
    {"Command16", 4, button, 25804},      {"Command15", 4, button, 25804},
    {"Text1", 2, "02 04 12 24 2D", 36},   {"Command13", 4, button, 9524},
    {"Cmm12", 4, button, 25800},          {"Cmm11", 4, button, 25800},
    {"Cmm9", 4, button, 25799},           {"Cmm8", 4, button, 25799},
    {"Command7", 4, button, 25803},       {"Command6", 4, button, 25803},
    {"Command5", 4, button, 25803},       {"Command3", 4, button, 25803},
    {"Cmm1", 4, button, 25799},           {"Label10", 1, valueLabel, 38},
    {"Label9", 1, captionLabel, 69},      {"Label8", 1, captionLabel, 41},
    {"Label7", 1, captionLabel, 41},      {"Label6", 1, valueLabel, 37},
    {"Label5", 1, valueLabel, 37},        {"Label4", 1, captionLabel, 43},
    {"Label3", 1, captionLabel, 41},      {"Label2", 1, valueLabel, 37},
    {"Label1", 1, valueLabel, 37},
};
// clang-format on

// Every record's creation index, name, type code, opcodes and length, the markers between them
// and the end.
TEST(Writer, EveryRecordHasTheDesignedOpcodesLengthAndMarker) {
    const auto block = storedDefinition();
    const ParsedDefinition parsed = layoutOf(block);
    ASSERT_EQ(parsed.records.size(), std::size(designedRecords));
    std::size_t expectedOffset = 93;
    for (std::size_t i = 0; i < parsed.records.size(); ++i) {
        const auto& r = parsed.records[i];
        const auto& e = designedRecords[i];
        Bytes opcodes;
        for (const auto& p : r.properties)
            opcodes.push_back(p.rule->opcode);
        EXPECT_EQ(r.index, i) << e.name;
        EXPECT_EQ(r.name, e.name);
        EXPECT_EQ(int(r.kind), e.type) << e.name;
        EXPECT_EQ(opcodes, hexBytes(e.opcodes)) << e.name;
        EXPECT_EQ(r.length, e.length) << e.name;
        EXPECT_EQ(r.offset, expectedOffset) << e.name;
        EXPECT_FALSE(r.steppedOver) << e.name;
        const std::size_t end = r.offset + r.length;
        const std::uint8_t marker = i == 0 ? 0x01 : i + 1 < parsed.records.size() ? 0x03 : 0x02;
        EXPECT_EQ(block[end], marker) << "marker after " << e.name;
        expectedOffset = end + 1;
    }
    EXPECT_EQ(block[expectedOffset], 0x04);
    EXPECT_EQ(expectedOffset + 1, block.size());
}

// Read back, the block is the designed window with the artwork's files as they were drawn, and
// writing what was read gives the same bytes.
TEST(Writer, StoredBlockIsTheDesignedWindowWithTheArtworkFilesUnchanged) {
    const auto block = storedDefinition();
    auto read = readDefinition(block);
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(blockOf(*read), Bytes(block.begin(), block.end()));
    WindowModel window = *read;
    const std::filesystem::path art = ZANTHERA_ART_DIR;
    const auto readFile = [](const std::filesystem::path& path) {
        return formdef::readFile(path).value();
    };
    EXPECT_EQ(window.form.background, readFile(art / "Form1.bmp"));
    EXPECT_EQ(window.form.icon, readFile(art / "Form1.ico"));
    window.form.background.clear();
    window.form.icon.clear();
    for (auto& c : window.controls) {
        if (c.kind == ControlKind::Button) {
            EXPECT_EQ(c.picture, readFile(art / (c.name + ".bmp"))) << c.name;
        }
        c.picture.clear();
    }
    EXPECT_EQ(window, design::designedWindow());
}

struct WriteFault {
    std::function<void(WindowModel&)> change;
    std::string message;
};

// The small window's caption label, Label8.
ControlModel& label(WindowModel& m) {
    return m.controls[3];
}

// A change to the small window that the format cannot hold, and the writer's message. The checks
// of single values that the reader shares are tested with the reader.
const WriteFault writeFaults[] = {
    {[](WindowModel& m) { label(m).caption = "Ж"; },
     "Label8: caption: character U+0416 at byte 0 has no code page 1256 form"},
    {[](WindowModel& m) { label(m).caption = std::string("a\0b", 3); },
     "Label8: caption: text holds a 00 byte"},
    {[](WindowModel& m) { label(m).caption = std::string(4097, 'a'); },
     "Label8: caption: text of 4097 bytes exceeds the limit of 4096"},
    {[](WindowModel& m) { label(m).picture = m.controls[0].picture; },
     "Label8: a label cannot store its picture"},
    {[](WindowModel& m) { m.controls[1].extents.left = 1; },
     "Timer1: a timer cannot store its extents"},
    {[](WindowModel& m) { m.form.colour = StoredColour{0x01000000}; },
     "Form1: colour: colour 0x01000000 is neither an RGB colour nor a system colour"},
    {[](WindowModel& m) { m.form.icon.assign(3, 0x42); },
     "Form1: icon: picture file offset 0: picture is neither a bitmap file nor an icon file"},
    {[](WindowModel& m) { m.controls[2].name = "Text 1"; },
     "\"Text 1\": name is not a letter followed by letters, digits and underscores"},
    {[](WindowModel& m) { m.controls[2].name = "Timer1"; }, "Timer1: the name is used twice"},
    {[](WindowModel& m) { m.controls[2].index = 7; },
     "Text1: creation index 7 where 3 was expected"},
    {[](WindowModel& m) { m.controls[2].kind = ControlKind::Window; },
     "Text1: a control cannot be of kind 13"},
    {[](WindowModel& m) { m.controls.resize(256, m.controls[1]); },
     "a window holds at most 255 controls, not 256"},
};

TEST(Writer, RefusesWhatTheFormatCannotHoldAndNamesTheControl) {
    for (const auto& c : writeFaults) {
        WindowModel m = smallWindow();
        c.change(m);
        auto block = writeDefinition(m, zantheraDefinitionIds);
        ASSERT_FALSE(block) << c.message;
        EXPECT_EQ(block.error().message, c.message);
    }
}

} // namespace
} // namespace zanthera::testing
