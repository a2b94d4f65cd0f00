#include "TestWindows.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionReader.h"
#include "Form1/DefinitionWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zanthera::testing {
namespace {

TEST(Reader, GivesBackTheWindowThatWasWritten) {
    for (const WindowModel& model : {smallWindow(), designedWindowWithBlankPictures()}) {
        const Bytes block = blockOf(model);
        auto read = readDefinition(block);
        ASSERT_TRUE(read) << read.error().message;
        EXPECT_EQ(*read, model);
        EXPECT_EQ(blockOf(*read), block) << "writing what was read gives the same bytes";
    }
}

TEST(Reader, GivesBackTheDesignedTexts) {
    auto read = readDefinition(blockOf(designedWindowWithBlankPictures()));
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->form.caption, "Zanthera ver 0.1");
    for (const auto& row : design::controls) {
        const ControlModel* control = read->find(row.name);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->caption, row.text) << row.name;
        EXPECT_EQ(control->extents, row.extents) << row.name;
    }
}

TEST(Reader, TellsWhereItFoundEachRecordAndProperty) {
    const Bytes block = blockOf(smallWindow());
    const ParsedDefinition parsed = layoutOf(block);
    EXPECT_EQ(parsed.ids, zantheraDefinitionIds);
    EXPECT_EQ(parsed.size, block.size());
    for (const auto& record : parsed.records) {
        EXPECT_EQ(block[record.offset + record.length - 1], 0xFF) << record.name;
        for (const auto& p : record.properties)
            EXPECT_EQ(block[p.offset], p.rule->opcode) << record.name;
    }
}

// An opcode that the reader does not know, inserted into Label8 with a value of two bytes that
// the reader cannot size: `before` gives the opcode of the setting it is placed in front of.
struct UnknownOpcode {
    std::uint8_t opcode;
    std::uint8_t before; // 0xFF: at the end of the list
};

Bytes withUnknownOpcode(const UnknownOpcode& u, std::size_t& at) {
    Bytes block = blockOf(smallWindow());
    const ParsedDefinition parsed = layoutOf(block);
    const StoredRecord& label = recordNamed(parsed, "Label8");
    at = label.offset + label.length - 1;
    for (const auto& p : label.properties)
        if (p.rule->opcode == u.before) {
            at = p.offset;
            break;
        }
    const Bytes inserted{u.opcode, 0xAB, 0xFF};
    block.insert(block.begin() + long(at), inserted.begin(), inserted.end());
    adjustLengths(block, label, long(inserted.size()));
    return block;
}

TEST(Reader, StepsOverTheRestOfARecordAtAnUnknownOpcode) {
    struct Case {
        UnknownOpcode unknown;
        std::function<void(ControlModel&)> lost; // settings after it fall back to defaults
    };
    const Case cases[] = {
        {{0x30, 0xFF}, [](ControlModel&) {}},
        {{0x15, 0x1F}, [](ControlModel& c) { c.backStyle = ControlModel{}.backStyle; }},
        {{0x06, 0x12},
         [](ControlModel& c) {
             c.tabIndex.reset();
             c.alignment = ControlModel{}.alignment;
             c.backStyle = ControlModel{}.backStyle;
         }},
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        const Bytes block = withUnknownOpcode(c.unknown, at);
        auto parsed = parseDefinition(block);
        ASSERT_TRUE(parsed) << parsed.error().message;
        const StoredRecord& label = recordNamed(*parsed, "Label8");
        ASSERT_TRUE(label.steppedOver);
        EXPECT_EQ(label.steppedOver->offset, at);
        EXPECT_EQ(label.steppedOver->opcode, c.unknown.opcode);
        WindowModel expected = smallWindow();
        c.lost(expected.controls[3]);
        EXPECT_EQ(modelFromParsed(*parsed), expected);
    }
}

TEST(Reader, StillNeedsTheEndByteAfterAnUnknownOpcode) {
    std::size_t at = 0;
    Bytes block = withUnknownOpcode({0x30, 0xFF}, at);
    const std::size_t lastOfRecord = at + 3;
    block[lastOfRecord] = 0xFE;
    auto read = readDefinition(block);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message, "offset " + std::to_string(lastOfRecord) +
                                        ": record Label8 with unknown opcode 0x30 does not "
                                        "end with FF");
}

} // namespace
} // namespace zanthera::testing
