// The writer, byte by byte: the block built into the program holds the designed window in the
// designed layout, with the artwork's files unchanged; and what the format cannot hold is refused.
// The code page of its texts, and the maintenance tool's pieces.
#include "Support.h"

#include "ArtFiles.h"
#include "BlockSearch.h"
#include "Listing.h"

#include "Form1/CodePage1256.h"
#include "Form1/ControlTable.h"
#include "Form1/DefinitionWriter.h"
#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zanthera::testing {
namespace {

Bytes recordBytes(std::string_view name) {
    const auto block = storedDefinition();
    const ParsedDefinition parsed = layoutOf(block);
    const auto& r = recordNamed(parsed, name);
    return Bytes(block.begin() + long(r.offset), block.begin() + long(r.offset + r.length));
}

// Records byte by byte: the small ones whole, a button's up to its bitmap file's first bytes and
// from its style to its end byte.
TEST(Writer, RecordsMatchTheirByteListings) {
    const struct {
        const char* name;
        std::size_t size;
        const char *tail, *head;
    } cases[] = {
        {"Timer1", 26, "",
         "1A 00 00 00 | 06 | 06 00 | 54 69 6D 65 72 31 | 00 | 0B | 07 A0 14 00 00 | "
         "08 28 05 00 00 | FF"},
        {"Label8", 41, "",
         "29 00 00 00 | 18 | 06 00 | 4C 61 62 65 6C 38 | 00 | 01 | 01 05 00 C7 E1 ED E6 E3 00 | "
         "05 A0 14 50 0A 67 02 FF 00 | 12 16 00 | 14 02 | 1F 00 | FF"},
        {"Text1", 36, "",
         "24 00 00 00 | 0B | 05 00 | 54 65 78 74 31 | 00 | 02 | 02 03 00 00 80 | "
         "04 D0 02 78 0F 5F 0A 67 02 | 12 0A 00 | 24 02 | 2D FF | FF"},
        {"Cmm1", 25799, "29 01 | FF",
         "C7 64 00 00 | 15 | 04 00 | 43 6D 6D 31 | 00 | 04 | 04 F0 0F 70 17 9F 06 67 02 | "
         "11 00 00 | 22 A6 64 00 00 | 6C 74 00 00 9E 64 00 00 | 42 4D 9E 64 00 00"},
    };
    for (const auto& c : cases) {
        const Bytes record = recordBytes(c.name), head = hexBytes(c.head), tail = hexBytes(c.tail);
        ASSERT_EQ(record.size(), c.size) << c.name;
        EXPECT_EQ(Bytes(record.begin(), record.begin() + long(head.size())), head) << c.name;
        EXPECT_EQ(Bytes(record.end() - long(tail.size()), record.end()), tail) << c.name;
    }
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

// A record's opcodes in the order they stand, such as "04 11 22 29".
std::string opcodesOf(const StoredRecord& record) {
    std::string opcodes;
    for (const auto& p : record.properties) {
        char opcode[4];
        std::snprintf(opcode, sizeof opcode, " %02X", p.rule->opcode);
        opcodes += opcode;
    }
    return opcodes.empty() ? opcodes : opcodes.substr(1);
}

// The header carries the signature, the count, the identifiers, zeros and the tree length.
TEST(Writer, HeaderAndEveryRecordHaveTheDesignedOpcodesLengthsAndMarkers) {
    const auto block = storedDefinition();
    Bytes header = hexBytes("FF CC 31 00 | 1F | 33 E0 5B 03 3E 02 A9 48 AB 11 9C E7 27 06 1D 8F | "
                            "AF 4A CC E9 E1 44 1A 40 84 7A 4D 13 BE AB 01 C5 | "
                            "3A 4F AD 33 99 66 CF 11 B7 0C 00 AA 00 60 D3 93");
    header.resize(93); // 36 zero bytes, then the tree length
    put32(header, 89, 1020121 - 89);
    ASSERT_EQ(block.size(), 1020121u);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 93), header);
    std::string layout;
    std::size_t next = 93;
    for (const auto& r : layoutOf(block).records) {
        EXPECT_EQ(r.offset, next) << r.name;
        next = r.offset + r.length + 1;
        char length[32];
        std::snprintf(length, sizeof length, ") %u %02X\n", unsigned(r.length), block[next - 1]);
        layout += r.name + " " + std::to_string(int(r.kind)) + " (" + opcodesOf(r) + length;
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
    window.form.background = {};
    window.form.icon = {};
    for (auto& c : window.controls) {
        if (c.kind == ControlKind::Button) {
            EXPECT_EQ(c.picture, readFile(art / (c.name + ".bmp"))) << c.name;
        }
        c.picture = {};
    }
    EXPECT_EQ(window, design::designedWindow());
}

// The small window's caption label, Label8.
ControlModel& label(WindowModel& m) {
    return m.controls[3];
}

// Position, size, the client area and the timer's two values are stored even at zero, and a tab
// index of 0 is stored; every other setting at its default is left out. Read back, the window is
// the same.
TEST(Writer, StoresPositionsSizesAndTabIndexesEvenAtTheirDefaults) {
    WindowModel m = smallWindow();
    m.form.client = {};
    m.controls[0] = detail::control("Command8", 1, ControlKind::Button);
    m.controls[0].tabIndex = 0;
    m.controls[1].timerLeft = m.controls[1].timerTop = 0;
    label(m).extents = {};
    const Bytes block = blockOf(m);
    std::string layout;
    for (const auto& r : layoutOf(block).records)
        layout += r.name + " (" + opcodesOf(r) + ") ";
    EXPECT_EQ(layout, "Form1 (01 19 21 22 23 24 26 35) Command8 (04 11) Timer1 (07 08) "
                      "Text1 (02 04 12 24 2D) Label8 (01 05 12 14 1F) ");
    EXPECT_EQ(readDefinition(block).value(), m);
    // A window without controls opens no list of them.
    m.controls.clear();
    EXPECT_EQ(readDefinition(blockOf(m)).value(), m);
}

// A change to the small window that the format cannot hold, and the writer's message naming the
// control; for a limit, its exact value is written and read back unchanged and one past it is
// refused. The checks of single values that the reader shares are tested with the reader.
TEST(Writer, RefusesWhatTheFormatCannotHoldAndHoldsEachLimitAtItsValue) {
    const struct {
        int limit; // -1: no value of the setting is stored
        std::function<void(WindowModel&, int)> set;
        const char* refusal;
    } limits[] = {
        {-1, [](WindowModel& m, int) { label(m).caption = "Ж"; },
         "Label8: caption: character U+0416 at byte 0 has no code page 1256 form"},
        {-1, [](WindowModel& m, int) { label(m).caption = std::string("a\0b", 3); },
         "Label8: caption: text holds a 00 byte"},
        {-1, [](WindowModel& m, int) { label(m).picture = m.controls[0].picture; },
         "Label8: a label cannot store its picture"},
        {-1, [](WindowModel& m, int) { m.controls[1].extents.left = 1; },
         "Timer1: a timer cannot store its extents"},
        {-1, [](WindowModel& m, int) { m.form.colour = StoredColour{0x01000000}; },
         "Form1: colour: colour 0x01000000 is neither an RGB colour nor a system colour"},
        {-1, [](WindowModel& m, int) { m.form.icon = Bytes(3, 0x42); },
         "Form1: icon: picture file offset 0: picture is neither a bitmap file nor an icon file"},
        {-1, [](WindowModel& m, int) { m.controls[2].name = "Text 1"; },
         "\"Text 1\": name is not a letter followed by letters, digits and underscores"},
        {-1, [](WindowModel& m, int) { m.controls[2].name = "Timer1"; },
         "Timer1: the name is used twice"},
        {-1, [](WindowModel& m, int) { m.controls[2].index = 7; },
         "Text1: creation index 7 where 3 was expected"},
        {-1, [](WindowModel& m, int) { m.controls[2].kind = ControlKind::Window; },
         "Text1: a control cannot be of kind 13"},
        {4096, [](WindowModel& m, int n) { label(m).caption = std::string(n, 'a'); },
         "Label8: caption: text of 4097 bytes exceeds the limit of 4096"},
        {40, [](WindowModel& m, int n) { label(m).name = std::string(n, 'L'); },
         ": name of 41 bytes is not 1 to 40 bytes long"},
        {31, [](WindowModel& m, int n) { m.controls[0].font->name = std::string(n, 'F'); },
         "Command8: font: font name of 32 bytes is too long"},
        {1000, [](WindowModel& m, int n) { m.controls[0].font->weight = std::uint16_t(n); },
         "Command8: font: font weight 1001 is out of range"},
        {30,
         [](WindowModel& m, int n) {
             m.controls[2].backColour = StoredColour::system(std::uint8_t(n));
         },
         "Text1: back colour: colour 0x8000001F is neither an RGB colour nor a system colour"},
        {2, [](WindowModel& m, int n) { label(m).alignment = Alignment(n); },
         "Label8: alignment: choice 3 of the alignment is not one of 0 to 2"},
        {255,
         [](WindowModel& m, int n) {
             while (m.controls.size() < std::size_t(n)) {
                 m.controls.push_back(m.controls[1]);
                 m.controls.back().name = "Timer" + std::to_string(m.controls.size());
                 m.controls.back().index = std::uint8_t(m.controls.size());
             }
         },
         "a window holds at most 255 controls, not 256"},
        {64,
         [](WindowModel& m, int n) {
             Bytes icon = iconFile(std::vector<int>(64, 1));
             put16(icon, 4, std::uint16_t(n)); // past the limit, the count alone is wrong
             m.form.icon = icon;
         },
         "Form1: icon: picture file offset 4: icon file holds 65 images"},
        {8192,
         [](WindowModel& m, int n) {
             Bytes tall = bitmapFile(1, 8192, 24);
             put32(tall, 22, std::uint32_t(n)); // past the limit, the height alone is wrong
             m.form.background = tall;
         },
         "Form1: picture: picture file offset 14: bitmap of 1 x 8193 pixels is out of range"},
    };
    for (const auto& l : limits) {
        WindowModel at = smallWindow();
        l.set(at, l.limit);
        const auto block = writeDefinition(at, zantheraDefinitionIds);
        ASSERT_TRUE(block || l.limit < 0) << l.refusal << ": " << block.error().message;
        if (l.limit >= 0) {
            EXPECT_EQ(readDefinition(*block).value(), at) << l.refusal;
        }
        WindowModel past = smallWindow();
        l.set(past, l.limit + 1);
        const auto refused = writeDefinition(past, zantheraDefinitionIds);
        ASSERT_FALSE(refused) << l.refusal;
        EXPECT_NE(refused.error().message.find(l.refusal), std::string::npos)
            << refused.error().message;
    }
}

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
        "    21    picture          bitmap 3 x 2, 24 bits, 78 bytes",
        "    23    icon             icon, 1 images, 142 bytes",
        "    03    face colour      RGB(0, 0, 255)",
        "    1D    font             \"MS Sans Serif\", 18.00 pt, character set 178, weight 400",
        "    07    timer left       0x000014A0 (5280)",
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
        const ImageFile& bytes;
    };
    const Case cases[] = {{"Form1.bmp", window.form.background},
                          {"Form1.ico", window.form.icon},
                          {"Command8.bmp", window.controls[0].picture}};
    EXPECT_EQ(written->size(), std::size(cases));
    for (const auto& c : cases)
        EXPECT_EQ(formdef::readFile(dir / c.file).value(), c.bytes) << c.file;
    std::filesystem::remove_all(dir);
}

