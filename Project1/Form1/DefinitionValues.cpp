#include "DefinitionValues.h"

#include "CodePage1256.h"
#include "DefinitionFormat.h"
#include "DefinitionPictures.h"
#include "ValueRules.h"

#include <algorithm>

namespace zanthera::definition {

namespace {

constexpr std::uint8_t trueByte = 0xFF;
constexpr std::uint8_t falseByte = 0x00;
constexpr std::size_t pictureStreamHeader = 8;

std::optional<PropertyValue> readText(ByteCursor& in) {
    const std::size_t at = in.offset();
    const std::uint16_t length = in.u16("text length");
    if (length > maxTextBytes)
        in.fail(at, "text length " + std::to_string(length) + " exceeds the limit of " +
                        std::to_string(maxTextBytes));
    const auto text = in.bytes(length, "text");
    const std::size_t endAt = in.offset();
    const std::uint8_t end = in.u8("text end byte");
    if (in.failed())
        return std::nullopt;
    if (auto problem = textProblem(text))
        in.fail(at, *problem);
    else if (end != 0)
        in.fail(endAt, "text does not end with 00");
    if (in.failed())
        return std::nullopt;
    return decodeCp1256(text);
}

std::optional<PropertyValue> readPicture(ByteCursor& in) {
    const std::size_t at = in.offset();
    const std::uint32_t length = in.u32("picture length");
    if (in.failed())
        return std::nullopt;
    if (length < pictureStreamHeader || pictureSizeProblem(length - pictureStreamHeader))
        in.fail(at, "picture length " + std::to_string(length) + " is out of range");
    else if (length > in.remaining())
        in.fail(at,
                "picture length " + std::to_string(length) + " runs past the end of the record");
    const auto tag = in.bytes(pictureTag.size(), "picture stream header");
    if (!in.failed() && !std::ranges::equal(tag, pictureTag))
        in.fail(at + 4, "picture stream header is not \"lt\" and two zero bytes");
    const std::uint32_t size = in.u32("picture size");
    if (!in.failed() && size != length - pictureStreamHeader)
        in.fail(at + 8, "picture stream size " + std::to_string(size) +
                            " disagrees with its length field " + std::to_string(length));
    const std::size_t fileAt = in.offset();
    const auto file = in.bytes(size, "picture");
    if (in.failed())
        return std::nullopt;
    if (auto kind = checkImageFile(file, fileAt); !kind) {
        in.fail(kind.error());
        return std::nullopt;
    }
    return PictureBytes{file};
}

std::optional<PropertyValue> readFont(ByteCursor& in) {
    const std::size_t at = in.offset();
    FontSpec font;
    font.version = in.u8("font version");
    font.charset = in.u16("font character set");
    font.styleFlags = in.u8("font style");
    font.weight = in.u16("font weight");
    font.sizeTenThousandthsPt = in.u32("font size");
    const std::uint8_t nameLength = in.u8("font name length");
    const auto name = in.bytes(nameLength, "font name");
    if (in.failed())
        return std::nullopt;
    font.name.assign(name.begin(), name.end());
    if (auto problem = fontProblem(font)) {
        in.fail(at, *problem);
        return std::nullopt;
    }
    return font;
}

template <typename Check>
std::optional<PropertyValue> checked(ByteCursor& in, std::size_t at, PropertyValue value,
                                     Check&& problemOf) {
    if (in.failed())
        return std::nullopt;
    if (auto problem = problemOf()) {
        in.fail(at, *problem);
        return std::nullopt;
    }
    return value;
}

std::optional<PropertyValue> readSmallValue(ByteCursor& in, const PropertyRule& rule) {
    const std::size_t at = in.offset();
    switch (rule.encoding) {
    case Encoding::Colour: {
        const StoredColour colour{in.u32("colour")};
        return checked(in, at, colour, [&] { return colourProblem(colour.value); });
    }
    case Encoding::Choice: {
        const std::uint8_t choice = in.u8("choice");
        return checked(in, at, Choice{choice}, [&] { return choiceProblem(choice, rule); });
    }
    case Encoding::Boolean: {
        const std::uint8_t b = in.u8("boolean");
        return checked(in, at, b == trueByte, [&]() -> std::optional<std::string> {
            if (b == trueByte || b == falseByte)
                return std::nullopt;
            return "boolean " + hexText(b, 2) + " is neither FF nor 00";
        });
    }
    default:
        return std::nullopt;
    }
}

std::optional<PropertyValue> readNumbers(ByteCursor& in, const PropertyRule& rule) {
    const auto none = [] { return std::optional<std::string>(); };
    const std::size_t at = in.offset();
    switch (rule.encoding) {
    case Encoding::Extents: {
        Extents e;
        e.left = in.u16("left");
        e.top = in.u16("top");
        e.width = in.u16("width");
        e.height = in.u16("height");
        return checked(in, at, e, none);
    }
    case Encoding::ClientRect: {
        ClientRect r;
        r.left = in.u32("left");
        r.top = in.u32("top");
        r.width = in.u32("width");
        r.height = in.u32("height");
        return checked(in, at, r, none);
    }
    case Encoding::TabIndex:
        return checked(in, at, TabIndex{in.u16("tab index")}, none);
    case Encoding::FourBytes:
        return checked(in, at, FourBytes{in.u32("value")}, none);
    default:
        return std::nullopt;
    }
}

std::optional<PropertyValue> readAnyValue(ByteCursor& in, const PropertyRule& rule) {
    switch (rule.encoding) {
    case Encoding::Text:
        return readText(in);
    case Encoding::Picture:
        return readPicture(in);
    case Encoding::Font:
        return readFont(in);
    case Encoding::Colour:
    case Encoding::Choice:
    case Encoding::Boolean:
        return readSmallValue(in, rule);
    case Encoding::Extents:
    case Encoding::ClientRect:
    case Encoding::TabIndex:
    case Encoding::FourBytes:
        return readNumbers(in, rule);
    }
    return std::nullopt;
}

} // namespace

std::optional<PropertyValue> readValue(ByteCursor& in, const PropertyRule& rule) {
    const std::size_t at = in.offset();
    auto value = readAnyValue(in, rule);
    // Every encoding has a reader, so this only guards against a rule table that gains one
    // without it: the caller must always find an error when there is no value.
    if (!value && !in.failed())
        in.fail(at, "value of opcode " + hexText(rule.opcode, 2) + " has no known encoding");
    return value;
}

namespace {

Status writeText(ByteSink& out, const std::string& utf8) {
    auto encoded = encodeCp1256(utf8);
    if (!encoded)
        return encoded.error();
    if (auto problem = textProblem(*encoded))
        return Error{*problem};
    out.u16(static_cast<std::uint16_t>(encoded->size()));
    out.append(*encoded);
    out.u8(0);
    return success();
}

Status writePicture(ByteSink& out, std::span<const std::uint8_t> file) {
    if (auto problem = pictureSizeProblem(file.size()))
        return Error{*problem};
    if (auto kind = checkImageFile(file, 0); !kind)
        return Error{"picture file " + kind.error().message};
    const auto size = static_cast<std::uint32_t>(file.size());
    out.u32(size + static_cast<std::uint32_t>(pictureStreamHeader));
    out.append(pictureTag);
    out.u32(size);
    out.append(file);
    return success();
}

Status writeFont(ByteSink& out, const FontSpec& font) {
    if (auto problem = fontProblem(font))
        return Error{*problem};
    out.u8(font.version);
    out.u16(font.charset);
    out.u8(font.styleFlags);
    out.u16(font.weight);
    out.u32(font.sizeTenThousandthsPt);
    out.u8(static_cast<std::uint8_t>(font.name.size()));
    for (char c : font.name)
        out.u8(static_cast<std::uint8_t>(c));
    return success();
}

Status writeChecked(ByteSink& out, const PropertyRule& rule, const PropertyValue& value) {
    if (const auto* colour = std::get_if<StoredColour>(&value)) {
        if (auto problem = colourProblem(colour->value))
            return Error{*problem};
        out.u32(colour->value);
    } else if (const auto* choice = std::get_if<Choice>(&value)) {
        if (auto problem = choiceProblem(choice->value, rule))
            return Error{*problem};
        out.u8(choice->value);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        return writeText(out, *text);
    } else if (const auto* picture = std::get_if<PictureBytes>(&value)) {
        return writePicture(out, picture->file);
    } else if (const auto* font = std::get_if<FontSpec>(&value)) {
        return writeFont(out, *font);
    }
    return success();
}

} // namespace

Status writeValue(ByteSink& out, const PropertyRule& rule, const PropertyValue& value) {
    if (encodingOf(value) != rule.encoding)
        return Error{"value does not have the encoding of opcode " + hexText(rule.opcode, 2)};
    if (const auto* e = std::get_if<Extents>(&value)) {
        for (auto v : {e->left, e->top, e->width, e->height})
            out.u16(v);
    } else if (const auto* r = std::get_if<ClientRect>(&value)) {
        for (auto v : {r->left, r->top, r->width, r->height})
            out.u32(v);
    } else if (const auto* b = std::get_if<bool>(&value)) {
        out.u8(*b ? trueByte : falseByte);
    } else if (const auto* t = std::get_if<TabIndex>(&value)) {
        out.u16(t->value);
    } else if (const auto* f = std::get_if<FourBytes>(&value)) {
        out.u32(f->value);
    } else {
        return writeChecked(out, rule, value);
    }
    return success();
}

} // namespace zanthera::definition
