#include "DesignedLayout.h"
#include "TestWindows.h"

#include "Form1/DefinitionFormat.h"
#include "Form1/DefinitionPictures.h"
#include "Form1/DefinitionWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zanthera::testing {
namespace {

class WriterTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        block_ = new Bytes(blockOf(designedWindowWithBlankPictures()));
        layout_ = new ParsedDefinition(layoutOf(*block_));
    }
    static void TearDownTestSuite() {
        delete layout_;
        delete block_;
    }
    static Bytes recordBytes(std::string_view name) {
        const auto& r = recordNamed(*layout_, name);
        return Bytes(block_->begin() + long(r.offset), block_->begin() + long(r.offset + r.length));
    }
    static inline Bytes* block_ = nullptr;
    static inline ParsedDefinition* layout_ = nullptr;
};

TEST_F(WriterTest, SmallRecordsMatchTheirByteListings) {
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

TEST_F(WriterTest, ButtonRecordFramesItsBitmapFile) {
    const Bytes record = recordBytes("Cmm1");
    const Bytes head = hexBytes("C7 64 00 00 | 15 | 04 00 | 43 6D 6D 31 | 00 | 04 | "
                                "04 F0 0F 70 17 9F 06 67 02 | 11 00 00 | 22 A6 64 00 00 | "
                                "6C 74 00 00 9E 64 00 00 | 42 4D 9E 64 00 00");
    const Bytes tail = hexBytes("29 01 | FF");
    ASSERT_EQ(record.size(), 25799u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + long(head.size())), head);
    EXPECT_EQ(Bytes(record.end() - long(tail.size()), record.end()), tail);
}

TEST_F(WriterTest, HeaderCarriesSignatureCountIdentifiersAndTreeLength) {
    const Bytes expected = hexBytes("FF CC 31 00 | 1F | "
                                    "33 E0 5B 03 3E 02 A9 48 AB 11 9C E7 27 06 1D 8F | "
                                    "AF 4A CC E9 E1 44 1A 40 84 7A 4D 13 BE AB 01 C5 | "
                                    "3A 4F AD 33 99 66 CF 11 B7 0C 00 AA 00 60 D3 93");
    ASSERT_EQ(block_->size(), 1020121u);
    EXPECT_EQ(Bytes(block_->begin(), block_->begin() + long(expected.size())), expected);
    EXPECT_EQ(Bytes(block_->begin() + 53, block_->begin() + 89), Bytes(36, 0));
    EXPECT_EQ(Bytes(block_->begin() + 89, block_->begin() + 93), hexBytes("80 90 0F 00"));
}

TEST_F(WriterTest, EveryRecordHasTheDesignedOpcodesAndLength) {
    expectDesignedLayout(*block_);
}

TEST(Writer, LeavesOutSettingsAtTheirDefaultsButNotPositionsAndTabIndices) {
    WindowModel m;
    m.form.client = {};
    ControlModel label;
    label.name = "Label1";
    label.index = 1;
    label.kind = ControlKind::Label;
    label.tabIndex = 0;
    m.controls = {label};
    // At the model's defaults the window stores only its client area and the label only its
    // extents and its tab index, 0 included.
    const Bytes expected = hexBytes("20 00 00 00 | 00 | 05 00 46 6F 72 6D 31 00 | 0D | "
                                    "35 00000000 00000000 00000000 00000000 | FF | 01 | "
                                    "1C 00 00 00 | 01 | 06 00 4C 61 62 65 6C 31 00 | 01 | "
                                    "05 0000 0000 0000 0000 | 12 00 00 | FF | 02 | 04");
    const Bytes block = blockOf(m);
    EXPECT_EQ(Bytes(block.begin() + 93, block.end()), expected);
}

struct WriteFault {
    const char* what;
    std::function<void(WindowModel&)> change;
    std::string message;
};

// The small window's caption label, Label8.
ControlModel& label(WindowModel& m) {
    return m.controls[3];
}

// A change to the small window that the format cannot hold, and the writer's message.
const WriteFault writeFaults[] = {
    {"unmappable caption", [](WindowModel& m) { label(m).caption = "Ж"; },
     "Label8: caption: character U+0416 at byte 0 has no code page 1256 form"},
    {"caption with NUL", [](WindowModel& m) { label(m).caption = std::string("a\0b", 3); },
     "Label8: caption: text holds a 00 byte"},
    {"caption too long", [](WindowModel& m) { label(m).caption = std::string(4097, 'a'); },
     "Label8: caption: text of 4097 bytes exceeds the limit of 4096"},
    {"label picture", [](WindowModel& m) { label(m).picture = m.controls[0].picture; },
     "Label8: a label cannot store its picture"},
    {"timer extents", [](WindowModel& m) { m.controls[1].extents.left = 1; },
     "Timer1: a timer cannot store its extents"},
    {"alignment", [](WindowModel& m) { label(m).alignment = 3; },
     "Label8: alignment: choice 3 of the alignment is not one of 0 to 2"},
    {"colour", [](WindowModel& m) { m.form.colour = StoredColour{0x01000000}; },
     "Form1: colour: colour 0x01000000 is neither an RGB colour nor a system colour"},
    {"system colour", [](WindowModel& m) { m.form.colour = StoredColour::system(31); },
     "Form1: colour: colour 0x8000001F is neither an RGB colour nor a system colour"},
    {"font version", [](WindowModel& m) { m.controls[0].font->version = 2; },
     "Command8: font: font version 2 is not known"},
    {"font name", [](WindowModel& m) { m.controls[0].font->name = "Sans\tSerif"; },
     "Command8: font: font name is not printable ASCII"},
    {"picture size field", [](WindowModel& m) { m.controls[0].picture[2] ^= 1; },
     "Command8: picture: picture file offset 2: bitmap file size field 59 disagrees with the "
     "picture's 58 bytes"},
    {"picture kind", [](WindowModel& m) { m.form.icon.assign(3, 0x42); },
     "Form1: icon: picture file offset 0: picture is neither a bitmap file nor an icon file"},
    {"name", [](WindowModel& m) { m.controls[2].name = "Text 1"; },
     "\"Text 1\": name is not a letter followed by letters, digits and underscores"},
    {"name twice", [](WindowModel& m) { m.controls[2].name = "Timer1"; },
     "Timer1: the name is used twice"},
    {"index", [](WindowModel& m) { m.controls[2].index = 7; },
     "Text1: creation index 7 where 3 was expected"},
    {"kind", [](WindowModel& m) { m.controls[2].kind = ControlKind::Window; },
     "Text1: a control cannot be of kind 13"},
    {"count", [](WindowModel& m) { m.controls.resize(256, m.controls[1]); },
     "a window holds at most 255 controls, not 256"},
};

TEST(Writer, RefusesWhatTheFormatCannotHoldAndNamesTheControl) {
    for (const auto& c : writeFaults) {
        WindowModel m = smallWindow();
        c.change(m);
        auto block = writeDefinition(m, zantheraDefinitionIds);
        ASSERT_FALSE(block) << c.what;
        EXPECT_EQ(block.error().message, c.message) << c.what;
    }
}

} // namespace
} // namespace zanthera::testing
