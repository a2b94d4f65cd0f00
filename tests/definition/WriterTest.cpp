// The writer, byte by byte: the block built into the program holds the designed window in the
// designed layout, with the artwork's files unchanged; and what the format cannot hold is refused.

#include "Support.h"

#include "ArtFiles.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionWriter.h"
#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace zanthera::testing {
namespace {

Bytes recordBytes(std::string_view name) {
    const auto block = storedDefinition();
    const ParsedDefinition parsed = layoutOf(block);
    const auto& r = recordNamed(parsed, name);
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

// Every record's name, type code, opcodes, length and the marker after it, one record a line, in
// creation order.
const char* const designedLayout = "Form1 13 (01 19 21 22 23 24 26 27 35) 652750 01\n"
                                   "Command10 4 (04 11 22 29) 7044 03\n"
                                   "Command9 4 (04 11 22 29) 9523 03\n"
                                   "Command8 4 (03 04 11 1D 22 29) 2481 03\n"
                                   "Command2 4 (04 11 22 29) 9523 03\n"
                                   "Command1 4 (04 11 22 29) 9523 03\n"
                                   "Timer1 11 (07 08) 26 03\n"
                                   "Command4 4 (04 11 22 29) 9523 03\n"
                                   "Command17 4 (04 11 22 29) 25804 03\n"
                                   "Command16 4 (04 11 22 29) 25804 03\n"
                                   "Command15 4 (04 11 22 29) 25804 03\n"
                                   "Text1 2 (02 04 12 24 2D) 36 03\n"
                                   "Command13 4 (04 11 22 29) 9524 03\n"
                                   "Cmm12 4 (04 11 22 29) 25800 03\n"
                                   "Cmm11 4 (04 11 22 29) 25800 03\n"
                                   "Cmm9 4 (04 11 22 29) 25799 03\n"
                                   "Cmm8 4 (04 11 22 29) 25799 03\n"
                                   "Command7 4 (04 11 22 29) 25803 03\n"
                                   "Command6 4 (04 11 22 29) 25803 03\n"
                                   "Command5 4 (04 11 22 29) 25803 03\n"
                                   "Command3 4 (04 11 22 29) 25803 03\n"
                                   "Cmm1 4 (04 11 22 29) 25799 03\n"
                                   "Label10 1 (03 05 12 13 14) 38 03\n"
                                   "Label9 1 (01 05 12 14 1F) 69 03\n"
                                   "Label8 1 (01 05 12 14 1F) 41 03\n"
                                   "Label7 1 (01 05 12 14 1F) 41 03\n"
                                   "Label6 1 (03 05 12 13 14) 37 03\n"
                                   "Label5 1 (03 05 12 13 14) 37 03\n"
                                   "Label4 1 (01 05 12 14 1F) 43 03\n"
                                   "Label3 1 (01 05 12 14 1F) 41 03\n"
                                   "Label2 1 (03 05 12 13 14) 37 03\n"
                                   "Label1 1 (03 05 12 13 14) 37 02\n";

TEST(Writer, EveryRecordHasTheDesignedOpcodesLengthAndMarker) {
    const auto block = storedDefinition();
    std::string layout;
    std::size_t next = 93;
    for (const auto& r : layoutOf(block).records) {
        EXPECT_EQ(r.offset, next) << r.name;
        next = r.offset + r.length + 1;
        char length[32];
        std::snprintf(length, sizeof length, ") %u %02X\n", unsigned(r.length), block[next - 1]);
        layout += r.name + " " + std::to_string(int(r.kind)) + " (";
        for (const auto& p : r.properties) {
            char opcode[4];
            std::snprintf(opcode, sizeof opcode, "%02X ", p.rule->opcode);
            layout += opcode;
        }
        layout.pop_back(); // the space after the last opcode
        layout += length;
    }
    EXPECT_EQ(layout, designedLayout);
    EXPECT_EQ(block[next], 0x04);
    EXPECT_EQ(next + 1, block.size());
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
