#include "Form1/CodePage1256.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <memory>
#include <optional>
#include <string>

namespace zanthera {
namespace {

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
} // namespace zanthera
