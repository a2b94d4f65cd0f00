// Each fault of a block gets its own clear error, naming the offset of the byte that is wrong;
// a record with an opcode the reader does not know is kept up to that opcode; damaged blocks and
// picture files are refused cleanly.
#include "Support.h"

#include "ArtFiles.h"
#include "Form1/DefinitionPictures.h"
#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>

namespace zanthera::testing {
namespace {

using namespace std::string_literals;

std::string at(std::size_t offset, const std::string& what) {
    return "offset " + std::to_string(offset) + ": " + what;
}

// Where things stand in the small window's block.
struct Places {
    ParsedDefinition layout;
    const StoredRecord& record(std::string_view name) const { return recordNamed(layout, name); }
    std::size_t end(std::string_view name) const {
        return record(name).offset + record(name).length;
    }
    std::size_t property(std::string_view name, std::uint8_t opcode) const {
        for (const auto& p : record(name).properties)
            if (p.rule->opcode == opcode)
                return p.offset;
        throw std::runtime_error("no such property");
    }
};

struct Fault {
    const char* what;
    // Damages the block and returns the message that the reader must give.
    std::function<std::string(Bytes&, const Places&)> damage;
};

// Offsets of a button picture's fields: its length after the opcode, the stream header, the
// stream's size and the image file.
std::size_t pictureField(const Places& p, std::size_t field) {
    return p.property("Command8", 0x22) + 1 + field;
}
constexpr std::size_t tagField = 4, sizeField = 8, fileField = 12;

// Faults in the framing (signature, lengths, markers) are also swept bit by bit in the corruption
// tests; one of each kind is here for its message.
// clang-format off
const Fault faults[] = {
    // The header.
    {"control count", [](Bytes& b, const Places&) {
         b[4] = 5;
         return at(4, "header counts 5 controls but the block holds 4"); }},
    {"form class", [](Bytes& b, const Places&) {
         b[37] = 0x3B;
         return at(37, "form class identifier {33AD4F3B-6699-11CF-B70C-00AA0060D393} is not the "
                       "window class {33AD4F3A-6699-11CF-B70C-00AA0060D393}"); }},
    {"zero bytes", [](Bytes& b, const Places&) {
         b[60] = 7;
         return at(60, "header byte 0x07 where 00 is required"); }},
    {"tree length", [](Bytes& b, const Places&) {
         put32(b, 89, static_cast<std::uint32_t>(b.size() - 88));
         return at(89, "tree length " + std::to_string(b.size() - 88) + " disagrees with the "
                       "block's " + std::to_string(b.size()) + " bytes"); }},
    // The records and the markers between them.
    {"record past the end", [](Bytes& b, const Places&) {
         put32(b, 93, 0x7FFFFFFF);
         return at(93, "record length 2147483647 runs past the end of the block"); }},
    {"record too short", [](Bytes& b, const Places&) {
         put32(b, 93, 5);
         return at(93, "record length 5 is shorter than the smallest record"); }},
    {"record one byte short", [](Bytes& b, const Places& p) {
         put32(b, p.record("Timer1").offset, 25);
         return at(p.end("Timer1") - 1, "opcode or end byte runs past the end of the record"); }},
    {"marker after the window", [](Bytes& b, const Places& p) {
         b[p.end("Form1")] = 5;
         return at(p.end("Form1"), "marker 0x05 after the window's record is neither 01 nor 02"); }},
    {"bytes after the end", [](Bytes& b, const Places&) {
         b.push_back(0);
         put32(b, 89, static_cast<std::uint32_t>(b.size() - 89));
         return at(b.size() - 1, "1 bytes follow the end marker 04"); }},
    {"opcodes not rising", [](Bytes& b, const Places& p) {
         b[p.property("Text1", 0x12)] = 0x04;
         return at(p.property("Text1", 0x12), "opcode 0x04 does not rise above 0x04"); }},
    {"creation index", [](Bytes& b, const Places& p) {
         b[p.record("Timer1").offset + 4] = 9;
         return at(p.record("Timer1").offset + 4, "creation index 9 where 2 was expected"); }},
    {"name characters", [](Bytes& b, const Places& p) {
         b[p.record("Timer1").offset + 7] = '1';
         return at(p.record("Timer1").offset + 7,
                   "name is not a letter followed by letters, digits and underscores"); }},
    {"name end", [](Bytes& b, const Places& p) {
         b[p.record("Timer1").offset + 13] = 'x';
         return at(p.record("Timer1").offset + 13, "name \"Timer1\" does not end with 00"); }},
    {"name twice", [](Bytes& b, const Places& p) {
         std::copy_n("Timer1", 6, b.begin() + long(p.record("Label8").offset + 7));
         return at(p.record("Label8").offset, "name \"Timer1\" is used twice"); }},
    {"type code", [](Bytes& b, const Places& p) {
         b[p.record("Timer1").offset + 14] = 3;
         return at(p.record("Timer1").offset + 14, "type code 3 is not known for a control"); }},
    {"control as the window", [](Bytes& b, const Places&) {
         b[93 + 13] = 4;
         return at(93 + 13, "type code 4 is not known for the window"); }},
    // The values.
    {"picture length too small", [](Bytes& b, const Places& p) {
         put32(b, pictureField(p, 0), 3);
         return at(pictureField(p, 0), "picture length 3 is out of range"); }},
    {"picture stream header", [](Bytes& b, const Places& p) {
         b[pictureField(p, tagField)] = 'L';
         return at(pictureField(p, tagField),
                   "picture stream header is not \"lt\" and two zero bytes"); }},
    {"picture stream size", [](Bytes& b, const Places& p) {
         put32(b, pictureField(p, sizeField), 57);
         return at(pictureField(p, sizeField),
                   "picture stream size 57 disagrees with its length field 66"); }},
    {"bitmap size field", [](Bytes& b, const Places& p) {
         put32(b, pictureField(p, fileField) + 2, 60);
         return at(pictureField(p, fileField) + 2,
                   "bitmap file size field 60 disagrees with the picture's 58 bytes"); }},
    {"icon count", [](Bytes& b, const Places& p) {
         const std::size_t icon = p.property("Form1", 0x23) + 1 + fileField;
         put16(b, icon + 4, 0);
         return at(icon + 4, "icon file holds 0 images"); }},
    {"boolean", [](Bytes& b, const Places& p) {
         b[p.property("Text1", 0x2D) + 1] = 1;
         return at(p.property("Text1", 0x2D) + 1, "boolean 0x01 is neither FF nor 00"); }},
    {"choice", [](Bytes& b, const Places& p) {
         b[p.property("Label8", 0x14) + 1] = 3;
         return at(p.property("Label8", 0x14) + 1,
                   "choice 3 of the alignment is not one of 0 to 2"); }},
    {"colour", [](Bytes& b, const Places& p) {
         put32(b, p.property("Text1", 0x02) + 1, 0x80000020);
         return at(p.property("Text1", 0x02) + 1,
                   "colour 0x80000020 is neither an RGB colour nor a system colour"); }},
    {"text end", [](Bytes& b, const Places& p) {
         const std::size_t text = p.property("Label8", 0x01) + 1;
         b[text + 2 + 5] = 'x';
         return at(text + 2 + 5, "text does not end with 00"); }},
    {"text with 00", [](Bytes& b, const Places& p) {
         const std::size_t text = p.property("Label8", 0x01) + 1;
         b[text + 3] = 0;
         return at(text, "text holds a 00 byte"); }},
    {"font version", [](Bytes& b, const Places& p) {
         b[p.property("Command8", 0x1D) + 1] = 2;
         return at(p.property("Command8", 0x1D) + 1, "font version 2 is not known"); }},
    {"font name", [](Bytes& b, const Places& p) {
         b[p.property("Command8", 0x1D) + 12] = 0x7F;
         return at(p.property("Command8", 0x1D) + 1, "font name is not printable ASCII"); }},
};
// clang-format on

TEST(Reader, RefusesEachFaultNamingItsOffset) {
    for (const Fault& fault : faults) {
        Bytes block = blockOf(smallWindow());
        const Places places{layoutOf(block)};
        const std::string expected = fault.damage(block, places);
        auto read = readDefinition(block);
        ASSERT_FALSE(read) << fault.what;
        EXPECT_EQ(read.error().message, expected) << fault.what;
    }
}

// An opcode that the reader does not know, inserted into Label8 with a value of two bytes that
// the reader cannot size, in front of the setting with opcode `before` (0xFF: at the end).
Bytes withUnknownOpcode(std::uint8_t opcode, std::uint8_t before, std::size_t& where) {
    Bytes block = blockOf(smallWindow());
    const ParsedDefinition parsed = layoutOf(block);
    const StoredRecord& label = recordNamed(parsed, "Label8");
    where = label.offset + label.length - 1;
    for (const auto& p : label.properties)
        if (p.rule->opcode == before)
            where = std::min(where, p.offset);
    block.insert(block.begin() + long(where), {opcode, 0xAB, 0xFF});
    put32(block, label.offset, label.length + 3);
    put32(block, 89, static_cast<std::uint32_t>(block.size() - 89));
    return block;
}

// The settings after the unknown opcode fall back to their defaults; the record must still end
// with its end byte.
TEST(Reader, StepsOverTheRestOfARecordAtAnUnknownOpcode) {
    for (auto [opcode, before] :
         {std::pair<std::uint8_t, std::uint8_t>{0x30, 0xFF}, {0x15, 0x1F}}) {
        std::size_t inserted = 0;
        Bytes block = withUnknownOpcode(opcode, before, inserted);
        auto parsed = parseDefinition(block);
        ASSERT_TRUE(parsed) << parsed.error().message;
        const StoredRecord& label = recordNamed(*parsed, "Label8");
        ASSERT_TRUE(label.steppedOver);
        EXPECT_EQ(label.steppedOver->offset, inserted);
        EXPECT_EQ(label.steppedOver->opcode, opcode);
        WindowModel expected = smallWindow();
        if (before == 0x1F)
            expected.controls[3].backStyle = ControlModel{}.backStyle;
        EXPECT_EQ(modelFromParsed(*parsed), expected);
        block[label.offset + label.length - 1] = 0xFE;
        auto read = readDefinition(block);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().message,
                  at(label.offset + label.length - 1, "record Label8 with unknown opcode " +
                                                          (opcode == 0x30 ? "0x30"s : "0x15"s) +
                                                          " does not end with FF"));
    }
}

// The definition checks the headers of the picture files it carries: a file whose headers
// disagree with its size is refused, naming the field, and whole files of every layout that
// Windows writes are accepted.
using definition::ImageKind;

// A bitmap with the 12-byte header of the oldest format and a bottom-up 2 x 2 image.
Bytes coreBitmap() {
    Bytes b = hexBytes("42 4D 2A 00 00 00 00 00 00 00 1A 00 00 00 | 0C 00 00 00 02 00 02 00 "
                       "01 00 18 00");
    b.resize(42, 0x33);
    return b;
}
// An icon whose one image is a PNG file, as newer icons hold them.
Bytes pngIcon() {
    return hexBytes("00 00 01 00 01 00 | 10 10 00 00 01 00 20 00 0C 00 00 00 16 00 00 00 | "
                    "89 50 4E 47 0D 0A 1A 0A 00 00 00 00");
}

struct PictureCase {
    Bytes file;
    std::function<void(Bytes&)> change;
    std::string message; // empty: accepted as `kind`
    ImageKind kind = ImageKind::Bitmap;
};

TEST(Pictures, AcceptWholeFilesAndRefuseThoseWhoseHeadersDisagreeWithTheirSize) {
    const Bytes bitmap = bitmapFile(4, 3, 24); // 54 + 3 rows of 12 bytes
    const Bytes icon = iconFile({32, 16});
    const auto none = [](Bytes&) {};
    // A good file, a change to it, and the message; checked as if the file began at offset 100.
    // clang-format off
    const PictureCase cases[] = {
        {bitmap, none, ""},
        {bitmap, [](Bytes& b) { put32(b, 22, static_cast<std::uint32_t>(-3)); }, ""}, // top-down
        {coreBitmap(), none, ""},
        {icon, none, "", ImageKind::Icon},
        {pngIcon(), none, "", ImageKind::Icon},
        {Bytes{'G', 'I', 'F', '8'}, none,
         "offset 100: picture is neither a bitmap file nor an icon file"},
        {Bytes{'B', 'M', 0, 0}, none,
         "offset 100: bitmap file of 4 bytes is shorter than its headers"},
        {bitmap, [](Bytes& b) { b.push_back(0); },
         "offset 102: bitmap file size field 90 disagrees with the picture's 91 bytes"},
        {bitmap, [](Bytes& b) { put32(b, 14, 41); },
         "offset 114: bitmap information header size 41 is not known or runs past the file"},
        {bitmap, [](Bytes& b) { put32(b, 18, 0); },
         "offset 114: bitmap of 0 x 3 pixels is out of range"},
        {bitmap, [](Bytes& b) { put32(b, 22, 0x80000000u); },
         "offset 114: bitmap of 4 x -2147483648 pixels is out of range"},
        {bitmap, [](Bytes& b) { put16(b, 26, 2); }, "offset 114: bitmap has 2 planes, not 1"},
        {bitmap, [](Bytes& b) { put32(b, 30, 1); },
         "offset 114: bitmap encoding 1 with 24 bits per pixel is not known"},
        {bitmap, [](Bytes& b) { put32(b, 10, 40); },
         "offset 110: bitmap pixel data at 40 does not fit in the file of 90 bytes"},
        {icon, [](Bytes& b) { put16(b, 2, 2); },
         "offset 100: picture is neither a bitmap file nor an icon file"},
        {iconFile({1}), [](Bytes& b) { put16(b, 4, 10); },
         "offset 104: icon directory of 10 images runs past the file"},
        {icon, [](Bytes& b) { put32(b, 22 + 8, 0); },
         "offset 122: icon image of 0 bytes at 782 lies outside the file"},
        {icon, [](Bytes& b) { put32(b, 22 + 12, 2000); },
         "offset 122: icon image of 296 bytes at 2000 lies outside the file"},
        {icon, [](Bytes& b) { b[38] = 41; },
         "offset 138: icon image is neither a bitmap nor a PNG image"},
        {icon, [](Bytes& b) { b.push_back(0); },
         "offset 100: icon directory and images make 1078 bytes, not the file's 1079"},
    };
    // clang-format on
    for (const auto& c : cases) {
        Bytes file = c.file;
        c.change(file);
        auto kind = definition::checkImageFile(file, 100);
        if (c.message.empty()) {
            ASSERT_TRUE(kind) << kind.error().message;
            EXPECT_EQ(*kind, c.kind);
        } else {
            ASSERT_FALSE(kind) << c.message;
            EXPECT_EQ(kind.error().message, c.message);
        }
    }
}

// A damaged block never crashes the reader and never reads outside the block: each damage gives
// a clean error or a window that is itself consistent. Run under the sanitizers, these sweeps
// also catch any read past the end of a buffer. Inputs that once broke the reader are kept as
// files, and every one must be refused cleanly.
// Either the read fails with an error that names an offset, or it gives a window that the writer
// accepts and that reads back to the same window. Returns whether the read succeeded; failures
// are reported as gtest failures labelled with `what`.
bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what) {
    auto read = readDefinition(block);
    if (!read) {
        EXPECT_EQ(read.error().message.rfind("offset ", 0), 0u)
            << what << ": " << read.error().message;
        return false;
    }
    auto again = writeDefinition(*read, zantheraDefinitionIds);
    if (!again) {
        ADD_FAILURE() << what << ": read but cannot be written: " << again.error().message;
        return true;
    }
    auto reread = readDefinition(*again);
    if (!reread)
        ADD_FAILURE() << what << ": written but cannot be read: " << reread.error().message;
    else
        EXPECT_TRUE(*reread == *read) << what << ": reads back differently";
    return true;
}

