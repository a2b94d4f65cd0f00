#include "DesignedLayout.h"

#include "TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zanthera::testing {
namespace {

struct ExpectedRecord {
    const char* name;
    int type;
    const char* opcodes;
    std::uint32_t length;
};

const std::string button = "04 11 22 29";
const std::string valueLabel = "03 05 12 13 14";
const std::string captionLabel = "01 05 12 14 1F";

// clang-format off
const ExpectedRecord records[] = {
    {"Form1", 13, "01 19 21 22 23 24 26 27 35", 652750},
    {"Command10", 4, button.c_str(), 7044},     {"Command9", 4, button.c_str(), 9523},
    {"Command8", 4, "03 04 11 1D 22 29", 2481}, {"Command2", 4, button.c_str(), 9523},
    {"Command1", 4, button.c_str(), 9523},      {"Timer1", 11, "07 08", 26},
    {"Command4", 4, button.c_str(), 9523},      {"Command17", 4, button.c_str(), 25804},
    {"Command16", 4, button.c_str(), 25804},    {"Command15", 4, button.c_str(), 25804},
    {"Text1", 2, "02 04 12 24 2D", 36},         {"Command13", 4, button.c_str(), 9524},
    {"Cmm12", 4, button.c_str(), 25800},        {"Cmm11", 4, button.c_str(), 25800},
    {"Cmm9", 4, button.c_str(), 25799},         {"Cmm8", 4, button.c_str(), 25799},
    {"Command7", 4, button.c_str(), 25803},     {"Command6", 4, button.c_str(), 25803},
    {"Command5", 4, button.c_str(), 25803},     {"Command3", 4, button.c_str(), 25803},
    {"Cmm1", 4, button.c_str(), 25799},         {"Label10", 1, valueLabel.c_str(), 38},
    {"Label9", 1, captionLabel.c_str(), 69},    {"Label8", 1, captionLabel.c_str(), 41},
    {"Label7", 1, captionLabel.c_str(), 41},    {"Label6", 1, valueLabel.c_str(), 37},
    {"Label5", 1, valueLabel.c_str(), 37},      {"Label4", 1, captionLabel.c_str(), 43},
    {"Label3", 1, captionLabel.c_str(), 41},    {"Label2", 1, valueLabel.c_str(), 37},
    {"Label1", 1, valueLabel.c_str(), 37},
};
// clang-format on

Bytes opcodesOf(const StoredRecord& r) {
    Bytes out;
    for (const auto& p : r.properties)
        out.push_back(p.rule->opcode);
    return out;
}

std::size_t pictureBytes(const ParsedDefinition& parsed) {
    std::size_t total = 0;
    for (const auto& r : parsed.records)
        for (const auto& p : r.properties)
            if (const auto* picture = std::get_if<definition::PictureBytes>(&p.value))
                total += picture->file.size();
    return total;
}

} // namespace

void expectDesignedLayout(std::span<const std::uint8_t> block) {
    const ParsedDefinition parsed = layoutOf(block);
    ASSERT_EQ(parsed.records.size(), std::size(records));
    std::size_t expectedOffset = 93;
    for (std::size_t i = 0; i < parsed.records.size(); ++i) {
        const auto& r = parsed.records[i];
        const auto& e = records[i];
        EXPECT_EQ(r.index, i) << e.name;
        EXPECT_EQ(r.name, e.name);
        EXPECT_EQ(int(r.kind), e.type) << e.name;
        EXPECT_EQ(opcodesOf(r), hexBytes(e.opcodes)) << e.name;
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
    EXPECT_EQ(block.size(), 1020121u);
    EXPECT_EQ(pictureBytes(parsed), 1018542u);
}

} // namespace zanthera::testing