// The system's own converter, which the table must agree with.
using SystemIconv = std::unique_ptr<void, int (*)(iconv_t)>;

SystemIconv systemIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    return {cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd, iconv_close};
}

// The converted bytes, or nothing when the converter refuses the input.
std::optional<std::string> convert(const SystemIconv& cd, std::string input) {
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() * 4 + 8, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    if (iconv(cd.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

TEST(CodePage1256, DecodesEveryByteAsTheSystemConverterDoes) {
    const SystemIconv toUtf8 = systemIconv("UTF-8", "CP1256");
    ASSERT_TRUE(toUtf8);
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t byte = static_cast<std::uint8_t>(b);
        const auto expected = convert(toUtf8, std::string(1, static_cast<char>(byte)));
        ASSERT_TRUE(expected) << "byte " << b;
        EXPECT_EQ(decodeCp1256(std::span(&byte, 1)), *expected) << "byte " << b;
    }
}

// Every Unicode scalar value: where the system converter has a byte for it, the table gives the
// same byte; where it has none, the table refuses the character too.
TEST(CodePage1256, EncodesEveryCharacterAsTheSystemConverterDoes) {
    const SystemIconv fromUtf8 = systemIconv("CP1256", "UTF-8");
    const SystemIconv toUtf8 = systemIconv("UTF-8", "UTF-32BE");
    ASSERT_TRUE(fromUtf8 && toUtf8);
    int mapped = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        const std::string text =
            convert(toUtf8, {char(cp >> 24), char(cp >> 16), char(cp >> 8), char(cp)}).value();
        auto expected = convert(fromUtf8, text);
        // glibc drops the language tag characters instead of refusing them; the table cannot
        // store them either, and refuses them.
        if (expected && expected->empty())
            expected.reset();
        const auto actual = encodeCp1256(text);
        ASSERT_EQ(actual.ok(), expected.has_value()) << "U+" << std::hex << unsigned(cp);
        if (!expected)
            continue;
        ++mapped;
        ASSERT_EQ(actual->size(), 1u);
        EXPECT_EQ(static_cast<char>((*actual)[0]), (*expected)[0]) << std::hex << unsigned(cp);
    }
    EXPECT_EQ(mapped, 256);
}

TEST(CodePage1256, RefusesWhatItCannotStoreAndSaysWhere) {
    struct Case {
        std::string utf8;
        std::string message;
    };
    const Case cases[] = {
        {"abЖ", "character U+0416 at byte 2 has no code page 1256 form"},
        {"x😀", "character U+1F600 at byte 1 has no code page 1256 form"},
        {"a\xC0\x80", "malformed UTF-8 at byte 1"},        // overlong NUL
        {"\xED\xA0\x80", "malformed UTF-8 at byte 0"},     // surrogate
        {"ab\xE2\x82", "malformed UTF-8 at byte 2"},       // cut short
        {"\x80", "malformed UTF-8 at byte 0"},             // continuation without a lead
        {"\xF4\x90\x80\x80", "malformed UTF-8 at byte 0"}, // past U+10FFFF
    };
    for (const auto& c : cases) {
        auto encoded = encodeCp1256(c.utf8);
        ASSERT_FALSE(encoded) << c.message;
        EXPECT_EQ(encoded.error().message, c.message);
    }
}

} // namespace
} // namespace zanthera::testing