void expectCutsRefused(std::span<const std::uint8_t> block, const std::set<std::size_t>& lengths) {
    for (std::size_t length : lengths) {
        // A copy of exactly that many bytes, so that a sanitizer sees any read past them.
        const Bytes cut(block.begin(), block.begin() + long(length));
        EXPECT_FALSE(expectCleanOutcome(cut, "cut to " + std::to_string(length)));
    }
}

// Every truncation of a small block, and those at the record boundaries of the stored one.
TEST(Corruption, TruncationsAreRefused) {
    const Bytes small = blockOf(smallWindow());
    std::set<std::size_t> lengths;
    for (std::size_t length = 0; length < small.size(); ++length)
        lengths.insert(length);
    expectCutsRefused(small, lengths);
    const auto block = storedDefinition();
    std::set<std::size_t> cuts{89, 93, block.size() - 1};
    for (const auto& record : layoutOf(block).records)
        for (std::size_t edge : {record.offset, record.offset + record.length})
            cuts.insert({edge - 1, edge, edge + 1});
    expectCutsRefused(block, cuts);
}

// Every bit flip and every byte set to 0 or 255 is handled cleanly. A flip in the signature, the
// tree length, a record's length field or a marker leaves the block without a consistent frame,
// so there it must be refused.
TEST(Corruption, EveryFlipOrByteSetIsHandledCleanlyAndFlipsInTheFramingAreRefused) {
    const Bytes block = blockOf(smallWindow());
    std::set<std::size_t> framing{0, 1, 2, 3, 89, 90, 91, 92, block.size() - 1};
    for (const auto& record : layoutOf(block).records) {
        const std::size_t end = record.offset + record.length;
        framing.insert(
            {record.offset, record.offset + 1, record.offset + 2, record.offset + 3, end - 1, end});
    }
    for (std::size_t i = 0; i < block.size(); ++i) {
        for (int bit = -2; bit < 8; ++bit) {
            Bytes damaged = block;
            damaged[i] = static_cast<std::uint8_t>(bit == -2   ? 0x00u
                                                   : bit == -1 ? 0xFFu
                                                               : damaged[i] ^ (1u << bit));
            const bool read = expectCleanOutcome(damaged, "byte " + std::to_string(i) + " change " +
                                                              std::to_string(bit));
            EXPECT_FALSE(read && bit >= 0 && framing.contains(i)) << "byte " << i << " bit " << bit;
        }
    }
}

TEST(Regressions, EveryKeptInputIsRefusedCleanly) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZANTHERA_REGRESSIONS_DIR)) {
        if (entry.path().extension() != ".bin")
            continue;
        ++inputs;
        const auto bytes = formdef::readFile(entry.path());
        ASSERT_TRUE(bytes) << bytes.error().message;
        EXPECT_FALSE(expectCleanOutcome(*bytes, entry.path().filename().string()));
    }
    EXPECT_GE(inputs, 10) << "inputs missing from " << ZANTHERA_REGRESSIONS_DIR;
}

} // namespace
} // namespace zanthera::testing
