#include "CodePage1256.h"

#include <array>
#include <cstdio>
#include <optional>

namespace zanthera {

namespace {

// The upper half of the code page; the lower half is ASCII. Every position is assigned.
constexpr std::array<char16_t, 128> upperHalf{
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688, // 88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, // 98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F, // B8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627, // C0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, // C8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7, // D0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643, // D8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7, // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF, // E8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7, // F0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2, // F8
};

void appendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](std::uint32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else {
        // The code page holds nothing outside the Basic Multilingual Plane.
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

std::optional<std::uint8_t> byteFor(char32_t cp) {
    if (cp < 0x80)
        return static_cast<std::uint8_t>(cp);
    for (std::size_t i = 0; i < upperHalf.size(); ++i)
        if (upperHalf[i] == cp)
            return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

struct LeadByte {
    std::size_t extra; // continuation bytes that follow
    char32_t bits;     // the code point bits that the lead byte carries
    char32_t smallest; // the smallest code point that needs this many bytes
};

std::optional<LeadByte> classifyLead(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0)
        return LeadByte{1, char32_t(lead & 0x1F), 0x80};
    if ((lead & 0xF0) == 0xE0)
        return LeadByte{2, char32_t(lead & 0x0F), 0x800};
    if ((lead & 0xF8) == 0xF0)
        return LeadByte{3, char32_t(lead & 0x07), 0x10000};
    return std::nullopt;
}

// Reads one code point at `pos`, refusing overlong forms, surrogates and values past U+10FFFF so
// that only one spelling of each character is accepted.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto first = static_cast<unsigned char>(s[pos]);
    if (first < 0x80) {
        ++pos;
        return first;
    }
    const auto lead = classifyLead(first);
    if (!lead || s.size() - pos <= lead->extra)
        return std::nullopt;
    char32_t cp = lead->bits;
    for (std::size_t i = 1; i <= lead->extra; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < lead->smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += lead->extra + 1;
    return cp;
}

} // namespace

char32_t cp1256ToUnicode(std::uint8_t byte) {
    return byte < 0x80 ? char32_t(byte) : char32_t(upperHalf[byte - 0x80u]);
}

std::string decodeCp1256(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes)
        appendUtf8(out, cp1256ToUnicode(b));
    return out;
}

Result<std::vector<std::uint8_t>> encodeCp1256(std::string_view utf8) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp)
            return Error{"malformed UTF-8 at byte " + std::to_string(start)};
        const auto byte = byteFor(*cp);
        if (!byte) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(*cp));
            return Error{"character " + std::string(name) + " at byte " + std::to_string(start) +
                         " has no code page 1256 form"};
        }
        out.push_back(*byte);
    }
    return out;
}

} // namespace zanthera
